#pragma once

#include "core/calendar/calendarpage.h"
#include "ui/properties/propertiesdialogservices.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <array>
#include <utility>

class QAbstractButton;
class QButtonGroup;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QToolButton;

namespace Dayloom {

class CalendarPreview;
class ColorSwatchButton;
class ExtrasPage;
class IniFile;

// "Calendar Properties": every setting of the calendar page on ten pages,
// written straight into a preview page of its own (ExampleCalendar) that
// redraws at once. The caller copies the page's settings into the preview
// before exec() and copies them back after OK; the dialog never touches the
// real page. The style-sheet buttons save and load the preview's look.
class TCalendarProperties : public QDialog
{
    Q_OBJECT

public:
    // settings may be null: then no window placement is kept.
    explicit TCalendarProperties(IniFile *settings, QWidget *parent = nullptr);
    ~TCalendarProperties() override;

    CalendarPage &ExampleCalendar();
    // File New: the preview is reset to the default style when first shown.
    void SetNewCalendar(bool on) { m_newCalendar = on; }
    void SetHadCellNotes(bool on) { m_hadCellNotes = on; }
    // How many day cells hold a note; OK asks before another month or year
    // clears them.
    void SetNotedCellCount(int count) { m_notedCellCount = count; }
    void SetHadPlacedObjects(bool on) { m_hadPlacedObjects = on; }
    void SetOpeningLayoutKind(int kind) { m_openingLayoutKind = kind; }
    float PreviewZoom() const;
    void SetPreviewZoom(float zoom);

    // Message boxes and nested dialogs; tests replace them.
    void SetServices(PropertiesDialogServices services) { m_services = std::move(services); }

    // The preview widget (the page drawn at the preview zoom).
    QWidget *PreviewWidget() const;
    // The help topic of the page shown: 2100-2108, 3109 for Borders, 2110
    // for Extras.
    int HelpTopic() const;

    // Margin list entries 0-5 and the inches they stand for.
    static const QStringList &InchLabels();
    static const QStringList &MillimetreLabels();
    static float MarginOfEntry(int entry);
    static int EntryOfMargin(float inches);
    // Layout list entry and orientation <-> layout value.
    static TCalendarLayout LayoutOfEntry(int entry, bool landscape);
    static int EntryOfLayout(TCalendarLayout layout);

Q_SIGNALS:
    void helpRequested(int topic);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum MarginSide
    {
        LeftSide,
        TopSide,
        RightSide,
        BottomSide
    };

    QWidget *BuildLayoutPage();
    QWidget *BuildDatePage();
    QWidget *BuildFontsPage();
    QWidget *BuildMiniFontsPage();
    QWidget *BuildHeadersPage();
    QWidget *BuildLinesPage();
    QWidget *BuildPlannerPage();
    QWidget *BuildLanguagePage();
    QWidget *BuildMarginsPage();
    QWidget *BuildBordersPage();
    QWidget *BuildPreview();
    QPushButton *FontButton(const QString &text, const char *name,
                            const FontSpec &(CalendarPage::*get)() const,
                            void (CalendarPage::*set)(const FontSpec &));
    ColorSwatchButton *ColorButton(const QString &text, const char *name,
                                   void (CalendarPage::*set)(TColor));

    void FirstActivation();
    void DetermineSettings();
    void LayoutListClick();
    void DateChange();
    void SetButtons();
    void UpdateDateHeading();
    // The week start radio buttons, the date picker's first column and the
    // Extras page show the preview's first weekday.
    void ShowFirstWeekday();
    void ExtrasEdited();
    void UpdateZoomCaption();
    void FillBorderList();
    void SelectBorderEntry();
    void BorderFilesClick();
    void ApplyMonthNames();
    void ApplyDayNames();
    // Lines 1..count of the memo that hold a name, each with its index.
    static QList<std::pair<int, QString>> NameLines(const QPlainTextEdit *memo, int count);
    void ApplyLanguage(const QStringList &months, const QStringList &days, bool cursorToStart);
    void OtherLanguageClick();
    void UseInchesClick();
    void MarginComboxChange(QComboBox *combo);
    void SetMarginComboxFromValues();
    void StartingtimeButtonClick();
    void ZoomIn();
    void ZoomOut();
    void DefaultbuttonClick();
    void SaveStyleSheetClick();
    void LoadStyleSheetClick();
    void CommitFocusedMemo();
    bool DateChangeClearsNotes() const;
    void OkButtonClick();
    void HelpClick();
    QString StyleSheetFolder() const;
    void RestorePlacement();
    void SavePlacement();
    QString PlacementSection() const;

    IniFile *m_settings;
    PropertiesDialogServices m_services;

    bool m_loading = true;
    bool m_plannerLayout = false;
    bool m_newCalendar = false;
    bool m_hadCellNotes = false;
    bool m_hadPlacedObjects = false;
    int m_notedCellCount = 0;
    int m_openingLayoutKind = 1;
    bool m_activated = false;
    bool m_placementRestored = false;

    struct Snapshot
    {
        std::array<float, 4> margins{};
        QString border;
        TCalendarLayout layout = loFullCalendar;
        int paperSize = 0;
        TCalendarOrientation orientation = coPortrait;
        CalendarSettings settings;
    } m_snapshot;

    // Pages and the tab strip.
    QTabWidget *m_notebook = nullptr;
    // Page 0
    QListWidget *m_layoutList = nullptr;
    QGroupBox *m_orientationGroup = nullptr;
    QButtonGroup *m_orientation = nullptr;
    QGroupBox *m_paperGroup = nullptr;
    QButtonGroup *m_paper = nullptr;
    // Page 1
    QLabel *m_dateHeading = nullptr;
    QLabel *m_dateLabel = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QGroupBox *m_weekStartGroup = nullptr;
    QButtonGroup *m_weekStart = nullptr;
    QCheckBox *m_titleShowYear = nullptr;
    QCheckBox *m_miniShowYear = nullptr;
    // Pages 2 and 3
    QPushButton *m_titleFont = nullptr;
    ColorSwatchButton *m_titleBGColor = nullptr;
    QPushButton *m_headersFont = nullptr;
    ColorSwatchButton *m_headersBGColor = nullptr;
    QPushButton *m_cellFont = nullptr;
    QPushButton *m_miniTitleFont = nullptr;
    QPushButton *m_miniHeadersFont = nullptr;
    ColorSwatchButton *m_miniHeadersBGColor = nullptr;
    QPushButton *m_miniCellFont = nullptr;
    ColorSwatchButton *m_miniCalBGColor = nullptr;
    // Pages 4 and 5
    QComboBox *m_headersStyle = nullptr;
    QComboBox *m_miniHeadersStyle = nullptr;
    QComboBox *m_lineLayout = nullptr;
    QComboBox *m_miniLineLayout = nullptr;
    // Page 6
    QPushButton *m_startingTime = nullptr;
    QLabel *m_timeLabel = nullptr;
    // Page 7
    QPlainTextEdit *m_monthNames = nullptr;
    QPlainTextEdit *m_dayNames = nullptr;
    // Page 8
    std::array<QComboBox *, 4> m_margins{};
    QRadioButton *m_useInches = nullptr;
    QRadioButton *m_useMillimetres = nullptr;
    // Page 9
    QListWidget *m_borderFiles = nullptr;
    // Page 10
    ExtrasPage *m_extras = nullptr;
    // Preview
    QScrollArea *m_previewScroll = nullptr;
    CalendarPreview *m_preview = nullptr;
    QLabel *m_zoomLabel = nullptr;
};

} // namespace Dayloom
