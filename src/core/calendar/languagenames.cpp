#include "core/calendar/languagenames.h"

namespace Dayloom {

const std::array<LanguageNames, 5> &BuiltInLanguages()
{
    static const std::array<LanguageNames, 5> languages = {{
        {QStringLiteral("English"),
         {"January", "February", "March", "April", "May", "June", "July", "August", "September",
          "October", "November", "December"},
         {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}},
        {QStringLiteral("Deutsch"),
         {"Januar", "Februar", QStringLiteral("M\u00e4rz"), "April", "Mai", "Juni", "Juli",
          "August", "September", "Oktober", "November", "Dezember"},
         {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag ", "Samstag"}},
        {QStringLiteral("Fran\u00e7ais"),
         {"Janvier", QStringLiteral("F\u00e9vrier"), "Mars", "Avril", "Mai", "Juin", "Juillet",
          QStringLiteral("Ao\u00fbt"), "Septembre", "Octobre", "Novembre",
          QStringLiteral("D\u00e9cembre")},
         {"Dimanche", "Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi"}},
        {QStringLiteral("Espa\u00f1ol"),
         {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre",
          "Octubre", "Noviembre", "Diciembre"},
         {"Domingo", "Lunes", "Martes", QStringLiteral("Mi\u00e9rcoles"), "Jueves", "Viernes",
          QStringLiteral("S\u00e1bado")}},
        {QStringLiteral("L'italiano"),
         {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto",
          "Settembre", "Ottobre", "Novembre", "Dicembre"},
         {"Domenica", QStringLiteral("Luned\u00ec"), QStringLiteral("Marted\u00ec"),
          QStringLiteral("Mercoled\u00ec"), QStringLiteral("Gioved\u00ec"),
          QStringLiteral("Venerd\u00ec"), "Sabato"}},
    }};
    return languages;
}

const LanguageNames *FindLanguage(const QString &nameOrKey)
{
    static const char *const keys[5] = {"english", "deutsch", "francais", "espanol", "italiano"};
    const auto &languages = BuiltInLanguages();
    for (size_t i = 0; i < languages.size(); ++i) {
        if (nameOrKey.compare(languages[i].language, Qt::CaseInsensitive) == 0 ||
            nameOrKey.compare(QLatin1String(keys[i]), Qt::CaseInsensitive) == 0)
            return &languages[i];
    }
    return nullptr;
}

} // namespace Dayloom
