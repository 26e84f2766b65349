#include "iconsamples.h"

#include "core/graphics/picturelimits.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QtTest>

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

// The icons of icon n at `size` pixels come from the image of side `from`.
struct Expected
{
    int index, size, from;
};
using ExpectedIcons = QList<Expected>;

IconLibrary ReadBytes(const QByteArray &bytes, bool *ok = nullptr, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    IconLibrary library;
    const bool read = library.Read(buffer, error);
    if (ok)
        *ok = read;
    return library;
}

// Every icon of a library is null or a square of the size asked for.
void VerifyIconsClean(const IconLibrary &library, const QString &what)
{
    for (int i = 0; i < qMin(library.Count(), 64); ++i) {
        const QImage icon = library.Icon(i, 32);
        QVERIFY2(icon.isNull() || (icon.size() == QSize(32, 32) &&
                                   icon.format() == QImage::Format_ARGB32_Premultiplied),
                 qPrintable(what));
    }
}

QByteArray Sample(const QString &name)
{
    for (const SampleFile &file : IconSampleFiles())
        if (file.name == name)
            return file.bytes;
    return {};
}

} // namespace

Q_DECLARE_METATYPE(ExpectedIcons)

class TestIconLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsIcons_data();
    void readsIcons();
    void writesAlignmentShift_data();
    void writesAlignmentShift();
    void filesWithoutIconsReadEmpty_data();
    void filesWithoutIconsReadEmpty();
    void damagedFilesStayClean_data();
    void damagedFilesStayClean();
    void hostileDirectoriesFinishQuickly_data();
    void hostileDirectoriesFinishQuickly();
    void refusesOversizeFile();
    void skipsOversizeImages();
    void claimedIconsAreCapped_data();
    void claimedIconsAreCapped();
    void shippedLibrariesHaveIcons_data();
    void shippedLibrariesHaveIcons();
    void corpusReplays();
};

void TestIconLibrary::readsIcons_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<ExpectedIcons>("expected");

    // Icon 0 has 16, 32 and 48 pixels, icon 1 only 16 (and in programs an
    // 8-bit 24), icon 2 32 and 256 (PNG).
    const ExpectedIcons common = {{0, 32, 32}, {0, 16, 16}, {0, 24, 32},  {0, 64, 48},
                                  {1, 16, 16}, {2, 32, 32}, {2, 48, 256}, {2, 256, 256}};
    ExpectedIcons programs = common;
    programs.append({1, 32, 24});
    programs.append({1, 24, 24});
    QTest::newRow("library shift 4") << Sample("shift4.icl") << 3 << common;
    QTest::newRow("library shift 9")
        << Sample("shift9.icl") << 2 << ExpectedIcons{{0, 32, 16}, {1, 32, 32}, {1, 16, 32}};
    QTest::newRow("32-bit program") << Sample("program32.dll") << 3 << programs;
    QTest::newRow("64-bit program") << Sample("program64.exe") << 3 << programs;
    QTest::newRow("icon file with png")
        << Sample("png.ico") << 1 << ExpectedIcons{{0, 32, 32}, {0, 16, 16}, {0, 20, 24}};
}

void TestIconLibrary::readsIcons()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(ExpectedIcons, expected);
    bool ok = false;
    const IconLibrary library = ReadBytes(bytes, &ok);
    QVERIFY(ok);
    QCOMPARE(library.Count(), count);
    for (const Expected &e : expected) {
        const QImage icon = library.Icon(e.index, e.size);
        const QString what = QStringLiteral("icon %1 at %2").arg(e.index).arg(e.size);
        QVERIFY2(icon.size() == QSize(e.size, e.size), qPrintable(what));
        QCOMPARE(icon.format(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(icon.pixel(e.size / 2, e.size / 2), IconColour(e.index, e.from));
        if (e.size == e.from)
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    }
    QVERIFY(library.Icon(-1).isNull());
    QVERIFY(library.Icon(count).isNull());
}

void TestIconLibrary::writesAlignmentShift_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("sideOfIcons");
    QTest::addColumn<int>("written");
    QTest::newRow("small library keeps 4") << 4 << 32 << 4;
    QTest::newRow("asked 9") << 9 << 32 << 9;
    QTest::newRow("large library raises it") << 0 << 128 << 4;
}

void TestIconLibrary::writesAlignmentShift()
{
    QFETCH(int, asked);
    QFETCH(int, sideOfIcons);
    QFETCH(int, written);
    const QList<QList<int>> sides(16, {sideOfIcons});
    const QByteArray bytes = MakeIconLibrary(sides, asked);
    const int table = 0x40 + Le16(bytes, 0x40 + 0x24);
    QCOMPARE(int(Le16(bytes, table)), written);
    const IconLibrary library = ReadBytes(bytes);
    QCOMPARE(library.Count(), 16);
    QCOMPARE(library.Icon(15, sideOfIcons).pixel(5, 5), IconColour(15, sideOfIcons));
}

void TestIconLibrary::filesWithoutIconsReadEmpty_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("not an icon at all");
    QTest::newRow("dos program only") << (QByteArray("MZ") + QByteArray(100, 0));
    QTest::newRow("library without icons") << MakeIconLibrary({}, 4);
    QTest::newRow("program without icons") << MakeProgram({}, false);
}

void TestIconLibrary::filesWithoutIconsReadEmpty()
{
    QFETCH(QByteArray, bytes);
    bool ok = false;
    const IconLibrary library = ReadBytes(bytes, &ok);
    QVERIFY(ok);
    QCOMPARE(library.Count(), 0);
    QVERIFY(library.Icon(0).isNull());
}

void TestIconLibrary::damagedFilesStayClean_data()
{
    QTest::addColumn<QByteArray>("bytes");
    for (const SampleFile &file : IconSampleFiles()) {
        const QByteArray &b = file.bytes;
        for (int part = 1; part < 12; ++part) {
            const qsizetype at = b.size() * part / 12;
            QTest::addRow("%s cut at %lld", qPrintable(file.name), qint64(at)) << b.left(at);
            QByteArray high = b, low = b;
            for (qsizetype i = at; i < qMin(at + 4, b.size()); ++i) {
                high[i] = char(0xff);
                low[i] = char(0x00);
            }
            QTest::addRow("%s ff at %lld", qPrintable(file.name), qint64(at)) << high;
            QTest::addRow("%s 00 at %lld", qPrintable(file.name), qint64(at)) << low;
        }
        // Every header byte in turn, for the small headers.
        for (qsizetype at = 0; at < qMin<qsizetype>(b.size(), 0x1c0); at += 3) {
            QByteArray flipped = b;
            flipped[at] = char(~uchar(flipped[at]));
            QTest::addRow("%s flipped %lld", qPrintable(file.name), qint64(at)) << flipped;
        }
    }
}

void TestIconLibrary::damagedFilesStayClean()
{
    QFETCH(QByteArray, bytes);
    bool ok = false;
    const IconLibrary library = ReadBytes(bytes, &ok);
    QVERIFY(ok);
    VerifyIconsClean(library, QString::fromLatin1(QTest::currentDataTag()));
}

void TestIconLibrary::hostileDirectoriesFinishQuickly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Used to walk every subdirectory again for each entry that named it.
    QByteArray loop = Sample("program32.dll");
    const int root = 0x400;
    QByteArray looped(root, 0);
    looped.replace(0, root, loop.left(root));
    PutLe32(looped, 0);
    PutLe32(looped, 0);
    PutLe32(looped, 0);
    PutLe16(looped, 0);
    PutLe16(looped, 0xffff);
    for (int i = 0; i < 0xffff; ++i) {
        PutLe32(looped, 14);
        PutLe32(looped, 0x80000000u); // the root itself
    }
    QTest::newRow("program directory naming itself") << looped;

    QByteArray groups = MakeIconLibrary({{16}}, 4);
    const int table = 0x40 + Le16(groups, 0x40 + 0x24);
    SetLe16(groups, table + 4, 0xffff); // more group entries than the file holds
    groups.append(QByteArray(0xffff * 12, char(0x01)));
    QTest::newRow("library with 65535 groups") << groups;
}

void TestIconLibrary::hostileDirectoriesFinishQuickly()
{
    QFETCH(QByteArray, bytes);
    QElapsedTimer timer;
    timer.start();
    const IconLibrary library = ReadBytes(bytes);
    VerifyIconsClean(library, QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
}

void TestIconLibrary::refusesOversizeFile()
{
    bool ok = true;
    QString error;
    ReadBytes(QByteArray(IconLibrary::MaxFileBytes + 1, 0), &ok, &error);
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
}

void TestIconLibrary::skipsOversizeImages()
{
    QImage huge(1100, 1100, QImage::Format_ARGB32);
    huge.fill(Qt::red);
    const IconLibrary library = ReadBytes(MakeIcon({PngBytes(huge)}));
    QCOMPARE(library.Count(), 1);
    QVERIFY(library.Icon(0, 32).isNull());
    QVERIFY(library.Icon(0, 2048).isNull());
}

void TestIconLibrary::shippedLibrariesHaveIcons_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"activity.icl", "events.icl", "holiday.icl", "misc1.icl", "misc2.icl",
                             "BonusIcons/animals.icl"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestIconLibrary::shippedLibrariesHaveIcons()
{
    QFETCH(QString, name);
    IconLibrary library;
    QString error;
    QVERIFY2(library.Load(QStringLiteral(DAYLOOM_PROGRAM_FOLDER "/") + name, &error),
             qPrintable(error));
    QVERIFY(library.Count() >= 40);
    for (int i = 0; i < library.Count(); ++i) {
        for (int size : {16, 32, 64}) {
            const QImage icon = library.Icon(i, size);
            QCOMPARE(icon.size(), QSize(size, size));
            int opaque = 0;
            QSet<QRgb> colours;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    opaque += qAlpha(icon.pixel(x, y)) > 128;
                    colours.insert(icon.pixel(x, y));
                }
            QVERIFY2(opaque > size * size / 10 && colours.size() > 3,
                     qPrintable(QStringLiteral("icon %1 at %2 is blank").arg(i).arg(size)));
        }
    }
}

void TestIconLibrary::claimedIconsAreCapped_data()
{
    QTest::addColumn<int>("claimed");
    QTest::addColumn<int>("count");
    QTest::newRow("a hundred") << 100 << 100;
    // Used to list every one: a library of 2.4 MB claimed 200,000 icons, and
    // the icon list made an entry for each.
    QTest::newRow("two hundred thousand") << 200000 << MaxLibraryIcons;
}

void TestIconLibrary::claimedIconsAreCapped()
{
    QFETCH(int, claimed);
    QFETCH(int, count);
    const IconLibrary library = ReadBytes(MakeLibraryClaiming(claimed));
    QCOMPARE(library.Count(), count);
    for (int index : {0, count - 1}) {
        const QImage icon = library.Icon(index, 32);
        QCOMPARE(icon.size(), QSize(32, 32));
        QCOMPARE(icon.pixel(16, 16), IconColour(0, 32));
    }
    QVERIFY(library.Icon(count).isNull());
}

void TestIconLibrary::corpusReplays()
{
    int files = 0;
    QDirIterator it(QStringLiteral(DAYLOOM_TEST_DATA "/corpus/iconlibrary"), QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        IconLibrary library;
        QVERIFY(library.Load(path));
        VerifyIconsClean(library, path);
        ++files;
    }
    QVERIFY(files >= int(IconSampleFiles().size() + HostileIconSampleFiles().size()));
}

QTEST_GUILESS_MAIN(TestIconLibrary)
#include "tst_iconlibrary.moc"
