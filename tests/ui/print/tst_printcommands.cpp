#include "core/calendar/calendarpage.h"
#include "core/io/appfolders.h"
#include "core/surface/pagedocument.h"
#include "ui/app/tcalendarmain.h"
#include "ui/print/printjob.h"
#include "ui/print/tprintrangedialog.h"
#include "ui/properties/tcalendarproperties.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Dayloom;

namespace {

// File New's properties dialog, confirmed at once.
int AcceptProperties(TCalendarProperties &dialog)
{
    dialog.show();
    dialog.accept();
    return QDialog::Accepted;
}

// Answers every message box that opens (Yes, No or OK as given) and keeps
// its text; takes the print range dialog's choice as it opens; other modal
// dialogs are recorded by caption and handed to
// `onDialog`, then closed unless `onDialog` answers them itself (true).
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok) : m_answer(answer)
    {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box) {
                // The range asked before printing keeps its first choice,
                // this page.
                if (auto *range = qobject_cast<TPrintRangeDialog *>(modal)) {
                    range->accept();
                    return;
                }
                if (auto *dialog = qobject_cast<QDialog *>(modal)) {
                    dialogs << dialog->windowTitle();
                    if (!onDialog || !onDialog(dialog))
                        dialog->reject();
                }
                return;
            }
            texts << box->text();
            captions << box->windowTitle();
            QAbstractButton *button = box->button(m_answer);
            if (!button)
                button = box->button(QMessageBox::Ok);
            if (button)
                button->click();
            else
                box->reject();
        });
        m_timer.start();
    }

    void SetAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }

    QStringList texts;
    QStringList captions;
    QStringList dialogs;
    std::function<bool(QDialog *)> onDialog;

private:
    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};

const QString Sent = QStringLiteral("Print job completed and sent to printer!");

int PdfPageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.readAll().count("/Type /Page\n");
}

// The first page's MediaBox in points, as the PDF names its paper.
QSizeF PdfPaperPoints(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QSizeF();
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*0 0 ([\\d.]+) ([\\d.]+)\\s*\\]"))
            .match(QString::fromLatin1(file.readAll()));
    return box.hasMatch() ? QSizeF(box.captured(1).toDouble(), box.captured(2).toDouble())
                          : QSizeF();
}

QString RunTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Opens the File menu with the keyboard and picks the item by its
// accelerator, as a user does.
void PickFileMenuItem(TCalendarMain &window, const char *name)
{
    auto *action = window.findChild<QAction *>(QString::fromLatin1(name));
    QVERIFY(action);
    auto *menu = window.findChild<QMenu *>(QStringLiteral("FileMenu"));
    QVERIFY(menu);
    // The window takes the keyboard back from the last message box first.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(menu->isVisible());
    menu->setActiveAction(action);
    QTest::keyClick(menu, Qt::Key_Return);
}

} // namespace

class TestPrintCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void marginWarning_data();
    void marginWarning();
    void marginWarningAnsweredYesPrints();
    void copies_data();
    void copies();
    void zoomAndModifiedSurvivePrinting_data();
    void zoomAndModifiedSurvivePrinting();
    void noUsablePrinterAtStart_data();
    void noUsablePrinterAtStart();
    void printsOnTheDesignsPaper_data();
    void printsOnTheDesignsPaper();
    void missingPaperIsAskedAbout_data();
    void missingPaperIsAskedAbout();
    void previewPrintRunsThePrintCommand_data();
    void previewPrintRunsThePrintCommand();
    void printSetupConfirmsWithOk();
    void failedJobIsNotReportedAsSent_data();
    void failedJobIsNotReportedAsSent();
    void vanishedPrinterIsReported();
    void cancelPrintsNothing();
    void printSetupKeepsTheChoices();
    void exportWritesTheFile_data();
    void exportWritesTheFile();
    void exportToUnwritableFolderFails();
    void previewShowsThePage_data();
    void previewShowsThePage();
    void rangeOfMonthsPrintsAPageEach();
    void previewShowsEveryPageOfTheRange();
    void exportRangeAsMonthsDoes_data();
    void exportRangeAsMonthsDoes();
    void unreachableCupsStartsWithoutPrinting();
    void printsThroughCups();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TCalendarMain> m_window;
    QMarginsF m_unprintable;
    int m_maximumCopies = 99;
    int m_dialogCopies = 1;
    QString m_outputFile;
    PrintRange m_range;
    QStringList m_rangeCaptions;
    bool m_dialogAnswer = true;
    int m_dialogRuns = 0;
    QPageSize m_dialogPaper;

    // A window whose printer services are all answered here; printing goes
    // to m_outputFile as PDF.
    TCalendarMain &NewWindow(bool injected = true);
    void InjectHooks(PrintServices &hooks);
};

void TestPrintCommands::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    SetProgramFolder(m_folder->path());
    m_unprintable = QMarginsF();
    m_maximumCopies = 99;
    m_dialogCopies = 1;
    m_dialogAnswer = true;
    m_dialogRuns = 0;
    m_dialogPaper = QPageSize();
    m_outputFile = m_folder->filePath(QStringLiteral("printed.pdf"));
    m_range = PrintRange();
    m_rangeCaptions.clear();
}

void TestPrintCommands::cleanup()
{
    if (m_window) {
        m_window->SetModified(false);
        m_window->close();
    }
    m_window.reset();
    SetProgramFolder(QString());
}

TCalendarMain &TestPrintCommands::NewWindow(bool injected)
{
    m_window = std::make_unique<TCalendarMain>();
    if (injected)
        InjectHooks(m_window->PrintHooks());
    // The range asked before printing and exporting: as the test chose.
    m_window->PrintHooks().rangeDialog = [this](QWidget *, const QString &caption,
                                                const PrintRange &, const QDate &) {
        m_rangeCaptions.append(caption);
        return m_range;
    };
    m_window->Start();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("window not exposed");
    m_window->SetPropertiesDialogRunner(AcceptProperties);
    m_window->New();
    m_window->SetModified(false);
    return *m_window;
}

void TestPrintCommands::InjectHooks(PrintServices &hooks)
{
    hooks.installedPrinters = [] { return QStringList{"Test printer"}; };
    hooks.defaultPrinter = [] { return QStringLiteral("Test printer"); };
    hooks.printerDialog = [this](QPrinter &printer, QWidget *, const QString &, const QString &) {
        ++m_dialogRuns;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_outputFile);
        printer.setCopyCount(m_dialogCopies);
        // The paper the chosen printer had before.
        if (m_dialogPaper.isValid())
            printer.setPageSize(m_dialogPaper);
        return m_dialogAnswer;
    };
    hooks.maximumCopies = [this](const QPrinter &) { return m_maximumCopies; };
    hooks.unprintableMargins = [this](const QPrinter &) { return m_unprintable; };
}

void TestPrintCommands::marginWarning_data()
{
    QTest::addColumn<int>("sides"); // bits: left, top, right, bottom too small
    const char *names[] = {"left", "top", "right", "bottom"};
    for (int sides = 0; sides < 16; ++sides) {
        QStringList name;
        for (int side = 0; side < 4; ++side) {
            if (sides & (1 << side))
                name << QString::fromLatin1(names[side]);
        }
        const QByteArray row = name.isEmpty() ? QByteArray("all fit") : name.join('+').toLatin1();
        QTest::newRow(row.constData()) << sides;
    }
}

void TestPrintCommands::marginWarning()
{
    QFETCH(int, sides);
    TCalendarMain &window = NewWindow();
    CalendarPage &page = window.CalendarPanel()->Page();
    page.SetLeftMarginInch(0.25f);
    page.SetTopMarginInch(0.3f);
    page.SetRightMarginInch(0.25f);
    page.SetBottomMarginInch(0.5f);
    // Equal margins never warn; one hundredth more does (0.309 truncates to 0.30).
    m_unprintable = QMarginsF(sides & 1 ? 0.26 : 0.25, sides & 2 ? 0.31 : 0.309,
                              sides & 4 ? 0.3 : 0.25, sides & 8 ? 0.51 : 0.5);
    ModalAnswerer answerer(QMessageBox::No);
    PickFileMenuItem(window, "mnuPrintCalendar");
    QString expected;
    const char *names[] = {"Left", "Top", "Right", "Bottom"};
    for (int side = 0; side < 4; ++side) {
        if (sides & (1 << side))
            expected += QStringLiteral("\n%1 Margin is possibly outside of Printer printable area")
                            .arg(QLatin1String(names[side]));
    }
    if (sides == 0) {
        QCOMPARE(answerer.texts, QStringList{Sent});
        QCOMPARE(PdfPageCount(m_outputFile), 1);
    } else {
        // No ends the command: nothing printed, nothing more said.
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("Margin Warning:\n") + expected +
                                             QStringLiteral("\n\nPrint anyways?")});
        QCOMPARE(answerer.captions, QStringList{QStringLiteral("Margin Warning")});
        QVERIFY(!QFile::exists(m_outputFile));
        QVERIFY(!window.PrintDone());
    }
    if (sides == 2) // the question's own layout, as the user reads it
        QCOMPARE(answerer.texts.value(0),
                 QStringLiteral("Margin Warning:\n\nTop Margin is possibly outside of Printer "
                                "printable area\n\nPrint anyways?"));
}

void TestPrintCommands::marginWarningAnsweredYesPrints()
{
    TCalendarMain &window = NewWindow();
    m_unprintable = QMarginsF(5, 5, 5, 5);
    ModalAnswerer answerer(QMessageBox::Yes);
    window.findChild<QToolButton *>(QStringLiteral("Printbutton"))->click();
    QCOMPARE(answerer.texts.size(), 2);
    QCOMPARE(answerer.texts.last(), Sent);
    QCOMPARE(PdfPageCount(m_outputFile), 1);
}

void TestPrintCommands::copies_data()
{
    QTest::addColumn<int>("driverCopies");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("jobCopies");
    QTest::addColumn<int>("drawn");
    QTest::newRow("driver makes 99, three chosen") << 99 << 3 << 3 << 1;
    QTest::newRow("driver makes 1, three chosen") << 1 << 3 << 1 << 3;
    QTest::newRow("driver makes 3, three chosen") << 3 << 3 << 3 << 1;
    QTest::newRow("zero chosen counts as one") << 1 << 0 << 1 << 1;
}

void TestPrintCommands::copies()
{
    QFETCH(int, driverCopies);
    QFETCH(int, chosen);
    QFETCH(int, jobCopies);
    QFETCH(int, drawn);
    TCalendarMain &window = NewWindow();
    m_maximumCopies = driverCopies;
    m_dialogCopies = chosen;
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuPrintCalendar");
    QCOMPARE(answerer.texts, QStringList{Sent});
    QCOMPARE(window.Printer().copyCount(), jobCopies);
    QCOMPARE(window.CopiesToPrint(), drawn);
    // The PDF device makes no copies itself: its pages are the drawn sheets.
    QCOMPARE(PdfPageCount(m_outputFile), drawn);
}

void TestPrintCommands::zoomAndModifiedSurvivePrinting_data()
{
    QTest::addColumn<bool>("modified");
    QTest::newRow("unmodified design") << false;
    QTest::newRow("modified design") << true;
}

void TestPrintCommands::zoomAndModifiedSurvivePrinting()
{
    // Used to fail: printing cleared Modified, so unsaved changes went
    // unnoticed at the next close.
    QFETCH(bool, modified);
    TCalendarMain &window = NewWindow();
    TCalendarPanel32 *panel = window.CalendarPanel();
    panel->SetZoom(0.601f);
    const QSize shown = panel->size();
    window.SetModified(modified);
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuPrintCalendar");
    QCOMPARE(answerer.texts, QStringList{Sent});
    QCOMPARE(panel->Document().Zoom(), 0.601f);
    QCOMPARE(panel->size(), shown);
    QCOMPARE(window.Modified(), modified);
    QVERIFY(!panel->PaintSuspended());
    QVERIFY(!panel->Printing());

    // The same sheet as at 100 %.
    const QByteArray at60 = RunTool(QStringLiteral("pdftotext"), {m_outputFile, "-"}).toUtf8();
    panel->SetZoom(1.001f);
    PickFileMenuItem(window, "mnuPrintCalendar");
    const QByteArray at100 = RunTool(QStringLiteral("pdftotext"), {m_outputFile, "-"}).toUtf8();
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QVERIFY(!at60.isEmpty());
        QCOMPARE(at60, at100);
    }
}

void TestPrintCommands::noUsablePrinterAtStart_data()
{
    QTest::addColumn<QStringList>("printers");
    QTest::addColumn<QString>("defaultPrinter");
    QTest::addColumn<QString>("status");
    QTest::newRow("no printers") << QStringList() << QString()
                                 << QStringLiteral("There are no installed printers");
    QTest::newRow("no default printer") << QStringList{"Laser"} << QString()
                                        << QStringLiteral("There is no default printer selected");
}

void TestPrintCommands::noUsablePrinterAtStart()
{
    // Used to fail: a modal box stopped every start and Print was disabled.
    QFETCH(QStringList, printers);
    QFETCH(QString, defaultPrinter);
    QFETCH(QString, status);
    ModalAnswerer answerer;
    m_window = std::make_unique<TCalendarMain>();
    InjectHooks(m_window->PrintHooks());
    m_window->PrintHooks().installedPrinters = [printers] { return printers; };
    m_window->PrintHooks().defaultPrinter = [defaultPrinter] { return defaultPrinter; };
    m_window->Start();
    QVERIFY2(answerer.texts.isEmpty(), qPrintable(answerer.texts.join('|')));
    auto *label = m_window->findChild<QLabel *>(QStringLiteral("PrinterStatus"));
    QVERIFY(label);
    QVERIFY2(label->text().startsWith(status), qPrintable(label->text()));
    QTRY_VERIFY(label->isVisible());
    m_window->SetPropertiesDialogRunner(AcceptProperties);
    m_window->New();
    QVERIFY(m_window->findChild<QAction *>("mnuPrintCalendar")->isEnabled());
    QVERIFY(m_window->findChild<QToolButton *>("Printbutton")->isEnabled());
    QVERIFY(m_window->findChild<QAction *>("mnuPrintSetup")->isEnabled());
    // The print dialog still prints to a PDF file.
    PickFileMenuItem(*m_window, "mnuPrintCalendar");
    QCOMPARE(answerer.texts, QStringList{Sent});
    QCOMPARE(PdfPageCount(m_outputFile), 1);
}

void TestPrintCommands::printsOnTheDesignsPaper_data()
{
    QTest::addColumn<int>("paper"); // the design's: 0 Letter, 1 A4
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QPageSize>("printerPaper");
    QTest::addColumn<QSizeF>("points");
    const QPageSize a4(QPageSize::A4);
    const QPageSize letter(QPageSize::Letter);
    QTest::newRow("Letter design, A4 printer") << 0 << false << a4 << QSizeF(612, 792);
    QTest::newRow("Letter landscape, A4 printer") << 0 << true << a4 << QSizeF(792, 612);
    QTest::newRow("A4 design, Letter printer") << 1 << false << letter << QSizeF(595, 842);
    QTest::newRow("A4 landscape, Letter printer") << 1 << true << letter << QSizeF(842, 595);
}

void TestPrintCommands::printsOnTheDesignsPaper()
{
    // Used to fail: the job went out on the printer's paper, the page in its
    // top-left corner.
    QFETCH(int, paper);
    QFETCH(bool, landscape);
    QFETCH(QPageSize, printerPaper);
    QFETCH(QSizeF, points);
    TCalendarMain &window = NewWindow();
    CalendarPage &page = window.CalendarPanel()->Page();
    page.SetPaperSize(paper);
    page.SetCalendarLayout(landscape ? LOFullCalendarLS : loFullCalendar);
    window.Printer().setPageSize(printerPaper);
    m_dialogPaper = printerPaper;
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuPrintCalendar");
    QCOMPARE(answerer.texts, QStringList{Sent});
    const QSizeF printed = PdfPaperPoints(m_outputFile);
    QVERIFY2(qAbs(printed.width() - points.width()) < 1 &&
                 qAbs(printed.height() - points.height()) < 1,
             qPrintable(QStringLiteral("%1 x %2").arg(printed.width()).arg(printed.height())));
}

void TestPrintCommands::missingPaperIsAskedAbout_data()
{
    QTest::addColumn<bool>("goOn");
    QTest::newRow("cancelled") << false;
    QTest::newRow("printed anyway") << true;
}

void TestPrintCommands::missingPaperIsAskedAbout()
{
    // Used to fail: a printer without the design's paper printed on its own.
    QFETCH(bool, goOn);
    TCalendarMain &window = NewWindow();
    window.CalendarPanel()->Page().SetPaperSize(0);
    QStringList asked;
    window.PrintHooks().offersPaper = [&asked](const QPrinter &printer) {
        asked << printer.pageLayout().pageSize().name();
        return false;
    };
    ModalAnswerer answerer(goOn ? QMessageBox::Yes : QMessageBox::No);
    PickFileMenuItem(window, "mnuPrintCalendar");
    QCOMPARE(asked.size(), 1);
    QVERIFY(!answerer.texts.isEmpty());
    QVERIFY2(answerer.texts[0].contains(QStringLiteral("does not offer Letter paper")),
             qPrintable(answerer.texts[0]));
    QCOMPARE(answerer.captions.value(0), QStringLiteral("Paper Warning"));
    if (goOn) {
        QCOMPARE(answerer.texts.size(), 2);
        QCOMPARE(answerer.texts[1], Sent);
        QCOMPARE(PdfPageCount(m_outputFile), 1);
    } else {
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(!QFile::exists(m_outputFile));
    }
}

void TestPrintCommands::previewPrintRunsThePrintCommand_data()
{
    QTest::addColumn<bool>("marginsFit");
    QTest::newRow("margins fit: printed and said so") << true;
    QTest::newRow("margin outside: asked first") << false;
}

void TestPrintCommands::previewPrintRunsThePrintCommand()
{
    // Used to fail: the preview's Print printed on its own, without the
    // margin check, the copies rule or any message.
    QFETCH(bool, marginsFit);
    TCalendarMain &window = NewWindow();
    m_unprintable = marginsFit ? QMarginsF() : QMarginsF(5, 5, 5, 5);
    m_maximumCopies = 1;
    m_dialogCopies = 2;
    ModalAnswerer answerer(QMessageBox::No);
    bool clicked = false;
    answerer.onDialog = [&clicked](QDialog *dialog) {
        if (clicked || !qobject_cast<QPrintPreviewDialog *>(dialog))
            return false;
        for (QToolButton *button : dialog->findChildren<QToolButton *>()) {
            if (button->defaultAction() && button->defaultAction()->text() == "Print") {
                clicked = true;
                // From the dialog's own event loop, leaving this answerer
                // free for the dialogs the click opens.
                QTimer::singleShot(0, button,
                                   [button] { QTest::mouseClick(button, Qt::LeftButton); });
                return true;
            }
        }
        return false;
    };
    PickFileMenuItem(window, "mnuPrintPreview");
    QVERIFY(clicked);
    QCOMPARE(answerer.dialogs, QStringList{QStringLiteral("Print Preview")});
    QCOMPARE(m_dialogRuns, 1);
    if (marginsFit) {
        QCOMPARE(answerer.texts, QStringList{Sent});
        QCOMPARE(PdfPageCount(m_outputFile), 2); // the copies the driver could not make
    } else {
        QCOMPARE(answerer.captions, QStringList{QStringLiteral("Margin Warning")});
        QVERIFY(!QFile::exists(m_outputFile));
    }
}

void TestPrintCommands::printSetupConfirmsWithOk()
{
    // Used to fail: Print Setup's confirm button read "Print".
    TCalendarMain &window = NewWindow();
    window.PrintHooks().printerDialog = PrintServices::System().printerDialog;
    ModalAnswerer answerer;
    QString confirm;
    answerer.onDialog = [&confirm](QDialog *dialog) {
        if (auto *buttons = dialog->findChild<QDialogButtonBox *>())
            confirm = buttons->button(QDialogButtonBox::Ok)->text();
        return false;
    };
    PickFileMenuItem(window, "mnuPrintSetup");
    QCOMPARE(answerer.dialogs, QStringList{QStringLiteral("Print Setup")});
    QCOMPARE(confirm, QStringLiteral("OK"));
}

void TestPrintCommands::failedJobIsNotReportedAsSent_data()
{
    QTest::addColumn<QString>("output");
    QTest::newRow("folder missing") << QStringLiteral("/nonexistent-dayloom-folder/out.pdf");
    QTest::newRow("folder is a file") << QStringLiteral("FILE/out.pdf");
}

void TestPrintCommands::failedJobIsNotReportedAsSent()
{
    // Used to fail: a job whose device could not be opened still said
    // "Print job completed and sent to printer!".
    QFETCH(QString, output);
    if (output.startsWith(QLatin1String("FILE"))) {
        const QString file = m_folder->filePath(QStringLiteral("plain"));
        QFile touch(file);
        QVERIFY(touch.open(QIODevice::WriteOnly));
        output.replace(QLatin1String("FILE"), file);
    }
    m_outputFile = output;
    TCalendarMain &window = NewWindow();
    window.SetModified(true);
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuPrintCalendar");
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts[0].startsWith(QStringLiteral("The calendar was not printed.")),
             qPrintable(answerer.texts[0]));
    QVERIFY2(answerer.texts[0].contains(output), qPrintable(answerer.texts[0]));
    QVERIFY(!answerer.texts.contains(Sent));
    QVERIFY(!window.PrintDone());
    QVERIFY(window.Modified());
}

void TestPrintCommands::vanishedPrinterIsReported()
{
    // Used to fail: a printer removed since it was chosen gave a blank job
    // reported as sent.
    TCalendarMain &window = NewWindow();
    window.PrintHooks().printerDialog = [](QPrinter &printer, QWidget *, const QString &,
                                           const QString &) {
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(QStringLiteral("VanishedPrinter"));
        return true;
    };
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuPrintCalendar");
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts[0].contains(QStringLiteral("not available")),
             qPrintable(answerer.texts[0]));
    QVERIFY(!window.PrintDone());
}

void TestPrintCommands::cancelPrintsNothing()
{
    TCalendarMain &window = NewWindow();
    m_dialogAnswer = false;
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuPrintCalendar");
    QCOMPARE(m_dialogRuns, 1);
    QVERIFY(answerer.texts.isEmpty());
    QVERIFY(!QFile::exists(m_outputFile));
}

void TestPrintCommands::printSetupKeepsTheChoices()
{
    TCalendarMain &window = NewWindow();
    m_dialogCopies = 2;
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuPrintSetup");
    QCOMPARE(m_dialogRuns, 1);
    QVERIFY(answerer.texts.isEmpty());
    QCOMPARE(window.Printer().outputFileName(), m_outputFile);
    QCOMPARE(window.Printer().copyCount(), 2);
    QVERIFY(!QFile::exists(m_outputFile)); // set up, not printed
}

void TestPrintCommands::exportWritesTheFile_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("pdf") << "page.pdf"
                         << "PDF document (*.pdf)" << 0 << QByteArray("%PDF");
    QTest::newRow("png at 96 dpi") << "page.png"
                                   << "PNG image (*.png)" << 96 << QByteArray("\x89PNG");
    QTest::newRow("png at 300 dpi, suffix from the filter")
        << "page"
        << "PNG image (*.png)" << 300 << QByteArray("\x89PNG");
    QTest::newRow("svg") << "page.svg"
                         << "SVG drawing (*.svg)" << 0 << QByteArray("<?xml");
}

void TestPrintCommands::exportWritesTheFile()
{
    QFETCH(QString, fileName);
    QFETCH(QString, filter);
    QFETCH(int, dpi);
    QFETCH(QByteArray, start);
    TCalendarMain &window = NewWindow();
    window.CalendarPanel()->SetZoom(0.601f);
    window.SetModified(true);
    QStringList offered;
    window.PrintHooks().exportFileDialog = [&](QWidget *, const QString &, const QStringList &all,
                                               QString &chosen) {
        offered = all;
        chosen = filter;
        return m_folder->filePath(fileName);
    };
    window.PrintHooks().imageResolutionDialog = [dpi](QWidget *, int) { return dpi; };
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuExport");
    QVERIFY2(answerer.texts.isEmpty(), qPrintable(answerer.texts.join('|')));
    if (!offered.contains(filter))
        QSKIP("this build offers no SVG export");
    const QString path =
        m_folder->filePath(fileName.contains('.') ? fileName : fileName + QStringLiteral(".png"));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    QVERIFY(file.read(start.size()) == start);
    if (dpi > 0) {
        const QImage image(path);
        const QSize page = window.CalendarPanel()->Document().PageSize();
        QCOMPARE(image.size(),
                 QSize(qRound(page.width() / 96.0 * dpi), qRound(page.height() / 96.0 * dpi)));
    }
    QCOMPARE(window.CalendarPanel()->Document().Zoom(), 0.601f);
    QVERIFY(window.Modified());
}

void TestPrintCommands::exportToUnwritableFolderFails()
{
    TCalendarMain &window = NewWindow();
    window.PrintHooks().exportFileDialog = [](QWidget *, const QString &, const QStringList &,
                                              QString &) {
        return QStringLiteral("/nonexistent-dayloom-folder/page.pdf");
    };
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuExport");
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts[0].startsWith(
        QStringLiteral("Unable to export /nonexistent-dayloom-folder/page.pdf")));
}

void TestPrintCommands::previewShowsThePage_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("Letter portrait") << 0 << false;
    QTest::newRow("A4 landscape") << 1 << true;
}

void TestPrintCommands::previewShowsThePage()
{
    // Used to fail: the preview showed the printer's last paper.
    QFETCH(int, paper);
    QFETCH(bool, landscape);
    TCalendarMain &window = NewWindow();
    window.CalendarPanel()->SetZoom(0.601f);
    window.CalendarPanel()->Page().SetPaperSize(paper);
    window.CalendarPanel()->Page().SetCalendarLayout(landscape ? LOFullCalendarLS : loFullCalendar);
    window.Printer().setPageSize(QPageSize(paper == 0 ? QPageSize::A4 : QPageSize::Letter));
    ModalAnswerer answerer;
    int pages = -1;
    QPageLayout shown;
    answerer.onDialog = [&pages, &shown](QDialog *dialog) {
        if (auto *preview = dialog->findChild<QPrintPreviewWidget *>())
            pages = preview->pageCount();
        if (auto *preview = qobject_cast<QPrintPreviewDialog *>(dialog))
            shown = preview->printer()->pageLayout();
        return false;
    };
    PickFileMenuItem(window, "mnuPrintPreview");
    QCOMPARE(answerer.dialogs, QStringList{QStringLiteral("Print Preview")});
    QCOMPARE(pages, 1);
    QCOMPARE(shown.pageSize().id(), paper == 0 ? QPageSize::Letter : QPageSize::A4);
    QCOMPARE(shown.orientation(), landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QCOMPARE(window.CalendarPanel()->Document().Zoom(), 0.601f);
}

void TestPrintCommands::rangeOfMonthsPrintsAPageEach()
{
    TCalendarMain &window = NewWindow();
    CalendarPage &page = window.CalendarPanel()->Page();
    page.SetMainCalYear(2027);
    page.SetMainCalMonth(2);
    const CalendarSettings before = page.Settings();
    m_range.months = MonthSpan{2027, 1, 2027, 4};
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuPrintCalendar");
    QCOMPARE(m_rangeCaptions, QStringList{QStringLiteral("Print")});
    QCOMPARE(answerer.texts, QStringList{Sent});
    QCOMPARE(PdfPageCount(m_outputFile), 4);
    // The design shows its own month again.
    QVERIFY(page.Settings() == before);
    QVERIFY(!window.Modified());
}

void TestPrintCommands::previewShowsEveryPageOfTheRange()
{
    TCalendarMain &window = NewWindow();
    m_range.months = MonthSpan{2026, 11, 2027, 1};
    ModalAnswerer answerer;
    int pages = -1;
    answerer.onDialog = [&pages](QDialog *dialog) {
        if (auto *preview = dialog->findChild<QPrintPreviewWidget *>())
            pages = preview->pageCount();
        return false;
    };
    PickFileMenuItem(window, "mnuPrintPreview");
    QCOMPARE(m_rangeCaptions, QStringList{QStringLiteral("Print Preview")});
    QCOMPARE(pages, 3);
}

void TestPrintCommands::exportRangeAsMonthsDoes_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("pdf: one file") << "year.pdf" << QStringList{"year.pdf"};
    QTest::newRow("png: a file per month")
        << "month.png" << QStringList{"month-2027-05.png", "month-2027-06.png"};
}

// The window's export of a range writes what --months writes.
void TestPrintCommands::exportRangeAsMonthsDoes()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, written);
    TCalendarMain &window = NewWindow();
    m_range.months = MonthSpan{2027, 5, 2027, 6};
    window.PrintHooks().exportFileDialog = [&](QWidget *, const QString &, const QStringList &,
                                               QString &) { return m_folder->filePath(fileName); };
    window.PrintHooks().imageResolutionDialog = [](QWidget *, int) { return 96; };
    ModalAnswerer answerer;
    PickFileMenuItem(window, "mnuExport");
    QVERIFY2(answerer.texts.isEmpty(), qPrintable(answerer.texts.join('|')));
    QCOMPARE(m_rangeCaptions, QStringList{QStringLiteral("Export")});
    for (const QString &name : written)
        QVERIFY2(QFile::exists(m_folder->filePath(name)), qPrintable(name));
    if (fileName.endsWith(QStringLiteral(".pdf")))
        QCOMPARE(PdfPageCount(m_folder->filePath(fileName)), 2);
}

void TestPrintCommands::unreachableCupsStartsWithoutPrinting()
{
    // The system's own answers, with CUPS_SERVER naming a socket that is not
    // there (set by the test's registration).
    const QString server = qEnvironmentVariable("CUPS_SERVER");
    if (server.isEmpty() || QFile::exists(server))
        QSKIP("needs CUPS_SERVER naming a missing socket");
    ModalAnswerer answerer;
    m_window = std::make_unique<TCalendarMain>();
    m_window->Start();
    QVERIFY2(answerer.texts.isEmpty(), qPrintable(answerer.texts.join('|')));
    auto *label = m_window->findChild<QLabel *>(QStringLiteral("PrinterStatus"));
    QVERIFY(label);
    QVERIFY(label->text().startsWith(QStringLiteral("There are no installed printers")));
    m_window->SetPropertiesDialogRunner(AcceptProperties);
    m_window->New();
    QVERIFY(m_window->findChild<QAction *>("mnuPrintCalendar")->isEnabled());
    QVERIFY(m_window->findChild<QToolButton *>("Printbutton")->isEnabled());
    const QString path = m_folder->filePath(QStringLiteral("no-printer.pdf"));
    QString error;
    QVERIFY2(m_window->ExportPageFile(path, QStringLiteral("pdf"), 0, &error), qPrintable(error));
    QVERIFY(QFile(path).size() > 0);
    QVERIFY(answerer.texts.isEmpty());
}

void TestPrintCommands::printsThroughCups()
{
    if (!qEnvironmentVariableIsSet("DAYLOOM_CUPS_TEST"))
        QSKIP("runs on its own, as tst_printcommands_cups (a private CUPS server)");
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdfinfo.isEmpty() || pdftotext.isEmpty())
        QSKIP("pdfinfo and pdftotext (poppler-utils) are not installed");

    QTemporaryDir serverDir(QDir::tempPath() + QStringLiteral("/dlcups-XXXXXX"));
    QProcess start;
    start.start(QStringLiteral(DAYLOOM_CUPS_HELPER), {"start", serverDir.path()});
    QVERIFY(start.waitForFinished(60000));
    const QString started = QString::fromUtf8(start.readAllStandardOutput());
    const QString why = QString::fromUtf8(start.readAllStandardError()).trimmed();
    // 3: no root rights or no CUPS installed; 4: cupsd would not start here.
    if (start.exitCode() == 3 || start.exitCode() == 4)
        QSKIP(qPrintable(QStringLiteral("no private CUPS server here: ") + why));
    QVERIFY2(start.exitCode() == 0, qPrintable(why));
    const auto stop = qScopeGuard([&serverDir] {
        QProcess::execute(QStringLiteral(DAYLOOM_CUPS_HELPER), {"stop", serverDir.path()});
    });
    const QString socket =
        QRegularExpression(QStringLiteral("CUPS_SERVER=(\\S+)")).match(started).captured(1);
    const QString outFolder =
        QRegularExpression(QStringLiteral("PDF_OUT=(\\S+)")).match(started).captured(1);
    QVERIFY2(!socket.isEmpty() && !outFolder.isEmpty(), qPrintable(started));
    qputenv("CUPS_SERVER", socket.toLocal8Bit());

    // The system's answers, except the printer dialog's: the queue, two copies.
    ModalAnswerer answerer;
    m_window = std::make_unique<TCalendarMain>();
    QString queue = QStringLiteral("DayloomPDF");
    m_window->PrintHooks().printerDialog = [&queue](QPrinter &printer, QWidget *, const QString &,
                                                    const QString &) {
        printer.setPrinterName(queue);
        printer.setCopyCount(2);
        return true;
    };
    m_window->Start();
    QVERIFY2(answerer.texts.isEmpty(), qPrintable(answerer.texts.join('|')));
    QVERIFY(m_window->PrinterAvailable());
    m_window->SetPropertiesDialogRunner(AcceptProperties);
    m_window->New();
    CalendarPage &page = m_window->CalendarPanel()->Page();
    page.SetMainCalMonth(3);
    page.SetMainCalYear(2027);
    page.SetUserTitle(QStringLiteral("Loom Spring Fair"));
    page.SetCalendarLayout(LOFullCalendarLS);
    page.SetPaperSize(0); // Letter, where the queue's own paper is A4
    m_window->CalendarPanel()->update();
    PickFileMenuItem(*m_window, "mnuPrintCalendar");
    QCOMPARE(answerer.texts, QStringList{Sent});

    QString pdf;
    QDeadlineTimer deadline(30000);
    while (pdf.isEmpty() && !deadline.hasExpired()) {
        const QFileInfoList files =
            QDir(outFolder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files);
        // The backend writes the file in one go and then changes its owner.
        if (!files.isEmpty() && files.first().size() > 0)
            pdf = files.first().filePath();
        else
            QTest::qWait(200);
    }
    QVERIFY2(!pdf.isEmpty(), "no PDF from the CUPS queue within 30 s");
    QTest::qWait(500);

    const QString info = RunTool(pdfinfo, {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))),
             qPrintable(info)); // one sheet per copy
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    QVERIFY2(size.hasMatch(), qPrintable(info));
    // Used to fail: the job came out on the queue's A4 paper.
    const double shortSide = std::min(size.captured(1).toDouble(), size.captured(2).toDouble());
    const double longSide = std::max(size.captured(1).toDouble(), size.captured(2).toDouble());
    QVERIFY2(qAbs(shortSide - 612) < 1 && qAbs(longSide - 792) < 1, qPrintable(info));
    const int rotation =
        QRegularExpression(QStringLiteral("Page rot:\\s+(\\d+)")).match(info).captured(1).toInt();
    const bool wideSheet =
        (size.captured(1).toDouble() > size.captured(2).toDouble()) != (rotation % 180 == 90);
    // Landscape: a wide sheet, or (as the queue's A4 paper gets it) the page
    // turned on a tall sheet, its title running up the side.
    const QString boxes = RunTool(pdftotext, {"-bbox", pdf, "-"});
    const QRegularExpressionMatch word =
        QRegularExpression(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                          "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">Spring<"))
            .match(boxes);
    QVERIFY2(word.hasMatch(), qPrintable(boxes.left(2000)));
    const bool sideways = word.captured(4).toDouble() - word.captured(2).toDouble() >
                          word.captured(3).toDouble() - word.captured(1).toDouble();
    QVERIFY2(wideSheet != sideways, qPrintable(info));
    const QString text = RunTool(pdftotext, {pdf, "-"}).simplified();
    QVERIFY2(text.contains(QStringLiteral("Loom Spring Fair")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Wednesday")));

    // A queue without Letter paper: the user is asked first, and No prints
    // nothing.
    queue = QStringLiteral("DayloomPDFA4");
    answerer.texts.clear();
    answerer.captions.clear();
    answerer.SetAnswer(QMessageBox::No);
    PickFileMenuItem(*m_window, "mnuPrintCalendar");
    QCOMPARE(answerer.captions, QStringList{QStringLiteral("Paper Warning")});
    QVERIFY2(answerer.texts[0].startsWith(
                 QStringLiteral("The printer \"DayloomPDFA4\" does not offer Letter paper")),
             qPrintable(answerer.texts[0]));
    QVERIFY(!m_window->PrintDone());
}

QTEST_MAIN(TestPrintCommands)
#include "tst_printcommands.moc"
