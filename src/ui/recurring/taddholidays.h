#pragma once

#include "core/holidays/holidaycatalogue.h"
#include "core/recurring/holidaylink.h"

#include <QDate>
#include <QDialog>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace Dayloom {

// "Add Holidays": a country's holiday set to link into the recurring dates.
// The user picks a country (CountryBox), then a region or the whole country
// (RegionBox), ticks the categories (PublicCheck, BankCheck,
// ObservanceCheck) and sees the next twelve holidays from today (NextList)
// before adding (Okbutton "&Add"; disabled while no category is ticked).
// The catalogue is not owned and must outlive the dialog.
class TAddHolidays : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PreviewCount = 12;

    explicit TAddHolidays(const HolidayCatalogue &catalogue, QWidget *parent = nullptr,
                          QDate today = QDate::currentDate());

    // The set as chosen: its code ("DE-BY"), categories and nothing hidden.
    HolidayLink link() const;
    // Picks a country or region by code, as the boxes would.
    void choose(const QString &code);

private:
    void fillRegions();
    void updatePreview();

    const HolidayCatalogue &m_catalogue;
    QDate m_today;
    QComboBox *m_countries = nullptr;
    QComboBox *m_regions = nullptr;
    QCheckBox *m_public = nullptr;
    QCheckBox *m_bank = nullptr;
    QCheckBox *m_observance = nullptr;
    QListWidget *m_next = nullptr;
    QPushButton *m_add = nullptr;
};

// The names a list or dialog shows for a linked set: "Germany, Bavaria",
// or the bare code when the catalogue does not know it.
QString HolidaySetTitle(const HolidayCatalogue &catalogue, const QString &code,
                        const QString &language = QStringLiteral("en"));

} // namespace Dayloom
