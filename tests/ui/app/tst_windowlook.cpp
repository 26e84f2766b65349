// The window's two button bars as a user sees them: glyphs rather than
// words, drawn at the screen's pixel ratio, legible on a dark palette. It
// runs on a real X server, once at pixel ratio 1 and once at 2.
#include "core/io/appfolders.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "ui/app/tcalendarmain.h"
#include "ui/icons/tfloatingpalette.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/richtext/formattingbar.h"
#include "ui/richtext/noteeditor.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Dayloom;

namespace {

// The buttons of the two bars that show a glyph and no caption.
const char *const GlyphButtons[] = {
    "ZoomPlusButton",  "ZoomMinusButton", "PropertiesButton", "Printbutton",   "Pointerbutton",
    "DrawLabelButton", "DrawImageButton", "DrawRichText",     "DrawSuperText", "PSpeedButton1"};

QList<QToolButton *> FormattingButtons(FormattingBar *bar)
{
    QList<QToolButton *> buttons;
    for (QAction *action : bar->actions()) {
        if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action)))
            buttons << button;
    }
    return buttons;
}

// What the X server shows of `widget`, in device pixels.
QImage Screenshot(QWidget *widget)
{
    widget->repaint();
    QApplication::processEvents();
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    return widget->screen()
        ->grabWindow(0, origin.x(), origin.y(), widget->width(), widget->height())
        .toImage();
}

double Luminance(QColor c)
{
    const auto linear = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double Contrast(QColor a, QColor b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Pixels of `image` that stand out from `background` as text does.
int LegiblePixels(const QImage &image, QColor background)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Contrast(image.pixelColor(x, y), background) >= 3.0)
                ++count;
        }
    }
    return count;
}

// A dark desktop's palette: light text on a dark face, as Qt derives it.
QPalette DarkPalette()
{
    const QColor face(0x35, 0x35, 0x35);
    return QPalette(face, face);
}

} // namespace

class TestWindowLook : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Designs know the program's kinds of placed objects, as after start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void init();
    void cleanup();
    void toolPanelButtons_data();
    void toolPanelButtons();
    void formattingBarButtons_data();
    void formattingBarButtons();
    void barsKeepTheirHeights();
    void buttonsShowGlyphsNotCaptions();
    void pressedToolStandsOut();
    void darkPaletteKeepsGlyphsLegible();

private:
    TCalendarMain &NewWindow();
    QToolButton *Button(const char *name) const
    {
        return m_window->findChild<QToolButton *>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TCalendarMain> m_window;
};

void TestWindowLook::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_folder->path());
}

void TestWindowLook::cleanup()
{
    if (m_window) {
        m_window->DoSaveRichtext();
        m_window->SetModified(false);
        m_window->close();
    }
    m_window.reset();
    QApplication::setPalette(QPalette());
    SetProgramFolder(QString());
}

TCalendarMain &TestWindowLook::NewWindow()
{
    m_window = std::make_unique<TCalendarMain>();
    m_window->PrintHooks().installedPrinters = [] { return QStringList{"Test printer"}; };
    m_window->PrintHooks().defaultPrinter = [] { return QStringLiteral("Test printer"); };
    m_window->SetPropertiesDialogRunner([](TCalendarProperties &dialog) {
        dialog.show();
        dialog.accept();
        return int(QDialog::Accepted);
    });
    m_window->Start(QString());
    m_window->move(0, 0);
    m_window->resize(1000, 700);
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qWarning("window not active");
    // Nothing hovered, nothing in front of the bars.
    QCursor::setPos(m_window->screen()->geometry().bottomRight());
    m_window->IconTool()->hide();
    return *m_window;
}

void TestWindowLook::toolPanelButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("glyph");
    QTest::newRow("zoom in") << "ZoomPlusButton"
                             << "Zoom In" << true;
    QTest::newRow("zoom out") << "ZoomMinusButton"
                              << "Zoom Out" << true;
    QTest::newRow("properties") << "PropertiesButton"
                                << "Set/change Properties for the calendar" << true;
    QTest::newRow("print") << "Printbutton"
                           << "Print the calendar" << true;
    QTest::newRow("icon tool") << "ShowHideIconTool"
                               << "Show Icon Tool" << true;
    QTest::newRow("pointer") << "Pointerbutton"
                             << "Selection tool" << true;
    QTest::newRow("label") << "DrawLabelButton"
                           << "Label tool" << true;
    QTest::newRow("clip art") << "DrawImageButton"
                              << "Clip Art Tool" << true;
    QTest::newRow("rich text") << "DrawRichText"
                               << "Rich Text tool\nMixed fonts, colors and styles" << true;
    QTest::newRow("supertext")
        << "DrawSuperText"
        << "SuperText tool\nSpecial Effects Text - fill with gradients or bitmaps" << true;
    QTest::newRow("floating calendar")
        << "PSpeedButton1"
        << "Floating Calendar tool\nMini Calendar that you can place anywhere" << true;
}

void TestWindowLook::toolPanelButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QFETCH(bool, glyph);
    NewWindow();
    QToolButton *button = Button(qPrintable(name));
    QVERIFY(button);
    QCOMPARE(button->toolTip(), hint);
    // No calendar yet: nothing on the panel has anything to act on.
    QVERIFY(!button->isEnabled());
    m_window->New();
    QVERIFY(button->isEnabled());
    if (!glyph) {
        QCOMPARE(button->text(), QStringLiteral("Show Icon Tool"));
        return;
    }
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap picture = button->icon().pixmap(button->iconSize(), ratio);
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.deviceIndependentSize().toSize(), button->iconSize());
    }
}

void TestWindowLook::formattingBarButtons_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("needsSelection");
    for (const char *hint :
         {"Bold", "Italic", "Underline", "Left", "Center", "Right", "Paste", "Select All"})
        QTest::newRow(hint) << QString::fromLatin1(hint) << false;
    QTest::newRow("Copy") << "Copy" << true;
    QTest::newRow("Cut") << "Cut" << true;
}

void TestWindowLook::formattingBarButtons()
{
    QFETCH(QString, hint);
    QFETCH(bool, needsSelection);
    NewWindow().New();
    FormattingBar *bar = m_window->FormatBar();
    QToolButton *button = nullptr;
    for (QToolButton *candidate : FormattingButtons(bar)) {
        if (candidate->toolTip() == hint)
            button = candidate;
    }
    QVERIFY(button);
    for (const qreal ratio : {1.0, 2.0})
        QVERIFY(!button->icon().pixmap(button->iconSize(), ratio).isNull());
    // The bar serves the note editor only.
    QVERIFY(!button->isEnabled());
    TCalendarPanel32 *panel = m_window->CalendarPanel();
    panel->repaint();
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier,
                      panel->Drawn().CellRecordOf(10).rTotal.toQRect().center());
    QTRY_VERIFY(bar->isEnabled());
    if (needsSelection) {
        QVERIFY(!button->isEnabled());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Party"));
        QTest::keySequence(QApplication::focusWidget(), QKeySequence::SelectAll);
    }
    QVERIFY(button->isEnabled());
}

void TestWindowLook::barsKeepTheirHeights()
{
    NewWindow().New();
    QWidget *panel = m_window->findChild<QWidget *>(QStringLiteral("Panel3"));
    QCOMPARE(m_window->FormatBar()->height(), 26);
    QCOMPARE(panel->height(), 33);
    // In device pixels the bars grow with the screen's ratio.
    const qreal ratio = m_window->devicePixelRatioF();
    QCOMPARE(Screenshot(m_window->FormatBar()).height(), qRound(26 * ratio));
    QCOMPARE(Screenshot(panel).height(), qRound(33 * ratio));
}

void TestWindowLook::buttonsShowGlyphsNotCaptions()
{
    NewWindow().New();
    QList<QToolButton *> buttons = FormattingButtons(m_window->FormatBar());
    for (const char *name : GlyphButtons)
        buttons << Button(name);
    for (QToolButton *button : std::as_const(buttons)) {
        const QString what = button->objectName() + button->toolTip();
        const QImage shown = Screenshot(button);
        QCOMPARE(shown.size(), button->size() * m_window->devicePixelRatioF());
        // Another caption changes nothing on screen...
        const QString caption = button->text();
        button->setText(QStringLiteral("WWWW"));
        const QImage recaptioned = Screenshot(button);
        button->setText(caption);
        QVERIFY2(recaptioned == shown, qPrintable(what + QStringLiteral(" shows its caption")));
        // ...while the glyph is what the user sees.
        const QIcon icon = button->icon();
        button->setIcon(QIcon());
        const QImage bare = Screenshot(button);
        button->setIcon(icon);
        QVERIFY2(bare != shown, qPrintable(what + QStringLiteral(" shows no glyph")));
    }
}

void TestWindowLook::pressedToolStandsOut()
{
    NewWindow().New();
    QToolButton *label = Button("DrawLabelButton");
    const QImage released = Screenshot(label);
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(label->isChecked());
    QVERIFY(!Button("Pointerbutton")->isChecked());
    QCursor::setPos(m_window->screen()->geometry().bottomRight());
    const QImage pressed = Screenshot(label);
    int changed = 0;
    for (int y = 0; y < pressed.height(); ++y) {
        for (int x = 0; x < pressed.width(); ++x) {
            if (pressed.pixel(x, y) != released.pixel(x, y))
                ++changed;
        }
    }
    // The pressed look covers the button, not only a few pixels of frame.
    QVERIFY2(changed * 3 > pressed.width() * pressed.height(),
             qPrintable(QStringLiteral("%1 of %2 pixels changed")
                            .arg(changed)
                            .arg(pressed.width() * pressed.height())));
}

void TestWindowLook::darkPaletteKeepsGlyphsLegible()
{
    NewWindow().New();
    m_window->SetModified(true);
    QApplication::setPalette(DarkPalette());
    QApplication::processEvents();
    QWidget *panel = m_window->findChild<QWidget *>(QStringLiteral("Panel3"));
    const QColor face = DarkPalette().color(QPalette::Button);
    const QImage panelShot = Screenshot(panel);
    QCOMPARE(panelShot.pixelColor(1, 1), face);
    const qreal ratio = m_window->devicePixelRatioF();
    QList<QToolButton *> buttons;
    for (const char *name : GlyphButtons)
        buttons << Button(name);
    for (QToolButton *button : std::as_const(buttons)) {
        const int legible = LegiblePixels(Screenshot(button), face);
        QVERIFY2(legible >= 10 * ratio * ratio,
                 qPrintable(button->objectName() + QStringLiteral(": %1").arg(legible)));
    }
    // The captions keep their colours, light enough to read.
    for (const char *name : {"Savebutton", "CancelButton"}) {
        const QColor caption = Button(name)->palette().color(QPalette::ButtonText);
        QVERIFY2(Contrast(caption, face) >= 4.5, name);
    }
    QVERIFY(Button("Savebutton")->palette().color(QPalette::ButtonText).green() > 150);
    QVERIFY(Button("CancelButton")->palette().color(QPalette::ButtonText).red() > 150);
    // The page area is the button face; the page stays white paper.
    const QImage area = Screenshot(m_window->findChild<QWidget *>(QStringLiteral("ScrollBox2")));
    QCOMPARE(area.pixelColor(area.width() - 3, area.height() - 3), face);
    QCOMPARE(Screenshot(m_window->CalendarPanel()).pixelColor(2, 2), QColor(Qt::white));
}

QTEST_MAIN(TestWindowLook)
#include "tst_windowlook.moc"
