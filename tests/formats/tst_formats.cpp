#include "designreplay.h"
#include "replay.h"
#include "testshape.h"

#include "core/common/windows1252.h"
#include "core/formats/calendarsettingsblock.h"
#include "core/formats/extendedfloat.h"
#include "core/io/appfolders.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <thread>

#include <csignal>
#include <sys/types.h>

using namespace Dayloom;
using namespace Dayloom::Testing;

namespace {

// The address checker's shadow memory and its quarantine of freed blocks
// count in the process's size, so peak sizes say nothing under it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderAddressChecker = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool UnderAddressChecker = true;
#else
constexpr bool UnderAddressChecker = false;
#endif
#else
constexpr bool UnderAddressChecker = false;
#endif

QByteArray Hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QByteArray Written(const std::function<void(ValueWriter &)> &write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ValueWriter writer(buffer);
    write(writer);
    return buffer.data();
}

// A read-only pipe-like device: sequential, so the readers cannot know how
// much remains.
class SequentialDevice : public QIODevice
{
public:
    explicit SequentialDevice(QByteArray data) : m_data(std::move(data))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return m_data.size() - m_offset + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(maxSize, m_data.size() - m_offset);
        memcpy(data, m_data.constData() + m_offset, size_t(n));
        m_offset += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_offset = 0;
};

// A device that accepts a few bytes and then fails, like a full disk.
class FailingDevice : public QIODevice
{
public:
    FailingDevice() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        if (m_written + size > 100) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        m_written += size;
        return size;
    }

private:
    qint64 m_written = 0;
};

void ConfigureDesign(CalendarPage &page)
{
    page.SetPaperSize(1);
    page.SetCalendarLayout(loFC12AfterLS);
    page.SetLeftMarginInch(0.5f);
    page.SetTopMarginInch(0.75f);
    page.SetRightMarginInch(1.25f);
    page.SetBottomMarginInch(1.5f);
    page.SetCalendarLineLayout(llCellsOnly);
    page.SetCalendarBorder(cbTopBottom);
    page.SetMiniCalendarLineLayout(mllBoxed);
    page.SetMiniCellBorder(cbBottom);
    const char *months[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                            "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    for (int m = 1; m <= 12; ++m)
        page.SetMonthName(m, QString::fromUtf8(months[m - 1]));
    page.SetDayName(6, QStringLiteral("Freitag "));
    page.SetTitleBGColor(clYellow);
    page.SetHeadersBGColor(clBtnFace);
    page.SetMiniCalBGColor(0x00123456);
    page.SetMiniHeadersBGColor(clBlack);
    FontSpec title(QStringLiteral("Arial"), 30, true, clRed);
    title.SetItalic(true);
    page.SetTitleFont(title);
    FontSpec cell(QStringLiteral("Courier New"), 14);
    cell.SetUnderline(true);
    cell.SetStrikeOut(true);
    page.SetCellFont(cell);
    page.SetTitleShowYear(false);
    page.SetMiniShowYear(false);
    page.SetHeadersStyle(dsWhole);
    page.SetMiniHeadersStyle(dsThreeChars);
    page.SetNumberPosition(cnpCenter);
    page.SetWMFBorderFile(QStringLiteral("Holly"));
    page.SetMainCalDay(5);
    page.SetMainCalMonth(6);
    page.SetMainCalYear(2026);
    page.SetStartOfWeek(2);
    page.SetPlannerStartTime(QTime(7, 30));
    for (int cell : {1, 17, 42}) {
        TWPRtfStorage note;
        note.SetRtfText("{\\rtf1\\ansi Note " + QByteArray::number(cell) + "}");
        page.SetCellNote(cell, note);
    }
    page.SetUserTitle(QStringLiteral("Our Year"));
}

void CompareDesigns(const CalendarPage &a, const CalendarPage &b)
{
    QVERIFY(a.SameSettings(b));
    QCOMPARE(a.CalendarOrientation(), b.CalendarOrientation());
    QCOMPARE(a.CalendarBorder(), b.CalendarBorder());
    QCOMPARE(a.HeadersBorder(), b.HeadersBorder());
    QCOMPARE(a.CellBorder(), b.CellBorder());
    QCOMPARE(a.MiniCalBorder(), b.MiniCalBorder());
    QCOMPARE(a.MiniHeadersBorder(), b.MiniHeadersBorder());
    QCOMPARE(a.MiniCellBorder(), b.MiniCellBorder());
    QCOMPARE(a.NumberPosition(), b.NumberPosition());
    QVERIFY(a.TitleFont() == b.TitleFont());
    QVERIFY(a.CellFont() == b.CellFont());
    QVERIFY(a.MiniHeadersFont() == b.MiniHeadersFont());
}

std::unique_ptr<TestShape> MakeShape(int n)
{
    auto shape = std::make_unique<TestShape>();
    shape->SetName(QStringLiteral("Special%1").arg(n));
    shape->SetLeft(10 * n);
    shape->SetTop(-5 * n);
    shape->SetLocked(n % 2 == 1);
    shape->SetCaption(QStringLiteral("Shape %1").arg(n));
    shape->SetAlignment(TestShape::taCenter);
    shape->SetBackColor(clBtnFace);
    return shape;
}

QByteArray DesignFile(const CalendarPage &page, const QList<const PersistentObject *> &objects)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteCalendarFile(page, objects, buffer);
    return buffer.data();
}

// A calendar file as the given older version stored it, followed by an
// objects list that versions 1 and 2 must not read.
QByteArray OlderFile(int version, const CalendarPage &page, const PersistentObject &object)
{
    return Written([&](ValueWriter &w) {
        w.writeListBegin();
        w.writeInteger(version);
        w.writeInteger(1);
        CalendarSettingsBlock::Write(w, page);
        if (version >= 4)
            w.writeString(page.WMFBorderFile());
        for (int v :
             {page.MainCalDay(), page.MainCalMonth(), page.MainCalYear(), page.StartOfWeek(),
              page.PlannerStartTime().hour(), page.PlannerStartTime().minute()})
            w.writeInteger(v);
        for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
            ComponentRecord::WriteNote(w, page.CellNote(cell));
        if (version >= 2)
            w.writeString(page.UserTitle());
        w.writeListEnd();
        ComponentRecord::WriteList(w, {&object});
    });
}

bool ReadFile(CalendarPage &page, const QByteArray &bytes, PersistentObjectList &objects,
              const QStringList &namesInUse = {})
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadCalendarFile(page, buffer, TestRegistry(), namesInUse, objects);
}

bool ReadSheet(CalendarPage &page, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadStyleSheet(page, buffer);
}

QByteArray SheetBytes(const CalendarPage &page)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteStyleSheet(page, buffer);
    return buffer.data();
}

} // namespace

class TstFormats : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_programFolder;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_programFolder.isValid());
        QDir(m_programFolder.path()).mkdir(QStringLiteral("Borders"));
        // Border files the page can read: it sniffs the content, so a PNG
        // serves under the border extensions.
        QImage picture(2, 2, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        for (const char *name : {"Borders/Holly.wls", "Borders/Holly.wpo"})
            QVERIFY(picture.save(m_programFolder.filePath(QString::fromLatin1(name)), "PNG"));
        SetProgramFolder(m_programFolder.path());
    }

    // --- tagged value stream ----------------------------------------------------
    void integerBytes_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("zero") << 0 << Hex("02 00");
        QTest::newRow("int8 max") << 127 << Hex("02 7F");
        QTest::newRow("int8 min") << -128 << Hex("02 80");
        QTest::newRow("int16 above int8") << 128 << Hex("03 80 00");
        QTest::newRow("int16 below int8") << -129 << Hex("03 7F FF");
        QTest::newRow("margin 1.25") << 125 << Hex("02 7D");
        QTest::newRow("margin 1.5") << 150 << Hex("03 96 00");
        QTest::newRow("int16 max") << 32767 << Hex("03 FF 7F");
        QTest::newRow("int32 above int16") << 32768 << Hex("04 00 80 00 00");
        QTest::newRow("white") << 16777215 << Hex("04 FF FF FF 00");
        QTest::newRow("system colour") << qint32(clBtnFace) << Hex("04 0F 00 00 80");
        QTest::newRow("int32 min") << std::numeric_limits<qint32>::min() << Hex("04 00 00 00 80");
    }
    void integerBytes()
    {
        QFETCH(qint32, value);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Written([&](ValueWriter &w) { w.writeInteger(value); }), bytes);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer);
        QCOMPARE(reader.readInteger(), std::optional<qint32>(value));
    }

    void stringBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("prefix");
        QTest::newRow("empty") << QString() << Hex("06 00");
        QTest::newRow("January") << QStringLiteral("January") << Hex("06 07") + "January";
        QTest::newRow("255 bytes") << QString(255, 'a') << Hex("06 FF");
        QTest::newRow("256 bytes") << QString(256, 'a') << Hex("0C 00 01 00 00");
        QTest::newRow("300-character month") << QString(300, 'x') << Hex("0C 2C 01 00 00");
        QTest::newRow("euro and umlaut")
            << QString::fromUtf8("€ März") << Hex("06 06 80 20 4D E4 72 7A");
        // Used to be written as question marks.
        QTest::newRow("Cyrillic") << QString::fromUtf8("Январь") << Hex("14 0C 00 00 00");
        QTest::newRow("Greek") << QString::fromUtf8("Ιανουάριος") << Hex("14 14 00 00 00");
    }
    void stringBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, prefix);
        const QByteArray bytes = Written([&](ValueWriter &w) { w.writeString(text); });
        QVERIFY2(bytes.startsWith(prefix), bytes.left(12).toHex(' ').constData());
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer);
        QCOMPARE(reader.readString(), std::optional<QString>(text));
        QVERIFY(buffer.atEnd());
    }

    void readerTagRules_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QVariant>("expected"); // invalid = read error
        QTest::newRow("int8 as integer") << Hex("02 FF") << "integer" << QVariant(-1);
        QTest::newRow("int16 as integer") << Hex("03 00 80") << "integer" << QVariant(-32768);
        QTest::newRow("int32 as integer") << Hex("04 01 00 00 00") << "integer" << QVariant(1);
        QTest::newRow("string as integer") << Hex("06 01 31") << "integer" << QVariant();
        QTest::newRow("float as integer")
            << Hex("05 00 00 00 00 00 00 00 80 FF 3F") << "integer" << QVariant();
        QTest::newRow("short string") << Hex("06 02 41 42") << "string" << QVariant("AB");
        QTest::newRow("long string") << Hex("0C 02 00 00 00 41 42") << "string" << QVariant("AB");
        QTest::newRow("UTF-16 string")
            << Hex("12 02 00 00 00 1F 04 40 04") << "string" << QVariant(QString::fromUtf8("Пр"));
        QTest::newRow("UTF-8 string")
            << Hex("14 04 00 00 00 D0 9F D1 80") << "string" << QVariant(QString::fromUtf8("Пр"));
        QTest::newRow("identifier as string") << Hex("07 02 41 42") << "string" << QVariant();
        QTest::newRow("integer as string") << Hex("02 01") << "string" << QVariant();
        QTest::newRow("true") << Hex("09") << "boolean" << QVariant(true);
        QTest::newRow("false") << Hex("08") << "boolean" << QVariant(false);
        QTest::newRow("other byte as false") << Hex("06") << "boolean" << QVariant(false);
        QTest::newRow("no boolean at end") << QByteArray() << "boolean" << QVariant();
        QTest::newRow("extended 1.0")
            << Hex("05 00 00 00 00 00 00 00 80 FF 3F") << "real" << QVariant(1.0);
        QTest::newRow("extended -2.5")
            << Hex("05 00 00 00 00 00 00 00 A0 00 C0") << "real" << QVariant(-2.5);
        QTest::newRow("integer as real") << Hex("02 07") << "real" << QVariant(7.0);
        QTest::newRow("identifier") << Hex("07 08") + "taCenter"
                                    << "identifier" << QVariant(QByteArray("taCenter"));
        QTest::newRow("binary") << Hex("0A 03 00 00 00 01 02 03") << "binary"
                                << QVariant(Hex("01 02 03"));
        QTest::newRow("binary longer than the data")
            << Hex("0A FF FF FF FF 01 02 03") << "binary" << QVariant();
        QTest::newRow("long string longer than the data")
            << Hex("0C FF FF FF 7F 41") << "string" << QVariant();
        QTest::newRow("UTF-16 count past the end")
            << Hex("12 FF FF FF FF 41 00") << "string" << QVariant();
        QTest::newRow("set") << Hex("0B 06") + "fsBold" + Hex("08") + "fsItalic" + Hex("00")
                             << "set" << QVariant(QByteArray("fsBold,fsItalic"));
        QTest::newRow("unterminated set") << Hex("0B 06") + "fsBold"
                                          << "set" << QVariant();
    }
    void readerTagRules()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, kind);
        QFETCH(QVariant, expected);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer);
        QVariant got;
        if (kind == "integer") {
            if (auto v = reader.readInteger())
                got = *v;
        } else if (kind == "string") {
            if (auto v = reader.readString())
                got = *v;
        } else if (kind == "boolean") {
            if (auto v = reader.readBoolean())
                got = *v;
        } else if (kind == "real") {
            if (auto v = reader.readExtended())
                got = *v;
        } else if (kind == "identifier") {
            if (auto v = reader.readIdentifier())
                got = *v;
        } else if (kind == "binary") {
            if (auto v = reader.readBinary())
                got = *v;
        } else if (kind == "set") {
            if (auto v = reader.readSet())
                got = v->join(',');
        }
        QCOMPARE(reader.ok(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(got, expected);
        else
            QVERIFY(!reader.errorString().isEmpty());
    }

    void extendedRoundTrip_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative zero") << -0.0;
        QTest::newRow("zoom") << 0.6;
        QTest::newRow("pi") << M_PI;
        QTest::newRow("huge") << 1.7e308;
        QTest::newRow("denormal") << -4.9e-324;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    }
    void extendedRoundTrip()
    {
        QFETCH(double, value);
        const double back = ExtendedToDouble(DoubleToExtended(value));
        QCOMPARE(back, value);
        QCOMPARE(std::signbit(back), std::signbit(value));
        QVERIFY(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")))));
    }

    void windows1252EveryByteRoundTrips()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QByteArray back;
        QVERIFY(EncodeWindows1252(DecodeWindows1252(all), back));
        QCOMPARE(back, all);
        QCOMPARE(DecodeWindows1252("\x80\x9f"), QString::fromUtf8("€Ÿ"));
        QVERIFY(!EncodeWindows1252(QString::fromUtf8("Ж"), back));
    }

    void listsCollectionsAndNesting_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("skips");
        QTest::newRow("nil") << Hex("0D") << true;
        QTest::newRow("list of values") << Hex("01 02 01 06 01 41 08 0D 00") << true;
        QTest::newRow("collection with indexed item")
            << Hex("0E 02 00 01 04") + "Left" + Hex("02 05 00 01 00 00") << true;
        QTest::newRow("unterminated list") << Hex("01 02 01") << false;
        QTest::newRow("unknown tag") << Hex("01 11 00") << false;
        // Used to be able to exhaust the stack on a stream of list tags.
        QTest::newRow("lists nested too deeply") << QByteArray(100000, '\x01') << false;
        QTest::newRow("collections nested too deeply") << QByteArray(3000, '\x0E') << false;
    }
    void listsCollectionsAndNesting()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, skips);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer);
        QCOMPARE(reader.skipValue(), skips);
        if (skips)
            QVERIFY(buffer.atEnd());
    }

    void collectionWriterMatchesReader()
    {
        const QByteArray bytes = Written([](ValueWriter &w) {
            w.writeCollectionBegin();
            w.writeListBegin();
            w.writeShortString("Caption");
            w.writeString(QStringLiteral("x"));
            w.writeListEnd();
            w.writeListEnd();
            w.writeNil();
        });
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer);
        QVERIFY(reader.skipValue());
        QVERIFY(reader.readNil());
        QVERIFY(buffer.atEnd());
    }

    // --- style sheets and the settings block -------------------------------------
    void styleSheetExampleBytes()
    {
        CalendarPage page;
        page.SetPaperSize(0);
        page.SetCalendarLayout(loFCMinisInTitleLS);
        for (auto set : {&CalendarPage::SetLeftMarginInch, &CalendarPage::SetTopMarginInch,
                         &CalendarPage::SetRightMarginInch, &CalendarPage::SetBottomMarginInch})
            (page.*set)(0.5f);
        page.SetCalendarLineLayout(llFull);
        page.SetCalendarBorder(cbAll);
        page.SetMonthName(1, QStringLiteral("January"));
        const QByteArray expected =
            Hex("01 02 04 02 02 02 00 02 01 02 32 02 32 02 32 02 32 02 03 02 01 02 00 06 07") +
            "January";
        QVERIFY(SheetBytes(page).startsWith(expected));
    }

    void marginBytes_data()
    {
        QTest::addColumn<float>("inches");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<float>("readBack");
        QTest::newRow("1.25") << 1.25f << Hex("02 7D") << 1.25f;
        QTest::newRow("1.5") << 1.5f << Hex("03 96 00") << 1.5f;
        QTest::newRow("0.255 truncated") << 0.255f << Hex("02 19") << 0.25f;
        QTest::newRow("0.999 truncated") << 0.999f << Hex("02 63") << 0.99f;
        // Used to be stored as 28: 0.29 is held as 0.28999999.
        QTest::newRow("0.29 kept") << 0.29f << Hex("02 1D") << 0.29f;
        QTest::newRow("negative truncated toward zero") << -0.257f << Hex("02 E7") << -0.25f;
    }
    void marginBytes()
    {
        QFETCH(float, inches);
        QFETCH(QByteArray, bytes);
        QFETCH(float, readBack);
        CalendarPage page;
        page.SetLeftMarginInch(inches);
        const QByteArray sheet = SheetBytes(page);
        QCOMPARE(sheet.mid(9, bytes.size()), bytes);
        CalendarPage other;
        QVERIFY(ReadSheet(other, sheet));
        QCOMPARE(other.LeftMarginInch(), readBack);
    }

    void styleSheetRoundTrip()
    {
        CalendarPage page;
        ConfigureDesign(page);
        CalendarPage other;
        other.SetMainCalMonth(3);
        other.SetUserTitle(QStringLiteral("Kept"));
        QVERIFY(ReadSheet(other, SheetBytes(page)));
        QCOMPARE(other.WMFBorderFile(), QStringLiteral("Holly"));
        QCOMPARE(other.MonthName(3), QString::fromUtf8("März"));
        QCOMPARE(other.HeadersBGColor(), clBtnFace);
        // The date and the user title are not part of a style sheet.
        QCOMPARE(other.MainCalMonth(), 3);
        QCOMPARE(other.UserTitle(), QStringLiteral("Kept"));
        QCOMPARE(other.CalendarBorder(), cbTopBottom);
        QCOMPARE(other.MiniCellBorder(), cbBottom);
        QCOMPARE(other.MiniHeadersBorder(), cbTopBottom);
        QCOMPARE(other.NumberPosition(), cnpCenter);
        QVERIFY(other.TitleFont() == page.TitleFont());
        QVERIFY(other.CellFont() == page.CellFont());
    }

    void presetDoesNotOverrideStoredBorder()
    {
        // Used to fail: the outer border comes before the line layout in the
        // block, and applying the preset on reading overwrote it.
        CalendarPage page;
        page.SetCalendarLineLayout(llHeadersAndCells);
        page.SetCalendarBorder(cbBottom);
        CalendarPage other;
        QVERIFY(ReadSheet(other, SheetBytes(page)));
        QCOMPARE(other.CalendarLineLayout(), llHeadersAndCells);
        QCOMPARE(other.CalendarBorder(), cbBottom);
    }

    void cyrillicMonthNamesRoundTrip()
    {
        // Used to be written as question marks and lost.
        CalendarPage page;
        const QString january = QString::fromUtf8("Январь");
        page.SetMonthName(1, january);
        page.SetDayName(1, QString::fromUtf8("Κυριακή"));
        const QByteArray sheet = SheetBytes(page);
        QVERIFY(sheet.contains(Hex("14 0C 00 00 00") + january.toUtf8()));
        CalendarPage other;
        QVERIFY(ReadSheet(other, sheet));
        QCOMPARE(other.MonthName(1), january);
        QCOMPARE(other.DayName(1), QString::fromUtf8("Κυριακή"));
    }

    void hostileSettingsAreBounded()
    {
        CalendarPage page;
        QByteArray sheet = SheetBytes(page);
        // Paper, orientation, margins, layout follow the three list values.
        const QByteArray hostileStart = Hex("01 02 04 02 02") + Hex("02 00") + Hex("02 09") +
                                        Hex("04 FF FF FF 7F") + Hex("04 00 00 00 80") +
                                        Hex("02 19 02 19") + Hex("02 63");
        const QByteArray original = Hex("01 02 04 02 02") + Hex("02 00 02 00") +
                                    Hex("02 19 02 19 02 19 02 19") + Hex("02 00");
        QVERIFY(sheet.startsWith(original));
        sheet = hostileStart + sheet.mid(original.size());
        CalendarPage other;
        other.SetCalendarLayout(loWeek);
        QVERIFY(ReadSheet(other, sheet));
        QCOMPARE(other.CalendarLayout(), loWeek); // 99 is not a layout: unchanged
        QCOMPARE(other.LeftMarginInch(), 100.0f);
        QCOMPARE(other.TopMarginInch(), -100.0f);
    }

    void hostileFontSizeIsBounded()
    {
        CalendarPage page;
        FontSpec font = page.TitleFont();
        font.SetSize(100000);
        page.SetTitleFont(font);
        CalendarPage other;
        QVERIFY(ReadSheet(other, SheetBytes(page)));
        QCOMPARE(other.TitleFont().Size(), MaxFontPoints);
    }

    void styleSheetVersion3HasNoBorder()
    {
        CalendarPage page;
        QByteArray sheet = SheetBytes(page);
        sheet[2] = 3;                      // version
        sheet.remove(sheet.size() - 3, 2); // the empty border name
        CalendarPage other;
        other.SetWMFBorderFile(QStringLiteral("Holly"));
        QVERIFY(ReadSheet(other, sheet));
        QVERIFY(other.WMFBorderFile().isEmpty());
    }

    void borderNameMustBeBare_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare name") << "Holly"
                                   << "Holly";
        // A name stored in another case lost the border on a case-aware disk.
        QTest::newRow("other case") << "HOLLY"
                                    << "HOLLY";
        // Used to load any file the name reached as the border picture.
        QTest::newRow("climbs out of the folder") << "../Borders/Holly"
                                                  << "";
        QTest::newRow("absolute") << "/etc/passwd"
                                  << "";
        QTest::newRow("backslash") << "..\\Holly"
                                   << "";
        QTest::newRow("control character") << "Ho\x01lly"
                                           << "";
    }
    void borderNameMustBeBare()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        CalendarPage page;
        QByteArray sheet = SheetBytes(page);
        sheet.chop(3); // the empty border name and the end of list
        sheet += Written([&](ValueWriter &w) {
            w.writeString(stored);
            w.writeListEnd();
        });
        CalendarPage other;
        QVERIFY(ReadSheet(other, sheet));
        QCOMPARE(other.WMFBorderFile(), expected);
    }

    void calendarFileAsStyleSheetFailsAtListEnd()
    {
        CalendarPage design;
        ConfigureDesign(design);
        CalendarPage page;
        QBuffer buffer;
        buffer.setData(DesignFile(design, {}));
        buffer.open(QIODevice::ReadOnly);
        QString error;
        QVERIFY(!ReadStyleSheet(page, buffer, &error));
        QVERIFY(error.contains(QStringLiteral("end of list")));
        QCOMPARE(page.MonthName(3), QString::fromUtf8("März"));
        QCOMPARE(page.WMFBorderFile(), QStringLiteral("Holly"));
        QCOMPARE(page.MainCalYear(), 1997); // the date is not read
    }

    void partialStyleSheetKeepsValuesRead()
    {
        CalendarPage design;
        ConfigureDesign(design);
        QByteArray sheet = SheetBytes(design);
        const qsizetype cut = sheet.indexOf("Mai");
        CalendarPage page;
        QVERIFY(!ReadSheet(page, sheet.left(cut)));
        QCOMPARE(page.PaperSize(), 1);
        QCOMPARE(page.MonthName(4), QStringLiteral("April"));
        QVERIFY(page.MonthName(5) != QStringLiteral("Mai"));
    }

    // A sheet cut off after the line layout used to apply the preset over
    // header and cell borders that were never read.
    void cutAfterLineLayoutKeepsUnreadBorders()
    {
        CalendarPage design;
        ConfigureDesign(design);
        const QByteArray sheet = SheetBytes(design);
        CalendarPage page;
        page.SetHeadersBorder(cbTop);
        page.SetCellBorder(cbBottom);
        QVERIFY(!ReadSheet(page, sheet.left(sheet.indexOf(design.MonthName(1).toUtf8()))));
        QCOMPARE(page.CalendarLineLayout(), llCellsOnly);
        QCOMPARE(page.CalendarBorder(), cbTopBottom);
        QCOMPARE(page.HeadersBorder(), cbTop);
        QCOMPARE(page.CellBorder(), cbBottom);
    }

    // --- component records ------------------------------------------------------
    void emptyNoteRecordBytes()
    {
        const QByteArray bytes =
            Written([](ValueWriter &w) { ComponentRecord::WriteNote(w, TWPRtfStorage()); });
        QCOMPARE(bytes, QByteArray("TPF0") + Hex("0D") + "TWPRtfStorage" + Hex("00 00 00"));
        TWPRtfStorage note;
        note.SetRtfText("stale");
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer);
        QVERIFY(ComponentRecord::ReadNote(reader, note));
        QVERIFY(note.IsEmpty());
    }

    void objectRecordWritesOnlyChangedValues()
    {
        TestShape shape;
        shape.SetName(QStringLiteral("Component3"));
        shape.SetLeft(10);
        shape.SetTop(20);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(ComponentRecord::WriteObject(shape, buffer));
        const QByteArray expected =
            QByteArray("TPF0") + Hex("0A") + "TTestShape" + Hex("0A") + "Component3" + Hex("04") +
            "Left" + Hex("02 0A 03") + "Top" + Hex("02 14 05") + "Width" + Hex("03 8E 00 06") +
            "Height" + Hex("02 21 06") + "Locked" + Hex("08 0C") + "Unselectable" + Hex("08 09") +
            "BackColor" + Hex("07 07") + "clWhite" + Hex("00 00");
        QCOMPARE(buffer.data(), expected);
    }

    void objectValuedPropertyBytes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("entries");
        QTest::newRow("font") << 0
                              << Hex("0C") + "Font.Charset" + Hex("07 0F") + "DEFAULT_CHARSET" +
                                     Hex("0A") + "Font.Color" + Hex("07 05") + "clRed" + Hex("0B") +
                                     "Font.Height" + Hex("02 F0") + Hex("09") + "Font.Name" +
                                     Hex("06 05") + "Arial" + Hex("0A") + "Font.Style" +
                                     Hex("0B 06") + "fsBold" + Hex("08") + "fsItalic" + Hex("00");
        QTest::newRow("bitmap picture") << 1
                                        << Hex("0C") + "Picture.Data" + Hex("0A 10 00 00 00 07") +
                                               "TBitmap" + Hex("04 00 00 00") + "BMxy";
        QTest::newRow("icon picture")
            << 2 << Hex("0C") + "Picture.Data" + Hex("0A 0A 00 00 00 05") + "TIcon" + "ICON";
        // A metafile used to be written without the length in front.
        QTest::newRow("metafile picture") << 6
                                          << Hex("0C") + "Picture.Data" + Hex("0A 12 00 00 00 09") +
                                                 "TMetafile" + Hex("08 00 00 00") + "META";
        QTest::newRow("bare bitmap")
            << 3 << Hex("0A") + "Image.Data" + Hex("0A 08 00 00 00 04 00 00 00") + "BMxy";
        QTest::newRow("rich text")
            << 4 << Hex("0C") + "RTFText.Data" + Hex("0A 05 00 00 00") + "{\\rtf";
        QTest::newRow("set and real")
            << 5
            << Hex("05") + "Scale" + Hex("05 00 00 00 00 00 00 00 80 FE 3F") + Hex("07") +
                   "Options" + Hex("0B 08") + "opShaded" + Hex("08") + "opDashed" + Hex("00");
    }
    void objectValuedPropertyBytes()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, entries);
        TestShape shape;
        switch (kind) {
        case 0: {
            FontSpec font(QStringLiteral("Arial"), 12, true, clRed);
            font.SetItalic(true);
            shape.SetFont(font);
            break;
        }
        case 1:
            shape.SetPicture(StoredPicture("TBitmap", "BMxy"));
            break;
        case 2:
            shape.SetPicture(StoredPicture("TIcon", "ICON"));
            break;
        case 3:
            shape.SetImage("BMxy");
            break;
        case 4:
            shape.SetRtf("{\\rtf");
            break;
        case 5:
            shape.SetScale(0.5);
            shape.SetOptions(TestShape::Shaded | TestShape::Dashed);
            break;
        case 6:
            shape.SetPicture(StoredPicture("TMetafile", "META"));
            break;
        }
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        QVERIFY(ComponentRecord::WriteObject(shape, buffer));
        QVERIFY2(buffer.data().contains(entries + Hex("00 00")),
                 buffer.data().toHex(' ').constData());
        buffer.seek(0);
        const auto back = ComponentRecord::ReadObject(buffer, TestRegistry(), {});
        QVERIFY(back);
        QVERIFY(static_cast<TestShape &>(*back).SameValues(shape));
    }

    void recordReading_data()
    {
        QTest::addColumn<QByteArray>("entries");
        QTest::addColumn<bool>("reads");
        QTest::addColumn<TColor>("backColor");
        const QByteArray back = Hex("09") + "BackColor";
        QTest::newRow("colour identifier")
            << back + Hex("07 09") + "clBtnFace" << true << clBtnFace;
        QTest::newRow("colour identifier ignoring case")
            << back + Hex("07 07") + "CLBLACK" << true << clBlack;
        QTest::newRow("colour integer") << back + Hex("04 56 34 12 00") << true << TColor(0x123456);
        QTest::newRow("unknown colour identifier")
            << back + Hex("07 05") + "clFoo" << false << clWhite;
        QTest::newRow("any order") << Hex("03") + "Top" + Hex("02 01") + back + Hex("02 05") +
                                          Hex("04") + "Left" + Hex("02 01")
                                   << true << TColor(5);
        QTest::newRow("unknown enumeration value")
            << Hex("09") + "Alignment" + Hex("07 06") + "taNone" << false << clWhite;
        QTest::newRow("enumeration as integer")
            << Hex("09") + "Alignment" + Hex("02 01") << false << clWhite;
        QTest::newRow("unknown property") << Hex("05") + "Shape" + Hex("02 01") << false << clWhite;
        QTest::newRow("unknown font part")
            << Hex("0A") + "Font.Angle" + Hex("02 01") << false << clWhite;
        QTest::newRow("rich text path in any case")
            << Hex("0C") + "RtfText.DATA" + Hex("0A 00 00 00 00") << true << clWhite;
        QTest::newRow("damaged picture")
            << Hex("0C") + "Picture.Data" + Hex("0A 05 00 00 00 07") + "TBit" << false << clWhite;
    }
    void recordReading()
    {
        QFETCH(QByteArray, entries);
        QFETCH(bool, reads);
        QFETCH(TColor, backColor);
        const QByteArray record =
            QByteArray("TPF0") + Hex("0A") + "TTestShape" + Hex("00") + entries + Hex("00 00");
        QBuffer buffer;
        buffer.setData(record);
        buffer.open(QIODevice::ReadOnly);
        QString error;
        const auto object = ComponentRecord::ReadObject(buffer, TestRegistry(), {}, &error);
        QCOMPARE(bool(object), reads);
        QCOMPARE(error.isEmpty(), reads);
        if (object) {
            QCOMPARE(static_cast<TestShape &>(*object).m_backColor, backColor);
            QCOMPARE(static_cast<TestShape &>(*object).loadedCount, 1);
        }
    }

    void hostileBoundsAreClamped()
    {
        const QByteArray record = QByteArray("TPF0") + Hex("0A") + "TTestShape" + Hex("00") +
                                  Hex("05") + "Width" + Hex("04 00 00 00 80") + Hex("0B") +
                                  "Font.Height" + Hex("04 00 00 00 80") + Hex("00 00");
        QBuffer buffer;
        buffer.setData(record);
        buffer.open(QIODevice::ReadOnly);
        const auto object = ComponentRecord::ReadObject(buffer, TestRegistry(), {});
        QVERIFY(object);
        const auto &shape = static_cast<TestShape &>(*object);
        QCOMPARE(shape.m_width, 0);
        QCOMPARE(shape.m_font.Size(), MaxFontPoints);
    }

    void componentNames_data()
    {
        QTest::addColumn<QStringList>("inUse");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("none in use") << QStringList() << QStringList{"Component0", "Component1"};
        QTest::newRow("gaps filled") << QStringList{"Component0", "COMPONENT2", "Label1"}
                                     << QStringList{"Component1", "Component3"};
        QStringList all;
        for (int n = 0; n <= 1000; ++n)
            all << QStringLiteral("Component%1").arg(n);
        QTest::newRow("all taken keeps stored name") << all << QStringList{"Stored", "Stored"};
    }
    void componentNames()
    {
        QFETCH(QStringList, inUse);
        QFETCH(QStringList, expected);
        ComponentNamer namer(inUse);
        QCOMPARE(namer.next(QStringLiteral("Stored")), expected.at(0));
        QCOMPARE(namer.next(QStringLiteral("Stored")), expected.at(1));
    }

    // --- calendar files ---------------------------------------------------------
    void calendarFileRoundTrip()
    {
        CalendarPage design;
        ConfigureDesign(design);
        auto first = MakeShape(1);
        auto second = MakeShape(2);
        FontSpec font(QStringLiteral("Times New Roman"), 20, false, clBlue);
        font.SetCharset(204);
        font.SetPitch(FontSpec::fpFixed);
        second->SetFont(font);
        second->SetHint(QString::fromUtf8("Подсказка"));
        second->SetCursor(-21);
        second->SetTag(7);
        second->SetPicture(StoredPicture("TMetafile", QByteArray(3000, '\x5A')));
        second->SetRtf(QByteArray(400, 'r'));
        const QByteArray bytes = DesignFile(design, {first.get(), second.get()});

        CalendarPage page;
        PersistentObjectList objects;
        QVERIFY(ReadFile(page, bytes, objects, {QStringLiteral("Component0")}));
        CompareDesigns(page, design);
        QCOMPARE(page.PlannerStartTime(), QTime(7, 30));
        for (int cell = 1; cell <= CalendarPage::CellCount; ++cell)
            QVERIFY(page.CellNote(cell) == design.CellNote(cell));
        QCOMPARE(objects.size(), std::size_t(2));
        QCOMPARE(objects[0]->Name(), QStringLiteral("Component1"));
        QCOMPARE(objects[1]->Name(), QStringLiteral("Component2"));
        QVERIFY(static_cast<TestShape &>(*objects[0]).SameValues(*first));
        QVERIFY(static_cast<TestShape &>(*objects[1]).SameValues(*second));
    }

    void olderVersions_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<bool>("hasBorder");
        QTest::addColumn<bool>("hasTitle");
        QTest::addColumn<bool>("hasObjects");
        QTest::newRow("version 1") << 1 << false << false << false;
        QTest::newRow("version 2") << 2 << false << true << false;
        QTest::newRow("version 3") << 3 << false << true << true;
        QTest::newRow("version 4") << 4 << true << true << true;
    }
    void olderVersions()
    {
        QFETCH(int, version);
        QFETCH(bool, hasBorder);
        QFETCH(bool, hasTitle);
        QFETCH(bool, hasObjects);
        CalendarPage design;
        ConfigureDesign(design);
        const auto shape = MakeShape(4);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.DLF"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(OlderFile(version, design, *shape));
        file.close();

        CalendarPage page;
        page.SetUserTitle(QStringLiteral("stale"));
        page.SetWMFBorderFile(QStringLiteral("Holly"));
        PersistentObjectList objects;
        QString error;
        QVERIFY2(OpenCalendarFile(page, path, TestRegistry(), {}, objects, &error),
                 qPrintable(error));
        QCOMPARE(page.WMFBorderFile().isEmpty(), !hasBorder);
        QCOMPARE(page.UserTitle(), hasTitle ? QStringLiteral("Our Year") : QString());
        QCOMPARE(objects.size(), std::size_t(hasObjects ? 1 : 0));
        QCOMPARE(page.MainCalDay(), 5);
        QCOMPARE(page.MainCalYear(), 2026);
        QCOMPARE(page.StartOfWeek(), 2);
        QVERIFY(page.CellNote(17) == design.CellNote(17));
    }

    // One unreadable object record used to drop every object after it too,
    // and the file still read as whole.
    void damagedObjectsAreSkippedAndCounted_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<int>("unread");
        const QStringList oneAndThree{"Shape 1", "Shape 3"};
        QTest::newRow("unknown class") << "class" << oneAndThree << 1;
        QTest::newRow("unknown property") << "property" << oneAndThree << 1;
        QTest::newRow("length past the end") << "length" << oneAndThree << 1;
        QTest::newRow("garbage inside a record") << "garbage" << oneAndThree << 1;
        QTest::newRow("cut inside the last record")
            << "cut" << QStringList{"Shape 1", "Shape 2"} << 1;
        QTest::newRow("list end missing")
            << "end" << QStringList{"Shape 1", "Shape 2", "Shape 3"} << 1;
        QTest::newRow("list begin spoiled")
            << "begin" << QStringList{"Shape 1", "Shape 2", "Shape 3"} << 0;
        QTest::newRow("two records in a row") << "two" << QStringList{"Shape 1"} << 2;
        QTest::newRow("pipe stops at the damage") << "pipe" << QStringList{"Shape 1"} << 1;
    }
    void damagedObjectsAreSkippedAndCounted()
    {
        QFETCH(QString, damage);
        QFETCH(QStringList, kept);
        QFETCH(int, unread);
        CalendarPage design;
        const auto a = MakeShape(1), b = MakeShape(2), c = MakeShape(3);
        // Longer than the pieces the search after damage reads at a time.
        b->SetPicture(StoredPicture("TBitmap", QByteArray(150000, 'p')));
        QByteArray bytes = DesignFile(design, {a.get(), b.get(), c.get()});
        const QByteArray header = QByteArray("TPF0") + Hex("0A") + "TTestShape";
        const qsizetype first = bytes.indexOf(header);
        const qsizetype second = bytes.indexOf(header, first + 1);
        const qsizetype third = bytes.indexOf(header, second + 1);
        if (damage == "class" || damage == "pipe") {
            bytes[second + 5] = 'X';
        } else if (damage == "property") {
            bytes[bytes.indexOf("Caption", second)] = 'X';
        } else if (damage == "length") {
            bytes.replace(bytes.indexOf("Picture.Data", second) + 13, 4, Hex("F0 FF FF 7F"));
        } else if (damage == "garbage") {
            bytes.replace(second + 30, 40, QByteArray(40, '\xff'));
        } else if (damage == "cut") {
            bytes.chop(10);
        } else if (damage == "end") {
            bytes.chop(1);
        } else if (damage == "begin") {
            bytes[first - 1] = char(0x7f);
        } else if (damage == "two") {
            bytes[second + 5] = 'X';
            bytes.replace(third + 30, 10, QByteArray(10, '\xff'));
        }
        CalendarPage page;
        PersistentObjectList objects;
        int unreadObjects = -1;
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        SequentialDevice pipe(bytes);
        QIODevice &device = damage == "pipe" ? static_cast<QIODevice &>(pipe) : buffer;
        QVERIFY(
            ReadCalendarFile(page, device, TestRegistry(), {}, objects, nullptr, &unreadObjects));
        QStringList captions;
        for (const auto &object : objects)
            captions << static_cast<TestShape &>(*object).m_caption;
        QCOMPARE(captions, kept);
        QCOMPARE(unreadObjects, unread);
    }

    void searchAcrossPieces()
    {
        QByteArray data(200000, 'x');
        for (qsizetype at : {65534, 131069, 199996})
            data.replace(at, 4, "TPF0");
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer);
        std::optional<qint64> at = reader.find("TPF0", 0, 800);
        QList<qint64> found;
        for (; at; at = reader.find("TPF0", *at + 1, 800)) {
            found << *at;
            QVERIFY(reader.scanned(*at).size() >= std::min<qint64>(800, data.size() - *at));
            QVERIFY(reader.scanned(*at).startsWith("TPF0"));
        }
        QCOMPARE(found, (QList<qint64>{65534, 131069, 199996}));
        QVERIFY(reader.resumeAt(65534));
        QCOMPARE(reader.readRaw(4), std::optional<QByteArray>("TPF0"));
    }

    void unreadObjectsMessage()
    {
        QCOMPARE(UnreadObjectsMessage(3),
                 QStringLiteral("3 objects of this design could not be read; saving will leave "
                                "them out."));
        QCOMPARE(UnreadObjectsMessage(1),
                 QStringLiteral("1 object of this design could not be read; saving will leave it "
                                "out."));
    }

    void objectCountIsBounded()
    {
        // Used to create one object per record for as long as the data lasted.
        const QByteArray record =
            QByteArray("TPF0") + Hex("0A") + "TTestShape" + Hex("00") + Hex("00 00");
        QByteArray list = Hex("01");
        for (std::size_t i = 0; i <= ComponentRecord::MaxObjects; ++i)
            list += record;
        list += Hex("00");
        QBuffer buffer;
        buffer.setData(list);
        buffer.open(QIODevice::ReadOnly);
        QString error;
        const PersistentObjectList objects =
            ComponentRecord::ReadObjects(buffer, TestRegistry(), {}, &error);
        QCOMPARE(objects.size(), ComponentRecord::MaxObjects);
        QVERIFY(!error.isEmpty());
    }

    void invalidPlannerTimeFailsCalendarPart()
    {
        CalendarPage design;
        design.SetPlannerStartTime(QTime(23, 0));
        QByteArray bytes = DesignFile(design, {});
        const qsizetype hour = bytes.indexOf(QByteArray("TPF0")) - 4;
        QCOMPARE(bytes.mid(hour, 2), Hex("02 17"));
        bytes[hour + 1] = 24;
        CalendarPage page;
        PersistentObjectList objects;
        QVERIFY(!ReadFile(page, bytes, objects));
    }

    void openAndSaveByPath()
    {
        QTemporaryDir dir;
        CalendarPage design;
        ConfigureDesign(design);
        const QString path = dir.filePath(QStringLiteral("May1998.DLF"));
        QString error;
        QVERIFY2(SaveCalendarFile(design, {}, path, &error), qPrintable(error));

        CalendarPage page;
        PersistentObjectList objects;
        QVERIFY(OpenCalendarFile(page, path, TestRegistry(), {}, objects, &error));
        CompareDesigns(page, design);

        const QString missing = dir.filePath(QStringLiteral("gone.DLF"));
        QVERIFY(!OpenCalendarFile(page, missing, TestRegistry(), {}, objects, &error));
        QCOMPARE(error, QStringLiteral("File ") + missing + QStringLiteral(" no longer exists"));

        const QString corrupt = dir.filePath(QStringLiteral("bad.DLF"));
        QFile file(corrupt);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a calendar");
        file.close();
        QVERIFY(!OpenCalendarFile(page, corrupt, TestRegistry(), {}, objects, &error));
        QCOMPARE(error, QStringLiteral("Unable to open ") + corrupt +
                            QStringLiteral(". Possibly \rcorrupted, possibly not a Calendar file"));
        // A failed open used to reset the page to the default style.
        CompareDesigns(page, design);
        QVERIFY(page.CellNote(17) == design.CellNote(17));

        // A file whose calendar part breaks off late: nothing read is taken over.
        QVERIFY(file.open(QIODevice::WriteOnly));
        CalendarPage other;
        other.SetUserTitle(QStringLiteral("Other"));
        file.write(DesignFile(other, {}).chopped(40));
        file.close();
        QVERIFY(!OpenCalendarFile(page, corrupt, TestRegistry(), {}, objects, &error));
        QCOMPARE(page.UserTitle(), design.UserTitle());
        CompareDesigns(page, design);
    }

    void writeFailuresAreReported()
    {
        // Used to report nothing when the disk filled up during a save.
        CalendarPage page;
        FailingDevice device;
        QString error;
        QVERIFY(!WriteCalendarFile(page, {}, device, &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));
        FailingDevice sheetDevice;
        QVERIFY(!WriteStyleSheet(page, sheetDevice, &error));
        QCOMPARE(error, QStringLiteral("No space left on device"));

        QTemporaryDir dir;
        QVERIFY(!SaveCalendarFile(page, {}, dir.filePath("no/such/folder/x.DLF"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!SaveStyleSheet(page, dir.filePath("no/such/folder/x.DLS"), &error));
        QVERIFY(!error.isEmpty());
    }

    void sequentialDeviceReads()
    {
        CalendarPage design;
        ConfigureDesign(design);
        const auto shape = MakeShape(1);
        SequentialDevice device(DesignFile(design, {shape.get()}));
        CalendarPage page;
        PersistentObjectList objects;
        QVERIFY(ReadCalendarFile(page, device, TestRegistry(), {}, objects));
        CompareDesigns(page, design);
        QCOMPARE(objects.size(), std::size_t(1));

        SequentialDevice hostile(Hex("0A FF FF FF 0F") + QByteArray(100, 'x'));
        ValueReader reader(hostile);
        QVERIFY(!reader.readBinary());
    }

    // --- damaged input ----------------------------------------------------------
    void everyPrefixOfARealFile()
    {
        CalendarPage design;
        ConfigureDesign(design);
        const auto a = MakeShape(1), b = MakeShape(2);
        b->SetPicture(StoredPicture("TBitmap", "BM0123456789"));
        const QByteArray bytes = DesignFile(design, {a.get(), b.get()});
        const qsizetype calendarPart = DesignFile(design, {}).size() - 2;
        for (qsizetype n = 0; n <= bytes.size(); ++n) {
            const QByteArray prefix = bytes.left(n);
            CalendarPage page;
            PersistentObjectList objects;
            QCOMPARE(ReadFile(page, prefix, objects), n >= calendarPart);
            QVERIFY(objects.size() <= 2);
            ReplayAllReaders(prefix);
        }
    }

    void singleByteFlips()
    {
        CalendarPage design;
        ConfigureDesign(design);
        const auto a = MakeShape(1), b = MakeShape(2);
        b->SetImage("BM-image");
        b->SetRtf("{\\rtf1 x}");
        const QByteArray bytes = DesignFile(design, {a.get(), b.get()});
        QRandomGenerator random(20260601);
        for (int i = 0; i < 3000; ++i) {
            QByteArray damaged = bytes;
            const int at = random.bounded(int(damaged.size()));
            damaged[at] = char(damaged[at] ^ char(1 + random.bounded(255)));
            ReplayAllReaders(damaged);
        }
    }

    void corpusReplays()
    {
        QDirIterator it(QStringLiteral(DAYLOOM_TEST_DATA "/corpus"), QDir::Files);
        int count = 0;
        while (it.hasNext()) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            ReplayAllReaders(file.readAll(), Replay::ReadAndPaint);
            ++count;
        }
        QVERIFY(count > 0);
    }

    void saveKilledAtAnyMomentLeavesAWholeFile()
    {
        // A save killed at 1,000 moments, spread over two saves' time, leaves
        // the old design or the new one, byte for byte, every time.
        QTemporaryDir dir;
        const QDir folder(dir.path());
        const QString first = folder.filePath(QStringLiteral("first.DLF"));
        const QString second = folder.filePath(QStringLiteral("second.DLF"));
        const QString target = folder.filePath(QStringLiteral("design.DLF"));
        QProcess writer;
        writer.start(QStringLiteral(SAVE_LOOP_EXECUTABLE),
                     {QStringLiteral("--write"), first, second});
        QVERIFY(writer.waitForFinished() && writer.exitCode() == 0);
        const auto bytesOf = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray designs[] = {bytesOf(first), bytesOf(second)};
        QVERIFY(designs[0].size() > 2000000 && designs[0] != designs[1]);

        QProcess server;
        server.start(QStringLiteral(SAVE_LOOP_EXECUTABLE), {QStringLiteral("--serve"), target});
        const auto readLine = [&server] {
            while (!server.canReadLine() && server.waitForReadyRead(30000)) {
            }
            return server.readLine().trimmed();
        };
        const QByteArray ready = readLine();
        QVERIFY2(ready.startsWith("ready "), ready.constData());
        const qint64 saveMicros = std::max<qint64>(1, ready.mid(6).toLongLong());
        QRandomGenerator random(28);
        int seen[2] = {0, 0};
        for (int kill = 0; kill < 1000; ++kill) {
            server.write("go\n");
            const pid_t saver = static_cast<pid_t>(readLine().toLongLong());
            QVERIFY(saver > 0);
            const qint64 delay = static_cast<qint64>(random.bounded(2 * saveMicros + 1));
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            QCOMPARE(::kill(saver, SIGKILL), 0);
            QCOMPARE(readLine(), QByteArray("reaped"));
            const QByteArray onDisk = bytesOf(target);
            QVERIFY2(onDisk == designs[0] || onDisk == designs[1],
                     qPrintable(QStringLiteral("killed after %1 us: %2 bytes on disk")
                                    .arg(delay)
                                    .arg(onDisk.size())));
            ++seen[onDisk == designs[1] ? 1 : 0];
            // A save killed between naming its file and the rename leaves
            // that name behind.
            for (const QString &left : folder.entryList(QDir::Files)) {
                if (!QStringList{QStringLiteral("first.DLF"), QStringLiteral("second.DLF"),
                                 QStringLiteral("design.DLF")}
                         .contains(left))
                    QFile::remove(folder.filePath(left));
            }
        }
        server.closeWriteChannel();
        QVERIFY(server.waitForFinished());
        // The children save the second design first: both outcomes show that
        // the kills fell before, inside and after the saves.
        qInfo("left the first design %d times, the second %d times (a save: %lld us)", seen[0],
              seen[1], static_cast<long long>(saveMicros));
        QVERIFY(seen[0] > 0 && seen[1] > 0);
    }

    // The seed designs of fuzz_design and the inputs it found, each a file
    // of its own.
    void designsTakeTheUsersPath_data()
    {
        QTest::addColumn<QString>("path");
        int count = 0;
        for (const char *folder : {"/corpus-design", "/design-findings"}) {
            QDirIterator it(QStringLiteral(DAYLOOM_TEST_DATA) + QLatin1String(folder),
                            {QStringLiteral("*.dlf")}, QDir::Files);
            while (it.hasNext()) {
                const QString path = it.next();
                QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
                ++count;
            }
        }
        QVERIFY(count > 0);
    }

    // Opened, painted, printed into a PDF and saved, as by the user; the
    // saved file reads back and saves the same, and no design takes the
    // process past the memory the fuzzer allows.
    void designsTakeTheUsersPath()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        SetProgramFolder(QStringLiteral(DAYLOOM_SOURCE_ASSETS));
        const QString failure = ReplayDesign(bytes, scratch.filePath(QStringLiteral("design.dlf")));
        SetProgramFolder(m_programFolder.path());
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        if (!UnderAddressChecker) {
            rusage usage{};
            QCOMPARE(getrusage(RUSAGE_SELF, &usage), 0);
            const long peakMegabytes = usage.ru_maxrss / 1024;
            QVERIFY2(peakMegabytes < 512,
                     qPrintable(QStringLiteral("peak %1 MB").arg(peakMegabytes)));
        }
    }
};

QTEST_MAIN(TstFormats)
#include "tst_formats.moc"
