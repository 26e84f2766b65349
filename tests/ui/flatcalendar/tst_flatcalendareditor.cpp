#include "core/objects/flatcalendar/tgflatcalendar.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/surface/pagedocument.h"
#include "ui/app/helpwindow.h"
#include "ui/common/colorswatchbutton.h"
#include "ui/flatcalendar/editflatcalendar.h"
#include "ui/flatcalendar/flatcalendarpreview.h"
#include "ui/flatcalendar/tflatcalendareditor.h"
#include "ui/surface/objectpopupmenu.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

using namespace Dayloom;

namespace {

using Act = std::function<void(TFlatCalendarEditor &)>;

template <class W> W *Find(TFlatCalendarEditor &editor, const char *name)
{
    W *widget = editor.findChild<W *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// Picks an item of a list with the arrow keys.
void Choose(TFlatCalendarEditor &editor, const char *combo, const QString &item)
{
    auto *box = Find<QComboBox>(editor, combo);
    const int target = box->findText(item);
    QVERIFY(target >= 0);
    box->setFocus();
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target)
        QTest::keyClick(box, Qt::Key_Up);
}

void Type(TFlatCalendarEditor &editor, const char *spinner, const QString &text)
{
    auto *box = Find<QSpinBox>(editor, spinner);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

// Clicks a button near its left end, where a check box or radio button has
// its box and text.
void Click(TFlatCalendarEditor &editor, const char *name)
{
    auto *button = Find<QAbstractButton>(editor, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, button->height() / 2));
}

const FontSpec ChosenFont{QStringLiteral("Courier New"), 14, true, clNavy};
constexpr TColor ChosenColor = clTeal;

// Dialogs that answer at once, and a run of the editor in which the test
// plays the user.
struct Fakes
{
    QList<int> helpTopics;
    int runs = 0;
    Act user;
    QString closeWith = QStringLiteral("OkButton");

    FlatCalendarEditorServices Services()
    {
        FlatCalendarEditorServices services;
        services.chooseFont = [](QWidget *, const FontSpec &, const QString &) {
            return std::optional<FontSpec>(ChosenFont);
        };
        services.chooseColor = [](QWidget *, TColor, const QString &) {
            return std::optional<TColor>(ChosenColor);
        };
        services.showHelp = [this](QWidget *, int topic) { helpTopics.append(topic); };
        services.runEditor = [this](TFlatCalendarEditor &editor) {
            ++runs;
            editor.show();
            if (user)
                user(editor);
            QTest::mouseClick(Find<QPushButton>(editor, closeWith.toLatin1().constData()),
                              Qt::LeftButton);
            return editor.result() == QDialog::Accepted;
        };
        return services;
    }
};

// A page with one floating calendar showing June 2026.
struct Design
{
    PageDocument document;
    TGFlatCalendar *calendar = nullptr;

    explicit Design(float zoom = 1.0f, const QRect &rect = QRect(20, 20, 200, 160))
    {
        document.SetZoom(zoom);
        calendar = static_cast<TGFlatCalendar *>(
            document.PlaceObject(std::make_unique<TGFlatCalendar>(), rect));
        FlatCalendarModel model(QDate(2026, 6, 1));
        calendar->SetModel(model);
        document.UndoStack().clear();
    }
    bool Edit(Fakes &fakes)
    {
        return EditFlatCalendar(nullptr, document, *calendar, fakes.Services());
    }
};

struct EditCase
{
    const char *name;
    Act user;
    FlatCalendarModel::ModelEdit expected; // the change on the original model
};

const QList<EditCase> &EditCases()
{
    using M = FlatCalendarModel;
    const auto choose = [](const char *combo, const QString &item) {
        return [combo, item](TFlatCalendarEditor &e) { Choose(e, combo, item); };
    };
    const auto type = [](const char *spinner, const QString &text) {
        return [spinner, text](TFlatCalendarEditor &e) { Type(e, spinner, text); };
    };
    const auto click = [](const char *name) {
        return [name](TFlatCalendarEditor &e) { Click(e, name); };
    };
    static const QList<EditCase> cases = {
        {"month", choose("MonthCombo", "September"), [](M &m) { return m.SetMonth(9); }},
        {"year", type("YearSpinner", "2031"), [](M &m) { return m.SetYear(2031); }},
        {"week starts on Monday", click("WeekStartsOnMonday"),
         [](M &m) { return m.SetStartOfWeek(2); }},
        {"show year", click("ShowtitleInyearCheck"), [](M &m) { return m.SetShowYear(true); }},
        {"header style", choose("HeadersStyleCombo", "Whole Word"),
         [](M &m) { return m.SetDayNameStyle(fdsWhole); }},
        {"Italian", choose("LanguageCombo", "L'italiano"),
         [](M &m) { return m.SetLanguage(fclItalian); }},
        {"Spanish", choose("LanguageCombo", QString::fromUtf8("Espa\u00f1ol")),
         [](M &m) { return m.SetLanguage(fclSpanish); }},
        {"title font", click("TitleFontButton"), [](M &m) { return m.SetTitleFont(ChosenFont); }},
        {"header font", click("HeaderFontButton"),
         [](M &m) { return m.SetDayNameFont(ChosenFont); }},
        {"cell font", click("CellFontButton"), [](M &m) { return m.SetCellFont(ChosenFont); }},
        {"calendar border", choose("CalendarBorderCombo", "Top & Bottom"),
         [](M &m) { return m.SetCalendarBorderStyle(fcbTopBottom); }},
        {"header border", choose("HeaderBorderCombo", "None"),
         [](M &m) { return m.SetDayNameBorderStyle(fcbNone); }},
        {"cell border", choose("CellBorderCombo", "Bottom"),
         [](M &m) { return m.SetCellBorderStyle(fcbBottom); }},
        {"title background", click("TitleBackgroundButton"),
         [](M &m) { return m.SetTitleBGcolor(ChosenColor); }},
        {"header background", click("HeaderBackgroundButton"),
         [](M &m) { return m.SetDayNameBGColor(ChosenColor); }},
        {"body background", click("BodyBackgroundButton"),
         [](M &m) { return m.SetBackgroundcolor(ChosenColor); }},
        {"transparent", click("TransparentCheck"), [](M &m) { return m.SetCalTransparent(true); }},
        {"shadow color", click("ShadowColorButton"),
         [](M &m) { return m.SetShadowColor(ChosenColor); }},
        {"shadow orientation", choose("ShadowOrientationCombo", "UpperLeft"),
         [](M &m) { return m.SetShadowPosition(fcpUpperLeft); }},
        {"shadow depth", type("ShadowDepthSpinner", "7"), [](M &m) { return m.SetShadowDepth(7); }},
    };
    return cases;
}

} // namespace

class TestFlatCalendarEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void previewShowsTheZoomOneSize();
    void cancelLeavesTheCalendarUntouched();
    void okCopiesBackEachProperty_data();
    void okCopiesBackEachProperty();
    void activationRefillsControlsFromSample();
    void colorButtonsShowTheirColors();
    void helpOpensTheEditorsTopic();
    void menuItemAndDoubleClickOpenTheEditor();
    void yearOutsideTheUsualRangeShownAsStored_data();
    void yearOutsideTheUsualRangeShownAsStored();
};

void TestFlatCalendarEditor::yearOutsideTheUsualRangeShownAsStored_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("stepUp"); // the user steps the year once
    QTest::addColumn<int>("saved");
    QTest::newRow("1900 kept") << 1900 << false << 1900;
    QTest::newRow("2600 kept") << 2600 << false << 2600;
    QTest::newRow("1900 stepped up by the user") << 1900 << true << 1901;
}

void TestFlatCalendarEditor::yearOutsideTheUsualRangeShownAsStored()
{
    // Used to fail: the spinner showed 1950 or 2500 for such a year.
    QFETCH(int, stored);
    QFETCH(bool, stepUp);
    QFETCH(int, saved);
    Design design;
    FlatCalendarModel model = design.calendar->Model();
    model.SetYear(stored);
    design.calendar->SetModel(model);
    Fakes fakes;
    int shown = 0;
    fakes.user = [&](TFlatCalendarEditor &editor) {
        auto *year = Find<QSpinBox>(editor, "YearSpinner");
        shown = year->value();
        // Another edit must leave the year alone.
        Click(editor, "ShowtitleInyearCheck");
        if (stepUp) {
            year->setFocus();
            QTest::keyClick(year, Qt::Key_Up);
        }
    };
    QVERIFY(design.Edit(fakes));
    QCOMPARE(shown, stored);
    QCOMPARE(design.calendar->Model().Year(), saved);
}

void TestFlatCalendarEditor::previewShowsTheZoomOneSize()
{
    Design design(0.5f, QRect(10, 10, 120, 80));
    QCOMPARE(design.calendar->ScaledBounds().size(), QSize(120, 80));
    Fakes fakes;
    QSize preview;
    fakes.user = [&preview](TFlatCalendarEditor &editor) {
        preview = editor.Preview()->size();
        QCOMPARE(editor.Sample().Bounds(), QRect(0, 0, 240, 160));
        QCOMPARE(editor.Sample().Zoom(), 1.0f);
        Choose(editor, "MonthCombo", QStringLiteral("March"));
    };
    QVERIFY(design.Edit(fakes));
    QCOMPARE(preview, QSize(240, 160));
    QCOMPARE(design.calendar->Model().Month(), 3);
    QCOMPARE(design.calendar->ScaledBounds().size(), QSize(120, 80));
    QCOMPARE(design.calendar->Bounds().size(), QSize(240, 160));
}

void TestFlatCalendarEditor::cancelLeavesTheCalendarUntouched()
{
    Design design;
    const FlatCalendarModel before = design.calendar->Model();
    const QRect bounds = design.calendar->Bounds();
    QSignalSpy changes(&design.document, &PageDocument::LabelChangedEvent);
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    fakes.user = [&before](TFlatCalendarEditor &editor) {
        for (const EditCase &edit : EditCases())
            edit.user(editor);
        QVERIFY(editor.Sample().Model() != before);
    };
    QVERIFY(!design.Edit(fakes));
    QVERIFY(design.calendar->Model() == before);
    QCOMPARE(design.calendar->Bounds(), bounds);
    QCOMPARE(design.document.UndoStack().count(), 0);
    QCOMPARE(changes.count(), 0);
}

void TestFlatCalendarEditor::okCopiesBackEachProperty_data()
{
    QTest::addColumn<int>("edit");
    for (int i = 0; i < EditCases().size(); ++i)
        QTest::newRow(EditCases()[i].name) << i;
}

void TestFlatCalendarEditor::okCopiesBackEachProperty()
{
    QFETCH(int, edit);
    const EditCase &step = EditCases()[edit];
    Design design;
    const FlatCalendarModel before = design.calendar->Model();
    FlatCalendarModel expected = before;
    QVERIFY(step.expected(expected));
    QSignalSpy changes(&design.document, &PageDocument::LabelChangedEvent);
    Fakes fakes;
    fakes.user = step.user;

    QVERIFY(design.Edit(fakes));
    QVERIFY(design.calendar->Model() == expected);
    QVERIFY(changes.count() > 0);
    QUndoStack &stack = design.document.UndoStack();
    QCOMPARE(stack.count(), 1);
    QCOMPARE(stack.undoText(), QStringLiteral("Floating Calendar Properties"));
    stack.undo();
    QVERIFY(design.calendar->Model() == before);
    stack.redo();
    QVERIFY(design.calendar->Model() == expected);
}

void TestFlatCalendarEditor::activationRefillsControlsFromSample()
{
    Design design;
    Fakes fakes;
    // The font dialog is a real modal window that takes the activation.
    FlatCalendarEditorServices services = fakes.Services();
    services.chooseFont = [](QWidget *parent, const FontSpec &, const QString &) {
        QDialog fontDialog(parent);
        QTimer::singleShot(50, &fontDialog, &QDialog::accept);
        fontDialog.exec();
        return std::optional<FontSpec>(ChosenFont);
    };
    TFlatCalendarEditor editor(nullptr, services);
    editor.LoadFrom(*design.calendar);
    auto *month = Find<QComboBox>(editor, "MonthCombo");
    // Before the first activation a change does not reach the sample...
    QVERIFY(editor.Loading());
    month->setCurrentIndex(0);
    QCOMPARE(editor.Sample().Model().Month(), 6);
    // ...and activation shows the sample's value again.
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    QVERIFY(!editor.Loading());
    QCOMPARE(month->currentIndex(), 5);

    // Used to keep a control's stale value after the font dialog closed.
    {
        const QSignalBlocker quiet(month);
        month->setCurrentIndex(1);
    }
    Click(editor, "TitleFontButton");
    QTRY_COMPARE(month->currentIndex(), 5);
    QVERIFY(editor.Sample().Model().TitleFont() == ChosenFont);
}

void TestFlatCalendarEditor::colorButtonsShowTheirColors()
{
    Design design;
    FlatCalendarModel model = design.calendar->Model();
    model.SetTitleBGcolor(clRed);
    model.SetDayNameBGColor(clLime);
    model.SetBackgroundcolor(clBlue);
    model.SetShadowColor(clFuchsia);
    design.calendar->SetModel(model);
    Fakes fakes;
    TFlatCalendarEditor editor(nullptr, fakes.Services());
    editor.LoadFrom(*design.calendar);
    editor.show();
    const QList<std::pair<const char *, TColor>> buttons = {{"TitleBackgroundButton", clRed},
                                                            {"HeaderBackgroundButton", clLime},
                                                            {"BodyBackgroundButton", clBlue},
                                                            {"ShadowColorButton", clFuchsia}};
    for (const auto &[name, color] : buttons) {
        auto *button = Find<ColorSwatchButton>(editor, name);
        const QImage picture = button->grab().toImage();
        const QPoint centre = button->SwatchRect().center() * picture.devicePixelRatio();
        QCOMPARE(picture.pixel(centre), ToQColor(color).rgb());
    }
}

void TestFlatCalendarEditor::helpOpensTheEditorsTopic()
{
    Design design;
    Fakes fakes;
    fakes.user = [](TFlatCalendarEditor &editor) { Click(editor, "HelpButton"); };
    fakes.closeWith = QStringLiteral("CancelButton");
    design.Edit(fakes);
    QCOMPARE(fakes.helpTopics, QList<int>{TFlatCalendarEditor::HelpContext});
    QVERIFY(HelpWindow::HasTopic(TFlatCalendarEditor::HelpContext));
}

void TestFlatCalendarEditor::menuItemAndDoubleClickOpenTheEditor()
{
    TCalendarPanel32 panel;
    panel.show();
    Fakes fakes;
    fakes.closeWith = QStringLiteral("CancelButton");
    RegisterFlatCalendarActions(panel, fakes.Services());
    TGGraphicControl *calendar =
        panel.Document().PlaceObject(std::make_unique<TGFlatCalendar>(), QRect(100, 100, 150, 120));

    ObjectPopupMenu *menu = panel.ObjectMenu(calendar);
    const QList<QAction *> items = menu->actions();
    QCOMPARE(items.last()->text(), QStringLiteral("Properties..."));
    QVERIFY(items[items.size() - 2]->isSeparator());
    items.last()->trigger();
    QCOMPARE(fakes.runs, 1);

    const QPoint inside(150, 150);
    QTest::mouseClick(&panel, Qt::LeftButton, {}, inside);
    QWidget *target = panel.childAt(inside) ? panel.childAt(inside) : &panel;
    QTest::mouseDClick(target, Qt::LeftButton, {}, target->mapFrom(&panel, inside));
    QCOMPARE(fakes.runs, 2);
}

QTEST_MAIN(TestFlatCalendarEditor)
#include "tst_flatcalendareditor.moc"
