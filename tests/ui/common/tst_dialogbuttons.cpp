// Every dialog with an Ok/Cancel/Help row builds it through OkCancelHelp:
// the row reads the same everywhere, keeping each dialog's own captions
// and extra buttons.
#include "core/io/appfolders.h"
#include "core/objects/label/tgplabel.h"
#include "ui/flatcalendar/tflatcalendareditor.h"
#include "ui/image/tgimagebrowser.h"
#include "ui/label/tgetlabeltext.h"
#include "ui/label/tgfont3deffects.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/richlabel/trichtextlabeleditor.h"
#include "ui/supertext/tsupertextbrushimagebrowser.h"
#include "ui/supertext/tsupertextproperties.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Dayloom;

using DialogMaker = std::function<std::unique_ptr<QDialog>()>;
Q_DECLARE_METATYPE(DialogMaker)

class TestDialogButtons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void okCancelHelpRow_data();
    void okCancelHelpRow();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestDialogButtons::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_folder->path());
}

void TestDialogButtons::cleanup()
{
    SetProgramFolder(QString());
    m_folder.reset();
}

void TestDialogButtons::okCancelHelpRow_data()
{
    QTest::addColumn<DialogMaker>("make");
    QTest::addColumn<QStringList>("captions"); // the row's push buttons, left to right
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("okIsDefault");
    const QStringList plain{"Ok", "Cancel", "Help"};
    const QStringList names{"OkButton", "CancelButton", "HelpButton"};
    QTest::newRow("floating calendar properties")
        << DialogMaker([] { return std::make_unique<TFlatCalendarEditor>(); }) << plain << names
        << true;
    QTest::newRow("SuperText properties")
        << DialogMaker([] { return std::make_unique<TSuperTextProperties>(); }) << plain << names
        << true;
    QTest::newRow("texture browser")
        << DialogMaker([] { return std::make_unique<TSuperTextBrushImageBrowser>(); }) << plain
        << names << true;
    QTest::newRow("clip art browser")
        << DialogMaker([] { return std::make_unique<TGImageBrowser>(); }) << plain << names << true;
    // Return belongs to the text being edited.
    QTest::newRow("rich text editor")
        << DialogMaker([] { return std::make_unique<TRichTextLabelEditor>(); }) << plain << names
        << false;
    QTest::newRow("label text") << DialogMaker([] { return std::make_unique<TGetLabelText>(); })
                                << plain << names << true;
    QTest::newRow("label 3D effects")
        << DialogMaker([] {
               const TGPLabel label; // the dialog takes a copy of its look
               return std::make_unique<TGFont3DEffects>(label);
           })
        << QStringList{"?", "Ok", "Cancel", "Help"}
        << QStringList{"WhatsThisButton", "OkButton", "CancelButton", "HelpButton"} << true;
    QTest::newRow("calendar properties")
        << DialogMaker([] { return std::make_unique<TCalendarProperties>(nullptr); })
        << QStringList{"&Ok",
                       "&Save As Style Sheet",
                       "&Load Style Sheet",
                       "&Default Style",
                       "&Cancel",
                       "&Help"}
        << QStringList{"OkButton",      "SaveStyleButton", "LoadStyleButton",
                       "Defaultbutton", "CancelButton",    "HelpButton"}
        << true;
}

void TestDialogButtons::okCancelHelpRow()
{
    QFETCH(DialogMaker, make);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, names);
    QFETCH(bool, okIsDefault);
    const std::unique_ptr<QDialog> dialog = make();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("OkButton"));
    auto *cancel = dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"));
    auto *help = dialog->findChild<QPushButton *>(QStringLiteral("HelpButton"));
    QVERIFY(ok && cancel && help);

    // The push buttons on Ok's line, left to right.
    const auto at = [&dialog](const QWidget *widget) {
        return widget->mapTo(dialog.get(), QPoint());
    };
    QList<QPushButton *> row;
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        if (button->isVisible() && at(button).y() == at(ok).y())
            row.append(button);
    }
    std::sort(row.begin(), row.end(),
              [&at](const QWidget *a, const QWidget *b) { return at(a).x() < at(b).x(); });
    QStringList rowCaptions;
    QStringList rowNames;
    for (const QPushButton *button : std::as_const(row)) {
        rowCaptions.append(button->text());
        rowNames.append(button->objectName());
    }
    QCOMPARE(rowCaptions, captions);
    QCOMPARE(rowNames, names);

    QCOMPARE(ok->isDefault(), okIsDefault);
    // Return on a focused Help used to open the manual in the texture browser
    // and the calendar properties, unlike in every other dialog.
    QVERIFY(!help->autoDefault());
    QSignalSpy rejected(dialog.get(), &QDialog::rejected);
    cancel->click();
    QCOMPARE(rejected.count(), 1);
}

QTEST_MAIN(TestDialogButtons)
#include "tst_dialogbuttons.moc"
