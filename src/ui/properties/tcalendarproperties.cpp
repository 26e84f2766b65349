#include "ui/properties/tcalendarproperties.h"

#include "core/app/windowplacement.h"
#include "core/calendar/languagenames.h"
#include "core/formats/stylesheet.h"
#include "core/io/appfolders.h"
#include "core/io/datafolder.h"
#include "core/io/inifile.h"
#include "core/recurring/publicholidaydates.h"
#include "ui/app/uihelpers.h"
#include "ui/common/colorswatchbutton.h"
#include "ui/common/okcancelhelp.h"
#include "ui/glyphs/buttonglyph.h"
#include "ui/properties/calendarpreview.h"
#include "ui/properties/extraspage.h"
#include "ui/properties/languagechooser.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Dayloom {

namespace {

const QString NoBorderEntry = QStringLiteral(" [No Special Border]");
const QString StyleSheetFilter = QStringLiteral("Calendar Style Sheet (*.DLS)");

const QString LayoutChangeWarning =
    QStringLiteral("Warning: changing to this type of layout\rwill erase all text and icons "
                   "from the current\rcalendar. Proceed?");
const QString DateChangeWarning =
    QStringLiteral("Changing the month clears the notes of %1 days. Continue?");
const QString PlacedObjectsWarning =
    QStringLiteral("Warning: The Calendar has one or more items\rplaced on it using the Label, "
                   "Clip Art, RichText,\rSuperText or Floating Calendar tools.\r\rChanging "
                   "Paper Size, Orientation, Layout, Margins or Border\rmeans you will have to "
                   "reposition these items.\r\rProceed?");

const QStringList &LayoutEntries()
{
    static const QStringList entries = {
        QStringLiteral("1 Month Calendar "),
        QStringLiteral("1 Month Calendar, 2 Mini Calendars"),
        QStringLiteral("1 Month Calendar, 6 Mini Calendars Before & After "),
        QStringLiteral("1 Month Calendar, 12 Mini Calendars After "),
        QStringLiteral("6 Month Calendar (Mini Calendars)"),
        QStringLiteral("12 Month Calendar (Mini Calendars)"),
        QStringLiteral("24 Month Calendar (Mini Calendars)"),
        QStringLiteral("48 Month Calendar (Mini Calendars)"),
        QStringLiteral("60 Month Calendar (Mini Calendars)"),
        QStringLiteral("One Week Planner"),
        QStringLiteral("Two Week Planner"),
        QStringLiteral("Day Planner (10 hours) "),
        QStringLiteral("Day Planner (15 hours) "),
    };
    return entries;
}

QLabel *Heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.25);
    label->setFont(font);
    return label;
}

// A page: its heading above the given content.
QWidget *Page(const QString &heading, QLabel **headingLabel = nullptr)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    QLabel *label = Heading(heading, page);
    layout->addWidget(label);
    if (headingLabel)
        *headingLabel = label;
    return page;
}

QVBoxLayout *PageBox(QWidget *page)
{
    return static_cast<QVBoxLayout *>(page->layout());
}

// A radio group: a titled box of radio buttons whose ids are their indices.
QButtonGroup *RadioGroup(QGroupBox *box, const QStringList &items, Qt::Orientation orientation)
{
    auto *group = new QButtonGroup(box);
    QBoxLayout *layout = orientation == Qt::Horizontal
                             ? static_cast<QBoxLayout *>(new QHBoxLayout(box))
                             : static_cast<QBoxLayout *>(new QVBoxLayout(box));
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), box);
        button->setObjectName(box->objectName() + QString::number(i));
        group->addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch();
    return group;
}

QComboBox *Combo(const char *name, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->addItems(items);
    return combo;
}

QIcon ClockIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(3, 3, 26, 26));
    painter.drawLine(QPointF(16, 16), QPointF(16, 7));
    painter.drawLine(QPointF(16, 16), QPointF(22, 19));
    return QIcon(pixmap);
}

QString ShortTime(const QTime &time)
{
    return QLocale().toString(time, QLocale::ShortFormat);
}

} // namespace

// --- construction ----------------------------------------------------------------------------

TCalendarProperties::TCalendarProperties(IniFile *settings, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_services(PropertiesDialogServices::standard())
{
    setObjectName(QStringLiteral("CalendarProperties"));
    setWindowTitle(QStringLiteral("Calendar Properties"));

    m_preview = new CalendarPreview;
    m_preview->setObjectName(QStringLiteral("ExampleCalendar"));
    CalendarPage &page = m_preview->Page();
    page.SetPanelState(psPointing);
    page.SetNumberPosition(cnpUpperRight);
    page.SetCalendarLineLayout(llFull);
    page.SetMiniCalendarLineLayout(mllFull);
    page.SetCalendarBorder(cbAll);
    page.SetHeadersBorder(cbAll);
    page.SetCellBorder(cbAll);
    page.SetMiniCalBorder(cbAll);
    page.SetMiniCellBorder(cbAll);
    page.SetMiniHeadersBorder(cbBottom);
    page.SetRedDayLookup(PublicHolidayDates);

    m_notebook = new QTabWidget(this);
    m_notebook->setObjectName(QStringLiteral("Notebook"));
    m_notebook->setTabPosition(QTabWidget::South);
    m_notebook->setUsesScrollButtons(false);
    m_notebook->tabBar()->setObjectName(QStringLiteral("TabSet1"));
    m_notebook->addTab(BuildLayoutPage(), QStringLiteral("Layout"));
    m_notebook->addTab(BuildDatePage(), QStringLiteral("Date"));
    m_notebook->addTab(BuildFontsPage(), QStringLiteral("Fonts, Colors"));
    m_notebook->addTab(BuildMiniFontsPage(), QStringLiteral("Mini Fonts, Colors"));
    m_notebook->addTab(BuildHeadersPage(), QStringLiteral("Headers"));
    m_notebook->addTab(BuildLinesPage(), QStringLiteral("Lines"));
    m_notebook->addTab(BuildPlannerPage(), QStringLiteral("Planners"));
    m_notebook->addTab(BuildLanguagePage(), QStringLiteral("Language"));
    m_notebook->addTab(BuildMarginsPage(), QStringLiteral("Margins"));
    // The borders page comes with the border list, which needs the folder.
    m_notebook->addTab(BuildBordersPage(), QStringLiteral("Borders"));
    m_extras = new ExtrasPage(
        [this](QWidget *parent, TColor current) { return m_services.pickColor(parent, current); });
    connect(m_extras, &ExtrasPage::edited, this, &TCalendarProperties::ExtrasEdited);
    m_notebook->addTab(m_extras, QStringLiteral("Extras"));
    m_notebook->setCurrentIndex(0);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const OkCancelHelp row = OkCancelHelp::AddTo(
        *this, *buttons, [this] { HelpClick(); }, [this] { OkButtonClick(); });
    // Like the fields of the pages, these buttons have their mnemonics.
    row.ok->setText(QStringLiteral("&Ok"));
    row.cancel->setText(QStringLiteral("&Cancel"));
    row.help->setText(QStringLiteral("&Help"));
    // The style buttons stand between Ok and Cancel.
    const auto addStyleButton = [this, buttons,
                                 cancel = row.cancel](const QString &caption, const char *name,
                                                      void (TCalendarProperties::*click)()) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        buttons->insertWidget(buttons->indexOf(cancel), button);
        connect(button, &QPushButton::clicked, this, click);
    };
    addStyleButton(QStringLiteral("&Save As Style Sheet"), "SaveStyleButton",
                   &TCalendarProperties::SaveStyleSheetClick);
    addStyleButton(QStringLiteral("&Load Style Sheet"), "LoadStyleButton",
                   &TCalendarProperties::LoadStyleSheetClick);
    addStyleButton(QStringLiteral("&Default Style"), "Defaultbutton",
                   &TCalendarProperties::DefaultbuttonClick);

    auto *body = new QHBoxLayout;
    body->addWidget(m_notebook, 0);
    body->addWidget(BuildPreview(), 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(minimumSizeHint().expandedTo(QSize(1100, 600)));
    UpdateZoomCaption();
}

TCalendarProperties::~TCalendarProperties() = default;

CalendarPage &TCalendarProperties::ExampleCalendar()
{
    return m_preview->Page();
}

QWidget *TCalendarProperties::PreviewWidget() const
{
    return m_preview;
}

float TCalendarProperties::PreviewZoom() const
{
    return m_preview->Zoom();
}

void TCalendarProperties::SetPreviewZoom(float zoom)
{
    m_preview->SetZoom(zoom);
    UpdateZoomCaption();
}

QWidget *TCalendarProperties::BuildLayoutPage()
{
    QWidget *page = Page(QStringLiteral("Select Layout"));
    m_layoutList = new QListWidget(page);
    m_layoutList->setObjectName(QStringLiteral("LayoutList"));
    m_layoutList->setAccessibleName(QStringLiteral("Layout"));
    m_layoutList->setUniformItemSizes(true);
    m_layoutList->addItems(LayoutEntries());
    m_layoutList->setMinimumHeight(m_layoutList->sizeHintForRow(0) * LayoutEntries().size() +
                                   2 * m_layoutList->frameWidth() + 4);

    m_orientationGroup = new QGroupBox(QStringLiteral("Orientation"), page);
    m_orientationGroup->setObjectName(QStringLiteral("rOrientation"));
    m_orientation =
        RadioGroup(m_orientationGroup, {QStringLiteral("Portrait"), QStringLiteral("Landscape")},
                   Qt::Vertical);
    m_paperGroup = new QGroupBox(QStringLiteral("Paper"), page);
    m_paperGroup->setObjectName(QStringLiteral("PaperSize"));
    m_paper =
        RadioGroup(m_paperGroup, {QStringLiteral("Letter"), QStringLiteral("A4")}, Qt::Vertical);

    auto *row = new QHBoxLayout;
    row->addWidget(m_orientationGroup);
    row->addWidget(m_paperGroup);
    PageBox(page)->addWidget(m_layoutList, 1);
    PageBox(page)->addLayout(row);

    connect(m_layoutList, &QListWidget::currentRowChanged, this,
            &TCalendarProperties::LayoutListClick);
    connect(m_orientation, &QButtonGroup::idClicked, this, &TCalendarProperties::LayoutListClick);
    connect(m_paper, &QButtonGroup::idClicked, this, &TCalendarProperties::LayoutListClick);
    return page;
}

QWidget *TCalendarProperties::BuildDatePage()
{
    QWidget *page = Page(QStringLiteral("Select Month & Year"), &m_dateHeading);
    m_dateHeading->setObjectName(QStringLiteral("DateHeading"));
    m_dateLabel = new QLabel(page);
    m_dateLabel->setObjectName(QStringLiteral("DateLabel"));
    m_dateLabel->setAlignment(Qt::AlignCenter);
    QFont font = m_dateLabel->font();
    font.setBold(true);
    m_dateLabel->setFont(font);

    m_calendar = new QCalendarWidget(page);
    m_calendar->setObjectName(QStringLiteral("Calendar"));
    m_calendar->setAccessibleName(QStringLiteral("Starting date"));
    // The date grid inside takes the keyboard focus, so it carries the name too.
    if (auto *grid = m_calendar->findChild<QWidget *>(QStringLiteral("qt_calendar_calendarview")))
        grid->setAccessibleName(QStringLiteral("Starting date"));
    m_calendar->setNavigationBarVisible(false);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setGridVisible(true);
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &TCalendarProperties::DateChange);

    auto *steps = new QHBoxLayout;
    struct Step
    {
        const char *text;
        const char *name;
        const char *tip;
        int months;
    };
    const Step stepList[] = {
        {"<<", "PrevYearButton", "Previous year", -12},
        {"<", "PrevMonthButton", "Previous month", -1},
        {"Now", "NowButton", "Today's date", 0},
        {">", "NextMonthButton", "Next month", 1},
        {">>", "NextYearButton", "Next year", 12},
    };
    for (const Step &step : stepList) {
        auto *button = new QPushButton(QLatin1String(step.text), page);
        button->setObjectName(QLatin1String(step.name));
        button->setToolTip(QLatin1String(step.tip));
        button->setAutoDefault(false);
        const int months = step.months;
        connect(button, &QPushButton::clicked, this, [this, months] {
            m_calendar->setSelectedDate(months == 0 ? QDate::currentDate()
                                                    : m_calendar->selectedDate().addMonths(months));
        });
        steps->addWidget(button);
    }

    m_weekStartGroup = new QGroupBox(QStringLiteral("Week Starts On"), page);
    m_weekStartGroup->setObjectName(QStringLiteral("WeekStartsOn"));
    m_weekStart = RadioGroup(m_weekStartGroup, {QStringLiteral("Sunday"), QStringLiteral("Monday")},
                             Qt::Horizontal);
    connect(m_weekStart, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || m_loading)
            return;
        ExampleCalendar().SetFirstWeekday(id + 1);
        ShowFirstWeekday();
    });

    m_titleShowYear = new QCheckBox(QStringLiteral("Show Year in Title"), page);
    m_titleShowYear->setObjectName(QStringLiteral("TitleShowYearCheck"));
    connect(m_titleShowYear, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loading)
            ExampleCalendar().SetTitleShowYear(on);
    });
    m_miniShowYear = new QCheckBox(QStringLiteral("Show Year in Mini Title"), page);
    m_miniShowYear->setObjectName(QStringLiteral("MiniShowYearCheck"));
    connect(m_miniShowYear, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loading)
            ExampleCalendar().SetMiniShowYear(on);
    });

    QVBoxLayout *layout = PageBox(page);
    layout->addWidget(m_dateLabel);
    layout->addWidget(m_calendar, 1);
    layout->addLayout(steps);
    layout->addWidget(m_weekStartGroup);
    layout->addWidget(m_titleShowYear);
    layout->addWidget(m_miniShowYear);
    return page;
}

QPushButton *TCalendarProperties::FontButton(const QString &text, const char *name,
                                             const FontSpec &(CalendarPage::*get)() const,
                                             void (CalendarPage::*set)(const FontSpec &))
{
    auto *button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, get, set] {
        CalendarPage &page = ExampleCalendar();
        if (const std::optional<FontSpec> font = m_services.pickFont(this, (page.*get)()))
            (page.*set)(*font);
        m_preview->update();
    });
    return button;
}

ColorSwatchButton *TCalendarProperties::ColorButton(const QString &text, const char *name,
                                                    void (CalendarPage::*set)(TColor))
{
    auto *button = new ColorSwatchButton(text);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, button] {
        if (const std::optional<TColor> color = m_services.pickColor(this, button->Color()))
            button->SetColor(*color);
    });
    connect(button, &ColorSwatchButton::colorChanged, this, [this, set](TColor color) {
        if (m_loading)
            return;
        (ExampleCalendar().*set)(color);
        m_preview->update();
    });
    return button;
}

namespace {
QGroupBox *ButtonBox(const QString &title, std::initializer_list<QWidget *> buttons)
{
    auto *box = new QGroupBox(title);
    auto *layout = new QHBoxLayout(box);
    for (QWidget *button : buttons)
        layout->addWidget(button);
    layout->addStretch();
    return box;
}
} // namespace

QWidget *TCalendarProperties::BuildFontsPage()
{
    QWidget *page = Page(QStringLiteral("Fonts & Colors"));
    m_titleFont = FontButton(QStringLiteral("Title Font..."), "TitleFont", &CalendarPage::TitleFont,
                             &CalendarPage::SetTitleFont);
    m_titleBGColor = ColorButton(QStringLiteral("Background Color"), "TitleBGColor",
                                 &CalendarPage::SetTitleBGColor);
    m_headersFont = FontButton(QStringLiteral("Header Font..."), "HeadersFont",
                               &CalendarPage::HeadersFont, &CalendarPage::SetHeadersFont);
    m_headersBGColor = ColorButton(QStringLiteral("Background Color"), "HeadersBGColor",
                                   &CalendarPage::SetHeadersBGColor);
    m_cellFont = FontButton(QStringLiteral("Number Cells Font..."), "CellFont",
                            &CalendarPage::CellFont, &CalendarPage::SetCellFont);
    QVBoxLayout *layout = PageBox(page);
    layout->addWidget(ButtonBox(QStringLiteral("Title"), {m_titleFont, m_titleBGColor}));
    layout->addWidget(ButtonBox(QStringLiteral("Header"), {m_headersFont, m_headersBGColor}));
    layout->addWidget(ButtonBox(QStringLiteral("Number Cells"), {m_cellFont}));
    layout->addStretch();
    return page;
}

QWidget *TCalendarProperties::BuildMiniFontsPage()
{
    QWidget *page = Page(QStringLiteral("Mini Fonts & Colors"));
    m_miniTitleFont = FontButton(QStringLiteral("Mini Title Font..."), "MiniTitleFont",
                                 &CalendarPage::MiniTitleFont, &CalendarPage::SetMiniTitleFont);
    m_miniHeadersFont =
        FontButton(QStringLiteral("Mini Header Font..."), "MiniHeadersFont",
                   &CalendarPage::MiniHeadersFont, &CalendarPage::SetMiniHeadersFont);
    m_miniHeadersBGColor = ColorButton(QStringLiteral("Background Color"), "MiniHeadersBGColor",
                                       &CalendarPage::SetMiniHeadersBGColor);
    m_miniCellFont = FontButton(QStringLiteral("Mini Number Cells Font..."), "MiniCellFont",
                                &CalendarPage::MiniCellFont, &CalendarPage::SetMiniCellFont);
    m_miniCalBGColor = ColorButton(QStringLiteral("Mini Calendar Background Color"),
                                   "MiniCalBGColor", &CalendarPage::SetMiniCalBGColor);
    QVBoxLayout *layout = PageBox(page);
    layout->addWidget(ButtonBox(QStringLiteral("Mini Title"), {m_miniTitleFont}));
    layout->addWidget(
        ButtonBox(QStringLiteral("Mini Header"), {m_miniHeadersFont, m_miniHeadersBGColor}));
    layout->addWidget(ButtonBox(QStringLiteral("Mini Number Cells"), {m_miniCellFont}));
    layout->addWidget(ButtonBox(QStringLiteral("Mini Calendar"), {m_miniCalBGColor}));
    layout->addStretch();
    return page;
}

QWidget *TCalendarProperties::BuildHeadersPage()
{
    QWidget *page = Page(QStringLiteral("Header Styles"));
    const QStringList styles = {QStringLiteral("First Character"),
                                QStringLiteral("First Three Characters"),
                                QStringLiteral("Whole Word")};
    m_headersStyle = Combo("CalHeaderStyleCombo", styles, page);
    m_miniHeadersStyle = Combo("MiniHeadersStyleCombo", styles, page);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Header Style"), m_headersStyle);
    form->addRow(QStringLiteral("Mini Header Style"), m_miniHeadersStyle);
    PageBox(page)->addLayout(form);
    PageBox(page)->addStretch();
    connect(m_headersStyle, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_loading && index >= 0)
            ExampleCalendar().SetHeadersStyle(static_cast<TCalHeadersStyle>(index));
    });
    connect(m_miniHeadersStyle, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_loading && index >= 0)
            ExampleCalendar().SetMiniHeadersStyle(static_cast<TCalHeadersStyle>(index));
    });
    return page;
}

QWidget *TCalendarProperties::BuildLinesPage()
{
    QWidget *page = Page(QStringLiteral("Line Styles"));
    m_lineLayout = Combo(
        "CalendarLineLayoutCombo",
        {QStringLiteral("Full"), QStringLiteral("Headers & Cells"), QStringLiteral("Cells Only")},
        page);
    m_miniLineLayout =
        Combo("MiniCalendarLineLayoutCombo",
              {QStringLiteral("Full"), QStringLiteral("Boxed"), QStringLiteral("Minimal")}, page);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Calendar Line Style"), m_lineLayout);
    form->addRow(QStringLiteral("Mini-Calendar Line Style"), m_miniLineLayout);
    PageBox(page)->addLayout(form);
    PageBox(page)->addStretch();
    connect(m_lineLayout, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_loading && index >= 0)
            ExampleCalendar().SetCalendarLineLayout(static_cast<TCalendarLineLayout>(index));
    });
    connect(m_miniLineLayout, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!m_loading && index >= 0)
            ExampleCalendar().SetMiniCalendarLineLayout(
                static_cast<TMiniCalendarLineLayout>(index));
    });
    return page;
}

QWidget *TCalendarProperties::BuildPlannerPage()
{
    QWidget *page = Page(QStringLiteral("Day Planner"));
    auto *group = new QGroupBox(QStringLiteral("Starting Time (for day planners)"), page);
    m_startingTime = new QPushButton(ClockIcon(), QString(), group);
    m_startingTime->setObjectName(QStringLiteral("StartingtimeButton"));
    m_startingTime->setIconSize(QSize(32, 32));
    m_startingTime->setToolTip(QStringLiteral("Set the starting time"));
    m_startingTime->setAutoDefault(false);
    m_timeLabel = new QLabel(group);
    m_timeLabel->setObjectName(QStringLiteral("TimeLabel"));
    QFont font = m_timeLabel->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    font.setBold(true);
    m_timeLabel->setFont(font);
    auto *row = new QHBoxLayout(group);
    row->addWidget(m_startingTime);
    row->addWidget(m_timeLabel, 1);
    auto *note = new QLabel(QStringLiteral("*(Note: This setting only applies if you have "
                                           "selected one of the two Day Planners from the "
                                           "Layout tab)"),
                            page);
    note->setWordWrap(true);
    PageBox(page)->addWidget(group);
    PageBox(page)->addWidget(note);
    PageBox(page)->addStretch();
    connect(m_startingTime, &QPushButton::clicked, this,
            &TCalendarProperties::StartingtimeButtonClick);
    return page;
}

QWidget *TCalendarProperties::BuildLanguagePage()
{
    QWidget *page = Page(QStringLiteral("Month and Day Names"));
    m_monthNames = new QPlainTextEdit(page);
    m_monthNames->setObjectName(QStringLiteral("MonthNames"));
    m_dayNames = new QPlainTextEdit(page);
    m_dayNames->setObjectName(QStringLiteral("DayNames"));
    for (QPlainTextEdit *memo : {m_monthNames, m_dayNames}) {
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setTabChangesFocus(true);
        memo->installEventFilter(this);
    }
    const int lineHeight = m_monthNames->fontMetrics().lineSpacing();
    m_monthNames->setMinimumHeight(lineHeight * 13);

    auto *monthColumn = new QVBoxLayout;
    auto *monthLabel = new QLabel(QStringLiteral("Month Names"), page);
    monthLabel->setBuddy(m_monthNames);
    monthColumn->addWidget(monthLabel);
    monthColumn->addWidget(m_monthNames, 1);
    auto *dayColumn = new QVBoxLayout;
    auto *dayLabel = new QLabel(QStringLiteral("Day Names"), page);
    dayLabel->setBuddy(m_dayNames);
    dayColumn->addWidget(dayLabel);
    dayColumn->addWidget(m_dayNames, 1);

    auto *languages = new QVBoxLayout;
    for (const LanguageNames &language : BuiltInLanguages()) {
        auto *button = new QPushButton(language.language, page);
        button->setObjectName(QStringLiteral("Language") + language.language);
        button->setAutoDefault(false);
        const LanguageNames *names = &language;
        connect(button, &QPushButton::clicked, this, [this, names] {
            ApplyLanguage(QStringList(names->months.cbegin(), names->months.cend()),
                          QStringList(names->days.cbegin(), names->days.cend()),
                          names == &BuiltInLanguages().front());
        });
        languages->addWidget(button);
    }
    auto *other = new QPushButton(QStringLiteral("Other..."), page);
    other->setObjectName(QStringLiteral("LanguageOther"));
    other->setAutoDefault(false);
    connect(other, &QPushButton::clicked, this, &TCalendarProperties::OtherLanguageClick);
    languages->addWidget(other);
    languages->addStretch();

    auto *row = new QHBoxLayout;
    row->addLayout(monthColumn, 1);
    row->addLayout(dayColumn, 1);
    row->addLayout(languages);
    PageBox(page)->addLayout(row, 1);
    return page;
}

QWidget *TCalendarProperties::BuildMarginsPage()
{
    QWidget *page = Page(QStringLiteral("Margins"));
    auto *group = new QGroupBox(QStringLiteral("Select Page Margins"), page);
    auto *form = new QFormLayout;
    const char *names[] = {"LeftMarginInchcombo", "TopMarginInchcombo", "RightMarginInchcombo",
                           "BottomMarginInchcombo"};
    const QString labels[] = {QStringLiteral("Left Margin"), QStringLiteral("Top Margin"),
                              QStringLiteral("Right Margin"), QStringLiteral("Bottom Margin")};
    for (int side = 0; side < 4; ++side) {
        QComboBox *combo = Combo(names[side], InchLabels(), group);
        m_margins[side] = combo;
        form->addRow(labels[side], combo);
        // The user's choice, also of the entry already shown: a stored 0.6
        // shows as half an inch, and choosing that entry makes it 0.5.
        connect(combo, &QComboBox::activated, this, [this, combo] { MarginComboxChange(combo); });
    }
    m_useInches = new QRadioButton(QStringLiteral("Use Inches"), group);
    m_useInches->setObjectName(QStringLiteral("UseInches"));
    m_useInches->setChecked(true);
    m_useMillimetres = new QRadioButton(QStringLiteral("Use Millimeters"), group);
    m_useMillimetres->setObjectName(QStringLiteral("UseMillimeters"));
    connect(m_useInches, &QRadioButton::clicked, this, &TCalendarProperties::UseInchesClick);
    connect(m_useMillimetres, &QRadioButton::clicked, this, &TCalendarProperties::UseInchesClick);
    auto *units = new QVBoxLayout;
    units->addWidget(m_useInches);
    units->addWidget(m_useMillimetres);
    units->addStretch();
    auto *row = new QHBoxLayout(group);
    row->addLayout(form);
    row->addSpacing(12);
    row->addLayout(units);
    PageBox(page)->addWidget(group);
    PageBox(page)->addStretch();
    return page;
}

QWidget *TCalendarProperties::BuildBordersPage()
{
    QWidget *page = Page(QStringLiteral("Calendar Borders"));
    m_borderFiles = new QListWidget(page);
    m_borderFiles->setObjectName(QStringLiteral("BorderFiles"));
    m_borderFiles->setAccessibleName(QStringLiteral("Page border"));
    PageBox(page)->addWidget(m_borderFiles, 1);
    FillBorderList();
    connect(m_borderFiles, &QListWidget::currentRowChanged, this,
            &TCalendarProperties::BorderFilesClick);
    return page;
}

QWidget *TCalendarProperties::BuildPreview()
{
    auto *column = new QWidget(this);
    m_previewScroll = new QScrollArea(column);
    m_previewScroll->setObjectName(QStringLiteral("PreviewScroll"));
    m_previewScroll->setAlignment(Qt::AlignCenter);
    m_previewScroll->setBackgroundRole(QPalette::Dark);
    QPalette grey = m_previewScroll->palette();
    grey.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    m_previewScroll->setPalette(grey);
    m_previewScroll->setWidget(m_preview);
    m_previewScroll->setMinimumSize(360, 360);

    auto *zoomOut = new QToolButton(column);
    zoomOut->setObjectName(QStringLiteral("ZoomOutButton"));
    zoomOut->setText(QStringLiteral("\u2212"));
    zoomOut->setToolTip(QStringLiteral("Zoom out"));
    zoomOut->setAccessibleName(zoomOut->toolTip());
    zoomOut->setIcon(ButtonGlyph(QStringLiteral("zoom-out")));
    auto *zoomIn = new QToolButton(column);
    zoomIn->setObjectName(QStringLiteral("ZoomInButton"));
    zoomIn->setText(QStringLiteral("+"));
    zoomIn->setToolTip(QStringLiteral("Zoom in"));
    zoomIn->setAccessibleName(zoomIn->toolTip());
    zoomIn->setIcon(ButtonGlyph(QStringLiteral("zoom-in")));
    m_zoomLabel = new QLabel(column);
    m_zoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    m_zoomLabel->setAlignment(Qt::AlignCenter);
    m_zoomLabel->setMinimumWidth(
        m_zoomLabel->fontMetrics().horizontalAdvance(QStringLiteral("1000%")));
    connect(zoomOut, &QToolButton::clicked, this, &TCalendarProperties::ZoomOut);
    connect(zoomIn, &QToolButton::clicked, this, &TCalendarProperties::ZoomIn);

    auto *zoomRow = new QHBoxLayout;
    zoomRow->addStretch();
    zoomRow->addWidget(zoomOut);
    zoomRow->addWidget(m_zoomLabel);
    zoomRow->addWidget(zoomIn);
    zoomRow->addStretch();
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_previewScroll, 1);
    layout->addLayout(zoomRow);
    return column;
}

// --- tables ----------------------------------------------------------------------------------

const QStringList &TCalendarProperties::InchLabels()
{
    static const QStringList labels = {
        QStringLiteral("\u00BC Inch"),  QStringLiteral("\u00BD Inch"),
        QStringLiteral("\u00BE Inch"),  QStringLiteral("1 Inch"),
        QStringLiteral("1\u00BC Inch"), QStringLiteral("1\u00BD Inch"),
    };
    return labels;
}

const QStringList &TCalendarProperties::MillimetreLabels()
{
    static const QStringList labels = {
        QStringLiteral("6 mm"),  QStringLiteral("13 mm"), QStringLiteral("19 mm"),
        QStringLiteral("25 mm"), QStringLiteral("32 mm"), QStringLiteral("38 mm"),
    };
    return labels;
}

float TCalendarProperties::MarginOfEntry(int entry)
{
    if (entry < 0 || entry > 5)
        return 0.0f;
    return 0.25f * static_cast<float>(entry + 1);
}

int TCalendarProperties::EntryOfMargin(float inches)
{
    if (inches < 0.5f)
        return 0;
    if (inches < 0.75f)
        return 1;
    if (inches < 1.0f)
        return 2;
    if (inches < 1.25f)
        return 3;
    if (inches < 1.5f)
        return 4;
    return 5;
}

TCalendarLayout TCalendarProperties::LayoutOfEntry(int entry, bool landscape)
{
    if (entry >= 9)
        return static_cast<TCalendarLayout>(std::min(entry, 12) + 9);
    return static_cast<TCalendarLayout>(std::max(entry, 0) * 2 + (landscape ? 1 : 0));
}

int TCalendarProperties::EntryOfLayout(TCalendarLayout layout)
{
    return layout < loWeek ? layout / 2 : layout - 9;
}

// --- first activation and filling the controls --------------------------------------------

void TCalendarProperties::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    FirstActivation();
}

void TCalendarProperties::FirstActivation()
{
    UpdateZoomCaption();
    RestorePlacement();
    CalendarPage &page = ExampleCalendar();
    if (m_newCalendar)
        page.SetDefaultStyle();
    DetermineSettings();
    m_loading = false;
    LayoutListClick();
    SelectBorderEntry();
    m_snapshot.margins = {page.LeftMarginInch(), page.TopMarginInch(), page.RightMarginInch(),
                          page.BottomMarginInch()};
    m_snapshot.border = page.WMFBorderFile();
    m_snapshot.layout = page.CalendarLayout();
    m_snapshot.paperSize = page.PaperSize();
    m_snapshot.orientation = page.CalendarOrientation();
    m_snapshot.settings = page.Settings();
}

void TCalendarProperties::DetermineSettings()
{
    const CalendarPage &page = ExampleCalendar();
    const TCalendarLayout layout = page.CalendarLayout();
    m_layoutList->setCurrentRow(EntryOfLayout(layout));
    m_orientation->button(layout < loWeek ? layout % 2 : 0)->setChecked(true);
    m_paper->button(page.PaperSize() == 0 ? 0 : 1)->setChecked(true);
    if (layout > loMC60MonthLS)
        m_plannerLayout = true;
    UpdateDateHeading();

    const int year = page.MainCalYear();
    const int month = page.MainCalMonth();
    const int daysInMonth = QDate(year, month, 1).daysInMonth();
    m_calendar->setSelectedDate(QDate(year, month, std::clamp(page.MainCalDay(), 1, daysInMonth)));
    m_calendar->setCurrentPage(year, month);

    QStringList months;
    for (int i = 1; i <= 12; ++i)
        months.append(page.MonthName(i));
    QStringList days;
    for (int i = 1; i <= 7; ++i)
        days.append(page.DayName(i));
    m_monthNames->clear();
    m_monthNames->setPlainText(months.join(QLatin1Char('\n')));
    m_dayNames->clear();
    m_dayNames->setPlainText(days.join(QLatin1Char('\n')));

    ShowFirstWeekday();
    m_titleBGColor->SetColor(page.TitleBGColor());
    m_headersBGColor->SetColor(page.HeadersBGColor());
    m_headersStyle->setCurrentIndex(page.HeadersStyle());
    m_lineLayout->setCurrentIndex(page.CalendarLineLayout());
    m_miniHeadersBGColor->SetColor(page.MiniHeadersBGColor());
    m_miniHeadersStyle->setCurrentIndex(page.MiniHeadersStyle());
    m_miniCalBGColor->SetColor(page.MiniCalBGColor());
    m_miniLineLayout->setCurrentIndex(page.MiniCalendarLineLayout());
    m_dateLabel->setText(
        QLocale().toString(m_calendar->selectedDate(), QStringLiteral("MMMM yyyy")));
    m_timeLabel->setText(ShortTime(page.PlannerStartTime()));
    m_titleShowYear->setChecked(page.TitleShowYear());
    m_miniShowYear->setChecked(page.MiniShowYear());
    SetMarginComboxFromValues();
}

void TCalendarProperties::ShowFirstWeekday()
{
    const CalendarPage &page = ExampleCalendar();
    const int first = page.FirstWeekday();
    // Tuesday to Saturday leave both Sunday and Monday unchecked.
    const QSignalBlocker blocker(m_weekStart);
    m_weekStart->setExclusive(false);
    for (int id = 0; id < 2; ++id)
        m_weekStart->button(id)->setChecked(first == id + 1);
    m_weekStart->setExclusive(true);
    m_calendar->setFirstDayOfWeek(static_cast<Qt::DayOfWeek>(first == 1 ? 7 : first - 1));
    m_extras->Show(first, page.Extras());
}

void TCalendarProperties::ExtrasEdited()
{
    if (m_loading)
        return;
    CalendarPage &page = ExampleCalendar();
    page.SetFirstWeekday(m_extras->FirstWeekday());
    CalendarExtras extras = m_extras->Extras();
    extras.firstWeekday = page.Extras().firstWeekday;
    page.SetExtras(extras);
    ShowFirstWeekday();
    m_preview->update();
}

void TCalendarProperties::UpdateDateHeading()
{
    m_dateHeading->setText(m_plannerLayout ? QStringLiteral("Select Starting Date")
                                           : QStringLiteral("Select Month & Year"));
}

void TCalendarProperties::UpdateZoomCaption()
{
    m_zoomLabel->setText(QString::number(qRound(PreviewZoom() * 100.0f)) + QLatin1Char('%'));
}

// --- layout, date and enabled states --------------------------------------------------------

void TCalendarProperties::LayoutListClick()
{
    if (m_loading)
        return;
    CalendarPage &page = ExampleCalendar();
    m_plannerLayout = false;
    page.SetPaperSize(std::max(0, m_paper->checkedId()));
    TCalendarLayout layout = page.CalendarLayout();
    if (m_layoutList->currentRow() >= 0)
        layout = LayoutOfEntry(m_layoutList->currentRow(), m_orientation->checkedId() == 1);
    if (layout > loMC60MonthLS)
        m_plannerLayout = true;
    DateChange();
    // The mini fonts take the sizes of a layout only when the user picks
    // it: filling the controls, a style sheet or a paper size keep the
    // sizes the user chose.
    const bool otherLayout = layout != page.CalendarLayout();
    page.SetCalendarLayout(layout);
    page.CalculateLayout(otherLayout);
    m_preview->update();
    SetButtons();
}

void TCalendarProperties::DateChange()
{
    const QDate date = m_calendar->selectedDate();
    m_dateLabel->setText(m_plannerLayout ? QLocale().toString(date, QLocale::LongFormat)
                                         : QLocale().toString(date, QStringLiteral("MMMM yyyy")));
    if (m_loading)
        return;
    CalendarPage &page = ExampleCalendar();
    page.SetMainCalMonth(date.month());
    page.SetMainCalYear(date.year());
    page.SetMainCalDay(date.day());
}

void TCalendarProperties::SetButtons()
{
    const TCalendarLayout layout = ExampleCalendar().CalendarLayout();
    const int kind = CalendarPage::LayoutKind(layout);
    const bool minis = layout >= loFCMinisInTitle && layout <= loMC60MonthLS;
    const bool full = layout <= loFC12AfterLS;
    const bool planner = layout >= loWeek;

    m_orientationGroup->setEnabled(kind == 0 || kind == 1);
    m_weekStartGroup->setEnabled(!planner);
    UpdateDateHeading();
    m_titleShowYear->setEnabled(full);
    m_miniShowYear->setEnabled(minis);
    for (QWidget *control :
         {static_cast<QWidget *>(m_titleFont), static_cast<QWidget *>(m_headersFont),
          static_cast<QWidget *>(m_headersBGColor), static_cast<QWidget *>(m_headersStyle)})
        control->setEnabled(full || planner);
    for (QWidget *control :
         {static_cast<QWidget *>(m_titleBGColor), static_cast<QWidget *>(m_cellFont),
          static_cast<QWidget *>(m_lineLayout)})
        control->setEnabled(full);
    for (QWidget *control :
         {static_cast<QWidget *>(m_miniTitleFont), static_cast<QWidget *>(m_miniHeadersFont),
          static_cast<QWidget *>(m_miniHeadersBGColor), static_cast<QWidget *>(m_miniCellFont),
          static_cast<QWidget *>(m_miniCalBGColor), static_cast<QWidget *>(m_miniHeadersStyle),
          static_cast<QWidget *>(m_miniLineLayout)})
        control->setEnabled(minis);
    m_startingTime->setEnabled(kind == 4 || kind == 5);
}

// --- names -----------------------------------------------------------------------------------

bool TCalendarProperties::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_monthNames)
            ApplyMonthNames();
        else if (watched == m_dayNames)
            ApplyDayNames();
    }
    return QDialog::eventFilter(watched, event);
}

QList<std::pair<int, QString>> TCalendarProperties::NameLines(const QPlainTextEdit *memo, int count)
{
    // A trailing line break, an emptied memo or a blank line is no name: the
    // name it stands for stays as it was.
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    QList<std::pair<int, QString>> names;
    for (int i = 1; i <= count && i <= lines.size(); ++i) {
        if (!lines.at(i - 1).trimmed().isEmpty())
            names.append({i, lines.at(i - 1)});
    }
    return names;
}

void TCalendarProperties::ApplyMonthNames()
{
    if (m_loading)
        return;
    for (const auto &[index, name] : NameLines(m_monthNames, 12))
        ExampleCalendar().SetMonthName(index, name);
    m_preview->update();
}

void TCalendarProperties::ApplyDayNames()
{
    if (m_loading)
        return;
    for (const auto &[index, name] : NameLines(m_dayNames, 7))
        ExampleCalendar().SetDayName(index, name);
    m_preview->update();
}

void TCalendarProperties::ApplyLanguage(const QStringList &months, const QStringList &days,
                                        bool cursorToStart)
{
    m_monthNames->clear();
    m_dayNames->clear();
    m_dayNames->setPlainText(days.join(QLatin1Char('\n')));
    m_monthNames->setPlainText(months.join(QLatin1Char('\n')));
    ApplyMonthNames();
    ApplyDayNames();
    if (cursorToStart) {
        m_monthNames->moveCursor(QTextCursor::Start);
        m_dayNames->moveCursor(QTextCursor::Start);
    }
}

void TCalendarProperties::OtherLanguageClick()
{
    const std::optional<QLocale> locale = m_services.pickLanguage(this);
    if (!locale)
        return;
    ApplyLanguage(LanguageChooser::MonthNames(*locale), LanguageChooser::DayNames(*locale), true);
}

// --- margins ---------------------------------------------------------------------------------

void TCalendarProperties::UseInchesClick()
{
    const bool wasLoading = m_loading;
    m_loading = true;
    const QStringList &labels = m_useInches->isChecked() ? InchLabels() : MillimetreLabels();
    for (QComboBox *combo : m_margins) {
        const int index = combo->currentIndex();
        for (int i = 0; i < labels.size() && i < combo->count(); ++i)
            combo->setItemText(i, labels.at(i));
        combo->setCurrentIndex(index);
    }
    m_loading = wasLoading;
}

void TCalendarProperties::MarginComboxChange(QComboBox *combo)
{
    if (m_loading)
        return;
    const float inches = MarginOfEntry(combo->currentIndex());
    CalendarPage &page = ExampleCalendar();
    const QString name = combo->objectName();
    if (name == QLatin1String("LeftMarginInchcombo"))
        page.SetLeftMarginInch(inches);
    else if (name == QLatin1String("TopMarginInchcombo"))
        page.SetTopMarginInch(inches);
    else if (name == QLatin1String("RightMarginInchcombo"))
        page.SetRightMarginInch(inches);
    else if (name == QLatin1String("BottomMarginInchcombo"))
        page.SetBottomMarginInch(inches);
}

void TCalendarProperties::SetMarginComboxFromValues()
{
    const CalendarPage &page = ExampleCalendar();
    const float values[] = {page.LeftMarginInch(), page.TopMarginInch(), page.RightMarginInch(),
                            page.BottomMarginInch()};
    for (int side = 0; side < 4; ++side)
        m_margins[side]->setCurrentIndex(EntryOfMargin(values[side]));
}

// --- starting time ---------------------------------------------------------------------------

void TCalendarProperties::StartingtimeButtonClick()
{
    QTime time = QLocale().toTime(m_timeLabel->text(), QLocale::ShortFormat);
    if (!time.isValid()) {
        m_timeLabel->setText(ShortTime(QTime::currentTime()));
        time = QLocale().toTime(m_timeLabel->text(), QLocale::ShortFormat);
        if (!time.isValid())
            time = QTime::currentTime();
    }
    const std::optional<QTime> chosen = m_services.pickTime(this, time);
    if (!chosen)
        return;
    m_timeLabel->setText(ShortTime(*chosen));
    ExampleCalendar().SetPlannerStartTime(*chosen);
}

// --- zoom ------------------------------------------------------------------------------------

void TCalendarProperties::ZoomIn()
{
    if (PreviewZoom() < 1.0f)
        m_preview->SetZoom(PreviewZoom() + 0.1f);
    UpdateZoomCaption();
}

void TCalendarProperties::ZoomOut()
{
    if (PreviewZoom() > 0.2f)
        m_preview->SetZoom(PreviewZoom() - 0.1f);
    UpdateZoomCaption();
}

// --- borders ---------------------------------------------------------------------------------

void TCalendarProperties::FillBorderList()
{
    const QDir folder(AssetPath(QStringLiteral("Borders")));
    if (!folder.exists()) {
        m_borderFiles->setEnabled(false);
        return;
    }
    m_borderFiles->setSortingEnabled(true);
    m_borderFiles->addItem(NoBorderEntry);
    const QStringList files =
        folder.entryList({QStringLiteral("*.wls")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &file : files)
        m_borderFiles->addItem(file.section(QLatin1Char('.'), 0, 0));
}

void TCalendarProperties::SelectBorderEntry()
{
    if (m_borderFiles->count() == 0)
        return;
    const QSignalBlocker blocker(m_borderFiles);
    m_borderFiles->setCurrentRow(0);
    const QString border = ExampleCalendar().WMFBorderFile();
    if (border.isEmpty())
        return;
    for (int row = 1; row < m_borderFiles->count(); ++row) {
        if (m_borderFiles->item(row)->text().compare(border, Qt::CaseInsensitive) == 0) {
            m_borderFiles->setCurrentRow(row);
            return;
        }
    }
    // A border the list lacks (no landscape file) is not "no border": no
    // entry is chosen, so that choosing that entry removes the border.
    m_borderFiles->setCurrentRow(-1);
}

void TCalendarProperties::BorderFilesClick()
{
    if (m_loading)
        return;
    const int row = m_borderFiles->currentRow();
    ExampleCalendar().SetWMFBorderFile(row > 0 ? m_borderFiles->item(row)->text() : QString());
}

// --- default style and style sheets ---------------------------------------------------------

void TCalendarProperties::DefaultbuttonClick()
{
    m_loading = true;
    ExampleCalendar().SetDefaultStyle();
    DetermineSettings();
    m_loading = false;
    LayoutListClick();
    SelectBorderEntry();
}

QString TCalendarProperties::StyleSheetFolder() const
{
    return DataFolder();
}

namespace {
bool HasStyleSheetExtension(const QString &path)
{
    return QFileInfo(path).suffix().toUpper() == QLatin1String("DLS");
}
} // namespace

void TCalendarProperties::SaveStyleSheetClick()
{
    CommitFocusedMemo();
    PropertiesDialogServices::FileRequest request;
    request.title = QStringLiteral("Save As Calendar Style Sheet");
    request.folder = StyleSheetFolder();
    request.fileName = QStringLiteral("MyStyle.DLS");
    request.filter = StyleSheetFilter;
    request.defaultSuffix = QStringLiteral("DLS");
    const QString path = m_services.getSaveFileName(this, request);
    if (path.isEmpty())
        return;
    if (!HasStyleSheetExtension(path)) {
        m_services.showInformation(this,
                                   QStringLiteral("Must save as a Calendar Style Sheet (*.DLS)"));
        return;
    }
    QString error;
    if (!SaveStyleSheet(ExampleCalendar(), path, &error))
        m_services.showInformation(this, QStringLiteral("Unable to save ") +
                                             QDir::toNativeSeparators(path) +
                                             QStringLiteral(".\r") + error);
}

void TCalendarProperties::LoadStyleSheetClick()
{
    PropertiesDialogServices::FileRequest request;
    request.title = QStringLiteral("Open Calendar Style Sheet");
    request.folder = StyleSheetFolder();
    request.filter = StyleSheetFilter;
    const QString path = m_services.getOpenFileName(this, request);
    if (path.isEmpty())
        return;
    if (!HasStyleSheetExtension(path)) {
        m_services.showInformation(this, QStringLiteral("Must be a Calendar Style Sheet (*.DLS)"));
        return;
    }
    m_loading = true;
    if (!LoadStyleSheet(ExampleCalendar(), path))
        m_services.showInformation(
            this, QStringLiteral("Unable to open ") +
                      QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) +
                      QStringLiteral(". Possibly \rcorrupted, possibly not a Calendar Style file"));
    DetermineSettings();
    m_loading = false;
    LayoutListClick();
    SelectBorderEntry();
}

// --- OK, help and placement -------------------------------------------------------------------

void TCalendarProperties::CommitFocusedMemo()
{
    // A memo applies its names when it loses focus; a mnemonic or the Enter
    // key ends the dialog without taking the focus away.
    if (m_monthNames->hasFocus())
        ApplyMonthNames();
    if (m_dayNames->hasFocus())
        ApplyDayNames();
}

void TCalendarProperties::OkButtonClick()
{
    CommitFocusedMemo();
    const CalendarPage &page = ExampleCalendar();
    if (m_hadCellNotes && page.LayoutKind() != m_openingLayoutKind &&
        !m_services.askYesNo(this, LayoutChangeWarning, QStringLiteral("WARNING")))
        return;
    if (m_hadPlacedObjects) {
        const std::array<float, 4> margins = {page.LeftMarginInch(), page.TopMarginInch(),
                                              page.RightMarginInch(), page.BottomMarginInch()};
        const bool moved = margins != m_snapshot.margins ||
                           m_snapshot.border.isEmpty() != page.WMFBorderFile().isEmpty() ||
                           page.CalendarLayout() != m_snapshot.layout ||
                           page.PaperSize() != m_snapshot.paperSize ||
                           page.CalendarOrientation() != m_snapshot.orientation;
        if (moved && !m_services.askYesNo(this, PlacedObjectsWarning, QStringLiteral("WARNING")))
            return;
    }
    // Cancel goes back to the dialog with every choice kept: the user may
    // pick the old month again, or leave with Cancel.
    if (DateChangeClearsNotes() &&
        !m_services.askOkCancel(this, DateChangeWarning.arg(m_notedCellCount),
                                QStringLiteral("WARNING")))
        return;
    accept();
}

bool TCalendarProperties::DateChangeClearsNotes() const
{
    // Another layout family has its own warning above.
    const CalendarPage &page = m_preview->Page();
    return m_notedCellCount > 0 && page.LayoutKind() == m_openingLayoutKind &&
           CalendarPage::ChangeClearsCellNotes(m_snapshot.settings, page.Settings());
}

int TCalendarProperties::HelpTopic() const
{
    const int page = m_notebook->currentIndex();
    return page == 9 ? 3109 : 2100 + std::max(0, page);
}

void TCalendarProperties::HelpClick()
{
    Q_EMIT helpRequested(HelpTopic());
}

void TCalendarProperties::done(int result)
{
    SavePlacement();
    QDialog::done(result);
}

QString TCalendarProperties::PlacementSection() const
{
    const int dpi = screen() ? qRound(screen()->logicalDotsPerInch()) : 96;
    return WindowPlacement::SectionName(QStringLiteral("TCalendarProperties"), dpi);
}

void TCalendarProperties::RestorePlacement()
{
    if (!m_settings)
        return;
    const WindowPlacement stored =
        WindowPlacement::Load(*m_settings, PlacementSection(), isMaximized());
    if (stored.IsSaved()) {
        const QSize screenSize = screen() ? screen()->size() : QSize(1024, 768);
        const QRect rect = stored.ShiftedOnto(screenSize).Rect();
        if (rect.width() > 100 && rect.height() > 100)
            setGeometry(rect);
    } else {
        CenterForm(this, parentWidget());
    }
    if (stored.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_placementRestored = true;
    SavePlacement();
}

void TCalendarProperties::SavePlacement()
{
    if (!m_settings || !m_placementRestored)
        return;
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    const WindowPlacement placement{normal.left(), normal.top(), normal.left() + normal.width(),
                                    normal.top() + normal.height(), isMaximized()};
    placement.Save(*m_settings, PlacementSection());
    m_settings->Save();
}

} // namespace Dayloom
