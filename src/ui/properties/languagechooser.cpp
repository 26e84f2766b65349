#include "ui/properties/languagechooser.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace Dayloom {

LanguageChooser::LanguageChooser(QWidget *parent)
    : QDialog(parent), m_languages(Languages()), m_list(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Other Language"));
    m_list->setObjectName(QStringLiteral("LanguageList"));
    // Measuring a name in a script the first time loads the fonts that draw
    // it, for every script there is: the list shows once its first rows are
    // laid out, and lays out the others while the user looks at them.
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(20);
    for (const QLocale &locale : std::as_const(m_languages)) {
        const QString native = locale.nativeLanguageName();
        const QString english = QLocale::languageToString(locale.language());
        m_list->addItem(native.compare(english, Qt::CaseInsensitive) == 0
                            ? native
                            : native + QStringLiteral("  (") + english + QLatin1Char(')'));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);

    auto *label = new QLabel(QStringLiteral("&Language:"), this);
    label->setBuddy(m_list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Ok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(320, 420);
}

QList<QLocale> LanguageChooser::Languages()
{
    // The toolkit's locale data does not change while the program runs.
    static const QList<QLocale> languages = FindLanguages();
    return languages;
}

QList<QLocale> LanguageChooser::FindLanguages()
{
    QList<QLocale> result;
    for (int value = QLocale::C + 1; value <= QLocale::LastLanguage; ++value) {
        const auto language = static_cast<QLocale::Language>(value);
        const QLocale locale(language);
        // Languages without locale data fall back to another one.
        if (locale.language() != language || locale.nativeLanguageName().isEmpty())
            continue;
        if (std::any_of(result.cbegin(), result.cend(),
                        [&](const QLocale &known) { return known.language() == language; }))
            continue;
        result.append(locale);
    }
    QCollator collator{QLocale(QLocale::English)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(result.begin(), result.end(), [&](const QLocale &a, const QLocale &b) {
        return collator.compare(a.nativeLanguageName(), b.nativeLanguageName()) < 0;
    });
    return result;
}

QStringList LanguageChooser::MonthNames(const QLocale &locale)
{
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        names.append(locale.standaloneMonthName(month, QLocale::LongFormat));
    return names;
}

QStringList LanguageChooser::DayNames(const QLocale &locale)
{
    QStringList names;
    // Qt counts Monday as 1 and Sunday as 7; the page starts with Sunday.
    names.append(locale.standaloneDayName(7, QLocale::LongFormat));
    for (int day = 1; day <= 6; ++day)
        names.append(locale.standaloneDayName(day, QLocale::LongFormat));
    return names;
}

QLocale LanguageChooser::ChosenLocale() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_languages.size())
        return QLocale::c();
    return m_languages.at(row);
}

} // namespace Dayloom
