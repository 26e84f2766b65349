#include "ui/flatcalendar/tflatcalendareditor.h"

#include "ui/app/uihelpers.h"
#include "ui/common/colorswatchbutton.h"
#include "ui/common/okcancelhelp.h"
#include "ui/flatcalendar/flatcalendarpreview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <algorithm>
#include <cmath>

namespace Dayloom {

namespace {

const QStringList BorderItems = {QStringLiteral("None"), QStringLiteral("All"),
                                 QStringLiteral("Top"), QStringLiteral("Bottom"),
                                 QStringLiteral("Top & Bottom")};

QComboBox *NewCombo(QWidget *parent, const QString &name, const QStringList &items,
                    const QString &whatsThis)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setWhatsThis(whatsThis);
    return combo;
}

QGroupBox *NewGroup(QWidget *parent, const QString &title, const QString &name)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(name);
    return group;
}

void SetIndex(QComboBox *combo, int index)
{
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
}

void SetValue(QSpinBox *spinner, int value)
{
    const QSignalBlocker blocker(spinner);
    spinner->setValue(value);
}

void SetChecked(QCheckBox *check, bool on)
{
    const QSignalBlocker blocker(check);
    check->setChecked(on);
}

} // namespace

TFlatCalendarEditor::TFlatCalendarEditor(QWidget *parent,
                                         const FlatCalendarEditorServices &services)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TFlatCalendarEditor"));
    setWindowTitle(QStringLiteral("Floating Calendar Properties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    BuildControls();
    Connect();
    // Until the first activation the controls do not reach the sample.
    m_loading = true;
    const QDate today = QDate::currentDate();
    SetValue(m_year, today.isValid() ? today.year() : 1998);
}

TGFlatCalendar &TFlatCalendarEditor::Sample()
{
    return m_preview->Sample();
}

const TGFlatCalendar &TFlatCalendarEditor::Sample() const
{
    return m_preview->Sample();
}

void TFlatCalendarEditor::BuildControls()
{
    // The date.
    m_month = NewCombo(this, QStringLiteral("MonthCombo"),
                       {QStringLiteral("January"), QStringLiteral("February"),
                        QStringLiteral("March"), QStringLiteral("April"), QStringLiteral("May"),
                        QStringLiteral("June"), QStringLiteral("July"), QStringLiteral("August"),
                        QStringLiteral("September"), QStringLiteral("October"),
                        QStringLiteral("November"), QStringLiteral("December")},
                       QStringLiteral("The month the calendar shows."));
    m_year = new QSpinBox(this);
    m_year->setObjectName(QStringLiteral("YearSpinner"));
    m_year->setRange(MinYear, MaxYear);
    m_year->setWhatsThis(QStringLiteral("The year of the month shown (1950 to 2500)."));
    auto *monthLabel = new QLabel(QStringLiteral("Month"), this);
    monthLabel->setBuddy(m_month);
    auto *yearLabel = new QLabel(QStringLiteral("Year"), this);
    yearLabel->setBuddy(m_year);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(monthLabel);
    dateRow->addWidget(m_month);
    dateRow->addSpacing(12);
    dateRow->addWidget(yearLabel);
    dateRow->addWidget(m_year);
    dateRow->addStretch(1);

    // Week Starts On.
    QGroupBox *week =
        NewGroup(this, QStringLiteral("Week Starts On"), QStringLiteral("WeekStartsOn"));
    week->setWhatsThis(QStringLiteral("The weekday of the first column."));
    m_weekStartsOn = new QButtonGroup(week);
    // Two days to a row, Sunday and Monday first.
    auto *weekLayout = new QGridLayout(week);
    const QStringList days = {QStringLiteral("Sunday"),   QStringLiteral("Monday"),
                              QStringLiteral("Tuesday"),  QStringLiteral("Wednesday"),
                              QStringLiteral("Thursday"), QStringLiteral("Friday"),
                              QStringLiteral("Saturday")};
    for (int i = 0; i < days.size(); ++i) {
        auto *radio = new QRadioButton(days[i], week);
        radio->setObjectName(QStringLiteral("WeekStartsOn") + days[i]);
        radio->setWhatsThis(QStringLiteral("Weeks start on %1.").arg(days[i]));
        m_weekStartsOn->addButton(radio, i);
        weekLayout->addWidget(radio, i / 2, i % 2);
    }
    weekLayout->setRowStretch(weekLayout->rowCount(), 1);

    // Miscellaneous.
    QGroupBox *misc =
        NewGroup(this, QStringLiteral("Miscellaneous"), QStringLiteral("MiscellaneousGroup"));
    m_showYear = new QCheckBox(QStringLiteral("Show Year in Title"), misc);
    m_showYear->setObjectName(QStringLiteral("ShowtitleInyearCheck"));
    m_showYear->setWhatsThis(QStringLiteral("The title shows the year after the month name."));
    m_headersStyle =
        NewCombo(misc, QStringLiteral("HeadersStyleCombo"),
                 {QStringLiteral("First Character"), QStringLiteral("First Three Characters"),
                  QStringLiteral("Whole Word")},
                 QStringLiteral("How much of each day name the header row shows."));
    // In the order of the language values (Italian before Spanish).
    m_language = NewCombo(misc, QStringLiteral("LanguageCombo"),
                          {QStringLiteral("English"), QStringLiteral("Deutsch"),
                           QString::fromUtf8("Fran\u00e7ais"), QStringLiteral("L'italiano"),
                           QString::fromUtf8("Espa\u00f1ol")},
                          QStringLiteral("The language of the month and day names."));
    const QList<TFlatCalLanguage> languages = {fclEnglish, fclGerman, fclFrench, fclItalian,
                                               fclSpanish};
    for (int i = 0; i < languages.size(); ++i)
        m_language->setItemData(i, int(languages[i]));
    auto *miscLayout = new QFormLayout(misc);
    miscLayout->addRow(m_showYear);
    miscLayout->addRow(QStringLiteral("Header Style"), m_headersStyle);
    miscLayout->addRow(QStringLiteral("Language"), m_language);

    // Fonts.
    QGroupBox *fonts = NewGroup(this, QStringLiteral("Fonts"), QStringLiteral("FontsGroup"));
    const auto fontButton = [fonts](const QString &caption, const QString &name,
                                    const QString &whatsThis) {
        auto *button = new QPushButton(caption, fonts);
        button->setObjectName(name);
        button->setAutoDefault(false);
        button->setWhatsThis(whatsThis);
        return button;
    };
    m_titleFont = fontButton(QStringLiteral("Title Font"), QStringLiteral("TitleFontButton"),
                             QStringLiteral("Chooses the font of the month title."));
    m_headerFont = fontButton(QStringLiteral("Header Font"), QStringLiteral("HeaderFontButton"),
                              QStringLiteral("Chooses the font of the day names."));
    m_cellFont = fontButton(QStringLiteral("Cell Font"), QStringLiteral("CellFontButton"),
                            QStringLiteral("Chooses the font of the day numbers."));
    auto *fontsLayout = new QVBoxLayout(fonts);
    fontsLayout->addWidget(m_titleFont);
    fontsLayout->addWidget(m_headerFont);
    fontsLayout->addWidget(m_cellFont);
    fontsLayout->addStretch(1);

    // Borders.
    QGroupBox *borders = NewGroup(this, QStringLiteral("Borders"), QStringLiteral("BordersGroup"));
    m_calendarBorder = NewCombo(borders, QStringLiteral("CalendarBorderCombo"), BorderItems,
                                QStringLiteral("Lines around the whole calendar."));
    m_headerBorder = NewCombo(borders, QStringLiteral("HeaderBorderCombo"), BorderItems,
                              QStringLiteral("Lines around the row of day names."));
    m_cellBorder = NewCombo(borders, QStringLiteral("CellBorderCombo"), BorderItems,
                            QStringLiteral("Grid lines between the days."));
    auto *bordersLayout = new QFormLayout(borders);
    bordersLayout->addRow(QStringLiteral("Calendar "), m_calendarBorder);
    bordersLayout->addRow(QStringLiteral("Header"), m_headerBorder);
    bordersLayout->addRow(QStringLiteral("Cell "), m_cellBorder);

    // Colors.
    QGroupBox *colors = NewGroup(this, QStringLiteral("Colors"), QStringLiteral("ColorsGroup"));
    const auto colorButton = [](QWidget *parent, const QString &caption, const QString &name,
                                const QString &whatsThis) {
        auto *button = new ColorSwatchButton(caption, parent);
        button->setObjectName(name);
        button->setAutoDefault(false);
        button->setWhatsThis(whatsThis);
        return button;
    };
    m_titleBackground = colorButton(
        colors, QStringLiteral("Title Background"), QStringLiteral("TitleBackgroundButton"),
        QStringLiteral("Chooses the background colour of the month title."));
    m_headerBackground = colorButton(
        colors, QStringLiteral("Header Background "), QStringLiteral("HeaderBackgroundButton"),
        QStringLiteral("Chooses the background colour of the day names."));
    m_bodyBackground = colorButton(colors, QStringLiteral("Body Background "),
                                   QStringLiteral("BodyBackgroundButton"),
                                   QStringLiteral("Chooses the background colour of the days."));
    m_transparent = new QCheckBox(QStringLiteral("Transparent"), colors);
    m_transparent->setObjectName(QStringLiteral("TransparentCheck"));
    m_transparent->setWhatsThis(
        QStringLiteral("Draws no backgrounds and no shadow: the page shows through."));
    auto *colorsLayout = new QVBoxLayout(colors);
    colorsLayout->addWidget(m_titleBackground);
    colorsLayout->addWidget(m_headerBackground);
    colorsLayout->addWidget(m_bodyBackground);
    colorsLayout->addWidget(m_transparent);
    colorsLayout->addStretch(1);

    // Shadow.
    QGroupBox *shadow = NewGroup(this, QStringLiteral("Shadow"), QStringLiteral("ShadowGroup"));
    m_shadowColor =
        colorButton(shadow, QStringLiteral("Color"), QStringLiteral("ShadowColorButton"),
                    QStringLiteral("Chooses the colour of the drop shadow."));
    m_shadowOrientation = NewCombo(shadow, QStringLiteral("ShadowOrientationCombo"),
                                   {QStringLiteral("Lower Right"), QStringLiteral("Lower Left"),
                                    QStringLiteral("UpperRight"), QStringLiteral("UpperLeft")},
                                   QStringLiteral("The side on which the shadow falls."));
    m_shadowDepth = new QSpinBox(shadow);
    m_shadowDepth->setObjectName(QStringLiteral("ShadowDepthSpinner"));
    m_shadowDepth->setRange(0, FlatCalendarModel::MaxShadowDepth);
    m_shadowDepth->setWhatsThis(
        QStringLiteral("How far the shadow falls, in pixels at 100 %; 0 draws no shadow."));
    auto *shadowLayout = new QFormLayout(shadow);
    shadowLayout->addRow(m_shadowColor);
    shadowLayout->addRow(QStringLiteral("Orientation"), m_shadowOrientation);
    shadowLayout->addRow(QStringLiteral("Depth"), m_shadowDepth);

    auto *groups = new QGridLayout;
    groups->addWidget(week, 0, 0);
    groups->addWidget(misc, 0, 1);
    groups->addWidget(fonts, 1, 0);
    groups->addWidget(borders, 1, 1);
    groups->addWidget(colors, 2, 0);
    groups->addWidget(shadow, 2, 1);
    auto *controls = new QVBoxLayout;
    controls->addLayout(dateRow);
    controls->addLayout(groups);
    controls->addStretch(1);

    // The preview.
    m_preview = new FlatCalendarPreview;
    m_preview->setWhatsThis(QStringLiteral("The calendar as it will look, at 100 %."));
    m_scrollBox = new QScrollArea(this);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setBackgroundRole(QPalette::Base);
    m_scrollBox->setPalette(m_preview->palette());
    m_scrollBox->setWidgetResizable(false);
    m_scrollBox->setWidget(m_preview);
    m_scrollBox->setMinimumSize(280, 240);
    m_scrollBox->setWhatsThis(m_preview->whatsThis());

    auto *top = new QHBoxLayout;
    top->addLayout(controls);
    top->addWidget(m_scrollBox, 1);

    // The buttons.
    m_whatsThis = new QToolButton(this);
    m_whatsThis->setObjectName(QStringLiteral("WhatsThisButton"));
    m_whatsThis->setText(QStringLiteral("?"));
    m_whatsThis->setToolTip(QStringLiteral("What's this?"));
    m_whatsThis->setWhatsThis(
        QStringLiteral("Click this, then a control, to learn what the control does."));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_whatsThis);
    buttons->addStretch(1);
    const OkCancelHelp row = OkCancelHelp::AddTo(*this, *buttons, [this] {
        if (m_services.showHelp)
            m_services.showHelp(this, HelpContext);
    });
    row.cancel->setAutoDefault(false);
    row.help->setWhatsThis(QStringLiteral("Opens the manual at the floating calendar."));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
}

void TFlatCalendarEditor::Connect()
{
    using M = FlatCalendarModel;
    connect(m_month, &QComboBox::currentIndexChanged, this,
            [this](int i) { Edit([i](M &m) { return m.SetMonth(i + 1); }); });
    connect(m_year, &QSpinBox::valueChanged, this,
            [this](int year) { Edit([year](M &m) { return m.SetYear(year); }); });
    connect(m_weekStartsOn, &QButtonGroup::idClicked, this,
            [this](int i) { Edit([i](M &m) { return m.SetStartOfWeek(i + 1); }); });
    connect(m_showYear, &QCheckBox::toggled, this,
            [this](bool on) { Edit([on](M &m) { return m.SetShowYear(on); }); });
    connect(m_headersStyle, &QComboBox::currentIndexChanged, this, [this](int i) {
        Edit([i](M &m) { return m.SetDayNameStyle(TFlatCalHeadersStyle(i)); });
    });
    connect(m_language, &QComboBox::currentIndexChanged, this, [this](int i) {
        const auto language = TFlatCalLanguage(m_language->itemData(i).toInt());
        Edit([language](M &m) { return m.SetLanguage(language); });
    });
    const auto border = [this](QComboBox *combo, bool (M::*set)(TFlatCalBorderStyle)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, set](int i) {
            Edit([set, i](M &m) { return (m.*set)(TFlatCalBorderStyle(i)); });
        });
    };
    border(m_calendarBorder, &M::SetCalendarBorderStyle);
    border(m_headerBorder, &M::SetDayNameBorderStyle);
    border(m_cellBorder, &M::SetCellBorderStyle);
    connect(m_transparent, &QCheckBox::toggled, this,
            [this](bool on) { Edit([on](M &m) { return m.SetCalTransparent(on); }); });
    connect(m_shadowOrientation, &QComboBox::currentIndexChanged, this, [this](int i) {
        Edit([i](M &m) { return m.SetShadowPosition(TFlatShadowPosition(i)); });
    });
    connect(m_shadowDepth, &QSpinBox::valueChanged, this,
            [this](int depth) { Edit([depth](M &m) { return m.SetShadowDepth(depth); }); });

    connect(m_titleFont, &QPushButton::clicked, this,
            [this] { ChooseFont(QStringLiteral("Title Font"), &M::TitleFont, &M::SetTitleFont); });
    connect(m_headerFont, &QPushButton::clicked, this, [this] {
        ChooseFont(QStringLiteral("Header Font"), &M::DayNameFont, &M::SetDayNameFont);
    });
    connect(m_cellFont, &QPushButton::clicked, this,
            [this] { ChooseFont(QStringLiteral("Cell Font"), &M::CellFont, &M::SetCellFont); });
    connect(m_titleBackground, &QPushButton::clicked, this,
            [this] { ChooseColor(m_titleBackground, &M::TitleBGcolor, &M::SetTitleBGcolor); });
    connect(m_headerBackground, &QPushButton::clicked, this,
            [this] { ChooseColor(m_headerBackground, &M::DayNameBGColor, &M::SetDayNameBGColor); });
    connect(m_bodyBackground, &QPushButton::clicked, this,
            [this] { ChooseColor(m_bodyBackground, &M::Backgroundcolor, &M::SetBackgroundcolor); });
    connect(m_shadowColor, &QPushButton::clicked, this,
            [this] { ChooseColor(m_shadowColor, &M::ShadowColor, &M::SetShadowColor); });

    connect(m_whatsThis, &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
}

void TFlatCalendarEditor::CopyProperties(const FlatCalendarModel &source, FlatCalendarModel &target)
{
    target.SetMonth(source.Month());
    target.SetYear(source.Year());
    target.SetTitleFont(source.TitleFont());
    target.SetDayNameFont(source.DayNameFont());
    target.SetCellFont(source.CellFont());
    target.SetDayNameBGColor(source.DayNameBGColor());
    target.SetTitleBGcolor(source.TitleBGcolor());
    target.SetBackgroundcolor(source.Backgroundcolor());
    target.SetCalendarBorderStyle(source.CalendarBorderStyle());
    target.SetDayNameBorderStyle(source.DayNameBorderStyle());
    target.SetCellBorderStyle(source.CellBorderStyle());
    target.SetShadowColor(source.ShadowColor());
    target.SetShadowDepth(source.ShadowDepth());
    target.SetShadowPosition(source.ShadowPosition());
    target.SetDayNameStyle(source.DayNameStyle());
    target.SetShowYear(source.ShowYear());
    target.SetStartOfWeek(source.StartOfWeek());
    target.SetLanguage(source.Language());
    target.SetCalTransparent(source.CalTransparent());
}

QSize TFlatCalendarEditor::ZoomOneSize(const TGGraphicControl &object)
{
    // Objects keep their bounds at zoom 1 (the screen derives its size from
    // them), so this is exact where dividing the rounded screen size by the
    // zoom could be a pixel off.
    return object.Bounds().size();
}

void TFlatCalendarEditor::LoadFrom(const TGFlatCalendar &object)
{
    FlatCalendarModel model = Sample().Model();
    CopyProperties(object.Model(), model);
    Sample().SetModel(model);
    m_preview->SetSampleSize(ZoomOneSize(object));
}

void TFlatCalendarEditor::SaveTo(TGFlatCalendar &object) const
{
    FlatCalendarModel model = object.Model();
    CopyProperties(Sample().Model(), model);
    object.SetModel(model);
}

void TFlatCalendarEditor::Edit(const std::function<bool(FlatCalendarModel &)> &edit)
{
    if (!m_loading)
        Sample().ChangeModel(edit);
}

void TFlatCalendarEditor::ChooseFont(const QString &title,
                                     const FontSpec &(FlatCalendarModel::*get)() const,
                                     bool (FlatCalendarModel::*set)(const FontSpec &))
{
    if (!m_services.chooseFont)
        return;
    const std::optional<FontSpec> chosen =
        m_services.chooseFont(this, (Sample().Model().*get)(), title);
    if (chosen)
        Sample().ChangeModel([&](FlatCalendarModel &m) { return (m.*set)(*chosen); });
    m_preview->update();
    Reactivated();
}

void TFlatCalendarEditor::ChooseColor(ColorSwatchButton *button,
                                      TColor (FlatCalendarModel::*get)() const,
                                      bool (FlatCalendarModel::*set)(TColor))
{
    if (m_loading || !m_services.chooseColor)
        return;
    const std::optional<TColor> chosen =
        m_services.chooseColor(this, (Sample().Model().*get)(), button->text().trimmed());
    if (chosen) {
        button->SetColor(*chosen);
        Edit([&](FlatCalendarModel &m) { return (m.*set)(*chosen); });
    }
    Reactivated();
}

void TFlatCalendarEditor::Reactivated()
{
    // The window system activates the editor again when a dialog it opened
    // closes, but not every one does (nor an offscreen one): the editor
    // counts as activated once the dialog has returned.
    if (isVisible())
        Activate();
}

void TFlatCalendarEditor::Activate()
{
    m_loading = false;
    const FlatCalendarModel &m = Sample().Model();
    SetIndex(m_month, m.Month() - 1);
    ShowYear(m.Year());
    {
        const QSignalBlocker blocker(m_weekStartsOn);
        if (QAbstractButton *button = m_weekStartsOn->button(m.StartOfWeek() - 1))
            button->setChecked(true);
    }
    SetChecked(m_showYear, m.ShowYear());
    SetIndex(m_headersStyle, int(m.DayNameStyle()));
    SetIndex(m_language, m_language->findData(int(m.Language())));
    SetIndex(m_calendarBorder, int(m.CalendarBorderStyle()));
    SetIndex(m_headerBorder, int(m.DayNameBorderStyle()));
    SetIndex(m_cellBorder, int(m.CellBorderStyle()));
    m_titleBackground->SetColor(m.TitleBGcolor());
    m_headerBackground->SetColor(m.DayNameBGColor());
    m_bodyBackground->SetColor(m.Backgroundcolor());
    SetChecked(m_transparent, m.CalTransparent());
    m_shadowColor->SetColor(m.ShadowColor());
    SetIndex(m_shadowOrientation, int(m.ShadowPosition()));
    SetValue(m_shadowDepth, m.ShadowDepth());
}

void TFlatCalendarEditor::ShowYear(int year)
{
    // A stored year outside the usual range is shown as it is: a clamped
    // value would claim a year the calendar does not show.
    const QSignalBlocker blocker(m_year);
    m_year->setRange(std::min(MinYear, year), std::max(MaxYear, year));
    m_year->setValue(year);
}

bool TFlatCalendarEditor::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Activate();
    return QDialog::event(event);
}

void TFlatCalendarEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CenterForm(this, parentWidget() ? parentWidget()->window() : nullptr);
    // Showing is the first activation, whether or not the window system
    // activates the dialog.
    Activate();
}

void TFlatCalendarEditor::contextMenuEvent(QContextMenuEvent *event)
{
    QWidget *widget = childAt(event->pos());
    while (widget && widget != this && widget->whatsThis().isEmpty())
        widget = widget->parentWidget();
    if (!widget || widget == this) {
        QDialog::contextMenuEvent(event);
        return;
    }
    const QPoint where = event->globalPos();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("WhatsThisMenu"));
    menu.addAction(QStringLiteral("What's this?"), this,
                   [widget, where] { QWhatsThis::showText(where, widget->whatsThis(), widget); });
    menu.exec(where);
}

} // namespace Dayloom
