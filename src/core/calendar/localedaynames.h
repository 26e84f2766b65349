#pragma once

#include <QLocale>
#include <QString>

#include <array>
#include <optional>

namespace Dayloom {

// The locale whose own long day names (stand-alone or in a date, Sunday
// first) are the given seven, as a language chosen through "Other..." or
// the system's names fill them in; nullopt when none is (names typed by
// the user). Of several locales sharing the names the language's default
// one is taken. Answers are remembered per set of names, so only the first
// question about a set searches the locales. Thread-safe.
std::optional<QLocale> LocaleOfDayNames(const std::array<QString, 7> &names);

} // namespace Dayloom
