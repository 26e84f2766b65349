#include "ui/recurring/taddholidays.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Dayloom {

namespace {

QString UserLanguage()
{
    return QLocale::languageToCode(QLocale().language(), QLocale::ISO639Part1);
}

} // namespace

QString HolidaySetTitle(const HolidayCatalogue &catalogue, const QString &code,
                        const QString &language)
{
    QString regionCode;
    const HolidayCountry *country = catalogue.find(code, &regionCode);
    if (!country)
        return code;
    QString title = country->name(language);
    if (const HolidayCountry::Region *region = country->region(regionCode))
        title += QStringLiteral(", ") + country->regionName(*region, language);
    return title;
}

TAddHolidays::TAddHolidays(const HolidayCatalogue &catalogue, QWidget *parent, QDate today)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_catalogue(catalogue), m_today(today)
{
    setWindowTitle(QStringLiteral("Add Holidays"));
    setFont(QFont(QStringLiteral("Arial"), 8));

    m_countries = new QComboBox(this);
    m_countries->setObjectName(QStringLiteral("CountryBox"));
    // By the name the user reads, with the code for those who know it.
    const QString language = UserLanguage();
    QList<std::pair<QString, QString>> countries;
    for (const HolidayCountry &country : catalogue.countries())
        countries.append({country.name(language), country.code});
    std::sort(countries.begin(), countries.end(), [](const auto &a, const auto &b) {
        return QString::localeAwareCompare(a.first, b.first) < 0;
    });
    for (const auto &[name, code] : std::as_const(countries))
        m_countries->addItem(QStringLiteral("%1 (%2)").arg(name, code), code);
    m_regions = new QComboBox(this);
    m_regions->setObjectName(QStringLiteral("RegionBox"));

    m_public = new QCheckBox(QStringLiteral("&Public holidays"), this);
    m_public->setObjectName(QStringLiteral("PublicCheck"));
    m_public->setChecked(true);
    m_bank = new QCheckBox(QStringLiteral("&Bank holidays"), this);
    m_bank->setObjectName(QStringLiteral("BankCheck"));
    m_bank->setChecked(true);
    m_observance = new QCheckBox(QStringLiteral("&Observances"), this);
    m_observance->setObjectName(QStringLiteral("ObservanceCheck"));

    m_next = new QListWidget(this);
    m_next->setObjectName(QStringLiteral("NextList"));
    m_next->setAccessibleName(QStringLiteral("The next twelve holidays"));
    m_next->setSelectionMode(QAbstractItemView::NoSelection);
    m_next->setMinimumSize(480, 12 * 16 + 6);

    m_add = new QPushButton(QStringLiteral("&Add"), this);
    m_add->setObjectName(QStringLiteral("Okbutton"));
    m_add->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(m_add, &QPushButton::clicked, this, &TAddHolidays::accept);
    connect(cancel, &QPushButton::clicked, this, &TAddHolidays::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("C&ountry:"), m_countries);
    form->addRow(QStringLiteral("&Region:"), m_regions);
    auto *categories = new QHBoxLayout;
    categories->addWidget(m_public);
    categories->addWidget(m_bank);
    categories->addWidget(m_observance);
    form->addRow(QStringLiteral("Include:"), categories);
    auto *nextLabel = new QLabel(QStringLiteral("The next twelve holidays:"), this);
    nextLabel->setBuddy(m_next);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_add);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(nextLabel);
    layout->addWidget(m_next);
    layout->addLayout(buttons);

    connect(m_countries, &QComboBox::currentIndexChanged, this, &TAddHolidays::fillRegions);
    connect(m_regions, &QComboBox::currentIndexChanged, this, &TAddHolidays::updatePreview);
    for (QCheckBox *box : {m_public, m_bank, m_observance})
        connect(box, &QCheckBox::toggled, this, &TAddHolidays::updatePreview);
    // Start with the user's own country when there is a set for it.
    const QString own = QLocale::territoryToCode(QLocale().territory());
    const int ownIndex = m_countries->findData(own);
    if (ownIndex >= 0)
        m_countries->setCurrentIndex(ownIndex);
    fillRegions();
}

HolidayLink TAddHolidays::link() const
{
    HolidayLink link;
    link.code = m_countries->currentData().toString();
    const QString region = m_regions->currentData().toString();
    if (!region.isEmpty())
        link.code += u'-' + region;
    link.categories = (m_public->isChecked() ? HolidayLink::Public : 0) |
                      (m_bank->isChecked() ? HolidayLink::Bank : 0) |
                      (m_observance->isChecked() ? HolidayLink::Observance : 0);
    return link;
}

void TAddHolidays::choose(const QString &code)
{
    const int country = m_countries->findData(code.section(u'-', 0, 0).toUpper());
    if (country >= 0)
        m_countries->setCurrentIndex(country);
    const int region =
        m_regions->findData(code.contains(u'-') ? code.section(u'-', 1).toUpper() : QString());
    if (region >= 0)
        m_regions->setCurrentIndex(region);
}

void TAddHolidays::fillRegions()
{
    const QSignalBlocker quiet(m_regions);
    m_regions->clear();
    m_regions->addItem(QStringLiteral("The whole country"), QString());
    if (const HolidayCountry *country = m_catalogue.find(m_countries->currentData().toString())) {
        const QString language = UserLanguage();
        for (const HolidayCountry::Region &region : country->regions)
            m_regions->addItem(
                QStringLiteral("%1 (%2)").arg(country->regionName(region, language), region.code),
                region.code);
    }
    updatePreview();
}

void TAddHolidays::updatePreview()
{
    m_next->clear();
    const HolidayLink chosen = link();
    m_add->setEnabled(chosen.categories != 0 && !chosen.code.isEmpty());
    QString region;
    const HolidayCountry *country = m_catalogue.find(chosen.code, &region);
    if (!country || chosen.categories == 0)
        return;
    const QString language = UserLanguage();
    const QLocale locale;
    // Two years hold twelve holidays in any set worth adding.
    const auto days =
        country->occurrences(region, m_today, m_today.addYears(2).addDays(-1), chosen.categories);
    for (qsizetype i = 0; i < days.size() && i < PreviewCount; ++i) {
        m_next->addItem(QStringLiteral("%1 \u2013 %2")
                            .arg(locale.toString(days[i].day, u"ddd d MMM yyyy"),
                                 country->nameOf(days[i], language)));
    }
}

} // namespace Dayloom
