#include "core/calendar/pagelanguage.h"

#include "core/calendar/calendarsettings.h"
#include "core/calendar/languagenames.h"
#include "core/calendar/localedaynames.h"

namespace Dayloom {

QString PageLanguageCode(const CalendarSettings &settings)
{
    // In the order of BuiltInLanguages.
    static const char *const codes[] = {"en", "de", "fr", "es", "it"};
    const auto &languages = BuiltInLanguages();
    for (size_t i = 0; i < languages.size(); ++i) {
        if (languages[i].months == settings.monthNames)
            return QLatin1String(codes[i]);
    }
    if (const auto locale = LocaleOfDayNames(settings.dayNames))
        return QLocale::languageToCode(locale->language(), QLocale::ISO639Part1);
    return {};
}

} // namespace Dayloom
