#pragma once

#include <QString>

// The language a page's month and day names are in, as an ISO 639-1 code:
// what texts written onto the page (holiday names) should follow.

namespace Dayloom {

struct CalendarSettings;

// "en", "de", "fr", "es" or "it" for the five built-in languages' names; the
// language of the locale whose day names the page shows (a language chosen
// through "Other..." or the system's names); empty for names typed by the
// user.
QString PageLanguageCode(const CalendarSettings &settings);

} // namespace Dayloom
