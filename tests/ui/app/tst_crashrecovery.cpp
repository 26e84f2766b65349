// The real window program on a real X server: an edit, a recovery copy, a
// SIGKILL, and the next start restores the edit. Keys reach the program as a
// user's would, through the server's XTEST extension.

#include "core/calendar/calendarpage.h"
#include "core/formats/calendarfile.h"
#include "core/formats/objectclassregistry.h"
#include "xwindowproperties.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <functional>
#include <optional>

using namespace Dayloom;

namespace {

constexpr uint32_t KeyReturn = 0xff0d;
constexpr uint32_t KeyControl = 0xffe3;
constexpr uint32_t KeyAlt = 0xffe9;
constexpr uint32_t KeyEscape = 0xff1b;

// The test's own connection to the X server the program runs on.
class XServer
{
public:
    XServer() : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_netWmName = Atom("_NET_WM_NAME");
    }
    ~XServer() { xcb_disconnect(m_connection); }

    bool Connected() const { return !xcb_connection_has_error(m_connection); }

    // A shown top-level window whose title passes the test.
    std::optional<xcb_window_t> FindWindow(const std::function<bool(const QString &)> &title)
    {
        auto *tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
        if (!tree)
            return std::nullopt;
        std::optional<xcb_window_t> found;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
            if (Viewable(children[i]) && title(Title(children[i])))
                found = children[i];
        }
        free(tree);
        return found;
    }

    // The titles of every shown top-level window, for a failure's message.
    QStringList Titles()
    {
        QStringList titles;
        FindWindow([&titles](const QString &title) {
            titles << title;
            return false;
        });
        return titles;
    }

    // Gives the window the keyboard, as a window manager would on a click.
    void Focus(xcb_window_t window)
    {
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
    }

    // Presses the keys in order and releases them in reverse (a chord).
    void Press(std::initializer_list<uint32_t> keysyms)
    {
        QList<xcb_keycode_t> codes;
        for (uint32_t keysym : keysyms)
            codes << KeyCode(keysym);
        for (xcb_keycode_t code : codes)
            FakeKey(XCB_KEY_PRESS, code);
        for (auto it = codes.rbegin(); it != codes.rend(); ++it)
            FakeKey(XCB_KEY_RELEASE, *it);
        xcb_flush(m_connection);
    }

    void Type(const QString &lowerCaseText)
    {
        for (QChar c : lowerCaseText)
            Press({c.unicode()});
    }

private:
    xcb_atom_t Atom(const char *name) { return XWindowProperties::Atom(m_connection, name); }

    bool Viewable(xcb_window_t window) { return XWindowProperties::Viewable(m_connection, window); }

    QString Title(xcb_window_t window)
    {
        return XWindowProperties::Title(m_connection, window, m_netWmName);
    }

    xcb_keycode_t KeyCode(uint32_t keysym)
    {
        const xcb_setup_t *setup = xcb_get_setup(m_connection);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto *map = xcb_get_keyboard_mapping_reply(
            m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, count),
            nullptr);
        xcb_keycode_t code = 0;
        if (map) {
            const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map);
            for (int i = 0; i < count && !code; ++i) {
                if (syms[i * map->keysyms_per_keycode] == keysym)
                    code = static_cast<xcb_keycode_t>(setup->min_keycode + i);
            }
        }
        free(map);
        return code;
    }

    // The XTEST FakeInput request, sent as libxcb-xtest would send it.
    void FakeKey(uint8_t type, xcb_keycode_t code)
    {
        static xcb_extension_t xtest = {"XTEST", 0};
        struct
        {
            uint8_t major, minor;
            uint16_t length;
            uint8_t type, detail, pad0[2];
            uint32_t time;
            xcb_window_t root;
            uint8_t pad1[8];
            int16_t rootX, rootY;
            uint8_t pad2[7], device;
        } request{};
        static_assert(sizeof(request) == 36);
        request.type = type;
        request.detail = code;
        request.root = m_root;
        struct iovec parts[4];
        parts[2].iov_base = &request;
        parts[2].iov_len = sizeof(request);
        parts[3].iov_base = nullptr;
        parts[3].iov_len = 0;
        const xcb_protocol_request_t protocol = {2, &xtest, 2, 1};
        xcb_send_request(m_connection, 0, parts + 2, &protocol);
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_netWmName = XCB_ATOM_NONE;
};

// The user title of the design in `path`; empty when it cannot be read.
QString UserTitleOf(const QString &path)
{
    CalendarPage page;
    PersistentObjectList objects;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) ||
        !ReadCalendarFile(page, file, ObjectClassRegistry(), {}, objects))
        return {};
    return page.UserTitle();
}

} // namespace

class TestCrashRecovery : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_data;
    QTemporaryDir m_runtime;
    XServer m_x;
    QProcess m_program;

    void StartProgram(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DAYLOOM_DATA_FOLDER"), m_data.path());
        environment.insert(QStringLiteral("DAYLOOM_AUTOSAVE_SECONDS"), QStringLiteral("1"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        // No printer system to wait for (another test may be restarting one):
        // start-up then only says that no printer is installed.
        environment.insert(QStringLiteral("CUPS_SERVER"),
                           QDir(m_runtime.path()).filePath(QStringLiteral("no-cups")));
        m_program.setProcessEnvironment(environment);
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(QStringLiteral(DAYLOOM_WINDOW_EXECUTABLE), arguments);
        QVERIFY(m_program.waitForStarted());
    }

    // Waits for a shown window whose title passes the test; a message that
    // no printer is installed (this machine may have none) is answered.
    std::optional<xcb_window_t> WaitForWindow(const std::function<bool(const QString &)> &title)
    {
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() && m_program.state() == QProcess::Running) {
            if (std::optional<xcb_window_t> window = m_x.FindWindow(title))
                return window;
            if (std::optional<xcb_window_t> information = m_x.FindWindow(
                    [](const QString &text) { return text == QLatin1String("Information"); })) {
                m_x.Focus(*information);
                m_x.Press({KeyReturn});
            }
            QTest::qWait(100);
        }
        qWarning("program %s; windows shown: %s",
                 m_program.state() == QProcess::Running ? "running" : "ended",
                 qPrintable(m_x.Titles().join(QStringLiteral(" | "))));
        return std::nullopt;
    }

    // Waits until the design in `path` reads with the user title.
    bool WaitForTitle(const QString &path, const QString &title)
    {
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired()) {
            if (UserTitleOf(path) == title)
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    QString RecoveryCopy() const
    {
        const QDir folder(QDir(m_data.path()).filePath(QStringLiteral("Recovery")));
        const QStringList copies = folder.entryList({QStringLiteral("*.dlf")});
        return copies.isEmpty() ? QString() : folder.filePath(copies.first());
    }

private Q_SLOTS:
    void cleanup()
    {
        m_program.kill();
        m_program.waitForFinished();
    }

    void killedAfterAnEditRestoresIt()
    {
        QVERIFY(m_x.Connected());
        const QString design = QDir(m_data.path()).filePath(QStringLiteral("Dec2027.DLF"));
        {
            CalendarPage page;
            QVERIFY(SaveCalendarFile(page, {}, design));
        }
        const auto mainWindow = [](const QString &title) {
            return title.startsWith(QLatin1String("Dayloom  [Dec2027.DLF]"));
        };

        // The design opened from the command line gets a user title: an edit.
        StartProgram({design});
        std::optional<xcb_window_t> window = WaitForWindow(mainWindow);
        QVERIFY(window);
        // File > User Defined Title; the menu may open too late for the
        // second key on a busy machine, so the keys are tried again.
        std::optional<xcb_window_t> dialog;
        for (int attempt = 1; attempt <= 5 && !dialog; ++attempt) {
            m_x.Focus(*window);
            m_x.Press({KeyAlt, 'f'});
            QTest::qWait(200 * attempt);
            m_x.Type(QStringLiteral("t"));
            QDeadlineTimer shown(2000 * attempt);
            while (!dialog && !shown.hasExpired()) {
                QTest::qWait(50);
                dialog = m_x.FindWindow(
                    [](const QString &title) { return title == "User Defined Title"; });
            }
            if (!dialog)
                m_x.Press({KeyEscape});
        }
        QVERIFY(dialog);
        m_x.Focus(*dialog);
        m_x.Type(QStringLiteral("recovered"));
        m_x.Press({KeyReturn});
        QTRY_VERIFY_WITH_TIMEOUT(!RecoveryCopy().isEmpty(), 30000);
        QVERIFY(WaitForTitle(RecoveryCopy(), QStringLiteral("recovered")));
        // The details that name the design follow the copy.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString(RecoveryCopy()).replace(".dlf", ".ini")),
                                 10000);
        m_program.kill(); // SIGKILL: no close, no clean-up
        QVERIFY(m_program.waitForFinished());

        // The next start asks; Return answers Yes; Save writes the design's own file.
        StartProgram({});
        std::optional<xcb_window_t> question =
            WaitForWindow([](const QString &title) { return title == QLatin1String("Dayloom"); });
        QVERIFY(question);
        m_x.Focus(*question);
        m_x.Press({KeyReturn});
        QTRY_VERIFY_WITH_TIMEOUT(
            !m_x.FindWindow([](const QString &title) { return title == QLatin1String("Dayloom"); }),
            10000);
        window = WaitForWindow(mainWindow);
        QVERIFY(window);
        m_x.Focus(*window);
        m_x.Press({KeyControl, 's'});
        QVERIFY(WaitForTitle(design, QStringLiteral("recovered")));
        QTRY_VERIFY_WITH_TIMEOUT(RecoveryCopy().isEmpty(), 10000);
    }
};

QTEST_MAIN(TestCrashRecovery)
#include "tst_crashrecovery.moc"
