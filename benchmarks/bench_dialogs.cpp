// How quickly the main window's dialogs show and the window program ends, on
// a real X server (run it under Xvfb, with a window manager for real numbers).
//
// Each dialog is opened by the action a user takes (a menu command, a tool
// placed on the page, a button of the dialog it is nested in) and timed up to
// its first paint; it is opened twice, and both times are printed: the first
// opening in the process, and the warm one. Then the window program itself is
// started, its window closed as a window manager's close button does, and the
// time until the process has ended is printed. Every dialog should show within
// 150 ms and the program should be gone within 300 ms of the close.
//
//   bench_dialogs [RUNS]    prints the table: the median of RUNS (3) runs,
//                           each dialog in fresh processes
//   bench_dialogs --smoke   opens each dialog once and checks each showed and
//                           the program ended (scripts/test runs this)

#include "../tests/ui/app/xwindowproperties.h"
#include "core/calendar/calendarpage.h"
#include "core/common/scriptwarningfilter.h"
#include "core/formats/calendarfile.h"
#include "core/io/appfolders.h"
#include "core/objects/objectkindregistry.h"
#include "core/objects/objectkinds.h"
#include "core/recurring/recurringdatesfile.h"
#include "core/recurring/recurringentry.h"
#include "ui/app/endwindowprogram.h"
#include "ui/app/singleinstanceguard.h"
#include "ui/app/tcalendarmain.h"
#include "ui/image/tgimagebrowser.h"
#include "ui/surface/tcalendarpanel32.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using namespace Dayloom;

namespace {

qint64 MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Where objects are placed on the page, in pixels of the page widget.
constexpr QPoint PlacePoint(200, 300);

// How long a dialog may take before it counts as never shown.
constexpr int GiveUpMs = 10000;

// What one opening showed: the milliseconds to its first paint (none when
// nothing showed) and the window's title.
struct Shown
{
    std::optional<double> ms;
    QString title;
};

// Times one opening: from the call of `open` (which may run the dialog
// modally) to the end of the first paint of a top-level window that was not
// shown before. Then `whileShown` runs with that window (it may time a
// dialog nested in it) and the window is cancelled.
class ShowTimer : public QObject
{
public:
    ShowTimer() { qApp->installEventFilter(this); }
    ~ShowTimer() override { qApp->removeEventFilter(this); }

    Shown Time(const std::function<void()> &open,
               const std::function<void(QWidget *)> &whileShown = {})
    {
        const QSet<QWidget *> shownBefore = ShownWindows();
        Shown shown;
        bool closed = false;
        QElapsedTimer clock;
        m_watch = [&](QWidget *window) {
            if (shownBefore.contains(window))
                return false;
            // After the paint: the posted call runs once the window's backing
            // store is flushed.
            QTimer::singleShot(0, window, [&, window] {
                shown = {clock.nsecsElapsed() / 1e6, window->windowTitle()};
                if (whileShown)
                    whileShown(window);
                Cancel(window);
                closed = true;
            });
            return true;
        };
        clock.start();
        open();
        // A window that is not modal (or a dialog still to come) is waited for.
        const QDeadlineTimer deadline(GiveUpMs);
        while (!closed && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        m_watch = nullptr;
        return shown;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || !m_watch || !watched->isWidgetType())
            return false;
        QWidget *window = static_cast<QWidget *>(watched)->window();
        const Qt::WindowType type = window->windowType();
        if (type == Qt::ToolTip || type == Qt::Popup || !window->isVisible())
            return false;
        if (m_watch(window))
            m_watch = nullptr;
        return false;
    }

private:
    static QSet<QWidget *> ShownWindows()
    {
        QSet<QWidget *> shown;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible())
                shown.insert(widget);
        }
        return shown;
    }

    static void Cancel(QWidget *window)
    {
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->reject();
        else
            window->close();
    }

    std::function<bool(QWidget *)> m_watch;
};

struct Opening
{
    QString name;
    Shown first;
    Shown warm;
};

// The dialogs of the main window and how a user opens each.
class DialogBench
{
public:
    explicit DialogBench(const QString &design)
    {
        m_window = std::make_unique<TCalendarMain>();
        // A printer is assumed, so that the print commands open their dialogs.
        m_window->PrintHooks().installedPrinters = [] { return QStringList{"Bench printer"}; };
        m_window->PrintHooks().defaultPrinter = [] { return QStringLiteral("Bench printer"); };
        m_window->Start(design);
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            std::fprintf(stderr, "the main window did not show\n");
    }

    TCalendarMain &Window() { return *m_window; }

    // The groups of openings: a dialog, or a dialog with those nested in it.
    int GroupCount() const { return int(Groups().size()); }

    std::vector<Opening> Run(int rounds) { return Run(0, GroupCount() - 1, rounds); }

    // Runs the groups `first` to `last` `rounds` times in turn and returns a
    // row per opening.
    std::vector<Opening> Run(int first, int last, int rounds)
    {
        std::vector<Opening> table;
        for (int round = 0; round < rounds; ++round) {
            std::size_t row = 0;
            const auto record = [&](const QString &name, const Shown &time) {
                if (round == 0)
                    table.push_back({name, time, {}});
                else if (row < table.size())
                    table[row].warm = time;
                ++row;
            };
            for (int group = first; group <= last; ++group)
                Groups()[group](record);
        }
        return table;
    }

private:
    using Record = std::function<void(const QString &, const Shown &)>;
    using Group = std::function<void(const Record &)>;

    std::vector<Group> Groups() const
    {
        DialogBench *self = const_cast<DialogBench *>(this);
        std::vector<Group> groups;
        for (const auto &[name, action] : MenuDialogs()) {
            groups.push_back([self, name = name, action = action](const Record &record) {
                record(name, self->m_timer.Time([self, action] { self->Trigger(action); }));
            });
        }
        for (const auto &[name, button] : PropertiesDialogs()) {
            groups.push_back([self, name = name, button = button](const Record &record) {
                Shown nested;
                record(QStringLiteral("Calendar Properties"),
                       self->m_timer.Time([self] { self->Trigger("mnuProperties"); },
                                          [&](QWidget *dialog) {
                                              nested = self->m_timer.Time(
                                                  [dialog, button] { Click(dialog, button); });
                                          }));
                record(name, nested);
            });
        }
        groups.push_back([self](const Record &record) {
            Shown choosing;
            record(
                QStringLiteral("Clip art browser (placing)"),
                self->m_timer.Time([self] { self->Place("DrawImageButton"); },
                                   [&](QWidget *dialog) { choosing = ChooseSlowPicture(dialog); }));
            self->Unplace();
            record(QStringLiteral("  choosing Balloons.svg (busy ms)"), choosing);
        });
        groups.push_back([self](const Record &record) { self->SuperTextDialogs(record); });
        for (const auto &[name, tool] : PlacingDialogs()) {
            groups.push_back([self, name = name, tool = tool](const Record &record) {
                record(name, self->m_timer.Time([self, tool] { self->Place(tool); }));
                self->Unplace();
            });
        }
        // The floating calendar opens no dialog when placed: a double click does.
        groups.push_back([self](const Record &record) {
            self->Place("PSpeedButton1");
            record(QStringLiteral("Floating Calendar (double click)"), self->m_timer.Time([self] {
                QTest::mouseDClick(self->m_window->CalendarPanel(), Qt::LeftButton, Qt::NoModifier,
                                   PlacePoint + QPoint(5, 5));
            }));
            self->Unplace();
        });
        return groups;
    }

    void SuperTextDialogs(const Record &record)
    {
        Shown symbol;
        Shown font;
        Shown texture;
        record(QStringLiteral("SuperText Properties (placing)"),
               m_timer.Time([this] { Place("DrawSuperText"); },
                            [&](QWidget *dialog) {
                                symbol = m_timer.Time([dialog] { Click(dialog, "SelectSymbol"); });
                                font = m_timer.Time([dialog] { Click(dialog, "SelectFont"); });
                                texture = m_timer.Time([dialog] { Click(dialog, "LoadTexture"); });
                            }));
        Unplace();
        record(QStringLiteral("  Symbol Selector"), symbol);
        record(QStringLiteral("  SuperText font dialog"), font);
        record(QStringLiteral("  Load Texture"), texture);
    }

    static std::vector<std::pair<QString, const char *>> PropertiesDialogs()
    {
        return {{QStringLiteral("  Other... (language chooser)"), "LanguageOther"},
                {QStringLiteral("  Title Font... (font dialog)"), "TitleFont"}};
    }

    static std::vector<std::pair<QString, const char *>> MenuDialogs()
    {
        return {{QStringLiteral("Calendar Properties"), "mnuProperties"},
                {QStringLiteral("Open (file dialog)"), "Open1"},
                {QStringLiteral("Save As (file dialog)"), "mnuSaveAs"},
                {QStringLiteral("Export (file dialog)"), "mnuExport"},
                {QStringLiteral("User Defined Title"), "mnuUserTitle"},
                {QStringLiteral("Default Editor Font"), "DefaultEditorFont1"},
                {QStringLiteral("Fill with Recurring Dates"), "mnuFillCalendarwithRecurringDates"},
                {QStringLiteral("Edit Recurring Dates"), "mnuEditrecurringDates"},
                {QStringLiteral("Print Preview"), "mnuPrintPreview"},
                {QStringLiteral("Print Calendar (print dialog)"), "mnuPrintCalendar"},
                {QStringLiteral("Print Setup"), "mnuPrintSetup"},
                {QStringLiteral("About"), "About1"},
                {QStringLiteral("Help Contents"), "Contents1"}};
    }

    static std::vector<std::pair<QString, const char *>> PlacingDialogs()
    {
        return {{QStringLiteral("Label text (placing)"), "DrawLabelButton"},
                {QStringLiteral("Rich Text Editor (placing)"), "DrawRichText"}};
    }

    void Trigger(const char *action)
    {
        if (QAction *found = m_window->findChild<QAction *>(QLatin1String(action)))
            found->trigger();
        else
            std::fprintf(stderr, "no action %s\n", action);
    }

    // The milliseconds the clip art browser does not answer after the user
    // chooses the slowest shipped picture to read (its preview may come later).
    static Shown ChooseSlowPicture(QWidget *dialog)
    {
        auto *browser = qobject_cast<TGImageBrowser *>(dialog);
        if (!browser)
            return {};
        browser->SetFolder(
            QDir(TGImageBrowser::ShippedFolder()).filePath(QStringLiteral("Birthdays")));
        auto *files = browser->findChild<QListWidget *>(QStringLiteral("FileListBox1"));
        const QList<QListWidgetItem *> found =
            files ? files->findItems(QStringLiteral("Balloons.svg"), Qt::MatchExactly)
                  : QList<QListWidgetItem *>();
        if (found.isEmpty())
            return {};
        QElapsedTimer clock;
        clock.start();
        files->setCurrentItem(found.first());
        return {clock.nsecsElapsed() / 1e6, browser->windowTitle()};
    }

    static void Click(QWidget *dialog, const char *button)
    {
        if (auto *found = dialog->findChild<QAbstractButton *>(QLatin1String(button)))
            found->click();
        else
            std::fprintf(stderr, "no button %s in %s\n", button, qPrintable(dialog->objectName()));
    }

    // The tool's button, then a click on the page: the object is placed and
    // its dialog opens.
    void Place(const char *tool)
    {
        auto *button = m_window->findChild<QToolButton *>(QLatin1String(tool));
        if (!button) {
            std::fprintf(stderr, "no tool %s\n", tool);
            return;
        }
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(m_window->CalendarPanel(), Qt::LeftButton, Qt::NoModifier, PlacePoint);
    }

    // Takes back what placing left, so that the next click lands on bare page.
    void Unplace()
    {
        QUndoStack &undo = m_window->UndoStack();
        while (undo.canUndo())
            undo.undo();
    }

    std::unique_ptr<TCalendarMain> m_window;
    ShowTimer m_timer;
};

// --- the window program's end -----------------------------------------------------------

// Asks a top-level window to close as a window manager's close button does.
class XWindows
{
public:
    XWindows() : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_clientList = Atom("_NET_CLIENT_LIST");
        m_netWmName = Atom("_NET_WM_NAME");
        m_protocols = Atom("WM_PROTOCOLS");
        m_deleteWindow = Atom("WM_DELETE_WINDOW");
    }
    ~XWindows() { xcb_disconnect(m_connection); }

    bool Connected() const { return !xcb_connection_has_error(m_connection); }

    // The shown client window whose title starts with `title`.
    std::optional<xcb_window_t> Find(const QString &title)
    {
        for (const xcb_window_t window : ClientWindows()) {
            if (Viewable(window) && Title(window).startsWith(title))
                return window;
        }
        return std::nullopt;
    }

    void Close(xcb_window_t window)
    {
        xcb_client_message_event_t message = {};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_protocols;
        message.data.data32[0] = m_deleteWindow;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char *>(&message));
        xcb_flush(m_connection);
    }

private:
    // The window manager's list of client windows; without a window manager,
    // the root's children are the clients.
    std::vector<xcb_window_t> ClientWindows()
    {
        std::vector<xcb_window_t> windows;
        if (auto *reply = xcb_get_property_reply(
                m_connection,
                xcb_get_property(m_connection, 0, m_root, m_clientList, XCB_ATOM_WINDOW, 0, 4096),
                nullptr)) {
            const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
            windows.assign(ids, ids + xcb_get_property_value_length(reply) / 4);
            free(reply);
        }
        if (!windows.empty())
            return windows;
        if (auto *tree =
                xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr)) {
            const xcb_window_t *children = xcb_query_tree_children(tree);
            windows.assign(children, children + xcb_query_tree_children_length(tree));
            free(tree);
        }
        return windows;
    }

    xcb_atom_t Atom(const char *name) { return XWindowProperties::Atom(m_connection, name); }

    bool Viewable(xcb_window_t window) { return XWindowProperties::Viewable(m_connection, window); }

    QString Title(xcb_window_t window)
    {
        return XWindowProperties::Title(m_connection, window, m_netWmName);
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_clientList = XCB_ATOM_NONE;
    xcb_atom_t m_netWmName = XCB_ATOM_NONE;
    xcb_atom_t m_protocols = XCB_ATOM_NONE;
    xcb_atom_t m_deleteWindow = XCB_ATOM_NONE;
};

// Starts the window program on `design`, waits for its window, closes it and
// returns the milliseconds until the process ended (nullopt: it did not).
std::optional<double> TimeProgramEnd(const QString &design, const QString &dataFolder)
{
    XWindows x;
    if (!x.Connected())
        return std::nullopt;
    QTemporaryDir runtime;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DAYLOOM_DATA_FOLDER"), dataFolder);
    // Its own single-instance socket, away from a Dayloom the user runs.
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(DAYLOOM_WINDOW_EXECUTABLE), {design});
    if (!program.waitForStarted())
        return std::nullopt;

    const QString caption = QStringLiteral("Dayloom  [%1]").arg(QFileInfo(design).fileName());
    std::optional<xcb_window_t> window;
    QDeadlineTimer deadline(GiveUpMs);
    while (!window && !deadline.hasExpired() && program.state() == QProcess::Running) {
        // A start-up message (no printer installed) is dismissed.
        if (const std::optional<xcb_window_t> message = x.Find(QStringLiteral("Information")))
            x.Close(*message);
        window = x.Find(caption);
        if (!window)
            QTest::qWait(50);
    }
    if (!window) {
        program.kill();
        program.waitForFinished();
        return std::nullopt;
    }
    // Settled: the page is drawn and the start-up timers have run.
    QTest::qWait(1000);
    QElapsedTimer clock;
    clock.start();
    x.Close(*window);
    if (!program.waitForFinished(GiveUpMs)) {
        program.kill();
        program.waitForFinished();
        return std::nullopt;
    }
    return clock.nsecsElapsed() / 1e6;
}

// The child's part of TimeGroup: one group opened twice in a fresh process,
// a line per opening: name, first and warm milliseconds (-1: not shown), title.
int RunGroup(const QString &design, int group)
{
    DialogBench bench(design);
    if (group < 0 || group >= bench.GroupCount())
        return 2;
    for (const Opening &row : bench.Run(group, group, 2)) {
        std::printf("%s\t%f\t%f\t%s\n", qPrintable(row.name), row.first.ms.value_or(-1),
                    row.warm.ms.value_or(-1), qPrintable(row.first.title));
    }
    return 0;
}

// The rows of one group, opened in a process of its own; nullopt when there
// is no such group.
std::optional<std::vector<Opening>> TimeGroupOnce(const char *self, int group,
                                                  const QString &dataFolder)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QString::fromLocal8Bit(self),
                {QStringLiteral("--group"), QString::number(group), dataFolder});
    if (!child.waitForFinished(10 * GiveUpMs)) {
        child.kill();
        child.waitForFinished();
        return std::vector<Opening>{{QStringLiteral("group %1 did not end").arg(group), {}, {}}};
    }
    if (child.exitCode() == 2)
        return std::nullopt;
    std::vector<Opening> rows;
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    for (const QString &line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 4)
            continue;
        const auto time = [](const QString &text) {
            const double ms = text.toDouble();
            return ms < 0 ? std::optional<double>() : std::optional<double>(ms);
        };
        rows.push_back({fields[0], {time(fields[1]), fields[3]}, {time(fields[2]), fields[3]}});
    }
    return rows;
}

// The median of the times that showed; none when one did not show.
std::optional<double> Median(std::vector<std::optional<double>> times)
{
    if (times.empty() || std::any_of(times.cbegin(), times.cend(),
                                     [](const std::optional<double> &t) { return !t; }))
        return std::nullopt;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs each group in processes of its own, so that its first opening is the
// first in the process as a user meets it; `runs` times, keeping the median
// (the machine may be busy with other work).
std::vector<Opening> TimeGroups(const char *self, const QString &dataFolder, int runs)
{
    std::vector<Opening> table;
    for (int group = 0;; ++group) {
        std::vector<std::vector<Opening>> samples;
        for (int run = 0; run < runs; ++run) {
            std::optional<std::vector<Opening>> rows = TimeGroupOnce(self, group, dataFolder);
            if (!rows)
                return table;
            samples.push_back(std::move(*rows));
        }
        for (std::size_t row = 0; row < samples.front().size(); ++row) {
            std::vector<std::optional<double>> first;
            std::vector<std::optional<double>> warm;
            for (const std::vector<Opening> &sample : samples) {
                first.push_back(row < sample.size() ? sample[row].first.ms : std::nullopt);
                warm.push_back(row < sample.size() ? sample[row].warm.ms : std::nullopt);
            }
            Opening median = samples.front()[row];
            median.first.ms = Median(first);
            median.warm.ms = Median(warm);
            table.push_back(median);
        }
    }
}

// The child's part of TimeUsedWindowEnd: a window like the window program's
// (with its single-instance guard and its end), every dialog opened once,
// then the window closed; the moment of the close goes to the standard output.
int RunUsedWindowUntilClosed(const QString &design)
{
    SingleInstanceGuard guard;
    if (guard.HandOverTo({}))
        return 1;
    {
        DialogBench bench(design);
        (void)bench.Run(1);
        std::printf("closing %lld\n", static_cast<long long>(MonotonicNanoseconds()));
        std::fflush(stdout);
        bench.Window().close();
    }
    return 0;
}

int RunUsedWindow(const QString &design)
{
    return EndWindowProgram(RunUsedWindowUntilClosed(design));
}

// Runs RunUsedWindow in a child process and returns the milliseconds from
// its window's close to the process's end.
std::optional<double> TimeUsedWindowEnd(const char *self, const QString &dataFolder)
{
    QTemporaryDir runtime;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QString::fromLocal8Bit(self), {QStringLiteral("--child"), dataFolder});
    if (!child.waitForFinished(10 * GiveUpMs)) {
        child.kill();
        child.waitForFinished();
        return std::nullopt;
    }
    const qint64 ended = MonotonicNanoseconds();
    const QByteArray output = child.readAllStandardOutput();
    const qsizetype at = output.lastIndexOf("closing ");
    if (child.exitCode() != 0 || at < 0)
        return std::nullopt;
    bool ok = false;
    const qint64 closing = output.mid(at + 8).trimmed().toLongLong(&ok);
    return ok ? std::optional<double>((ended - closing) / 1e6) : std::nullopt;
}

QString Milliseconds(const Shown &shown)
{
    return shown.ms ? QString::number(*shown.ms, 'f', 0) : QStringLiteral("not shown");
}

} // namespace

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const bool smoke = mode == "--smoke";
    const bool child = mode == "--child";
    const bool group = mode == "--group";
    QTemporaryDir data;
    // The single-instance socket of the programs started here lives in a
    // runtime folder of their own.
    QTemporaryDir runtime;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    }
    const QString dataFolder = child   ? QString::fromLocal8Bit(argv[2])
                               : group ? QString::fromLocal8Bit(argv[3])
                                       : data.path();
    qputenv("DAYLOOM_DATA_FOLDER", dataFolder.toLocal8Bit());
    // As the window program does.
    SilenceMissingScriptWarnings();
    QApplication app(argc, argv);
    RegisterObjectKinds(ObjectKindRegistry::Application());
    // The shipped clip art, borders and textures beside the window program.
    SetProgramFolder(QFileInfo(QStringLiteral(DAYLOOM_WINDOW_EXECUTABLE)).absolutePath());

    const QString design = QDir(dataFolder).filePath(QStringLiteral("Bench.DLF"));
    if (!QFileInfo::exists(design)) {
        CalendarPage page;
        page.SetDefaultStyle();
        // A recurring date on every Monday, for the fill's choice.
        const QString dates = QDir(dataFolder).filePath(RecurringDatesFile::fileName());
        if (!SaveCalendarFile(page, {}, design) ||
            !RecurringDatesFile::save(
                dates, {RecurringEntry::makeLine(QStringLiteral("Gym"), QStringLiteral("%2"))})) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(design));
            return 1;
        }
    }
    if (child)
        return RunUsedWindow(design);
    if (group)
        return RunGroup(design, QByteArray(argv[2]).toInt());

    std::vector<Opening> table;
    if (smoke) {
        DialogBench bench(design);
        table = bench.Run(1);
    } else {
        const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 3;
        table = TimeGroups(argv[0], dataFolder, runs);
    }
    std::vector<std::optional<double>> ends;
    std::vector<std::optional<double>> usedEnds;
    for (int run = 0; run < (smoke ? 1 : 3); ++run) {
        ends.push_back(TimeProgramEnd(design, data.path()));
        usedEnds.push_back(TimeUsedWindowEnd(argv[0], data.path()));
    }
    const std::optional<double> end = Median(ends);
    const std::optional<double> usedEnd = Median(usedEnds);

    bool allShown = end && usedEnd;
    if (!smoke)
        std::printf("%-36s %8s %8s  %s\n", "opened (ms to show)", "first", "warm", "window shown");
    for (const Opening &row : table) {
        allShown = allShown && row.first.ms && (smoke || row.warm.ms);
        if (smoke && !row.first.ms)
            std::printf("%s: not shown\n", qPrintable(row.name));
        if (!smoke)
            std::printf("%-36s %8s %8s  %s\n", qPrintable(row.name),
                        qPrintable(Milliseconds(row.first)), qPrintable(Milliseconds(row.warm)),
                        qPrintable(row.first.title));
    }
    std::printf("%-52s %6s\n", "window program gone after close, fresh (ms)",
                qPrintable(end ? QString::number(*end, 'f', 0) : QStringLiteral("did not end")));
    std::printf(
        "%-52s %6s\n", "process gone after close, every dialog used (ms)",
        qPrintable(usedEnd ? QString::number(*usedEnd, 'f', 0) : QStringLiteral("did not end")));
    return allShown ? 0 : 1;
}
