#pragma once

#include "core/calendar/calendarextras.h"
#include "core/formats/objectclassregistry.h"
#include "core/formats/persistentobject.h"
#include "core/formats/valuereader.h"
#include "core/formats/valuewriter.h"

#include <QByteArray>

#include <optional>

namespace Dayloom {

// The page's extras (CalendarExtras) as one component record of the class
// "TCalendarExtras" with an empty name and a property per setting that
// differs from its default. A calendar file keeps it as the last record of
// its placed-object list, a style sheet after the end of its list: readers
// that do not know the class stop at it having read everything else, and
// a design without extras writes no record at all, so its file is the
// same as before the extras existed.
class CalendarExtrasRecord final : public PersistentObject
{
public:
    static const QByteArray StoredClassName;

    CalendarExtrasRecord() = default;
    explicit CalendarExtrasRecord(const CalendarExtras &extras) : m_extras(extras) {}

    QByteArray ClassName() const override { return StoredClassName; }
    const PropertyList &PublishedProperties() const override;

    const CalendarExtras &Extras() const { return m_extras; }

    // Registers the class in a registry, so that a list reader creates the
    // record as any other object.
    static void Register(ObjectClassRegistry &registry);
    // The extras of the first record of this class among the objects, which
    // are taken out of the list; nullopt when there is none.
    static std::optional<CalendarExtras> TakeFrom(PersistentObjectList &objects);

    // One record on a value stream (see ComponentRecord).
    static void Write(ValueWriter &writer, const CalendarExtras &extras);
    // Reads one record of this class; nullopt (the reader failed) for
    // anything else.
    static std::optional<CalendarExtras> Read(ValueReader &reader);

private:
    // Property accessors.
    int FirstWeekday() const { return m_extras.firstWeekday; }
    void SetFirstWeekday(int day);
    bool WeekPlanners() const { return m_extras.weekPlannersFromFirstWeekday; }
    void SetWeekPlanners(bool on) { m_extras.weekPlannersFromFirstWeekday = on; }
    WeekNumbering WeekNumbers() const { return m_extras.weekNumbers; }
    void SetWeekNumbers(WeekNumbering numbering) { m_extras.weekNumbers = numbering; }
    bool MarkWeekends() const { return m_extras.markWeekends; }
    void SetMarkWeekends(bool on) { m_extras.markWeekends = on; }
    quint32 WeekendDays() const { return quint32(m_extras.weekendDays); }
    void SetWeekendDays(quint32 days) { m_extras.weekendDays = int(days & AllWeekdays); }
    TColor WeekendCellColor() const { return m_extras.weekendCellColor; }
    void SetWeekendCellColor(TColor color) { m_extras.weekendCellColor = color; }
    TColor WeekendNumberColor() const { return m_extras.weekendNumberColor; }
    void SetWeekendNumberColor(TColor color) { m_extras.weekendNumberColor = color; }
    bool RedDays() const { return m_extras.redDays; }
    void SetRedDays(bool on) { m_extras.redDays = on; }
    TColor RedDayCellColor() const { return m_extras.redDayCellColor; }
    void SetRedDayCellColor(TColor color) { m_extras.redDayCellColor = color; }
    TColor RedDayNumberColor() const { return m_extras.redDayNumberColor; }
    void SetRedDayNumberColor(TColor color) { m_extras.redDayNumberColor = color; }
    bool MoonPhases() const { return m_extras.moonPhases; }
    void SetMoonPhases(bool on) { m_extras.moonPhases = on; }
    bool DayCounters() const { return m_extras.dayCounters; }
    void SetDayCounters(bool on) { m_extras.dayCounters = on; }

    CalendarExtras m_extras;
};

} // namespace Dayloom
