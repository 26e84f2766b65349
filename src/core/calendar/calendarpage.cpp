#include "core/calendar/calendarpage.h"

#include "core/calendar/plannertexts.h"
#include "core/io/appfolders.h"
#include "core/richtext/noterenderer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace Dayloom {

namespace {

// Border pictures are small metafiles; anything larger is not one.
constexpr qint64 MaxBorderPictureBytes = 32 * 1024 * 1024;

template <typename T> bool AssignIfChanged(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

bool IsValidLayout(int layout)
{
    return layout >= loFullCalendar && layout <= loDay15;
}

bool LayoutHasDayCells(TCalendarLayout layout)
{
    return layout <= loFC12AfterLS || layout >= loWeek;
}

} // namespace

CalendarPage::CalendarPage(QObject *parent) : QObject(parent)
{
    m_settings.LoadSystemNames();
    m_noteRenderer = std::make_unique<NoteRenderer>();
    m_noteDrawer = [this](QPainter &painter, const TWPRtfStorage &note, const TRect &rFree,
                          float zoom, TColor background) {
        DrawNoteOnScreen(painter, note, rFree, zoom, background);
    };
    CalculateLayout(true);
}

CalendarPage::~CalendarPage() = default;

void CalendarPage::Repaint()
{
    Q_EMIT changed();
}

void CalendarPage::NotifyFontChanged()
{
    Q_EMIT fontChanged();
    Repaint();
}

// --- published settings -------------------------------------------------------

void CalendarPage::SetCalendarLayout(TCalendarLayout layout)
{
    if (!IsValidLayout(layout) || !AssignIfChanged(m_settings.calendarLayout, layout))
        return;
    CalculateLayout(false);
    if (!m_settings.wmfBorderFile.isEmpty())
        SetWMFBorderFile(m_settings.wmfBorderFile); // the picture follows the orientation
}

void CalendarPage::SetCalendarOrientation(TCalendarOrientation orientation)
{
    if (AssignIfChanged(m_settings.calendarOrientation, orientation))
        CalculateLayout(false);
}

void CalendarPage::SetCalendarLineLayout(TCalendarLineLayout preset)
{
    if (m_settings.SetLineLayoutPreset(preset))
        Repaint();
}

void CalendarPage::SetMiniCalendarLineLayout(TMiniCalendarLineLayout preset)
{
    if (m_settings.SetMiniLineLayoutPreset(preset))
        Repaint();
}

void CalendarPage::SetTitleBGColor(TColor color)
{
    if (AssignIfChanged(m_settings.titleBGColor, color))
        Repaint();
}

void CalendarPage::SetHeadersBGColor(TColor color)
{
    if (AssignIfChanged(m_settings.headersBGColor, color))
        Repaint();
}

void CalendarPage::SetMiniHeadersBGColor(TColor color)
{
    if (AssignIfChanged(m_settings.miniHeadersBGColor, color))
        Repaint();
}

void CalendarPage::SetMiniCalBGColor(TColor color)
{
    if (AssignIfChanged(m_settings.miniCalBGColor, color))
        Repaint();
}

void CalendarPage::SetTitleFont(const FontSpec &font)
{
    m_settings.titleFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetHeadersFont(const FontSpec &font)
{
    m_settings.headersFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetCellFont(const FontSpec &font)
{
    m_settings.cellFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetMiniTitleFont(const FontSpec &font)
{
    m_settings.miniTitleFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetMiniHeadersFont(const FontSpec &font)
{
    m_settings.miniHeadersFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetMiniCellFont(const FontSpec &font)
{
    m_settings.miniCellFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetMarginInch(float CalendarSettings::*field, float inches)
{
    if (AssignIfChanged(m_settings.*field, inches))
        CalculateLayout(false);
}

void CalendarPage::SetLeftMarginInch(float inches)
{
    SetMarginInch(&CalendarSettings::leftMarginInch, inches);
}

void CalendarPage::SetTopMarginInch(float inches)
{
    SetMarginInch(&CalendarSettings::topMarginInch, inches);
}

void CalendarPage::SetRightMarginInch(float inches)
{
    SetMarginInch(&CalendarSettings::rightMarginInch, inches);
}

void CalendarPage::SetBottomMarginInch(float inches)
{
    SetMarginInch(&CalendarSettings::bottomMarginInch, inches);
}

void CalendarPage::SetCalendarBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_settings.calendarBorder, style))
        Repaint();
}

void CalendarPage::SetHeadersBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_settings.headersBorder, style))
        Repaint();
}

void CalendarPage::SetCellBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_settings.cellBorder, style))
        Repaint();
}

void CalendarPage::SetMiniCalBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_settings.miniCalBorder, style))
        Repaint();
}

void CalendarPage::SetMiniHeadersBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_settings.miniHeadersBorder, style))
        Repaint();
}

void CalendarPage::SetMiniCellBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_settings.miniCellBorder, style))
        Repaint();
}

void CalendarPage::SetTitleShowYear(bool on)
{
    if (AssignIfChanged(m_settings.titleShowYear, on))
        Repaint();
}

void CalendarPage::SetMiniShowYear(bool on)
{
    if (AssignIfChanged(m_settings.miniShowYear, on))
        Repaint();
}

void CalendarPage::SetHeadersStyle(TCalHeadersStyle style)
{
    if (AssignIfChanged(m_settings.headersStyle, style))
        Repaint();
}

void CalendarPage::SetMiniHeadersStyle(TCalHeadersStyle style)
{
    if (AssignIfChanged(m_settings.miniHeadersStyle, style))
        Repaint();
}

void CalendarPage::SetNumberPosition(TCalendarNumberPosition position)
{
    if (AssignIfChanged(m_settings.numberPosition, position))
        Repaint();
}

void CalendarPage::SetMainCalDay(int day)
{
    if (AssignIfChanged(m_settings.mainCalDay, day))
        CalculateLayout(false);
}

void CalendarPage::SetMainCalMonth(int month)
{
    if (month >= 1 && month <= 12 && AssignIfChanged(m_settings.mainCalMonth, month))
        CalculateLayout(false);
}

void CalendarPage::SetMainCalYear(int year)
{
    if (year >= 1 && year <= 9999 && AssignIfChanged(m_settings.mainCalYear, year))
        CalculateLayout(false);
}

void CalendarPage::SetStartOfWeek(int start)
{
    if (AssignIfChanged(m_settings.startOfWeek, start))
        Repaint();
}

void CalendarPage::SetUserTitle(const QString &title)
{
    if (AssignIfChanged(m_settings.userTitle, title))
        Repaint();
}

void CalendarPage::SetPanelState(TLPanelState state)
{
    m_panelState = state;
}

// --- border picture -------------------------------------------------------------

QString CalendarPage::BorderFilePath(const QString &name, TCalendarOrientation orientation)
{
    const QString extension =
        orientation == coLandscape ? QStringLiteral(".wls") : QStringLiteral(".wpo");
    const QString path = AssetPath(QStringLiteral("Borders/") + name + extension);
    const QFileInfo info(path);
    const QString found = FindIgnoringCase(info.absolutePath(), info.fileName());
    return found.isEmpty() ? path : found;
}

void CalendarPage::SetWMFBorderFile(const QString &name)
{
    if (name.isEmpty()) {
        m_settings.wmfBorderFile.clear();
    } else if (QFileInfo::exists(BorderFilePath(name, m_settings.calendarOrientation))) {
        m_settings.wmfBorderFile = name;
        LoadBorderPicture();
    }
    CalculateLayout(false);
}

void CalendarPage::LoadBorderPicture()
{
    QFile file(BorderFilePath(m_settings.wmfBorderFile, m_settings.calendarOrientation));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxBorderPictureBytes) {
        m_settings.wmfBorderFile.clear();
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_settings.wmfBorderFile.clear();
        return;
    }
    std::optional<Picture> picture = Picture::FromBytes(bytes, file.fileName(), nullptr);
    if (!picture) {
        m_settings.wmfBorderFile.clear();
        return;
    }
    m_borderPicture = std::move(*picture);
}

// --- unpublished settings -------------------------------------------------------

void CalendarPage::SetPaperSize(int paperSize)
{
    if (AssignIfChanged(m_settings.paperSize, paperSize))
        CalculateLayout(false);
}

void CalendarPage::SetPlannerStartTime(const QTime &time)
{
    if (AssignIfChanged(m_settings.plannerStartTime, time))
        CalculateLayout(false);
}

void CalendarPage::SetMonthName(int index, const QString &name)
{
    if (index >= 1 && index <= 12)
        m_settings.monthNames[index - 1] = name;
}

void CalendarPage::SetDayName(int index, const QString &name)
{
    if (index >= 1 && index <= 7)
        m_settings.dayNames[index - 1] = name;
}

// --- day-cell notes -------------------------------------------------------------------

const TWPRtfStorage &CalendarPage::CellNote(int cell) const
{
    static const TWPRtfStorage blank;
    return (cell >= 1 && cell <= CellCount) ? m_cellNotes[cell - 1] : blank;
}

void CalendarPage::SetCellNote(int cell, const TWPRtfStorage &note)
{
    if (cell < 1 || cell > CellCount)
        return;
    m_cellNotes[cell - 1] = note;
    Repaint();
}

bool CalendarPage::HasCellNotes() const
{
    return std::any_of(m_cellNotes.begin(), m_cellNotes.end(),
                       [](const TWPRtfStorage &note) { return !note.IsEmpty(); });
}

int CalendarPage::NotedCellCount() const
{
    return static_cast<int>(
        std::count_if(m_cellNotes.begin(), m_cellNotes.end(),
                      [](const TWPRtfStorage &note) { return !note.IsEmpty(); }));
}

void CalendarPage::ClearCellNotes()
{
    for (TWPRtfStorage &note : m_cellNotes)
        note.Clear();
}

// --- drawing --------------------------------------------------------------------------

void CalendarPage::SetFirstWeekday(int weekday)
{
    CalendarSettings next = m_settings;
    next.SetFirstWeekday(weekday);
    if (next.startOfWeek == m_settings.startOfWeek && next.extras == m_settings.extras)
        return;
    m_settings.startOfWeek = next.startOfWeek;
    m_settings.extras = next.extras;
    Repaint();
}

void CalendarPage::SetExtras(const CalendarExtras &extras)
{
    if (m_settings.extras == extras)
        return;
    const bool geometry = m_settings.extras.weekNumbers != extras.weekNumbers;
    m_settings.extras = extras;
    if (geometry)
        CalculateLayout(false);
    else
        Repaint();
}

void CalendarPage::SetRedDayLookup(RedDayLookup lookup)
{
    m_redDayLookup = std::move(lookup);
    if (m_settings.extras.redDays)
        Repaint();
}

QSet<QDate> CalendarPage::RedDays() const
{
    if (!m_settings.extras.redDays || !m_redDayLookup)
        return {};
    const auto [first, last] = PageDateRange(m_settings, m_layout);
    if (!first.isValid() || !last.isValid())
        return {};
    return m_redDayLookup(first, last);
}

PageDrawing CalendarPage::Draw(PageCanvas &canvas) const
{
    const QSet<QDate> redDays = RedDays();
    return PageRenderer(m_settings, m_layout, m_cellNotes, m_borderPicture, redDays).Draw(canvas);
}

PageDrawing CalendarPage::Draw(QPainter &painter, const RenderTarget &target) const
{
    ScreenCanvas canvas(painter, target.zoom, target.fontPpi, m_noteDrawer);
    return Draw(canvas);
}

void CalendarPage::DrawNoteOnScreen(QPainter &painter, const TWPRtfStorage &note,
                                    const TRect &rFree, float zoom, TColor background) const
{
    // The renderer works in whole percent, as the note editor does.
    NoteRenderer::View view;
    view.background = ToQColor(background);
    view.zoom = NoteRenderer::WholePercent(zoom);
    view.pageSize = QSizeF((rFree.Width() + 1) / view.zoom, (rFree.Height() + 1) / view.zoom);
    m_noteRenderer->Paint(painter, rFree.toQRectF(), note, view);
}

QDate CalendarPage::PlannerFirstDate() const
{
    return PlannerTexts::FirstDate(m_settings);
}

QString CalendarPage::PlannerTitle() const
{
    return PlannerTexts::Title(m_settings);
}

int CalendarPage::PlannerDayCount() const
{
    return PlannerTexts::DayCount(m_settings);
}

int CalendarPage::PlannerHourCount() const
{
    return PlannerTexts::HourCount(m_settings);
}

QStringList CalendarPage::PlannerRowLabels() const
{
    return PlannerTexts::RowLabels(m_settings);
}

QStringList CalendarPage::PlannerDateTexts() const
{
    return PlannerTexts::DateTexts(m_settings);
}

// --- day cells ------------------------------------------------------------------------

int CalendarPage::MonthDayOfCell(int cell) const
{
    if (cell < 1 || cell > CellCount)
        return 0;
    const int month = m_settings.mainCalMonth;
    const int year = m_settings.mainCalYear;
    return CalendarDates::DayInCell(
        (cell - 1) / 7, (cell - 1) % 7,
        CalendarDates::FirstColumnOn(month, year, m_settings.FirstWeekday()),
        CalendarDates::DaysInMonth(month, year));
}

int CalendarPage::MonthCellOfDay(int day) const
{
    const int month = m_settings.mainCalMonth;
    const int year = m_settings.mainCalYear;
    const int index = CalendarDates::CellOfDay(
        day, CalendarDates::FirstColumnOn(month, year, m_settings.FirstWeekday()),
        CalendarDates::DaysInMonth(month, year));
    return index < 0 ? -1 : index + 1;
}

ClickOutcome CalendarPage::DecideClick(const PageDrawing &drawn, const QPoint &point,
                                       bool objectAtPoint) const
{
    ClickOutcome outcome;
    if (m_panelState != psPointing)
        return outcome;
    const int cell = drawn.CellAt(point);
    outcome.clickedHeader = drawn.titleRect.Contains(point);
    outcome.clickedDaysArea = drawn.headerRect.Contains(point);
    if (cell != 0 && (m_layout.hasMainCalendar || m_layout.isPlanner)) {
        if (!objectAtPoint)
            outcome.cell = cell;
    } else {
        outcome.onClick = true;
    }
    return outcome;
}

// --- operations -------------------------------------------------------------------

int CalendarPage::LayoutKind(TCalendarLayout layout)
{
    if (layout <= loFC12AfterLS)
        return 0;
    if (layout <= loMC60MonthLS)
        return 1;
    return 2 + (layout - loWeek);
}

int CalendarPage::LayoutKind() const
{
    return LayoutKind(m_settings.calendarLayout);
}

bool CalendarPage::HasDayCells() const
{
    return LayoutHasDayCells(m_settings.calendarLayout);
}

bool CalendarPage::ChangeClearsCellNotes(const CalendarSettings &before,
                                         const CalendarSettings &after)
{
    if (LayoutKind(before.calendarLayout) != LayoutKind(after.calendarLayout))
        return true;
    return LayoutHasDayCells(after.calendarLayout) &&
           (before.mainCalMonth != after.mainCalMonth || before.mainCalYear != after.mainCalYear);
}

void CalendarPage::SetMiniFontSizes(int points)
{
    m_settings.SetMiniFontSizes(points);
    NotifyFontChanged();
}

void CalendarPage::SetSettings(const CalendarSettings &settings)
{
    const QString borderName = settings.wmfBorderFile;
    const QString previousBorder = m_settings.wmfBorderFile;
    m_settings = settings;
    m_settings.wmfBorderFile = previousBorder;
    if (!IsValidLayout(m_settings.calendarLayout))
        m_settings.calendarLayout = loFullCalendar;
    // The border picture is chosen by the orientation, which the layout sets.
    m_settings.calendarOrientation = CalculatePageLayout(m_settings).orientation;
    SetWMFBorderFile(borderName); // recomputes the layout and repaints
    Q_EMIT fontChanged();
}

void CalendarPage::AssignSettings(const CalendarSettings &source)
{
    CalendarSettings next = m_settings;
    next.AssignStyle(source);
    SetSettings(next);
}

void CalendarPage::SetDefaultStyle()
{
    m_settings.ApplyDefaultStyle(QDate::currentDate());
    CalculateLayout(true);
}

// --- page geometry ------------------------------------------------------------------

QString CalendarPage::LayoutDisplayName(TCalendarLayout layout)
{
    switch (layout) {
    case loFullCalendar:
    case LOFullCalendarLS:
        return QStringLiteral("1 Month Calendar");
    case loFCMinisInTitle:
    case loFCMinisInTitleLS:
        return QStringLiteral("1 Month Calendar, 2 Mini Calendars");
    case loFC6Before6After:
    case loFC6Before6AfterLS:
        return QStringLiteral("1 Month Calendar, 6 Mini Calendars Before & After");
    case loFC12After:
    case loFC12AfterLS:
        return QStringLiteral("1 Month Calendar, 12 Mini Calendars After");
    case lopMC6Month:
    case lopMC6MonthLS:
        return QStringLiteral("6 Month Calendar (Mini Calendars)");
    case loMC12Month:
    case loMC12MonthLS:
        return QStringLiteral("12 Month Calendar (Mini Calendars)");
    case loMC24Month:
    case loMC24MonthLS:
        return QStringLiteral("24 Month Calendar (Mini Calendars)");
    case loMC48Month:
    case loMC48MonthLS:
        return QStringLiteral("48 Month Calendar (Mini Calendars)");
    case loMC60Month:
    case loMC60MonthLS:
        return QStringLiteral("60 Month Calendar (Mini Calendars)");
    case loWeek:
        return QStringLiteral("One Week Planner");
    case lo2Week:
        return QStringLiteral("Two Week Planner");
    case loDay10:
        return QStringLiteral("Day Planner (10 hours)");
    case loDay15:
        return QStringLiteral("Day Planner (15 hours)");
    }
    return QString();
}

void CalendarPage::CalculateLayout(bool resetMiniFonts)
{
    m_layout = CalculatePageLayout(m_settings);
    m_settings.calendarOrientation = m_layout.orientation;
    if (resetMiniFonts && m_layout.miniTitlePoints > 0)
        SetMiniFontSizes(m_layout.miniTitlePoints);
    Q_EMIT geometryChanged();
    Repaint();
}

} // namespace Dayloom
