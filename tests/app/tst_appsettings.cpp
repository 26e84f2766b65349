#include "core/app/preferences.h"
#include "core/app/recoverystore.h"
#include "core/app/tmrufilelist.h"
#include "core/app/windowplacement.h"
#include "core/app/zoomsteps.h"
#include "core/formats/calendarfile.h"
#include "core/formats/objectclassregistry.h"
#include "core/io/appfolders.h"
#include "core/io/datafolder.h"
#include "core/io/inifile.h"
#include "core/io/saveatomically.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace Dayloom;

namespace {

// A page whose cell 3 holds `text` as its whole RTF note.
RecoveryStore::CellNotes NotesWith(const QByteArray &text)
{
    RecoveryStore::CellNotes notes;
    notes[2].SetRtfText(text);
    return notes;
}

// Writes a copy of a default page with `note` in cell 3, as a program would.
void WriteCopy(RecoveryStore &store, const QByteArray &note, const QString &original)
{
    CalendarPage page;
    QVERIFY(store.Write(page, NotesWith(note), {}, original,
                        QDateTime(QDate(2027, 3, 4), QTime(5, 6), Qt::UTC)));
}

// The note of cell 3 in the copy's design.
QByteArray NoteInCopy(const RecoveryStore::Copy &copy)
{
    QFile file(copy.designPath);
    CalendarPage page;
    PersistentObjectList objects;
    if (!file.open(QIODevice::ReadOnly) ||
        !ReadCalendarFile(page, file, ObjectClassRegistry(), {}, objects))
        return "unreadable";
    return page.CellNote(3).RtfText();
}

IniFile Parse(const QByteArray &text)
{
    IniFile ini;
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    ini.Read(buffer);
    return ini;
}

QByteArray Serialise(const IniFile &ini)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ini.Write(buffer);
    return buffer.data();
}

} // namespace

class TestAppSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iniIntegers_data();
    void iniIntegers();
    void iniSectionsAndOrder();
    void iniSaveIsAtomicAndReadable();
    void saveAtomically_data();
    void saveAtomically();
    void preferencesDefaultsAndRoundTrip();
    void recentFiles();
    void recentFilesStoredInFileOrder();
    void placementShiftsOntoSmallerScreen();
    void placementSectionNames();
    void zoomMappings_data();
    void zoomMappings();
    void zoomSteps();
    void captions();
    void assetPathFindsInstalledShare_data();
    void assetPathFindsInstalledShare();
    void installedProgramWritesUserDataFolder_data();
    void installedProgramWritesUserDataFolder();
    void dataFolderChosenByTheEnvironment();
    void recoveryCopyOutlivesACrash();
    void recoveryCopyOfARunningProgramIsLeftAlone();
    void damagedRecoveryCopy_data();
    void damagedRecoveryCopy();
};

void TestAppSettings::iniIntegers_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << QByteArray("45") << 45;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("hexadecimal") << QByteArray("0x1F") << 31;
    QTest::newRow("upper-case hex prefix") << QByteArray("0XFF") << 255;
    QTest::newRow("colour with top bit") << QByteArray("0x8000000F") << int(0x8000000F);
    QTest::newRow("bare 0x is unreadable") << QByteArray("0x") << 7;
    QTest::newRow("text is unreadable") << QByteArray("many") << 7;
    QTest::newRow("empty is unreadable") << QByteArray("") << 7;
}

void TestAppSettings::iniIntegers()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    const IniFile ini = Parse("[S]\r\nKey=" + value + "\r\n");
    QCOMPARE(ini.ReadInteger("S", "Key", 7), expected);
}

void TestAppSettings::iniSectionsAndOrder()
{
    const IniFile ini = Parse("[Default Font]\nName=Times New Roman\nBold=1\n"
                              "[MRU]\nF3=/c.DLF\nF0=/a.DLF\nF1=/b=x.DLF\n");
    QCOMPARE(ini.ReadString("default font", "NAME"), QStringLiteral("Times New Roman"));
    QVERIFY(ini.ReadBool("Default Font", "Bold", false));
    QVERIFY(!ini.ReadBool("Default Font", "Italic", false));
    QCOMPARE(ini.SectionValues("MRU"),
             (QStringList{"/c.DLF", "/a.DLF", "/b=x.DLF"})); // file order, after the first '='
    IniFile copy = ini;
    copy.WriteString("Default Font", "Name", "Arial\nInjected=1");
    copy.WriteInteger("Zooming", "Main", 60);
    const QByteArray text = Serialise(copy);
    QVERIFY(text.contains("[Zooming]\r\nMain=60\r\n"));
    QVERIFY(!text.contains("\nInjected"));
}

void TestAppSettings::iniSaveIsAtomicAndReadable()
{
    QTemporaryDir dir;
    IniFile ini(dir.filePath("DL.ini"));
    QVERIFY(ini.Load()); // missing file: empty
    ini.WriteBool("Hints", "On", false);
    QVERIFY(ini.Save());
    IniFile again(dir.filePath("DL.ini"));
    QVERIFY(again.Load());
    QVERIFY(!again.ReadBool("Hints", "On", true));
    IniFile nowhere(dir.filePath("no/such/folder/DL.ini"));
    QString error;
    QVERIFY(!nowhere.Save(&error));
    QVERIFY(!error.isEmpty());
}

void TestAppSettings::saveAtomically_data()
{
    QTest::addColumn<QByteArray>("before"); // the file's bytes; empty: no file
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<bool>("writeSucceeds");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("error"); // "*": the system's reason, whatever it says
    QTest::newRow("new file") << QByteArray() << true << true << QByteArray("new") << QString();
    QTest::newRow("replaces the old file")
        << QByteArray("old") << true << true << QByteArray("new") << QString();
    QTest::newRow("failed write keeps the old file")
        << QByteArray("old") << true << false << QByteArray("old") << "disk full";
    QTest::newRow("failed write leaves no file")
        << QByteArray() << true << false << QByteArray() << "disk full";
    QTest::newRow("missing folder") << QByteArray() << false << true << QByteArray() << "*";
}

void TestAppSettings::saveAtomically()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, folderExists);
    QFETCH(bool, writeSucceeds);
    QFETCH(QByteArray, after);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(folderExists ? "file.dat" : "missing/file.dat");
    if (!before.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    QString reason = "untouched";
    const bool saved = SaveAtomically(path, &reason, [&](QIODevice &device, QString *why) {
        device.write("new");
        if (!writeSucceeds)
            *why = "disk full";
        return writeSucceeds;
    });
    QCOMPARE(saved, error.isEmpty());
    if (error == "*")
        QVERIFY(!reason.isEmpty() && reason != "untouched");
    else if (!error.isEmpty())
        QCOMPARE(reason, error);
    QFile file(path);
    QCOMPARE(file.exists(), !after.isEmpty());
    if (file.open(QIODevice::ReadOnly))
        QCOMPARE(file.readAll(), after);
    // Nothing half written is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), after.isEmpty() ? 0 : 1);
}

void TestAppSettings::preferencesDefaultsAndRoundTrip()
{
    Preferences defaults;
    defaults.Load(IniFile());
    QCOMPARE(defaults.mainZoomPercent, 60);
    QCOMPARE(defaults.propertiesZoomPercent, 30);
    QCOMPARE(defaults.defaultFont.Name(), QStringLiteral("Arial"));
    QCOMPARE(defaults.defaultFont.Size(), 10);
    QVERIFY(defaults.iconToolVisible);
    QVERIFY(defaults.showHints);
    QVERIFY(defaults.iconFile.endsWith("MISC1.ICL"));

    Preferences changed;
    changed.defaultFont.SetStrikeOut(true);
    changed.defaultFont.SetColor(clRed);
    changed.mainZoomPercent = 45;
    changed.showHints = false;
    changed.imageFolder = QStringLiteral("/pictures/Winter");
    IniFile ini;
    changed.Save(ini);
    const QByteArray text = Serialise(ini);
    QVERIFY(text.contains("[Default Font]\r\nName=Arial\r\nSize=10\r\nBold=0\r\n"));
    QVERIFY(text.contains("Strikeout=1\r\nColor=255\r\n"));
    Preferences loaded;
    loaded.Load(Parse(text));
    QVERIFY(loaded.defaultFont.StrikeOut());
    QCOMPARE(loaded.defaultFont.Color(), clRed);
    QCOMPARE(ZoomFromPercent(loaded.mainZoomPercent), 0.401f); // 45 gives 40 %
    QVERIFY(!loaded.showHints);
    QCOMPARE(loaded.imageFolder, QStringLiteral("/pictures/Winter"));
}

void TestAppSettings::recentFiles()
{
    TMRUFileList list;
    QSignalSpy changed(&list, &TMRUFileList::listChanged);
    for (int i = 1; i <= 6; ++i)
        list.Add(QStringLiteral("/cal/%1.DLF").arg(i));
    QCOMPARE(list.Files().size(), 5);
    QCOMPARE(list.Files().first(), QStringLiteral("/cal/6.DLF"));
    QVERIFY(!list.Files().contains("/cal/1.DLF")); // the sixth dropped the oldest
    list.Add("/cal/4.DLF");                        // reopening the third moves it to the top
    QCOMPARE(list.Files().first(), QStringLiteral("/cal/4.DLF"));
    QCOMPARE(TMRUFileList::MenuCaption(1, list.Files().first()), QStringLiteral("&1 /cal/4.DLF"));
    QCOMPARE(list.Files().size(), 5);

    QSignalSpy clicked(&list, &TMRUFileList::itemClicked);
    QCOMPARE(list.Click(2), QStringLiteral("/cal/6.DLF"));
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!list.Files().contains("/cal/6.DLF")); // removed until opened again
    QCOMPARE(list.Click(9), QString());
    list.SetMaximum(2);
    QCOMPARE(list.Files().size(), 2);
    QVERIFY(changed.count() >= 8);
}

void TestAppSettings::recentFilesStoredInFileOrder()
{
    TMRUFileList list;
    list.SetAutoSaveKey("MRU");
    list.Add("/b.DLF");
    list.Add("/a.DLF");
    IniFile ini = Parse("[MRU]\nF0=/old.DLF\nF7=/older.DLF\n[Hints]\nOn=1\n");
    list.Store(ini);
    QCOMPARE(ini.SectionValues("MRU"), (QStringList{"/a.DLF", "/b.DLF"}));
    QCOMPARE(ini.ReadString("MRU", "F1"), QStringLiteral("/b.DLF"));
    TMRUFileList loaded;
    loaded.SetAutoSaveKey("MRU");
    loaded.Load(ini);
    QCOMPARE(loaded.Files(), list.Files());
}

void TestAppSettings::placementShiftsOntoSmallerScreen()
{
    WindowPlacement p{100, 50, 1280, 700, false};
    const WindowPlacement shifted = p.ShiftedOnto(QSize(1024, 768));
    QCOMPARE(shifted.left, 100 - 256);
    QCOMPARE(shifted.right, 1024);
    QCOMPARE(shifted.top, 50);
    const WindowPlacement taller =
        WindowPlacement{0, 200, 800, 900, false}.ShiftedOnto({1024, 768});
    QCOMPARE(taller.top, 68);
    QCOMPARE(taller.bottom, 768);

    IniFile ini;
    p.maximized = true;
    p.Save(ini, "TCalendarMain_Placement");
    const WindowPlacement loaded = WindowPlacement::Load(ini, "TCalendarMain_Placement", false);
    QCOMPARE(loaded.Rect(), p.Rect());
    QVERIFY(loaded.maximized);
    QVERIFY(!WindowPlacement::Load(IniFile(), "TCalendarMain_Placement", false).IsSaved());
}

void TestAppSettings::placementSectionNames()
{
    QCOMPARE(WindowPlacement::SectionName("TCalendarMain", 96),
             QStringLiteral("TCalendarMain_Placement"));
    QCOMPARE(WindowPlacement::SectionName("TCalendarMain", 120),
             QStringLiteral("TCalendarMain_Placement120"));
}

void TestAppSettings::zoomMappings_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<int>("back");
    QTest::newRow("below 30") << 5 << 0.201f << 20;
    QTest::newRow("45 gives 40") << 45 << 0.401f << 40;
    QTest::newRow("60") << 60 << 0.601f << 60;
    QTest::newRow("99") << 99 << 0.901f << 90;
    QTest::newRow("150") << 150 << 1.001f << 100;
}

void TestAppSettings::zoomMappings()
{
    QFETCH(int, percent);
    QFETCH(float, zoom);
    QFETCH(int, back);
    QCOMPARE(ZoomFromPercent(percent), zoom);
    QCOMPARE(PercentFromZoom(zoom), back);
}

void TestAppSettings::zoomSteps()
{
    float zoom = 1.001f;
    QList<int> seen;
    while (CanZoomOut(zoom)) {
        zoom -= 0.1f;
        seen << PercentFromZoom(zoom);
    }
    QCOMPARE(seen, (QList<int>{90, 80, 70, 60, 50}));
    seen.clear();
    while (CanZoomIn(zoom)) {
        zoom += 0.1f;
        seen << PercentFromZoom(zoom);
    }
    QCOMPARE(seen, (QList<int>{60, 70, 80, 90, 100}));
    QVERIFY(CanZoomIn(0.201f));
    QVERIFY(!CanZoomOut(0.401f)); // small restored zooms only step upwards
}

void TestAppSettings::captions()
{
    QCOMPARE(MainWindowCaption(QString(), 0.601f), QStringLiteral("Dayloom    [60%]"));
    QCOMPARE(MainWindowCaption("/home/me/MAY1998.DLF", 1.001f),
             QStringLiteral("Dayloom  [MAY1998.DLF]    [100%]"));
}

void TestAppSettings::assetPathFindsInstalledShare_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("asset");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bin") << "bin"
                         << "share/dayloom/Borders/Holly.wpo"
                         << "share/dayloom/Borders/Holly.wpo";
    QTest::newRow("libexec") << "libexec/dayloom"
                             << "share/dayloom/Borders/Holly.wpo"
                             << "share/dayloom/Borders/Holly.wpo";
    QTest::newRow("beside wins") << "bin"
                                 << "bin/Borders/Holly.wpo"
                                 << "bin/Borders/Holly.wpo";
    QTest::newRow("missing stays beside") << "bin"
                                          << "elsewhere/Holly.wpo"
                                          << "bin/Borders/Holly.wpo";
}

void TestAppSettings::assetPathFindsInstalledShare()
{
    // An installed program looked for its borders and icon libraries only beside itself and
    // in the system's data folders, never in its own prefix's share/dayloom.
    QFETCH(QString, program);
    QFETCH(QString, asset);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QDir prefix(dir.path());
    QVERIFY(prefix.mkpath(program) && prefix.mkpath(QFileInfo(prefix.filePath(asset)).path()));
    QFile file(prefix.filePath(asset));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    SetProgramFolder(prefix.filePath(program));
    const auto restore = qScopeGuard([] { SetProgramFolder(QString()); });
    QCOMPARE(AssetPath("Borders/Holly.wpo"), prefix.filePath(expected));
}

void TestAppSettings::installedProgramWritesUserDataFolder_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("share");
    QTest::addColumn<bool>("besideProgram");
    QTest::newRow("build tree") << "build/src/dayloom"
                                << "" << true;
    QTest::newRow("installed bin") << "bin"
                                   << "share/dayloom" << false;
    QTest::newRow("installed libexec") << "libexec/dayloom"
                                       << "share/dayloom" << false;
}

void TestAppSettings::installedProgramWritesUserDataFolder()
{
    // In a writable prefix "dayloom" kept DL.ini in bin/ and "dayloom-window" in
    // libexec/dayloom/, so the headless commands missed what the window wrote.
    QFETCH(QString, program);
    QFETCH(QString, share);
    QFETCH(bool, besideProgram);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir dir;
    const QDir prefix(dir.path());
    QVERIFY(prefix.mkpath(program));
    if (!share.isEmpty())
        QVERIFY(prefix.mkpath(share));
    SetProgramFolder(prefix.filePath(program));
    const auto restore = qScopeGuard([] { SetProgramFolder(QString()); });
    QCOMPARE(DataFolder() == prefix.filePath(program), besideProgram);
    QVERIFY(!DataFolder().isEmpty());
}

void TestAppSettings::dataFolderChosenByTheEnvironment()
{
    QTemporaryDir dir;
    const QString chosen = QDir(dir.path()).filePath(QStringLiteral("scratch/data"));
    qputenv("DAYLOOM_DATA_FOLDER", chosen.toLocal8Bit());
    const auto restore = qScopeGuard([] { qunsetenv("DAYLOOM_DATA_FOLDER"); });
    QCOMPARE(DataFolder(), chosen);
    QVERIFY(QFileInfo(chosen).isDir());
    QCOMPARE(RecoveryStore::DefaultFolder(), chosen + QStringLiteral("/Recovery"));
}

void TestAppSettings::recoveryCopyOutlivesACrash()
{
    QTemporaryDir dir;
    {
        RecoveryStore crashed(dir.path());
        WriteCopy(crashed, "first", QString());
        WriteCopy(crashed, "typed in the editor", QStringLiteral("/designs/Dec2027.DLF"));
    } // ends without Remove(), as a killed program does
    RecoveryStore next(dir.path());
    const QList<RecoveryStore::Copy> copies = next.Orphans();
    QCOMPARE(copies.size(), 1);
    const RecoveryStore::Copy &copy = copies.first();
    QCOMPARE(copy.error, QString());
    QCOMPARE(copy.DisplayName(), QStringLiteral("Dec2027.DLF"));
    QCOMPARE(copy.written, QDateTime(QDate(2027, 3, 4), QTime(5, 6), Qt::UTC));
    QCOMPARE(NoteInCopy(copy), QByteArray("typed in the editor"));
    QVERIFY(RecoveryStore::CheckReadable(copy, nullptr));
    next.Discard(copy);
    QVERIFY(next.Orphans().isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestAppSettings::recoveryCopyOfARunningProgramIsLeftAlone()
{
    QTemporaryDir dir;
    RecoveryStore running(dir.path());
    WriteCopy(running, "running", QString());
    RecoveryStore other(dir.path());
    QVERIFY(other.Orphans().isEmpty());
    {
        RecoveryStore crashed(dir.path());
        WriteCopy(crashed, "crashed", QString());
    }
    // Two programs starting together: the first to look holds the copy.
    const QList<RecoveryStore::Copy> held = other.Orphans();
    QCOMPARE(held.size(), 1);
    RecoveryStore third(dir.path());
    QVERIFY(third.Orphans().isEmpty());
    other.Release(held.first());
    const QList<RecoveryStore::Copy> copies = third.Orphans();
    QCOMPARE(copies.size(), 1);
    QCOMPARE(NoteInCopy(copies.first()), QByteArray("crashed"));
}

void TestAppSettings::damagedRecoveryCopy_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("readable");
    QTest::newRow("design cut short") << QStringLiteral("cut") << false;
    QTest::newRow("design missing") << QStringLiteral("design") << false;
    // A crash between writing the design and its details.
    QTest::newRow("details missing") << QStringLiteral("details") << true;
    QTest::newRow("time garbled") << QStringLiteral("time") << true;
}

void TestAppSettings::damagedRecoveryCopy()
{
    QFETCH(QString, damage);
    QFETCH(bool, readable);
    QTemporaryDir dir;
    {
        RecoveryStore crashed(dir.path());
        WriteCopy(crashed, "note", QStringLiteral("/designs/a.DLF"));
    }
    const QDir folder(dir.path());
    const QString design = folder.entryInfoList({QStringLiteral("*.dlf")}).value(0).filePath();
    const QString details = QString(design).replace(QStringLiteral(".dlf"), QStringLiteral(".ini"));
    if (damage == QLatin1String("cut"))
        QVERIFY(QFile(design).resize(40));
    else if (damage == QLatin1String("design"))
        QVERIFY(QFile::remove(design));
    else if (damage == QLatin1String("details"))
        QVERIFY(QFile::remove(details));
    else
        QVERIFY(QFile(details).open(QIODevice::WriteOnly | QIODevice::Truncate));
    RecoveryStore next(dir.path());
    const QList<RecoveryStore::Copy> copies = next.Orphans();
    QCOMPARE(copies.size(), 1);
    QString error;
    QCOMPARE(RecoveryStore::CheckReadable(copies.first(), &error), readable);
    QCOMPARE(error.isEmpty(), readable);
    if (readable) {
        QCOMPARE(copies.first().DisplayName(), QStringLiteral("Untitled"));
        QCOMPARE(NoteInCopy(copies.first()), QByteArray("note"));
    }
    next.Discard(copies.first());
    QCOMPARE(folder.entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
