#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run Dayloom(const QStringList &arguments, const QString &program = DAYLOOM_EXECUTABLE,
            const QProcessEnvironment &extra = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(extra);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // Month and weekday names in the expected texts are English.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionAndHelpNeedNoDisplay();
    void windowWithoutDisplayExplains();
    void exportWritesPageSizedPng_data();
    void exportWritesPageSizedPng();
    void badArguments_data();
    void badArguments();
    void unreadableFileLeavesNoOutput();
    void exportReadsCalendarFile();
    void listDates();
    void exportFillsFromRecurringDates();
    void exportDrawsOnlyThePageOfAHugeObject();
    void readsDataFolderWhenProgramFolderIsReadOnly();
};

void TestCommandLine::versionAndHelpNeedNoDisplay()
{
    const Run version = Dayloom({"--version"});
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith("Dayloom "));
    const Run help = Dayloom({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("--export"));
    QVERIFY(help.out.contains("--list-dates"));
}

void TestCommandLine::windowWithoutDisplayExplains()
{
    const Run run = Dayloom({});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains("no display"));
}

void TestCommandLine::exportWritesPageSizedPng_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size");
    QTest::newRow("default style is letter landscape") << QStringList{} << QSize(1056, 816);
    QTest::newRow("layout 0 at 60 percent")
        << QStringList{"--layout", "0", "--zoom", "0.6"} << QSize(489, 633);
    QTest::newRow("a4 portrait planner")
        << QStringList{"--layout", "20", "--paper", "a4", "--day", "3"} << QSize(793, 1122);
    QTest::newRow("german monday weeks")
        << QStringList{"--language", "deutsch", "--week-start", "monday", "--month", "2026-06"}
        << QSize(1056, 816);
}

void TestCommandLine::exportWritesPageSizedPng()
{
    QFETCH(QStringList, options);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    const QString out = dir.filePath("page.png");
    const Run run = Dayloom(QStringList{"--export", out} + options);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    const QImage image(out);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
}

void TestCommandLine::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("zoom out of range") << QStringList{"--zoom", "9"};
    QTest::newRow("layout 22") << QStringList{"--layout", "22"};
    QTest::newRow("bad month") << QStringList{"--month", "1998-13"};
    QTest::newRow("bad paper") << QStringList{"--paper", "legal"};
    QTest::newRow("unknown language") << QStringList{"--language", "klingon"};
    QTest::newRow("missing value") << QStringList{"--layout"};
    QTest::newRow("unknown option") << QStringList{"--frobnicate", "1"};
    QTest::newRow("two files") << QStringList{"a.DLF", "b.DLF"};
    // A day the month lacks used to be drawn from the month's last day.
    QTest::newRow("day 31 of november") << QStringList{"--day", "31", "--month", "2026-11"};
    QTest::newRow("day 29 of a common february")
        << QStringList{"--month", "2026-02", "--layout", "20", "--day", "29"};
}

void TestCommandLine::badArguments()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const QString out = dir.filePath("page.png");
    const Run run = Dayloom(QStringList{"--export", out} + arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY(!QFile::exists(out));
}

void TestCommandLine::unreadableFileLeavesNoOutput()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("page.png");
    const QString damaged = dir.filePath("damaged.DLF");
    QFile file(damaged);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a calendar file at all");
    file.close();
    Run run = Dayloom({"--export", out, damaged});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("Unable to open"));
    QVERIFY(!QFile::exists(out));
    run = Dayloom({"--export", out, dir.filePath("missing.DLF")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("no longer exists"));
    QVERIFY(!QFile::exists(out));
}

void TestCommandLine::exportReadsCalendarFile()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("design.png");
    const Run run =
        Dayloom({"--export", out, QStringLiteral(DAYLOOM_FORMATS_DATA) + "/corpus/design.dlf"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!QImage(out).isNull());
}

void TestCommandLine::listDates()
{
    QTemporaryDir dir;
    const QString dates = dir.filePath("dates.dax");
    QFile file(dates);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString("%1@%2\r\n%3$%4\r\n")
                   .arg("Christmas Day", -120)
                   .arg("1225", -10)
                   .arg("Thanksgiving Day", -120)
                   .arg("3 4 11", -10)
                   .toLatin1());
    file.close();
    Run run = Dayloom({"--list-dates", "2025-11", "--dates", dates});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("27\tThanksgiving Day (4th Thu of November)\n"));
    run = Dayloom({"--list-dates", "2025-11", "--dates", dir.filePath("none.dax")});
    QCOMPARE(run.exitCode, 1);
    run = Dayloom({"--list-dates", "11-2025"});
    QCOMPARE(run.exitCode, 2);
}

void TestCommandLine::exportFillsFromRecurringDates()
{
    QTemporaryDir dir;
    const QString dates = dir.filePath("dates.dax");
    QFile file(dates);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString("%1@%2\r\n").arg("Christmas Day", -120).arg("1225", -10).toLatin1());
    file.close();
    const QStringList page{"--layout", "0", "--month", "2025-12"};
    const QString plain = dir.filePath("plain.png");
    const QString filled = dir.filePath("filled.png");
    QCOMPARE(Dayloom(QStringList{"--export", plain} + page).exitCode, 0);
    QCOMPARE(Dayloom(QStringList{"--export", filled, "--fill", "--dates", dates} + page).exitCode,
             0);
    // Only the cell of the 25th (row 3, column 4 with Sunday-first weeks) differs.
    const QImage a(plain), b(filled);
    QCOMPARE(a.size(), b.size());
    QRect changed;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    QVERIFY(!changed.isEmpty());
    QVERIFY(changed.left() > a.width() / 2 && changed.right() < a.width() * 3 / 4);

    const Run missing =
        Dayloom(QStringList{"--export", filled, "--fill", "--dates", dir.filePath("no.dax")});
    QCOMPARE(missing.exitCode, 1);
    QCOMPARE(Dayloom({"--fill"}).exitCode, 2);
}

// A 1.4 KB file whose floating calendar claims 32767 x 32767 pixels used to
// take over a minute and 16 GB at zoom 2 (the object was drawn whole first).
void TestCommandLine::exportDrawsOnlyThePageOfAHugeObject()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("page.png");
    QElapsedTimer timer;
    timer.start();
    const Run run = Dayloom(
        {"--export", out, "--zoom", "2", QStringLiteral(DAYLOOM_TEST_DATA) + "/huge-object.DLF"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    const QImage image(out);
    QCOMPARE(image.size(), QSize(2112, 1632));
    // The calendar's top left corner covers the page: its border is drawn.
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
}

void TestCommandLine::readsDataFolderWhenProgramFolderIsReadOnly()
{
    // --list-dates and --fill used to read DLRECUR.DAX and DL.ini only beside the program,
    // though the window keeps them in the user's data folder when that one is read-only.
    QTemporaryDir dir;
    QDir root(dir.path());
    QVERIFY(root.mkpath("program") && root.mkpath("home") && root.mkpath("data/Dayloom"));
    const QString program = root.filePath("program/dayloom");
    QVERIFY(QFile::copy(QStringLiteral(DAYLOOM_EXECUTABLE), program));
    const auto writeDates = [](const QString &path, const QString &name, const QString &formula) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) &&
               file.write(QString("%1%2\r\n").arg(name, -120).arg(formula, -10).toUtf8()) > 0;
    };
    QVERIFY(writeDates(root.filePath("program/DLRECUR.DAX"), "Beside the program", "@0105"));
    QVERIFY(writeDates(root.filePath("data/Dayloom/DLRECUR.DAX"), "In the data folder", "@1106"));

    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    for (const QString &folder :
         {root.path(), root.filePath("home"), root.filePath("data"), root.filePath("data/Dayloom")})
        QFile::setPermissions(folder, readOnly | QFile::WriteOwner);
    QFile::setPermissions(root.filePath("program"), readOnly);
    const auto restore = qScopeGuard(
        [&] { QFile::setPermissions(root.filePath("program"), readOnly | QFile::WriteOwner); });

    QVERIFY(root.mkpath("out"));
    QFile::setPermissions(root.filePath("out"),
                          readOnly | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther);
    QProcessEnvironment env;
    env.insert("HOME", root.filePath("home"));
    env.insert("XDG_DATA_HOME", root.filePath("data"));
    env.insert("XDG_CONFIG_HOME", root.filePath("home"));
    const auto runProgram = [&](const QStringList &arguments) {
        if (geteuid() != 0)
            return Dayloom(arguments, program, env);
        // Root may write anywhere: run as an ordinary user to see a read-only folder.
        return Dayloom(
            QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "--", program} +
                arguments,
            QStandardPaths::findExecutable("setpriv"), env);
    };
    if (geteuid() == 0 && QStandardPaths::findExecutable("setpriv").isEmpty())
        QSKIP("setpriv is needed to run the program as an ordinary user");

    const Run run = runProgram({"--list-dates", "2026-11"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.out.startsWith("6\tIn the data folder"), qPrintable(run.out));
    QCOMPARE(run.out.count('\n'), 1);

    // The fill writes the data folder's entry into the 6th.
    const QStringList page{"--layout", "0", "--month", "2026-11"};
    const QString plain = root.filePath("out/plain.png"), filled = root.filePath("out/filled.png");
    QCOMPARE(runProgram(QStringList{"--export", plain} + page).exitCode, 0);
    QCOMPARE(runProgram(QStringList{"--export", filled, "--fill"} + page).exitCode, 0);
    QVERIFY(!QImage(plain).isNull());
    QVERIFY(QImage(plain) != QImage(filled));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
