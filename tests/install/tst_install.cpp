#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run Start(const QString &program, const QStringList &arguments,
          const QProcessEnvironment &extra = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(extra);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(300000))
        return {-1, QString(), QStringLiteral("%1 did not finish").arg(program)};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void installedFiles_data();
    void installedFiles();
    void installedProgramRuns();
    void exportFindsInstalledBorder();
    void readsRecurringDatesFromUserDataFolder();
    void desktopFilesValidate_data();
    void desktopFilesValidate();
    void mimeTypesRegister();
    void debianPackageRuns();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }
    QString dayloom() const { return installed("bin/dayloom"); }

    QTemporaryDir m_prefix;
    QTemporaryDir m_home;
    QProcessEnvironment m_env;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid() && m_home.isValid());
    const Run run =
        Start(DAYLOOM_CMAKE, {"--install", DAYLOOM_BUILD_DIR, "--prefix", m_prefix.path()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err + run.out));
    // The installed copy must not lean on the build tree or the user's own files.
    m_env.insert("HOME", m_home.path());
    m_env.insert("XDG_DATA_HOME", m_home.filePath("data"));
    m_env.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
    m_env.insert("XDG_DATA_DIRS", m_home.filePath("none"));
    m_env.insert("LC_ALL", "C");
}

void TestInstall::installedFiles_data()
{
    QTest::addColumn<QString>("path");
    for (const char *path :
         {"bin/dayloom", "libexec/dayloom/dayloom-window", "share/dayloom/Borders/Holly.wpo",
          "share/dayloom/Borders/Holly.wls", "share/dayloom/Clipart",
          "share/dayloom/Textures/Wood.jpg", "share/dayloom/activity.icl",
          "share/dayloom/events.icl", "share/dayloom/holiday.icl", "share/dayloom/misc1.icl",
          "share/dayloom/misc2.icl", "share/dayloom/BonusIcons/animals.icl",
          "share/applications/dayloom.desktop", "share/mime/packages/dayloom.xml",
          "share/metainfo/io.dayloom.Dayloom.metainfo.xml",
          "share/icons/hicolor/scalable/apps/dayloom.svg",
          "share/icons/hicolor/16x16/apps/dayloom.png",
          "share/icons/hicolor/48x48/apps/dayloom.png",
          "share/icons/hicolor/256x256/apps/dayloom.png"})
        QTest::newRow(path) << QString::fromLatin1(path);
}

void TestInstall::installedFiles()
{
    QFETCH(QString, path);
    QVERIFY2(QFileInfo::exists(installed(path)), qPrintable(path));
}

void TestInstall::installedProgramRuns()
{
    const Run run = Start(dayloom(), {"--version"}, m_env);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(DAYLOOM_VERSION_TEXT), qPrintable(run.out));
}

void TestInstall::exportFindsInstalledBorder()
{
    // Installed programs used to look for borders only beside themselves, in bin.
    QTemporaryDir out;
    const QString page = out.filePath("holly.png");
    const Run run = Start(dayloom(), {"--export", page, "--border", "Holly"}, m_env);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(!QImage(page).isNull());
    QVERIFY(!QFileInfo::exists(installed("bin/Borders")));
}

void TestInstall::readsRecurringDatesFromUserDataFolder()
{
    // In a writable prefix the headless commands read DLRECUR.DAX from bin, while the
    // window (in libexec/dayloom) kept it elsewhere.
    const QDir data(m_home.filePath("data/Dayloom"));
    QVERIFY(data.mkpath("."));
    QFile dates(data.filePath("DLRECUR.DAX"));
    QVERIFY(dates.open(QIODevice::WriteOnly));
    dates.write(QString("%1%2\r\n").arg("Loom day", -120).arg("@1106", -10).toUtf8());
    dates.close();
    const Run run = Start(dayloom(), {"--list-dates", "2026-11"}, m_env);
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY2(run.out.startsWith("6\tLoom day"), qPrintable(run.out));
    QVERIFY(!QFileInfo::exists(installed("bin/DLRECUR.DAX")));
}

void TestInstall::desktopFilesValidate_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("desktop entry")
        << "desktop-file-validate" << QStringList{installed("share/applications/dayloom.desktop")};
    QTest::newRow("appstream") << "appstreamcli"
                               << QStringList{
                                      "validate", "--no-net",
                                      installed("share/metainfo/io.dayloom.Dayloom.metainfo.xml")};
}

void TestInstall::desktopFilesValidate()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QSKIP(qPrintable(tool + " is missing (scripts/setup installs it)"));
    const Run run = Start(program, arguments);
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
}

void TestInstall::mimeTypesRegister()
{
    const QString program = QStandardPaths::findExecutable("update-mime-database");
    if (program.isEmpty())
        QSKIP("update-mime-database is missing (package shared-mime-info)");
    const Run run = Start(program, {installed("share/mime")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    for (const char *type :
         {"application/x-dayloom-calendar.xml", "application/x-dayloom-stylesheet.xml"})
        QVERIFY2(QFileInfo::exists(installed("share/mime/") + type), type);
    QFile magic(installed("share/mime/magic"));
    QVERIFY(magic.open(QIODevice::ReadOnly));
    const QByteArray bytes = magic.readAll();
    QVERIFY(bytes.contains("[20:application/x-dayloom-calendar]"));
    QVERIFY(bytes.contains(QByteArray("\x01\x02", 2)));
}

void TestInstall::debianPackageRuns()
{
    const QString dpkgDeb = QStandardPaths::findExecutable("dpkg-deb");
    if (dpkgDeb.isEmpty())
        QSKIP("dpkg-deb is missing (package dpkg)");
    QTemporaryDir work;
    const Run pack = Start(DAYLOOM_CPACK, {"-G", "DEB", "-B", work.path(), "--config",
                                           DAYLOOM_BUILD_DIR "/CPackConfig.cmake"});
    QVERIFY2(pack.exitCode == 0, qPrintable(pack.out + pack.err));
    const QString deb = work.filePath("dayloom_" DAYLOOM_VERSION_TEXT "_amd64.deb");
    QVERIFY2(QFileInfo::exists(deb), qPrintable(pack.out));

    const Run depends = Start(dpkgDeb, {"-f", deb, "Depends"});
    QVERIFY2(depends.out.contains("libqt6widgets6") && depends.out.contains("libcups2"),
             qPrintable(depends.out));
    const QString root = work.filePath("root");
    QCOMPARE(Start(dpkgDeb, {"-x", deb, root}).exitCode, 0);
    const QString program = root + "/usr/bin/dayloom";
    const Run version = Start(program, {"--version"}, m_env);
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.contains(DAYLOOM_VERSION_TEXT));
    QVERIFY(QFileInfo(root + "/usr/libexec/dayloom/dayloom-window").isExecutable());
    const QString page = work.filePath("page.png");
    const Run border = Start(program, {"--export", page, "--border", "Holly"}, m_env);
    QVERIFY2(border.exitCode == 0, qPrintable(border.err));
    QVERIFY(QFileInfo::exists(root + "/usr/share/man/man1/dayloom.1.gz"));

    const QString lintian = QStandardPaths::findExecutable("lintian");
    if (lintian.isEmpty())
        QSKIP("lintian is missing (package lintian)");
    const Run check = Start(lintian, {"--fail-on", "error,warning", deb});
    QVERIFY2(check.exitCode == 0, qPrintable(check.out + check.err));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
