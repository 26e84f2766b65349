// Every control a keyboard or screen reader user can reach must say what it
// is: the accessibility tree of each window and dialog is walked and every
// focusable control must carry a name.
#include "core/io/appfolders.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "ui/app/tcalendarmain.h"
#include "ui/app/tdefaultfontdialog.h"
#include "ui/app/tsettimedialog.h"
#include "ui/app/tusertitleform.h"
#include "ui/flatcalendar/tflatcalendareditor.h"
#include "ui/icons/tfloatingpalette.h"
#include "ui/image/tgimagebrowser.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/recurring/teditrecurringdateformula.h"
#include "ui/recurring/teditrecurringdates.h"
#include "ui/richlabel/trichtextlabeleditor.h"
#include "ui/supertext/tsupertextbrushimagebrowser.h"
#include "ui/supertext/tsupertextgetsymbol.h"
#include "ui/supertext/tsupertextproperties.h"

#include <QAccessible>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace Dayloom;

namespace {

bool IsControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Slider:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::PageTab:
        return true;
    default:
        return false;
    }
}

// A screen reader on Linux takes a field's name from its label (the label's
// buddy relation) and speaks a combo box's value as its name, so a value
// alone does not count: a field needs an accessible name or a label, a
// button its caption or a name.
bool HasName(QAccessibleInterface *node)
{
    const auto *widget = qobject_cast<const QWidget *>(node->object());
    if (widget && !widget->accessibleName().trimmed().isEmpty())
        return true;
    if (!node->relations(QAccessible::Label).isEmpty())
        return true;
    switch (node->role()) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::PageTab:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return !node->text(QAccessible::Name).trimmed().isEmpty();
    default:
        return false;
    }
}

// "role (object name)" of every visible, focusable control without a name.
void CollectNameless(QAccessibleInterface *node, QStringList &nameless, int depth = 0)
{
    if (!node || depth > 40 || node->state().invisible)
        return;
    if (IsControl(node->role()) && node->state().focusable && !HasName(node)) {
        const QObject *object = node->object();
        const QObject *parent = object ? object->parent() : nullptr;
        nameless << QStringLiteral("%1 %2 in %3")
                        .arg(object ? object->metaObject()->className() : "?",
                             object ? object->objectName() : QString(),
                             parent ? parent->objectName() : QString());
    }
    for (int i = 0; i < node->childCount(); ++i)
        CollectNameless(node->child(i), nameless, depth + 1);
}

// Shows every page of the window's tab widgets in turn so hidden pages are
// walked too.
QStringList NamelessControls(QWidget &window)
{
    QStringList nameless;
    const auto walk = [&] {
        CollectNameless(QAccessible::queryAccessibleInterface(&window), nameless);
    };
    walk();
    for (QTabWidget *tabs : window.findChildren<QTabWidget *>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            walk();
        }
    }
    nameless.removeDuplicates();
    return nameless;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The window shows the tool buttons of the program's kinds, as after
    // start-up.
    void initTestCase() { RegisterObjectKinds(ObjectKindRegistry::Application()); }
    void init();
    void cleanup();
    void everyControlHasAName_data();
    void everyControlHasAName();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

using WindowMaker = std::function<std::unique_ptr<QWidget>()>;
Q_DECLARE_METATYPE(WindowMaker)

void TestAccessibility::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_folder->path());
}

void TestAccessibility::cleanup()
{
    SetProgramFolder(QString());
    m_folder.reset();
}

void TestAccessibility::everyControlHasAName_data()
{
    QTest::addColumn<WindowMaker>("make");
    QTest::newRow("main window") << WindowMaker([] {
        auto window = std::make_unique<TCalendarMain>();
        window->PrintHooks().installedPrinters = [] { return QStringList{"Test printer"}; };
        window->PrintHooks().defaultPrinter = [] { return QStringLiteral("Test printer"); };
        window->Start();
        return std::unique_ptr<QWidget>(std::move(window));
    });
    QTest::newRow("calendar properties")
        << WindowMaker([] { return std::make_unique<TCalendarProperties>(nullptr); });
    QTest::newRow("floating calendar properties")
        << WindowMaker([] { return std::make_unique<TFlatCalendarEditor>(); });
    QTest::newRow("rich text editor")
        << WindowMaker([] { return std::make_unique<TRichTextLabelEditor>(); });
    QTest::newRow("clip art browser")
        << WindowMaker([] { return std::make_unique<TGImageBrowser>(); });
    QTest::newRow("icon tool") << WindowMaker(
        [] { return std::make_unique<TFloatingPalette>(nullptr); });
    QTest::newRow("recurring dates") << WindowMaker(
        [] { return std::make_unique<TEditRecurringDates>(QStringLiteral("DLRECUR.DAX")); });
    QTest::newRow("recurring date formula")
        << WindowMaker([] { return std::make_unique<TEditRecurringDateFormula>(); });
    QTest::newRow("time picker") << WindowMaker([] { return std::make_unique<TSetTimeDialog>(); });
    QTest::newRow("default font") << WindowMaker(
        [] { return std::make_unique<TDefaultFontDialog>(); });
    QTest::newRow("page title") << WindowMaker([] { return std::make_unique<TUserTitleForm>(); });
    QTest::newRow("SuperText properties")
        << WindowMaker([] { return std::make_unique<TSuperTextProperties>(); });
    QTest::newRow("texture browser")
        << WindowMaker([] { return std::make_unique<TSuperTextBrushImageBrowser>(); });
    QTest::newRow("symbol selector")
        << WindowMaker([] { return std::make_unique<TSuperTextGetSymbol>(); });
}

void TestAccessibility::everyControlHasAName()
{
    QFETCH(WindowMaker, make);
    const std::unique_ptr<QWidget> window = make();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QStringList nameless = NamelessControls(*window);
    QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QLatin1String("\n"))));
    window->close();
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
