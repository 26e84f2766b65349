#include "ui/app/singleinstanceguard.h"
#include "ui/app/tdefaultfontdialog.h"
#include "ui/app/tsettimedialog.h"

#include <QDir>
#include <QSignalSpy>

#include <QPushButton>
#include <QTest>

using namespace Dayloom;

class TestAppDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timePickerShowsStartTime();
    void timePickerTwelves_data();
    void timePickerTwelves();
    void timePickerCancelKeepsCallersTime();
    void secondInstanceHandsOverItsFiles();
    void defaultFontKeepsStyleAndColour();
};

void TestAppDialogs::timePickerShowsStartTime()
{
    TSetTimeDialog dialog;
    dialog.SetTime(QTime(8, 0));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Time As: 08:00 am"));
    QCOMPARE(dialog.HourCell(8)->text(), QStringLiteral("8"));
    QVERIFY(dialog.HourCell(8)->styleSheet().contains("yellow"));
    QVERIFY(dialog.MinuteCell(0)->styleSheet().contains("yellow"));
    QVERIFY(dialog.HourCell(20)->styleSheet().isEmpty());
    QCOMPARE(dialog.HourCell(8)->toolTip(),
             QStringLiteral("Click to set the hours portion of the time"));
}

void TestAppDialogs::timePickerTwelves_data()
{
    QTest::addColumn<int>("hourCell");
    QTest::addColumn<QString>("caption");
    QTest::newRow("PM twelve is noon") << 12 << "Set Time As: 12:45 pm";
    QTest::newRow("AM twelve is midnight") << 0 << "Set Time As: 12:45 am";
    QTest::newRow("eleven at night") << 23 << "Set Time As: 11:45 pm";
}

void TestAppDialogs::timePickerTwelves()
{
    QFETCH(int, hourCell);
    QFETCH(QString, caption);
    TSetTimeDialog dialog;
    dialog.SetTime(QTime(8, 0));
    dialog.show();
    QCOMPARE(dialog.HourCell(hourCell)->text(),
             QString::number(hourCell % 12 == 0 ? 12 : hourCell % 12));
    QTest::mouseClick(dialog.HourCell(hourCell), Qt::LeftButton);
    QTest::mouseClick(dialog.MinuteCell(45), Qt::LeftButton);
    QCOMPARE(dialog.windowTitle(), caption);
    QCOMPARE(dialog.Time(), QTime(hourCell, 45));
}

void TestAppDialogs::timePickerCancelKeepsCallersTime()
{
    TSetTimeDialog dialog;
    dialog.SetTime(QTime(9, 30));
    dialog.show();
    QTest::mouseClick(dialog.HourCell(14), Qt::LeftButton);
    dialog.findChild<QPushButton *>("CancelButton")->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestAppDialogs::secondInstanceHandsOverItsFiles()
{
    const QString key = QStringLiteral("dayloom-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstanceGuard first(key);
    QVERIFY(!first.HandOverTo({}));
    QVERIFY(first.IsListening());
    QSignalSpy requested(&first, &SingleInstanceGuard::activationRequested);
    SingleInstanceGuard second(key);
    QVERIFY(second.HandOverTo({QStringLiteral("May1998.DLF")}));
    QVERIFY(!second.IsListening());
    QVERIFY(requested.wait(5000));
    QCOMPARE(requested.first().first().toStringList(),
             QStringList{QDir::current().absoluteFilePath(QStringLiteral("May1998.DLF"))});
}

void TestAppDialogs::defaultFontKeepsStyleAndColour()
{
    TDefaultFontDialog dialog;
    FontSpec font(QStringLiteral("Liberation Serif"), 14, true, clRed);
    font.SetStrikeOut(true);
    dialog.SetFont(font);
    const FontSpec chosen = dialog.Font();
    QCOMPARE(chosen.Name(), QStringLiteral("Liberation Serif"));
    QCOMPARE(chosen.Size(), 14);
    QVERIFY(chosen.Bold());
    QVERIFY(chosen.StrikeOut());
    QCOMPARE(chosen.Color(), clRed);
    dialog.SetFont(FontSpec(QStringLiteral("Arial"), 10, false, 0x123456)); // not in the table
    QCOMPARE(dialog.Font().Color(), clBlack);
    // Arial is served by a look-alike face; leaving the choice alone keeps the name.
    QCOMPARE(dialog.Font().Name(), QStringLiteral("Arial"));
}

QTEST_MAIN(TestAppDialogs)
#include "tst_appdialogs.moc"
