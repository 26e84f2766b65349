#include "core/calendar/calendarpage.h"

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

// Inches to pixels, truncated toward zero.
int Px(float inches)
{
    return static_cast<int>(CalendarPage::PPI * static_cast<double>(inches));
}

// A margin plus a fixed band, held in single precision before conversion.
float Plus(float margin, double inches)
{
    return static_cast<float>(static_cast<double>(margin) + inches);
}

bool IsLandscapeLayout(TCalendarLayout layout)
{
    return layout >= LOFullCalendarLS && layout <= loMC60MonthLS && (layout % 2) == 1;
}

bool IsValidLayout(int layout)
{
    return layout >= loFullCalendar && layout <= loDay15;
}

struct SheetGrid
{
    int rows;
    int columns;
    int count;
    int miniTitlePoints;
};

// Mini-calendar sheets (layouts 8-17): portrait grid, count, mini title size.
SheetGrid MiniSheetGrid(TCalendarLayout layout)
{
    switch (layout) {
    case lopMC6Month:
    case lopMC6MonthLS:
        return {3, 2, 6, 18};
    case loMC12Month:
    case loMC12MonthLS:
        return {4, 3, 12, 18};
    case loMC24Month:
    case loMC24MonthLS:
        return {6, 4, 24, 12};
    case loMC48Month:
    case loMC48MonthLS:
        return {8, 6, 48, 10};
    default:
        return {10, 6, 60, 8};
    }
}

} // namespace

CalendarPage::CalendarPage(QObject *parent)
    : QObject(parent), m_titleFont(QStringLiteral("Times New Roman"), 26, true),
      m_headersFont(QStringLiteral("Times New Roman"), 16, true),
      m_cellFont(QStringLiteral("Times New Roman"), 16, true),
      m_miniTitleFont(QStringLiteral("Times New Roman"), 6, true),
      m_miniHeadersFont(QStringLiteral("Times New Roman"), 8, false, clWhite),
      m_miniCellFont(QStringLiteral("Times New Roman"), 6, false)
{
    LoadSystemNames();
    m_noteRenderer = std::make_unique<NoteRenderer>();
    m_noteDrawer = [this](QPainter &painter, const TWPRtfStorage &note, const TRect &rFree,
                          float zoom) { DrawNoteOnScreen(painter, note, rFree, zoom); };
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
    if (!IsValidLayout(layout) || !AssignIfChanged(m_calendarLayout, layout))
        return;
    CalculateLayout(false);
    if (!m_wmfBorderFile.isEmpty())
        SetWMFBorderFile(m_wmfBorderFile); // the picture follows the orientation
}

void CalendarPage::SetCalendarOrientation(TCalendarOrientation orientation)
{
    if (AssignIfChanged(m_calendarOrientation, orientation))
        CalculateLayout(false);
}

void CalendarPage::SetCalendarLineLayout(TCalendarLineLayout preset)
{
    if (!AssignIfChanged(m_calendarLineLayout, preset))
        return;
    switch (preset) {
    case llFull:
        m_calendarBorder = cbAll;
        m_headersBorder = cbAll;
        break;
    case llHeadersAndCells:
        m_calendarBorder = cbNone;
        m_headersBorder = cbAll;
        break;
    case llCellsOnly:
        m_calendarBorder = cbNone;
        m_headersBorder = cbNone;
        break;
    }
    m_cellBorder = cbAll;
    Repaint();
}

void CalendarPage::SetMiniCalendarLineLayout(TMiniCalendarLineLayout preset)
{
    if (!AssignIfChanged(m_miniCalendarLineLayout, preset))
        return;
    switch (preset) {
    case mllFull:
        m_miniCalBorder = cbAll;
        m_miniCellBorder = cbAll;
        m_miniHeadersBorder = cbAll;
        break;
    case mllBoxed:
        m_miniCalBorder = cbAll;
        m_miniCellBorder = cbNone;
        m_miniHeadersBorder = cbTopBottom;
        break;
    case mllMinimal:
        m_miniCalBorder = cbNone;
        m_miniCellBorder = cbNone;
        m_miniHeadersBorder = cbTop;
        break;
    }
    Repaint();
}

void CalendarPage::SetTitleBGColor(TColor color)
{
    if (AssignIfChanged(m_titleBGColor, color))
        Repaint();
}

void CalendarPage::SetHeadersBGColor(TColor color)
{
    if (AssignIfChanged(m_headersBGColor, color))
        Repaint();
}

void CalendarPage::SetMiniHeadersBGColor(TColor color)
{
    if (AssignIfChanged(m_miniHeadersBGColor, color))
        Repaint();
}

void CalendarPage::SetMiniCalBGColor(TColor color)
{
    if (AssignIfChanged(m_miniCalBGColor, color))
        Repaint();
}

void CalendarPage::SetTitleFont(const FontSpec &font)
{
    m_titleFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetHeadersFont(const FontSpec &font)
{
    m_headersFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetCellFont(const FontSpec &font)
{
    m_cellFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetMiniTitleFont(const FontSpec &font)
{
    m_miniTitleFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetMiniHeadersFont(const FontSpec &font)
{
    m_miniHeadersFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetMiniCellFont(const FontSpec &font)
{
    m_miniCellFont = font;
    NotifyFontChanged();
}

void CalendarPage::SetMarginInch(float &field, float inches)
{
    if (AssignIfChanged(field, inches))
        CalculateLayout(false);
}

void CalendarPage::SetLeftMarginInch(float inches)
{
    SetMarginInch(m_leftMarginInch, inches);
}

void CalendarPage::SetTopMarginInch(float inches)
{
    SetMarginInch(m_topMarginInch, inches);
}

void CalendarPage::SetRightMarginInch(float inches)
{
    SetMarginInch(m_rightMarginInch, inches);
}

void CalendarPage::SetBottomMarginInch(float inches)
{
    SetMarginInch(m_bottomMarginInch, inches);
}

void CalendarPage::SetCalendarBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_calendarBorder, style))
        Repaint();
}

void CalendarPage::SetHeadersBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_headersBorder, style))
        Repaint();
}

void CalendarPage::SetCellBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_cellBorder, style))
        Repaint();
}

void CalendarPage::SetMiniCalBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_miniCalBorder, style))
        Repaint();
}

void CalendarPage::SetMiniHeadersBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_miniHeadersBorder, style))
        Repaint();
}

void CalendarPage::SetMiniCellBorder(TCalBorderStyle style)
{
    if (AssignIfChanged(m_miniCellBorder, style))
        Repaint();
}

void CalendarPage::SetTitleShowYear(bool on)
{
    if (AssignIfChanged(m_titleShowYear, on))
        Repaint();
}

void CalendarPage::SetMiniShowYear(bool on)
{
    if (AssignIfChanged(m_miniShowYear, on))
        Repaint();
}

void CalendarPage::SetHeadersStyle(TCalHeadersStyle style)
{
    if (AssignIfChanged(m_headersStyle, style))
        Repaint();
}

void CalendarPage::SetMiniHeadersStyle(TCalHeadersStyle style)
{
    if (AssignIfChanged(m_miniHeadersStyle, style))
        Repaint();
}

void CalendarPage::SetNumberPosition(TCalendarNumberPosition position)
{
    if (AssignIfChanged(m_numberPosition, position))
        Repaint();
}

void CalendarPage::SetMainCalDay(int day)
{
    if (AssignIfChanged(m_mainCalDay, day))
        CalculateLayout(false);
}

void CalendarPage::SetMainCalMonth(int month)
{
    if (month >= 1 && month <= 12 && AssignIfChanged(m_mainCalMonth, month))
        CalculateLayout(false);
}

void CalendarPage::SetMainCalYear(int year)
{
    if (year >= 1 && year <= 9999 && AssignIfChanged(m_mainCalYear, year))
        CalculateLayout(false);
}

void CalendarPage::SetStartOfWeek(int start)
{
    if (AssignIfChanged(m_startOfWeek, start))
        Repaint();
}

void CalendarPage::SetUserTitle(const QString &title)
{
    if (AssignIfChanged(m_userTitle, title))
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
    return AssetPath(QStringLiteral("Borders/") + name + extension);
}

void CalendarPage::SetWMFBorderFile(const QString &name)
{
    if (name.isEmpty()) {
        m_wmfBorderFile.clear();
    } else if (QFileInfo::exists(BorderFilePath(name, m_calendarOrientation))) {
        m_wmfBorderFile = name;
        LoadBorderPicture();
    }
    CalculateLayout(false);
}

void CalendarPage::LoadBorderPicture()
{
    QFile file(BorderFilePath(m_wmfBorderFile, m_calendarOrientation));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxBorderPictureBytes) {
        m_wmfBorderFile.clear();
        return;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_wmfBorderFile.clear();
        return;
    }
    m_borderPicture = std::move(bytes);
}

// --- unpublished settings -------------------------------------------------------

void CalendarPage::SetPaperSize(int paperSize)
{
    if (AssignIfChanged(m_paperSize, paperSize))
        CalculateLayout(false);
}

void CalendarPage::SetPlannerStartTime(const QTime &time)
{
    if (AssignIfChanged(m_plannerStartTime, time))
        CalculateLayout(false);
}

QString CalendarPage::MonthName(int index) const
{
    return (index >= 1 && index <= 12) ? m_monthNames[index - 1] : QString();
}

QString CalendarPage::DayName(int index) const
{
    return (index >= 1 && index <= 7) ? m_dayNames[index - 1] : QString();
}

void CalendarPage::SetMonthName(int index, const QString &name)
{
    if (index >= 1 && index <= 12)
        m_monthNames[index - 1] = name;
}

void CalendarPage::SetDayName(int index, const QString &name)
{
    if (index >= 1 && index <= 7)
        m_dayNames[index - 1] = name;
}

void CalendarPage::LoadSystemNames()
{
    const QLocale locale = QLocale::system();
    for (int month = 1; month <= 12; ++month)
        m_monthNames[month - 1] = locale.monthName(month, QLocale::LongFormat);
    for (int day = 1; day <= 7; ++day) {
        const int qtDay = day == 1 ? 7 : day - 1; // Qt counts from Monday
        m_dayNames[day - 1] = locale.dayName(qtDay, QLocale::LongFormat);
    }
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

void CalendarPage::ClearCellNotes()
{
    for (TWPRtfStorage &note : m_cellNotes)
        note.Clear();
    ClearCellRecords();
}

// --- drawing --------------------------------------------------------------------------

namespace {

int Scaled(int value, float zoom)
{
    return static_cast<int>(value * static_cast<double>(zoom));
}

TRect Scaled(const TRect &r, float zoom)
{
    return {Scaled(r.Left, zoom), Scaled(r.Top, zoom), Scaled(r.Right, zoom),
            Scaled(r.Bottom, zoom)};
}

FontSpec ScaledFont(const FontSpec &font, float zoom)
{
    FontSpec scaled = font;
    scaled.SetSize(Scaled(font.Size(), zoom));
    return scaled;
}

} // namespace

void CalendarPage::ClearCellRecords()
{
    m_mainBlock.cells.fill(CellRecord{});
    m_titleRect = {};
    m_headerRect = {};
}

void CalendarPage::Paint(QPainter &painter, float zoom)
{
    if (m_painting)
        return;
    m_painting = true;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    ClearCellRecords();

    if (!m_wmfBorderFile.isEmpty() && m_borderDrawer && !m_borderPicture.isEmpty())
        m_borderDrawer(painter, m_borderPicture, Scaled(m_printableRect, zoom).toQRect());

    if (m_isPlanner) {
        DrawPlannerPage(painter, zoom);
    } else if (m_hasMainCalendar) {
        FillMainBlock(zoom);
        CalendarPainter::DrawMonthGrid(painter, m_mainBlock, m_userTitle);
        m_titleRect = m_mainBlock.titleRect;
        m_headerRect = m_mainBlock.headerRect;
        DrawNotes(painter, zoom, false);
    }

    const TRect &firstFree = m_mainBlock.cells[0].rFree;
    m_referenceNoteSize = QSize(firstFree.Width() + 5, firstFree.Height() + 5);

    if (m_hasMiniCalendars)
        DrawMiniCalendars(painter, zoom);
    painter.restore();
    m_painting = false;
}

void CalendarPage::FillMainBlock(float zoom)
{
    DrawingBlock &b = m_mainBlock;
    b.backgroundColor = clWhite;
    b.titleBackground = m_titleBGColor;
    b.minimumTitleHeight = static_cast<int>(PPI * 1.5 * static_cast<double>(zoom));
    b.month = m_mainCalMonth;
    b.year = m_mainCalYear;
    b.day = m_mainCalDay;
    b.rect = Scaled(m_mainRect, zoom);
    b.numberPosition = m_numberPosition;
    b.weekStart = m_startOfWeek;
    b.calendarBorder = m_calendarBorder;
    b.titleFont = ScaledFont(m_titleFont, zoom);
    b.showYear = m_titleShowYear;
    b.headerFont = ScaledFont(m_headersFont, zoom);
    b.headerBorder = m_headersBorder;
    b.headerStyle = m_headersStyle;
    b.headerBackground = m_headersBGColor;
    b.cellFont = ScaledFont(m_cellFont, zoom);
    b.cellBorder = m_cellBorder;
    b.monthNames = m_monthNames;
    b.dayNames = m_dayNames;
    b.plannerStartTime = m_plannerStartTime;
}

void CalendarPage::DrawNotes(QPainter &painter, float zoom, bool skipEmptyNotes)
{
    if (!m_noteDrawer)
        return;
    for (int i = 0; i < CellCount; ++i) {
        const TRect &free = m_mainBlock.cells[i].rFree;
        if (free.IsEmpty() || (skipEmptyNotes && m_cellNotes[i].IsEmpty()))
            continue;
        m_noteDrawer(painter, m_cellNotes[i], free, zoom);
    }
}

void CalendarPage::DrawNoteOnScreen(QPainter &painter, const TWPRtfStorage &note,
                                    const TRect &rFree, float zoom)
{
    // The renderer works in whole percent, as the note editor does.
    const double percentZoom = std::max(1, static_cast<int>(zoom * 100.0f)) / 100.0;
    const double width = rFree.Width() + 1;
    const double height = rFree.Height() + 1;
    m_noteRenderer->SetBackground(Qt::white);
    m_noteRenderer->SetMode(NoteRenderer::Mode::Screen);
    m_noteRenderer->SetZoom(percentZoom);
    m_noteRenderer->SetPageSize(QSizeF(width / percentZoom, height / percentZoom));
    m_noteRenderer->Paint(painter, rFree.toQRectF(), note);
}

QDate CalendarPage::PlannerFirstDate() const
{
    // The planners need a real date; a day outside the month (the default
    // day is 0) is taken as the nearest valid one.
    const int days = CalendarDates::DaysInMonth(m_mainCalMonth, m_mainCalYear);
    return QDate(m_mainCalYear, m_mainCalMonth, std::clamp(m_mainCalDay, 1, std::max(days, 1)));
}

QString CalendarPage::PlannerTitle() const
{
    if (!m_userTitle.isEmpty())
        return m_userTitle;
    const QDate first = PlannerFirstDate();
    auto month = [this](const QDate &d) { return MonthName(d.month()); };
    if (m_calendarLayout == loDay10 || m_calendarLayout == loDay15)
        return QStringLiteral("%1, %2 %3, %4")
            .arg(DayName(first.dayOfWeek() % 7 + 1), month(first))
            .arg(first.day())
            .arg(first.year());
    const QDate last = first.addDays(PlannerDayCount() - 1);
    if (first.year() == last.year() && first.month() == last.month())
        return QStringLiteral("%1 %2-%3, %4")
            .arg(month(first))
            .arg(first.day())
            .arg(last.day())
            .arg(first.year());
    if (first.year() == last.year())
        return QStringLiteral("%1 %2 - %3 %4, %5")
            .arg(month(first))
            .arg(first.day())
            .arg(month(last))
            .arg(last.day())
            .arg(first.year());
    return QStringLiteral("%1 %2, %3 - %4 %5, %6")
        .arg(month(first))
        .arg(first.day())
        .arg(first.year())
        .arg(month(last))
        .arg(last.day())
        .arg(last.year());
}

int CalendarPage::PlannerDayCount() const
{
    return m_calendarLayout == lo2Week ? 14 : 7;
}

int CalendarPage::PlannerHourCount() const
{
    return m_calendarLayout == loDay15 ? 15 : 10;
}

QStringList CalendarPage::PlannerRowLabels() const
{
    QStringList labels;
    if (m_calendarLayout == loDay10 || m_calendarLayout == loDay15) {
        const QLocale locale = QLocale::system();
        for (int k = 0; k < PlannerHourCount(); ++k) {
            // Each step is 60 x 0.000694445 of a day: a few milliseconds over
            // an hour, which the minutes shown never reveal.
            const QTime t = m_plannerStartTime.addMSecs(k * 3600003);
            const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
            labels << QStringLiteral("%1:%2 %3")
                          .arg(hour12)
                          .arg(t.minute(), 2, 10, QLatin1Char('0'))
                          .arg(t.hour() < 12 ? locale.amText() : locale.pmText());
        }
    } else {
        const QDate first = PlannerFirstDate();
        for (int k = 0; k < PlannerDayCount(); ++k) {
            const QDate d = first.addDays(k);
            labels << CalendarPainter::CutDayName(DayName(d.dayOfWeek() % 7 + 1), m_headersStyle);
        }
    }
    labels << QStringLiteral("Notes");
    return labels;
}

QStringList CalendarPage::PlannerDateTexts() const
{
    QStringList dates;
    if (m_calendarLayout == loDay10 || m_calendarLayout == loDay15)
        return dates;
    const QDate first = PlannerFirstDate();
    for (int k = 0; k < PlannerDayCount(); ++k) {
        const QDate d = first.addDays(k);
        dates << QString::number(d.day()) + QLatin1Char(' ') + MonthName(d.month()).left(3);
    }
    dates << QString();
    return dates;
}

void CalendarPage::DrawPlannerPage(QPainter &painter, float zoom)
{
    FillMainBlock(zoom);
    m_mainBlock.plannerDays = PlannerDayCount();
    m_mainBlock.plannerHours = PlannerHourCount();
    CalendarPainter::DrawPlanner(painter, m_mainBlock, PlannerRowLabels(), PlannerDateTexts(),
                                 PlannerTitle());
    m_titleRect = m_mainBlock.titleRect;
    // The week planner draws only notes that have text; the day planner
    // every note area.
    DrawNotes(painter, zoom, m_calendarLayout == loWeek || m_calendarLayout == lo2Week);
}

void CalendarPage::DrawMiniCalendars(QPainter &painter, float zoom)
{
    DrawingBlock &b = m_miniBlock;
    b.backgroundColor = m_miniCalBGColor;
    b.titleBackground = m_miniCalBGColor;
    b.minimumTitleHeight = 0;
    b.numberPosition = cnpCenter;
    b.weekStart = m_startOfWeek;
    b.calendarBorder = m_miniCalBorder;
    b.titleFont = ScaledFont(m_miniTitleFont, zoom);
    b.showYear = m_miniShowYear;
    b.headerFont = ScaledFont(m_miniHeadersFont, zoom);
    b.headerBorder = m_miniHeadersBorder;
    b.headerStyle = m_miniHeadersStyle;
    b.headerBackground = m_miniHeadersBGColor;
    b.cellFont = ScaledFont(m_miniCellFont, zoom);
    b.cellBorder = m_miniCellBorder;
    b.monthNames = m_monthNames;
    b.dayNames = m_dayNames;
    for (int i = 0; i < m_miniCount && i < MaxMinis; ++i) {
        b.month = m_miniMonths[i].month;
        b.year = m_miniMonths[i].year;
        b.rect = Scaled(m_miniRects[i], zoom);
        CalendarPainter::DrawMonthGrid(painter, b, QString());
    }
}

// --- day cells ------------------------------------------------------------------------

CellRecord CalendarPage::CellRecordOf(int cell) const
{
    return (cell >= 1 && cell <= CellCount) ? m_mainBlock.cells[cell - 1] : CellRecord{};
}

int CalendarPage::CellAt(const QPoint &point) const
{
    for (int i = 0; i < CellCount; ++i)
        if (m_mainBlock.cells[i].rTotal.Contains(point))
            return i + 1;
    return 0;
}

int CalendarPage::CellOfDay(int day) const
{
    for (int i = 0; i < CellCount; ++i)
        if (m_mainBlock.cells[i].day == day)
            return i + 1;
    return -1;
}

ClickOutcome CalendarPage::DecideClick(const QPoint &point, bool objectAtPoint) const
{
    ClickOutcome outcome;
    if (m_panelState != psPointing)
        return outcome;
    const int cell = CellAt(point);
    outcome.clickedHeader = m_titleRect.Contains(point);
    outcome.clickedDaysArea = m_headerRect.Contains(point);
    if (cell != 0 && (m_hasMainCalendar || m_isPlanner)) {
        if (!objectAtPoint)
            outcome.cell = cell;
    } else {
        outcome.onClick = true;
    }
    return outcome;
}

void CalendarPage::ClickCell(int cell)
{
    if (cell < 1 || cell > CellCount)
        return;
    const CellRecord &record = m_mainBlock.cells[cell - 1];
    Q_EMIT ClickedInCellEvent(CellEvent{record.rTotal, record.rFree, cell, record.day});
}

void CalendarPage::ClickPreviousCell(int cell)
{
    if (cell > 1 && cell <= CellCount && !m_mainBlock.cells[cell - 2].rFree.IsZero())
        ClickCell(cell - 1);
}

void CalendarPage::ClickNextCell(int cell)
{
    if (cell >= 1 && cell < CellCount && !m_mainBlock.cells[cell].rFree.IsZero())
        ClickCell(cell + 1);
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
    return LayoutKind(m_calendarLayout);
}

bool CalendarPage::HasDayCells() const
{
    return m_calendarLayout <= loFC12AfterLS || m_calendarLayout >= loWeek;
}

void CalendarPage::SetMiniFontSizes(int points)
{
    m_miniTitleFont.SetSize(points);
    const int small = static_cast<int>(points * 0.8);
    m_miniHeadersFont.SetSize(small);
    m_miniCellFont.SetSize(small);
    NotifyFontChanged();
}

void CalendarPage::AssignSettings(const CalendarPage &source)
{
    m_paperSize = source.m_paperSize;
    m_calendarLayout = source.m_calendarLayout;
    m_calendarOrientation = source.m_calendarOrientation;
    m_startOfWeek = source.m_startOfWeek;
    m_monthNames = source.m_monthNames;
    m_dayNames = source.m_dayNames;
    m_mainCalDay = source.m_mainCalDay;
    m_mainCalMonth = source.m_mainCalMonth;
    m_mainCalYear = source.m_mainCalYear;
    m_titleFont = source.m_titleFont;
    m_titleBGColor = source.m_titleBGColor;
    m_headersFont = source.m_headersFont;
    m_headersBGColor = source.m_headersBGColor;
    m_headersStyle = source.m_headersStyle;
    m_cellFont = source.m_cellFont;
    m_miniCalBGColor = source.m_miniCalBGColor;
    m_miniTitleFont = source.m_miniTitleFont;
    m_miniHeadersFont = source.m_miniHeadersFont;
    m_miniHeadersBGColor = source.m_miniHeadersBGColor;
    m_miniHeadersStyle = source.m_miniHeadersStyle;
    m_miniCellFont = source.m_miniCellFont;
    m_titleShowYear = source.m_titleShowYear;
    m_miniShowYear = source.m_miniShowYear;
    m_leftMarginInch = source.m_leftMarginInch;
    m_topMarginInch = source.m_topMarginInch;
    m_rightMarginInch = source.m_rightMarginInch;
    m_bottomMarginInch = source.m_bottomMarginInch;
    m_plannerStartTime = source.m_plannerStartTime;
    SetCalendarLineLayout(source.m_calendarLineLayout);
    SetMiniCalendarLineLayout(source.m_miniCalendarLineLayout);
    SetUserTitle(source.m_userTitle);
    SetWMFBorderFile(source.m_wmfBorderFile);
    NotifyFontChanged();
    CalculateLayout(false);
}

bool CalendarPage::SameSettings(const CalendarPage &other) const
{
    return m_paperSize == other.m_paperSize && m_calendarLayout == other.m_calendarLayout &&
           m_startOfWeek == other.m_startOfWeek &&
           m_calendarOrientation == other.m_calendarOrientation &&
           m_monthNames == other.m_monthNames && m_dayNames == other.m_dayNames &&
           m_mainCalDay == other.m_mainCalDay && m_mainCalMonth == other.m_mainCalMonth &&
           m_mainCalYear == other.m_mainCalYear && m_titleFont.SameLook(other.m_titleFont) &&
           m_titleBGColor == other.m_titleBGColor && m_headersFont.SameLook(other.m_headersFont) &&
           m_headersBGColor == other.m_headersBGColor && m_headersStyle == other.m_headersStyle &&
           m_cellFont.SameLook(other.m_cellFont) && m_miniCalBGColor == other.m_miniCalBGColor &&
           m_miniTitleFont.SameLook(other.m_miniTitleFont) &&
           m_miniHeadersFont.SameLook(other.m_miniHeadersFont) &&
           m_miniHeadersBGColor == other.m_miniHeadersBGColor &&
           m_miniHeadersStyle == other.m_miniHeadersStyle &&
           m_miniCellFont.SameLook(other.m_miniCellFont) &&
           m_titleShowYear == other.m_titleShowYear && m_miniShowYear == other.m_miniShowYear &&
           m_leftMarginInch == other.m_leftMarginInch && m_topMarginInch == other.m_topMarginInch &&
           m_rightMarginInch == other.m_rightMarginInch &&
           m_bottomMarginInch == other.m_bottomMarginInch &&
           m_plannerStartTime == other.m_plannerStartTime &&
           m_calendarLineLayout == other.m_calendarLineLayout &&
           m_miniCalendarLineLayout == other.m_miniCalendarLineLayout &&
           m_userTitle == other.m_userTitle && m_wmfBorderFile == other.m_wmfBorderFile;
}

void CalendarPage::SetDefaultStyle()
{
    const QDate today = QDate::currentDate();
    m_paperSize = 0;
    m_userTitle.clear();
    m_calendarLayout = loFCMinisInTitleLS;
    m_startOfWeek = 1;
    LoadSystemNames();
    m_mainCalDay = today.day();
    m_mainCalMonth = today.month();
    m_mainCalYear = today.year();
    m_titleBGColor = clWhite;
    m_headersBGColor = clWhite;
    m_miniCalBGColor = clWhite;
    m_miniHeadersBGColor = clWhite;
    m_miniHeadersFont.SetColor(clBlack);
    m_miniHeadersStyle = dsFirstChar;
    m_titleShowYear = true;
    m_miniShowYear = true;
    m_leftMarginInch = m_topMarginInch = m_rightMarginInch = m_bottomMarginInch = 0.5f;
    m_plannerStartTime = QTime(8, 0);
    SetCalendarLineLayout(llFull);
    SetMiniCalendarLineLayout(mllBoxed);
    m_wmfBorderFile.clear();
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

TRect CalendarPage::MiniRect(int index) const
{
    return (index >= 1 && index <= MaxMinis) ? m_miniRects[index - 1] : TRect{};
}

MonthYear CalendarPage::MiniMonth(int index) const
{
    return (index >= 1 && index <= MaxMinis) ? m_miniMonths[index - 1] : MonthYear{};
}

void CalendarPage::DistributeRects(int rows, int columns, int lastIndex, int firstIndex,
                                   const TRect &area)
{
    if (rows <= 0 || columns <= 0)
        return;
    const int gapV = area.Height() / 100;
    const int gapH = area.Width() / 100;
    const int cellH = (area.Height() - gapV * (rows - 1)) / rows;
    const int cellW = (area.Width() - gapH * (columns - 1)) / columns;
    int index = firstIndex;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (index > lastIndex || index < 1 || index > MaxMinis)
                return;
            TRect &r = m_miniRects[index - 1];
            r.Left =
                column == columns - 1 ? area.Right - cellW : area.Left + column * (gapH + cellW);
            r.Top = row == rows - 1 ? area.Bottom - cellH : area.Top + row * (gapV + cellH);
            r.Right = r.Left + cellW;
            r.Bottom = r.Top + cellH;
            ++index;
        }
    }
}

void CalendarPage::CalculateLayout(bool resetMiniFonts)
{
    const double border = m_wmfBorderFile.isEmpty() ? 0.0 : BorderAllowance;
    const float L = Plus(m_leftMarginInch, border);
    const float T = Plus(m_topMarginInch, border);
    const float R = Plus(m_rightMarginInch, border);
    const float B = Plus(m_bottomMarginInch, border);

    const TCalendarLayout layout = m_calendarLayout;
    m_calendarOrientation = IsLandscapeLayout(layout) ? coLandscape : coPortrait;
    const double shortSide = IsA4() ? 8.27 : 8.5;
    const double longSide = IsA4() ? 11.69 : 11.0;
    const bool landscape = m_calendarOrientation == coLandscape;
    m_pageWidth = static_cast<int>(PPI * (landscape ? longSide : shortSide));
    m_pageHeight = static_cast<int>(PPI * (landscape ? shortSide : longSide));
    const int W = m_pageWidth;
    const int H = m_pageHeight;

    m_printableRect = {Px(m_leftMarginInch), Px(m_topMarginInch), W - Px(m_rightMarginInch),
                       H - Px(m_bottomMarginInch)};
    const TRect standard{Px(L) + 2, Px(T) + 2, W - Px(R) - 2, H - Px(B) - 2};

    int miniTitlePoints = 0;
    auto fillMiniMonths = [this](auto shiftOfIndex) {
        for (int i = 1; i <= m_miniCount; ++i) {
            const MonthYear my = ShiftMonth(m_mainCalMonth, m_mainCalYear, shiftOfIndex(i));
            m_miniMonths[i - 1] = my;
        }
    };

    m_hasMainCalendar = layout <= loFC12AfterLS;
    m_hasMiniCalendars = layout >= loFCMinisInTitle && layout <= loMC60MonthLS;
    m_isPlanner = layout >= loWeek;

    switch (layout) {
    case loFullCalendar:
    case LOFullCalendarLS:
    case loWeek:
    case lo2Week:
    case loDay10:
    case loDay15:
        m_mainRect = standard;
        break;
    case loFCMinisInTitle:
    case loFCMinisInTitleLS: {
        m_mainRect = standard;
        const int s = static_cast<int>(PPI * 1.5);
        const int h = PPI / 8;
        m_miniRects[0] = {m_mainRect.Left + h, m_mainRect.Top + h, m_mainRect.Left + s - h,
                          m_mainRect.Top + s - h};
        m_miniRects[1] = {m_mainRect.Right - s + h, m_mainRect.Top + h, m_mainRect.Right - h,
                          m_mainRect.Top + s - h};
        m_miniCount = 2;
        fillMiniMonths([](int i) { return i == 1 ? -1 : 1; });
        miniTitlePoints = 10;
        break;
    }
    case loFC6Before6After:
        m_mainRect = {Px(L) + 2, Px(Plus(T, 1.3)) + 2, W - Px(R) - 2, H - Px(Plus(B, 1.3)) - 2};
        DistributeRects(1, 6, 6, 1, {Px(L) + 2, Px(T) + 2, W - Px(R) - 2, Px(Plus(T, 1.3)) - 2});
        DistributeRects(1, 6, 12, 7,
                        {Px(L) + 2, H - Px(Plus(B, 1.3)) + 2, W - Px(R) - 2, H - Px(B) - 2});
        m_miniCount = 12;
        fillMiniMonths([](int i) { return i <= 6 ? i - 7 : i - 6; });
        miniTitlePoints = 10;
        break;
    case loFC6Before6AfterLS:
        m_mainRect = {Px(Plus(L, 1.3)) + 4, Px(T) + 2, W - Px(Plus(R, 1.3)) - 4, H - Px(B) - 2};
        DistributeRects(6, 1, 6, 1, {Px(L) + 2, Px(T) + 2, Px(Plus(L, 1.3)), H - Px(B) - 2});
        DistributeRects(6, 1, 12, 7,
                        {W - Px(Plus(R, 1.3)) + 2, Px(T) + 2, W - Px(R) - 2, H - Px(B) - 2});
        m_miniCount = 12;
        fillMiniMonths([](int i) { return i <= 6 ? i - 7 : i - 6; });
        miniTitlePoints = 10;
        break;
    case loFC12After:
        m_mainRect = {Px(L) + 2, Px(T) + 2, W - Px(R) - 2, H - Px(Plus(B, 2.9)) - 2};
        DistributeRects(2, 6, 12, 1,
                        {Px(L) + 2, H - Px(Plus(B, 2.8)) + 2, W - Px(R) - 2, H - Px(B) - 4});
        m_miniCount = 12;
        fillMiniMonths([](int i) { return i; });
        miniTitlePoints = 10;
        break;
    case loFC12AfterLS:
        m_mainRect = {Px(L) + 2, Px(T) + 2, W - Px(Plus(R, 2.9)) + 8, H - Px(B) - 2};
        DistributeRects(6, 2, 12, 1,
                        {W - Px(Plus(R, 2.8)) + 2, Px(T) + 2, W - Px(R) - 4, H - Px(B) - 2});
        m_miniCount = 12;
        fillMiniMonths([](int i) { return i; });
        miniTitlePoints = 10;
        break;
    default: { // mini-calendar sheets; the main rectangle is not used
        const SheetGrid grid = MiniSheetGrid(layout);
        const int rows = landscape ? grid.columns : grid.rows;
        const int columns = landscape ? grid.rows : grid.columns;
        DistributeRects(rows, columns, grid.count, 1, standard);
        m_miniCount = grid.count;
        fillMiniMonths([](int i) { return i - 1; });
        miniTitlePoints = grid.miniTitlePoints;
        break;
    }
    }

    if (resetMiniFonts && miniTitlePoints > 0)
        SetMiniFontSizes(miniTitlePoints);

    Q_EMIT geometryChanged();
    Repaint();
}

} // namespace Dayloom
