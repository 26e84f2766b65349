#include "ui/app/singleinstanceguard.h"
#include "ui/app/tdefaultfontdialog.h"
#include "ui/app/tsettimedialog.h"
#include "ui/app/tusertitleform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <QPushButton>
#include <QTest>

#include <unistd.h>

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
    void defaultFontEscapeCancels();
    void guardIsPrivateToTheUser();
    void userTitleTakesLongText();
};

namespace {

// The colour in the middle of the left edge of a cell as it is painted.
QColor FaceOf(QWidget *cell)
{
    return cell->grab().toImage().pixelColor(1, cell->height() / 2);
}

} // namespace

void TestAppDialogs::timePickerShowsStartTime()
{
    // The chosen cells were never yellow: flat buttons ignored the style sheet.
    TSetTimeDialog dialog;
    dialog.SetTime(QTime(8, 0));
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Time As: 08:00 am"));
    QCOMPARE(dialog.HourCell(8)->text(), QStringLiteral("8"));
    const QColor face = dialog.palette().color(QPalette::Button);
    QCOMPARE(FaceOf(dialog.HourCell(8)), QColor(Qt::yellow));
    QCOMPARE(FaceOf(dialog.MinuteCell(0)), QColor(Qt::yellow));
    QCOMPARE(FaceOf(dialog.HourCell(20)), face);
    QCOMPARE(FaceOf(dialog.MinuteCell(30)), face);
    QTest::mouseClick(dialog.HourCell(14), Qt::LeftButton);
    QTest::mouseClick(dialog.MinuteCell(30), Qt::LeftButton);
    QCOMPARE(FaceOf(dialog.HourCell(14)), QColor(Qt::yellow));
    QCOMPARE(FaceOf(dialog.MinuteCell(30)), QColor(Qt::yellow));
    QCOMPARE(FaceOf(dialog.HourCell(8)), face);
    QCOMPARE(FaceOf(dialog.MinuteCell(0)), face);
    // A fixed border.
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
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

void TestAppDialogs::defaultFontEscapeCancels()
{
    // Escape used to leave an empty dialog with only the colour row, and a
    // stored "Arial" was shown as the look-alike "Sans Serif".
    TDefaultFontDialog dialog;
    dialog.SetFont(FontSpec(QStringLiteral("Arial"), 12, false, clBlue));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.FaceBox()->currentText(), QStringLiteral("Arial"));
    QTest::keyClick(dialog.SizeBox(), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    // Choosing another face and style from the keyboard.
    dialog.show();
    const int serif = dialog.FaceBox()->findText(QStringLiteral("Liberation Serif"));
    if (serif >= 0)
        dialog.FaceBox()->setCurrentIndex(serif);
    QTest::keyClick(dialog.BoldBox(), Qt::Key_Space);
    const FontSpec chosen = dialog.Font();
    QCOMPARE(chosen.Name(),
             serif >= 0 ? QStringLiteral("Liberation Serif") : QStringLiteral("Arial"));
    QVERIFY(chosen.Bold());
    QCOMPARE(chosen.Size(), 12);
    QCOMPARE(chosen.Color(), clBlue);
}

void TestAppDialogs::guardIsPrivateToTheUser()
{
    // The guard was keyed on the home folder's name with its socket in /tmp.
    const QString key = SingleInstanceGuard::DefaultKey();
    QVERIFY(key.startsWith(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)));
    QVERIFY(QFileInfo(key).fileName().contains(QString::number(::getuid())));
    QTemporaryDir folder;
    const QString socket = folder.filePath(QStringLiteral("dayloom-guard"));
    SingleInstanceGuard guard(socket);
    QVERIFY(!guard.HandOverTo({}));
    QVERIFY(guard.IsListening());
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther;
    QVERIFY(QFileInfo::exists(socket));
    QCOMPARE(QFile::permissions(socket) & others, QFileDevice::Permissions());

    // A socket path that another user took is neither used nor removed.
    const QString foreign = folder.filePath(QStringLiteral("dayloom-foreign"));
    QFile planted(foreign);
    QVERIFY(planted.open(QIODevice::WriteOnly));
    planted.close();
    if (::chown(QFile::encodeName(foreign).constData(), 65534, 65534) != 0)
        QSKIP("changing a file's owner needs root");
    SingleInstanceGuard intruded(foreign);
    QVERIFY(!intruded.HandOverTo({QStringLiteral("Private.DLF")}));
    QVERIFY(!intruded.IsListening());
    QVERIFY(QFileInfo(foreign).isFile());
}

void TestAppDialogs::userTitleTakesLongText()
{
    // Titles used to be cut at 255 characters.
    TUserTitleForm form;
    form.show();
    const QString title = QString(1200, QLatin1Char('x'));
    QTest::keyClicks(form.TitleText(), title);
    QCOMPARE(form.Title(), title);
}

QTEST_MAIN(TestAppDialogs)
#include "tst_appdialogs.moc"
