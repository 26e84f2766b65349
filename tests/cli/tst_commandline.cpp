#include "core/calendar/calendarpage.h"
#include "core/objects/label/tgplabel.h"
#include "core/recurring/recurringpagefill.h"
#include "core/richtext/notedocument.h"
#include "core/surface/pagedocument.h"

#include <QDir>
#include <QElapsedTimer>
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

Run RunDayloom(const QStringList &arguments, const QString &program = DAYLOOM_EXECUTABLE,
               const QProcessEnvironment &extra = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(extra);
    // Month and weekday names in the expected texts are English.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Runs a poppler tool (pdfinfo, pdftotext) and returns its output; empty
// when it is missing or fails.
QString Poppler(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QString();
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfText(const QString &pdf, int page = 0)
{
    QStringList arguments;
    if (page > 0)
        arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    return Poppler("pdftotext", arguments << pdf << "-");
}

QString PdfInfo(const QString &pdf, const QString &key)
{
    for (const QString &line : Poppler("pdfinfo", {pdf}).split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed();
    return QString();
}

// A month-grid design for March 2027 (planners: from the 10th) with a note
// on the 10th and `labels` placed labels.
QString WriteDesign(const QTemporaryDir &dir, int labels = 0)
{
    using namespace Dayloom;
    PageDocument document;
    for (int i = 0; i < labels; ++i)
        document.PlaceObject(std::make_unique<TGPLabel>(), QRect(20, 20 + 40 * i, 80, 20));
    CalendarPage &page = document.Page();
    page.SetDefaultStyle();
    page.SetCalendarLayout(TCalendarLayout(0));
    page.CalculateLayout(true);
    page.SetMainCalYear(2027);
    page.SetMainCalMonth(3);
    page.SetMainCalDay(10);
    page.SetMonthName(3, QStringLiteral("March"));
    NoteDocument note;
    note.InsertText(QStringLiteral("Dentist at nine"));
    TWPRtfStorage store;
    note.StoreTo(store);
    page.SetCellNote(FirstCellOfDay(page, 10), store);
    const QString path = dir.filePath("design.dlf");
    return document.Save(path) ? path : QString();
}

bool WriteDates(const QString &path, const QList<QPair<QString, QString>> &entries)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const auto &[name, formula] : entries)
        file.write(QString("%1%2\r\n").arg(name, -120).arg(formula, -10).toLatin1());
    return true;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void versionAndHelpNeedNoDisplay();
    void windowWithoutDisplayExplains();
    void windowIsHandedToTheWindowProgram_data();
    void windowIsHandedToTheWindowProgram();
    void headlessProgramLoadsNoWidgets();
    void exportWritesPageSizedPng_data();
    void exportWritesPageSizedPng();
    void badArguments_data();
    void badArguments();
    void optionMistakesAreNamed_data();
    void optionMistakesAreNamed();
    void unreadableFileLeavesNoOutput();
    void unreadObjectsRefuseTheExportUnlessForced();
    void exportReadsCalendarFile();
    void exportDrawsShippedBorder();
    void listDates();
    void holidaySets();
    void listDatesToAFullDiskFails();
    void exportFillsFromRecurringDates();
    void exportDrawsOnlyThePageOfAHugeObject();
    void readsDataFolderWhenProgramFolderIsReadOnly();
    void exportPicksFormatByExtension_data();
    void exportPicksFormatByExtension();
    void pdfAndSvgKeepTextAsText();
    void pngAtDpi_data();
    void pngAtDpi();
    void monthsWriteOnePagePerMonth_data();
    void monthsWriteOnePagePerMonth();
    void monthsKeepNotesOnTheDesignsMonth();
    void monthsFillEveryMonth();
    void failedMonthsLeaveNoFiles();
    void printedNotesIgnoreScreenDpi_data();
    void printedNotesIgnoreScreenDpi();
};

void TestCommandLine::versionAndHelpNeedNoDisplay()
{
    const Run version = RunDayloom({"--version"});
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith("Dayloom "));
    const Run help = RunDayloom({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.contains("--export"));
    QVERIFY(help.out.contains("--list-dates"));
}

void TestCommandLine::windowWithoutDisplayExplains()
{
    const Run run = RunDayloom({});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains("no display"));
}

void TestCommandLine::windowIsHandedToTheWindowProgram_data()
{
    QTest::addColumn<QString>("windowProgram");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("beside the program") << "program/dayloom-window" << 0 << "ARGS a.DLF b.DLF";
    QTest::newRow("in libexec") << "libexec/dayloom/dayloom-window" << 0 << "ARGS a.DLF b.DLF";
    QTest::newRow("missing") << QString() << 1 << "'dayloom-window' was not found";
}

void TestCommandLine::windowIsHandedToTheWindowProgram()
{
    QFETCH(QString, windowProgram);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QDir root(dir.path());
    QVERIFY(root.mkpath("program") && root.mkpath("libexec/dayloom"));
    const QString program = root.filePath("program/dayloom");
    QVERIFY(QFile::copy(QStringLiteral(DAYLOOM_EXECUTABLE), program));
    if (!windowProgram.isEmpty()) {
        QFile script(root.filePath(windowProgram));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho ARGS \"$@\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    QProcessEnvironment env;
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const Run run = RunDayloom({"a.DLF", "b.DLF"}, program, env);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err).contains(expected), qPrintable(run.out + run.err));
}

void TestCommandLine::headlessProgramLoadsNoWidgets()
{
    // Loading the widget libraries made every export a third slower.
    const QString ldd = QStandardPaths::findExecutable("ldd");
    if (ldd.isEmpty())
        QSKIP("ldd is not installed");
    QProcess process;
    process.start(ldd, {QStringLiteral(DAYLOOM_EXECUTABLE)});
    QVERIFY(process.waitForFinished(60000));
    const QString libraries = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY(libraries.contains("libQt6Gui"));
    QVERIFY2(!libraries.contains("libQt6Widgets"), qPrintable(libraries));
    QVERIFY(!libraries.contains("libQt6PrintSupport"));
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
    const Run run = RunDayloom(QStringList{"--export", out} + options);
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
    QTest::newRow("dpi below 96") << QStringList{"--dpi", "95"};
    QTest::newRow("dpi above 600") << QStringList{"--dpi", "601"};
    QTest::newRow("dpi not a number") << QStringList{"--dpi", "high"};
    QTest::newRow("dpi with zoom") << QStringList{"--dpi", "150", "--zoom", "2"};
    QTest::newRow("months reversed") << QStringList{"--months", "2027-05:2027-01"};
    QTest::newRow("months month 13") << QStringList{"--months", "2027-01:2027-13"};
    QTest::newRow("months two-digit year") << QStringList{"--months", "27"};
    QTest::newRow("months over a century") << QStringList{"--months", "1900-01:2001-01"};
    QTest::newRow("months with month") << QStringList{"--months", "2027", "--month", "2027-02"};
}

void TestCommandLine::badArguments()
{
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const QString out = dir.filePath("page.png");
    const Run run = RunDayloom(QStringList{"--export", out} + arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY(!QFile::exists(out));
}

void TestCommandLine::optionMistakesAreNamed_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    // Unknown options used to be reported as "needs a value", and "--name=value"
    // was not understood.
    QTest::newRow("last option unknown")
        << QStringList{"--verbose"} << 2 << "unknown option --verbose";
    QTest::newRow("misspelt flag") << QStringList{"--fil"} << 2 << "unknown option --fil";
    QTest::newRow("value after equals")
        << QStringList{"--layout=0", "--paper=a4", "--zoom=0.5"} << 0 << "";
    QTest::newRow("bad value after equals") << QStringList{"--layout=99"} << 2 << "not '99'";
    // An empty --dates used to fill from the default file without a word.
    QTest::newRow("empty dates file")
        << QStringList{"--fill", "--dates="} << 2 << "--dates needs a file name";
    QTest::newRow("flag with a value") << QStringList{"--fill=yes"} << 2 << "--fill takes no value";
    QTest::newRow("force with a value")
        << QStringList{"--force=1"} << 2 << "--force takes no value";
}

void TestCommandLine::optionMistakesAreNamed()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString out = dir.filePath("page.png");
    const Run run = RunDayloom(QStringList{"--export", out} + arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QCOMPARE(QFile::exists(out), exitCode == 0);
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
    Run run = RunDayloom({"--export", out, damaged});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("Unable to open"));
    QVERIFY(!QFile::exists(out));
    run = RunDayloom({"--export", out, dir.filePath("missing.DLF")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("no longer exists"));
    QVERIFY(!QFile::exists(out));
}

// A design that had lost objects on reading used to be exported as if whole.
void TestCommandLine::unreadObjectsRefuseTheExportUnlessForced()
{
    QTemporaryDir dir;
    const QString path = WriteDesign(dir, 3);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype first = bytes.indexOf("TGPLabel");
    bytes[bytes.indexOf("TGPLabel", first + 1)] = 'X';
    bytes[bytes.lastIndexOf("TGPLabel")] = 'X';
    file.seek(0);
    file.write(bytes);
    file.close();
    const QString message =
        "2 objects of this design could not be read; saving will leave them out.";

    const QString out = dir.filePath("page.png");
    Run run = RunDayloom({"--export", out, path});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err.trimmed(), "dayloom: " + message);
    QVERIFY(!QFile::exists(out));

    run = RunDayloom({"--export", out, "--force", path});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.contains(message));
    QVERIFY(!QImage(out).isNull());
    QVERIFY(RunDayloom({"--help"}).out.contains("--force"));
}

void TestCommandLine::exportReadsCalendarFile()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("design.png");
    // A design the program's own writers made (design.dlf holds objects of
    // a class only the format tests know, which the program cannot read).
    const Run run = RunDayloom(
        {"--export", out, QStringLiteral(DAYLOOM_FORMATS_DATA) + "/corpus/real-month.dlf"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!QImage(out).isNull());
}

void TestCommandLine::exportDrawsShippedBorder()
{
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain.png");
    const QString holly = dir.filePath("holly.png");
    QCOMPARE(RunDayloom({"--export", plain}).exitCode, 0);
    QCOMPARE(RunDayloom({"--export", holly, "--border", "Holly"}).exitCode, 0);
    // The border lies in the margin, between the sheet's edge and the grid.
    const QImage a(plain), b(holly);
    QCOMPARE(a.size(), b.size());
    int inked = 0;
    for (int x = 0; x < a.width(); ++x)
        inked += a.pixel(x, 60) != b.pixel(x, 60);
    QVERIFY(inked > a.width() / 10);

    const QString missing = dir.filePath("missing.png");
    const Run run = RunDayloom({"--export", missing, "--border", "No Such Border"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("No Such Border"));
    QVERIFY(!QFile::exists(missing));
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
    Run run = RunDayloom({"--list-dates", "2025-11", "--dates", dates});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("27\tThanksgiving Day (4th Thu of November)\n"));
    run = RunDayloom({"--list-dates", "2025-11", "--dates", dir.filePath("none.dax")});
    QCOMPARE(run.exitCode, 1);
    run = RunDayloom({"--list-dates", "11-2025"});
    QCOMPARE(run.exitCode, 2);
}

void TestCommandLine::holidaySets()
{
    QTemporaryDir dir;
    QProcessEnvironment env;
    // The tests' own sets, one of them a file that does not parse.
    env.insert("DAYLOOM_HOLIDAYS_FOLDER", DAYLOOM_RECURRING_DATA "/holidays");
    env.insert("DAYLOOM_DATA_FOLDER", dir.path());
    Run run = RunDayloom({"--list-dates", "2027-01", "--holidays", "DE-BY", "--holidays=US"},
                         DAYLOOM_EXECUTABLE, env);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QStringLiteral("1\tNeujahr\n6\tHeilige Drei K\u00f6nige\n"));
    QVERIFY2(run.err.contains("XB.holidays: line 6"), qPrintable(run.err));

    run = RunDayloom({"--list-dates", "2027-05", "--holidays", "DE:observance"}, DAYLOOM_EXECUTABLE,
                     env);
    QCOMPARE(run.out, QStringLiteral("9\tMuttertag\n"));

    run = RunDayloom({"--list-dates", "2027-01", "--holidays", "DE-ZZ"}, DAYLOOM_EXECUTABLE, env);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("unknown holiday set DE-ZZ: DE has no region DE-ZZ"),
             qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    run = RunDayloom({"--export", dir.filePath("x.pdf"), "--fill", "--holidays", "QQ"},
                     DAYLOOM_EXECUTABLE, env);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("unknown holiday set QQ"), qPrintable(run.err));
    QVERIFY(!QFile::exists(dir.filePath("x.pdf")));
    run =
        RunDayloom({"--list-dates", "2027-01", "--holidays", "DE:feasts"}, DAYLOOM_EXECUTABLE, env);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(RunDayloom({"--help"}).out.contains("--holidays CODE"));
    // An export looked for the shipped sets before it knew the program's
    // folder, and so knew none of them.
    run = RunDayloom({"--export", dir.filePath("shipped.png"), "--month", "2026-12", "--fill",
                      "--holidays", "DE-BY", "--red-days"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    // The fill writes them into the page in its language.
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString pdf = dir.filePath("july.pdf");
    run = RunDayloom({"--export", pdf, "--layout", "0", "--month", "2027-07", "--fill",
                      "--holidays", "US", "--holidays", "DE", "--language", "deutsch"},
                     DAYLOOM_EXECUTABLE, env);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    const QString text = PdfText(pdf);
    // A narrow cell may wrap the name.
    QVERIFY2(text.count("Independence") == 2 && text.contains("(observed)"), qPrintable(text));
}

// Printing the dates to a full disk used to end with status 0.
void TestCommandLine::listDatesToAFullDiskFails()
{
    if (!QFile::exists("/dev/full"))
        QSKIP("no /dev/full here");
    QTemporaryDir dir;
    const QString dates = dir.filePath("dates.dax");
    QVERIFY(WriteDates(dates, {{"Work", "%23456"}}));
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(DAYLOOM_EXECUTABLE, {"--list-dates", "2025-11", "--dates", dates});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("cannot write"));
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
    QCOMPARE(RunDayloom(QStringList{"--export", plain} + page).exitCode, 0);
    QCOMPARE(
        RunDayloom(QStringList{"--export", filled, "--fill", "--dates", dates} + page).exitCode, 0);
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
        RunDayloom(QStringList{"--export", filled, "--fill", "--dates", dir.filePath("no.dax")});
    QCOMPARE(missing.exitCode, 1);
    QCOMPARE(RunDayloom({"--fill"}).exitCode, 2);
}

// A 1.4 KB file whose floating calendar claims 32767 x 32767 pixels used to
// take over a minute and 16 GB at zoom 2 (the object was drawn whole first).
void TestCommandLine::exportDrawsOnlyThePageOfAHugeObject()
{
    QTemporaryDir dir;
    const QString out = dir.filePath("page.png");
    QElapsedTimer timer;
    timer.start();
    const Run run = RunDayloom(
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
            return RunDayloom(arguments, program, env);
        // Root may write anywhere: run as an ordinary user to see a read-only folder.
        return RunDayloom(
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

void TestCommandLine::exportPicksFormatByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QString>("pageSize"); // pdfinfo's, for PDF files
    QTest::newRow("pdf letter landscape")
        << "page.pdf" << QStringList{} << QByteArray("%PDF") << "792 x 612 pts (letter)";
    QTest::newRow("PDF upper case, a4 portrait")
        << "PAGE.PDF" << QStringList{"--layout", "0", "--paper", "a4"} << QByteArray("%PDF")
        << "595 x 842 pts (A4)";
    QTest::newRow("svg") << "page.svg" << QStringList{} << QByteArray("<?xml") << QString();
    QTest::newRow("Png mixed case")
        << "page.Png" << QStringList{} << QByteArray("\x89PNG") << QString();
}

void TestCommandLine::exportPicksFormatByExtension()
{
    QFETCH(QString, name);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, start);
    QFETCH(QString, pageSize);
    QTemporaryDir dir;
    const QString out = dir.filePath(name);
    const Run run = RunDayloom(QStringList{"--export", out} + options);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(start.size()) == start);
    if (!pageSize.isEmpty() && !QStandardPaths::findExecutable("pdfinfo").isEmpty()) {
        QCOMPARE(PdfInfo(out, "Pages"), QStringLiteral("1"));
        QCOMPARE(PdfInfo(out, "Page size"), pageSize);
    }
    // Other extensions and PNG-only options are refused.
    QCOMPARE(RunDayloom({"--export", dir.filePath("page.jpg")}).exitCode, 2);
    QCOMPARE(RunDayloom({"--export", dir.filePath("page.pdf"), "--dpi", "300"}).exitCode, 2);
    QVERIFY(!QFile::exists(dir.filePath("page.jpg")));
}

void TestCommandLine::pdfAndSvgKeepTextAsText()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTemporaryDir dir;
    const QString design = WriteDesign(dir);
    QVERIFY(!design.isEmpty());
    const QString pdf = dir.filePath("design.pdf"), svg = dir.filePath("design.svg");
    QCOMPARE(RunDayloom({"--export", pdf, design}).exitCode, 0);
    const QString text = PdfText(pdf);
    QVERIFY2(text.contains("March"), qPrintable(text));
    QVERIFY2(text.contains("Dentist at nine"), qPrintable(text));
    QVERIFY(text.contains("31"));

    QCOMPARE(RunDayloom({"--export", svg, design}).exitCode, 0);
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray xml = file.readAll();
    QVERIFY(xml.contains("<text"));
    QVERIFY(xml.contains(">March 2027<"));
    QVERIFY(xml.contains("viewBox=\"0 0 816 1056\""));
}

void TestCommandLine::pngAtDpi_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size");
    QTest::newRow("96 dpi is the page size") << QStringList{"--dpi", "96"} << QSize(1056, 816);
    QTest::newRow("300 dpi letter landscape") << QStringList{"--dpi", "300"} << QSize(3300, 2550);
    QTest::newRow("150 dpi a4 portrait")
        << QStringList{"--dpi", "150", "--layout", "0", "--paper", "a4"} << QSize(1239, 1753);
}

void TestCommandLine::pngAtDpi()
{
    QFETCH(QStringList, options);
    QFETCH(QSize, size);
    QTemporaryDir dir;
    const QString out = dir.filePath("page.png");
    const Run run = RunDayloom(QStringList{"--export", out} + options);
    QCOMPARE(run.exitCode, 0);
    const QImage image(out);
    QCOMPARE(image.size(), size);
    QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2) != QColor());
}

void TestCommandLine::monthsWriteOnePagePerMonth_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("pngFiles");
    QTest::newRow("a whole year") << QStringList{"--months", "2027"} << 12
                                  << QStringList{
                                         "out-2027-01.png", "out-2027-02.png", "out-2027-03.png",
                                         "out-2027-04.png", "out-2027-05.png", "out-2027-06.png",
                                         "out-2027-07.png", "out-2027-08.png", "out-2027-09.png",
                                         "out-2027-10.png", "out-2027-11.png", "out-2027-12.png"};
    QTest::newRow("over a new year")
        << QStringList{"--months", "2026-11:2027-01", "--layout", "0"} << 3
        << QStringList{"out-2026-11.png", "out-2026-12.png", "out-2027-01.png"};
    QTest::newRow("week planner steps 7 days")
        << QStringList{"--months", "2027-01", "--layout", "18"} << 5
        << QStringList{"out-2027-01-01.png", "out-2027-01-08.png", "out-2027-01-15.png",
                       "out-2027-01-22.png", "out-2027-01-29.png"};
    QTest::newRow("two-week planner steps 14 days")
        << QStringList{"--months", "2027-02", "--layout", "19"} << 2
        << QStringList{"out-2027-02-01.png", "out-2027-02-15.png"};
    QTest::newRow("day planner steps one day")
        << QStringList{"--months", "2027-02", "--layout", "20"} << 28 << QStringList{};
}

void TestCommandLine::monthsWriteOnePagePerMonth()
{
    QFETCH(QStringList, options);
    QFETCH(int, pages);
    QFETCH(QStringList, pngFiles);
    QTemporaryDir dir;
    // A design of a fixed date, outside the spans: planners start on the 1st.
    options << WriteDesign(dir);
    const QString pdf = dir.filePath("out.pdf");
    QCOMPARE(RunDayloom(QStringList{"--export", pdf} + options).exitCode, 0);
    if (!QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QCOMPARE(PdfInfo(pdf, "Pages").toInt(), pages);
    if (pngFiles.isEmpty())
        return;
    QVERIFY(QDir().mkpath(dir.filePath("png")));
    const Run run = RunDayloom(QStringList{"--export", dir.filePath("png/out.png")} + options);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QDir(dir.filePath("png")).entryList(QDir::Files, QDir::Name), pngFiles);
    QVERIFY(!QImage(dir.filePath("png/" + pngFiles.first())).isNull());
}

void TestCommandLine::monthsKeepNotesOnTheDesignsMonth()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTemporaryDir dir;
    const QString design = WriteDesign(dir);
    const QString pdf = dir.filePath("year.pdf");
    QCOMPARE(RunDayloom({"--export", pdf, "--months", "2027", design}).exitCode, 0);
    QCOMPARE(PdfText(pdf).count("Dentist at nine"), 1);
    QVERIFY(PdfText(pdf, 3).contains("Dentist at nine"));
    QVERIFY(PdfText(pdf, 4).contains("April"));
}

void TestCommandLine::monthsFillEveryMonth()
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QTemporaryDir dir;
    const QString dates = dir.filePath("dates.dax");
    QVERIFY(WriteDates(
        dates, {{"New Year's Day", "@0101"}, {"Midsummer", "@0624"}, {"Christmas Day", "@1225"}}));
    const QString pdf = dir.filePath("year.pdf");
    const Run run = RunDayloom(
        {"--export", pdf, "--months", "2027", "--layout", "0", "--fill", "--dates", dates});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(PdfText(pdf, 1).contains("New Year's Day"));
    QVERIFY(PdfText(pdf, 6).contains("Midsummer"));
    QVERIFY(PdfText(pdf, 12).contains("Christmas Day"));
    QCOMPARE(PdfText(pdf).count("Christmas Day"), 1);

    // A week planner page from 29 December to 4 January used to get only
    // December's dates, so New Year's Day was on no page at all.
    const QString weeks = dir.filePath("weeks.pdf");
    QCOMPARE(RunDayloom({"--export", weeks, "--months", "2026-12:2027-01", "--layout", "18",
                         "--fill", "--dates", dates})
                 .exitCode,
             0);
    QCOMPARE(PdfText(weeks).count("New Year's Day"), 1);
    QCOMPARE(PdfText(weeks).count("Christmas Day"), 1);
}

void TestCommandLine::failedMonthsLeaveNoFiles()
{
    QTemporaryDir dir;
    // A missing dates file stops the PDF before anything is written.
    const QString pdf = dir.filePath("year.pdf");
    Run run = RunDayloom(
        {"--export", pdf, "--months", "2027", "--fill", "--dates", dir.filePath("none.dax")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!QFile::exists(pdf));
    // A month that cannot be written (a folder has its name) used to leave
    // the months before it behind.
    QVERIFY(QDir().mkpath(dir.filePath("out-2027-05.png")));
    run = RunDayloom({"--export", dir.filePath("out.png"), "--months", "2027"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("out-2027-05.png"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    // A PDF into a missing folder.
    run = RunDayloom({"--export", dir.filePath("missing/year.pdf"), "--months", "2027"});
    QCOMPARE(run.exitCode, 1);
}

void TestCommandLine::printedNotesIgnoreScreenDpi_data()
{
    QTest::addColumn<int>("dpi");
    QTest::newRow("120 dots per inch") << 120;
    QTest::newRow("144 dots per inch") << 144;
}

// Note pictures were played at the screen's resolution while notes are laid
// out at 96 per inch: on a 120 or 144 dots per inch desktop printed notes
// came out 25-50 % too large, and their pictures too small. The print path
// (PNG at a resolution, PDF) must give what it gives at 96.
void TestCommandLine::printedNotesIgnoreScreenDpi()
{
    QFETCH(int, dpi);
    QTemporaryDir dir;
    const QString design = DAYLOOM_FORMATS_DATA "/corpus-design/notes-border.dlf";
    const auto exportAt = [&](int screenDpi, const QString &name) {
        QProcessEnvironment env;
        // Qt heeds the font resolution only without its own scaling.
        env.insert(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"), QStringLiteral("0"));
        env.insert(QStringLiteral("QT_FONT_DPI"), QString::number(screenDpi));
        const Run png =
            RunDayloom({"--export", dir.filePath(name + ".png"), "--dpi", "150", design},
                       DAYLOOM_EXECUTABLE, env);
        const Run pdf =
            RunDayloom({"--export", dir.filePath(name + ".pdf"), design}, DAYLOOM_EXECUTABLE, env);
        return png.exitCode == 0 && pdf.exitCode == 0;
    };
    QVERIFY(exportAt(96, "at96"));
    QVERIFY(exportAt(dpi, "other"));
    const QImage reference(dir.filePath("at96.png"));
    const QImage other(dir.filePath("other.png"));
    QVERIFY(!reference.isNull());
    QCOMPARE(other.size(), reference.size());
    QVERIFY2(other == reference, "the page printed at another screen resolution differs");
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
        return;
    for (const QString &name : {QStringLiteral("at96"), QStringLiteral("other")})
        Poppler("pdftoppm", {"-r", "100", "-png", "-singlefile", dir.filePath(name + ".pdf"),
                             dir.filePath(name + "-pdf")});
    const QImage pdfReference(dir.filePath("at96-pdf.png"));
    QVERIFY(!pdfReference.isNull());
    QVERIFY2(QImage(dir.filePath("other-pdf.png")) == pdfReference,
             "the PDF made at another screen resolution differs");
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
