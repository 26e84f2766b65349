#pragma once

#include "core/calendar/calendardates.h"
#include "core/calendar/calendarpainter.h"
#include "core/calendar/calendarsettings.h"
#include "core/calendar/calendartypes.h"
#include "core/calendar/pagelayout.h"
#include "core/calendar/pagerenderer.h"
#include "core/calendar/screencanvas.h"
#include "core/common/fontspec.h"
#include "core/common/tcolor.h"
#include "core/common/trect.h"
#include "core/graphics/picture.h"
#include "core/richtext/twprtfstorage.h"

#include <QByteArray>
#include <QDate>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <functional>
#include <memory>

class QPainter;

namespace Dayloom {
class NoteRenderer;
class PageCanvas;
} // namespace Dayloom

namespace Dayloom {

// What a click on a day cell hands to whoever edits notes: the cell's inner
// and note rectangles (device pixels of the last paint), its number 1-42 and
// its day of the month (0 for an empty cell). The note itself is
// CalendarPage::CellNote(iCell).
struct CellEvent
{
    TRect rTotal;
    TRect rFree;
    int iCell = 0;
    int iDay = 0;
};

// What a click at a point of the page means (see CalendarPage::DecideClick).
struct ClickOutcome
{
    bool clickedHeader = false;   // inside the title band
    bool clickedDaysArea = false; // inside the weekday row
    int cell = 0;                 // a day cell was chosen: raise the cell event
    bool onClick = false;         // a plain click on the page
};

// The calendar page model: every setting of one printed sheet with its
// defaults, the month and day names, the border picture and the page
// geometry of the 22 layouts. It has no window; the page widget owns one and
// repaints when it signals. All geometry is in pixels of the unzoomed page at
// 96 pixels per inch.
//
// Setters of plain values do nothing when the value is unchanged; font
// setters and SetWMFBorderFile always act. Geometry-affecting setters call
// CalculateLayout(false), which emits geometryChanged() and changed(); the
// others emit changed() only.
class CalendarPage : public QObject
{
    Q_OBJECT

public:
    static constexpr int PPI = PageLayout::PPI;
    static constexpr int MaxMinis = PageLayout::MaxMinis;
    static constexpr double BorderAllowance = PageLayout::BorderAllowance;

    explicit CalendarPage(QObject *parent = nullptr);
    ~CalendarPage() override;

    // --- published settings -------------------------------------------------
    TCalendarLayout CalendarLayout() const { return m_settings.calendarLayout; }
    void SetCalendarLayout(TCalendarLayout layout);
    TCalendarOrientation CalendarOrientation() const { return m_settings.calendarOrientation; }
    void SetCalendarOrientation(TCalendarOrientation orientation);
    TCalendarLineLayout CalendarLineLayout() const { return m_settings.calendarLineLayout; }
    void SetCalendarLineLayout(TCalendarLineLayout preset);
    TMiniCalendarLineLayout MiniCalendarLineLayout() const
    {
        return m_settings.miniCalendarLineLayout;
    }
    void SetMiniCalendarLineLayout(TMiniCalendarLineLayout preset);

    TColor TitleBGColor() const { return m_settings.titleBGColor; }
    void SetTitleBGColor(TColor color);
    TColor HeadersBGColor() const { return m_settings.headersBGColor; }
    void SetHeadersBGColor(TColor color);
    TColor MiniHeadersBGColor() const { return m_settings.miniHeadersBGColor; }
    void SetMiniHeadersBGColor(TColor color);
    TColor MiniCalBGColor() const { return m_settings.miniCalBGColor; }
    void SetMiniCalBGColor(TColor color);

    const FontSpec &TitleFont() const { return m_settings.titleFont; }
    void SetTitleFont(const FontSpec &font);
    const FontSpec &HeadersFont() const { return m_settings.headersFont; }
    void SetHeadersFont(const FontSpec &font);
    const FontSpec &CellFont() const { return m_settings.cellFont; }
    void SetCellFont(const FontSpec &font);
    const FontSpec &MiniTitleFont() const { return m_settings.miniTitleFont; }
    void SetMiniTitleFont(const FontSpec &font);
    const FontSpec &MiniHeadersFont() const { return m_settings.miniHeadersFont; }
    void SetMiniHeadersFont(const FontSpec &font);
    const FontSpec &MiniCellFont() const { return m_settings.miniCellFont; }
    void SetMiniCellFont(const FontSpec &font);

    // Margins in inches, compared exactly.
    float LeftMarginInch() const { return m_settings.leftMarginInch; }
    void SetLeftMarginInch(float inches);
    float TopMarginInch() const { return m_settings.topMarginInch; }
    void SetTopMarginInch(float inches);
    float RightMarginInch() const { return m_settings.rightMarginInch; }
    void SetRightMarginInch(float inches);
    float BottomMarginInch() const { return m_settings.bottomMarginInch; }
    void SetBottomMarginInch(float inches);

    TCalBorderStyle CalendarBorder() const { return m_settings.calendarBorder; }
    void SetCalendarBorder(TCalBorderStyle style);
    TCalBorderStyle HeadersBorder() const { return m_settings.headersBorder; }
    void SetHeadersBorder(TCalBorderStyle style);
    TCalBorderStyle CellBorder() const { return m_settings.cellBorder; }
    void SetCellBorder(TCalBorderStyle style);
    TCalBorderStyle MiniCalBorder() const { return m_settings.miniCalBorder; }
    void SetMiniCalBorder(TCalBorderStyle style);
    TCalBorderStyle MiniHeadersBorder() const { return m_settings.miniHeadersBorder; }
    void SetMiniHeadersBorder(TCalBorderStyle style);
    TCalBorderStyle MiniCellBorder() const { return m_settings.miniCellBorder; }
    void SetMiniCellBorder(TCalBorderStyle style);

    bool TitleShowYear() const { return m_settings.titleShowYear; }
    void SetTitleShowYear(bool on);
    bool MiniShowYear() const { return m_settings.miniShowYear; }
    void SetMiniShowYear(bool on);
    TCalHeadersStyle HeadersStyle() const { return m_settings.headersStyle; }
    void SetHeadersStyle(TCalHeadersStyle style);
    TCalHeadersStyle MiniHeadersStyle() const { return m_settings.miniHeadersStyle; }
    void SetMiniHeadersStyle(TCalHeadersStyle style);
    TCalendarNumberPosition NumberPosition() const { return m_settings.numberPosition; }
    void SetNumberPosition(TCalendarNumberPosition position);

    // The date. A month outside 1-12 or a year outside 1-9999 is ignored.
    int MainCalDay() const { return m_settings.mainCalDay; }
    void SetMainCalDay(int day);
    int MainCalMonth() const { return m_settings.mainCalMonth; }
    void SetMainCalMonth(int month);
    int MainCalYear() const { return m_settings.mainCalYear; }
    void SetMainCalYear(int year);
    // 1 = weeks start on Sunday; any other value = on Monday.
    int StartOfWeek() const { return m_settings.startOfWeek; }
    void SetStartOfWeek(int start);
    bool MondayFirst() const { return m_settings.startOfWeek != 1; }
    // The weekday weeks start on, 1 = Sunday ... 7 = Saturday (see
    // CalendarSettings::SetFirstWeekday); values outside 1-7 are ignored.
    int FirstWeekday() const { return m_settings.FirstWeekday(); }
    void SetFirstWeekday(int weekday);

    // Week numbers, weekends, red days, moon phases, day counters and the
    // first weekday beyond Sunday and Monday. Week numbers change the
    // geometry (re-layout); the rest repaints.
    const CalendarExtras &Extras() const { return m_settings.extras; }
    void SetExtras(const CalendarExtras &extras);

    // Where the page finds the public holidays it draws as red days: the
    // dates among first .. last (inclusive). Without one, there are none.
    using RedDayLookup = std::function<QSet<QDate>(const QDate &first, const QDate &last)>;
    void SetRedDayLookup(RedDayLookup lookup);
    // The red days among the page's dates (PageDateRange); none unless the
    // extras ask for red days.
    QSet<QDate> RedDays() const;

    const QString &UserTitle() const { return m_settings.userTitle; }
    void SetUserTitle(const QString &title);
    TLPanelState PanelState() const { return m_panelState; }
    void SetPanelState(TLPanelState state);
    bool Pointing() const { return m_panelState == psPointing; }

    // Border name: a bare file name without extension, or empty for none.
    const QString &WMFBorderFile() const { return m_settings.wmfBorderFile; }
    void SetWMFBorderFile(const QString &name);
    // The border picture last loaded (kept after the name is cleared; drawn
    // only while a name is set).
    const Picture &BorderPicture() const { return m_borderPicture; }
    // "<program folder>/Borders/<name>.wpo" (portrait) or ".wls" (landscape).
    static QString BorderFilePath(const QString &name, TCalendarOrientation orientation);

    // --- unpublished settings -------------------------------------------------
    // 0 = Letter (8.5 x 11 in); any other value = A4 (8.27 x 11.69 in).
    int PaperSize() const { return m_settings.paperSize; }
    void SetPaperSize(int paperSize);
    bool IsA4() const { return m_settings.paperSize != 0; }
    QTime PlannerStartTime() const { return m_settings.plannerStartTime; }
    void SetPlannerStartTime(const QTime &time);

    // Names: months 1-12 (January first), days 1-7 (Sunday first). Outside
    // those ranges the getters return an empty string and the setters do
    // nothing. The setters do not repaint.
    QString MonthName(int index) const { return m_settings.MonthName(index); }
    QString DayName(int index) const { return m_settings.DayName(index); }
    void SetMonthName(int index, const QString &name);
    void SetDayName(int index, const QString &name);
    // Long month and day names of the system locale.
    void LoadSystemNames() { m_settings.LoadSystemNames(); }

    // --- day-cell notes ---------------------------------------------------------
    static constexpr int CellCount = CalendarCellCount;
    // The note of cell 1-42 (row by row over the 6 x 7 grid, not by date).
    // Outside that range: an empty store that is never written back.
    const TWPRtfStorage &CellNote(int cell) const;
    // Replaces the note of cell 1-42 and repaints; outside the range: ignored.
    void SetCellNote(int cell, const TWPRtfStorage &note);
    bool HasCellNotes() const;
    // How many cells hold a note (text or icons).
    int NotedCellCount() const;
    // Empties every note; no repaint.
    void ClearCellNotes();

    // --- drawing and day cells -------------------------------------------------
    // Draws the page (border picture, calendar or planner with its notes,
    // then the mini calendars) on any canvas — screen, image, printer,
    // vector file — and returns what it drew. It changes nothing; the
    // screen's widget keeps what its last paint drew.
    PageDrawing Draw(PageCanvas &canvas) const;
    // The same through a painter in device pixels at a zoom, as the screen
    // and images show the page.
    PageDrawing Draw(QPainter &painter, const RenderTarget &target) const;
    PageDrawing Draw(QPainter &painter, float zoom) const
    {
        return Draw(painter, RenderTarget{zoom});
    }

    // Draws one note into its cell's note rectangle on screens and images.
    // The page starts with its own drawer: a white scratch image stretched
    // into the rectangle, text laid out at the zoom-1 size of the area.
    using NoteDrawer = ScreenCanvas::NoteDrawer;
    void SetNoteDrawer(NoteDrawer drawer) { m_noteDrawer = std::move(drawer); }
    // The renderer notes are drawn through, with its cache of laid-out
    // notes; every drawing passes its own view.
    const NoteRenderer &Notes() const { return *m_noteRenderer; }

    // Planner texts (layouts 18-21): the title (the user title when set),
    // the row labels ending with "Notes", and the date texts of the week
    // planners ("25 Dec"; the day planners have none). The first day is
    // MainCalDay, taken as the nearest valid day of the month.
    QString PlannerTitle() const;
    QStringList PlannerRowLabels() const;
    QStringList PlannerDateTexts() const;
    int PlannerDayCount() const;
    // The date of the planner's first row.
    QDate PlannerFirstDate() const;
    int PlannerHourCount() const;

    // The day of the month cell 1-42 of the month grid shows (row by row),
    // 0 for an empty cell or outside 1-42. Drawing places the same days.
    int MonthDayOfCell(int cell) const;
    // The cell (1-42) of the month grid showing the day, -1 when none does.
    int MonthCellOfDay(int day) const;

    // The page's answer to a left click at a point (device pixels of the
    // drawing) with the pointing tool. objectAtPoint: a placed object covers
    // the point, so no cell is chosen.
    ClickOutcome DecideClick(const PageDrawing &drawn, const QPoint &point,
                             bool objectAtPoint) const;

    // --- operations -------------------------------------------------------------
    // 0 month grids (layouts 0-7), 1 mini sheets (8-17), 2 week, 3 two weeks,
    // 4 day of 10 hours, 5 day of 15 hours.
    int LayoutKind() const;
    static int LayoutKind(TCalendarLayout layout);
    // A month grid or a planner (layouts 0-7, 18-21). Whether the page is
    // shown at all is the widget's business.
    bool HasDayCells() const;
    // Whether taking `after` in place of `before` empties the day-cell notes
    // (they belong to the dates and cells they were typed into): another
    // layout family, or another month or year while the page has day cells.
    static bool ChangeClearsCellNotes(const CalendarSettings &before,
                                      const CalendarSettings &after);

    // Every setting as one value. SetSettings replaces them all (the border
    // name as SetWMFBorderFile takes it), recomputes the layout keeping the
    // mini fonts, and signals once.
    const CalendarSettings &Settings() const { return m_settings; }
    void SetSettings(const CalendarSettings &settings);

    // MiniTitleFont size := points; mini header and cell fonts := 80 %.
    void SetMiniFontSizes(int points);
    // Takes over the look of another page (CalendarSettings::AssignStyle),
    // then recomputes the layout (mini fonts kept).
    void AssignSettings(const CalendarPage &source) { AssignSettings(source.Settings()); }
    void AssignSettings(const CalendarSettings &source);
    // Equal settings; font sizes, NumberPosition and the individual border
    // styles are not compared.
    bool SameSettings(const CalendarPage &other) const
    {
        return m_settings.SameSettings(other.m_settings);
    }
    // Resets the look to the default style for today's date.
    void SetDefaultStyle();

    // --- page geometry ---------------------------------------------------------
    // Recomputes the layout from the settings (CalculatePageLayout); the
    // orientation follows the layout. With resetMiniFonts the mini fonts
    // take the sizes the layout suggests.
    void CalculateLayout(bool resetMiniFonts);
    const PageLayout &Layout() const { return m_layout; }
    static MonthYear ShiftMonth(int month, int year, int k)
    {
        return CalendarDates::ShiftMonth(month, year, k);
    }
    // Display name of a layout in the layout list.
    static QString LayoutDisplayName(TCalendarLayout layout);

    int PageWidth() const { return m_layout.pageWidth; }
    int PageHeight() const { return m_layout.pageHeight; }
    const TRect &PrintableRect() const { return m_layout.printableRect; }
    const TRect &MainRect() const { return m_layout.mainRect; }
    bool HasMainCalendar() const { return m_layout.hasMainCalendar; }
    bool HasMiniCalendars() const { return m_layout.hasMiniCalendars; }
    bool IsPlanner() const { return m_layout.isPlanner; }
    int MiniCount() const { return m_layout.miniCount; }
    // Index 1-60; a zero rectangle / January 1997 outside that range.
    TRect MiniRect(int index) const { return m_layout.MiniRect(index); }
    MonthYear MiniMonth(int index) const { return m_layout.MiniMonth(index); }

Q_SIGNALS:
    // Anything visible changed: repaint.
    void changed();
    // The page geometry was recomputed (its size may differ).
    void geometryChanged();
    // One of the six fonts changed.
    void fontChanged();

private:
    void Repaint();
    void NotifyFontChanged();
    void SetMarginInch(float CalendarSettings::*field, float inches);
    void LoadBorderPicture();
    void DrawNoteOnScreen(QPainter &painter, const TWPRtfStorage &note, const TRect &rFree,
                          float zoom, TColor background) const;

    CalendarSettings m_settings;
    PageLayout m_layout;
    TLPanelState m_panelState = psPointing;
    Picture m_borderPicture;
    std::array<TWPRtfStorage, CellCount> m_cellNotes;
    std::unique_ptr<NoteRenderer> m_noteRenderer;
    NoteDrawer m_noteDrawer;
    RedDayLookup m_redDayLookup;
};

} // namespace Dayloom

Q_DECLARE_METATYPE(Dayloom::CellEvent)
