#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace Dayloom {

// The built-in month and day names of the five languages a page can be
// switched to. The texts are fixed ("Freitag " keeps its trailing blank).
struct LanguageNames
{
    QString language;               // "English", "Deutsch", ...
    std::array<QString, 12> months; // January first
    std::array<QString, 7> days;    // Sunday first
};

// In the order of the properties dialog's buttons: English, Deutsch,
// Français, Español, L'italiano.
const std::array<LanguageNames, 5> &BuiltInLanguages();
// Looks a language up by its display name or by a plain ASCII key
// ("english", "deutsch", "francais", "espanol", "italiano"); nullptr if none.
const LanguageNames *FindLanguage(const QString &nameOrKey);

} // namespace Dayloom
