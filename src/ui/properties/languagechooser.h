#pragma once

#include <QDialog>
#include <QList>
#include <QLocale>

class QListWidget;

namespace Dayloom {

// Lists every language the toolkit's locale data knows, each under its own
// native name (with the English name beside it), sorted by the native name.
// The chosen language supplies stand-alone month and day names.
class LanguageChooser : public QDialog
{
    Q_OBJECT

public:
    explicit LanguageChooser(QWidget *parent = nullptr);

    // One locale per language, in list order (found once per process).
    static QList<QLocale> Languages();
    // "January" first / "Sunday" first, stand-alone long forms.
    static QStringList MonthNames(const QLocale &locale);
    static QStringList DayNames(const QLocale &locale);

    QListWidget *List() const { return m_list; }
    QLocale ChosenLocale() const;

private:
    static QList<QLocale> FindLanguages();

    QList<QLocale> m_languages;
    QListWidget *m_list;
};

} // namespace Dayloom
