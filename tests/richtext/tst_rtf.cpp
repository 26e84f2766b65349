#include "core/common/windows1252.h"
#include "core/richtext/codepagedecoder.h"
#include "core/richtext/notedocument.h"
#include "core/richtext/rtfreader.h"
#include "core/richtext/rtfwriter.h"
#include "core/richtext/twprtfstorage.h"

#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QtEndian>

#include <cmath>

using namespace Dayloom;

namespace {

QByteArray ReadData(const QString &name)
{
    QFile file(QStringLiteral(DAYLOOM_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return file.readAll();
}

QString ColorName(const QBrush &brush)
{
    return brush.color().name();
}

QString Family(const QTextCharFormat &format, const QTextDocument &doc)
{
    const QString family = format.fontFamilies().toStringList().value(0);
    return family.isEmpty() ? doc.defaultFont().family() : family;
}

// Effective character attributes, e.g. "Arial 11 b u fg=#ff0000".
QString DescribeChars(const QTextCharFormat &format, const QTextDocument &doc)
{
    const double size =
        format.fontPointSize() > 0 ? format.fontPointSize() : doc.defaultFont().pointSizeF();
    QString text = Family(format, doc) + ' ' + QString::number(size);
    if (format.fontWeight() > QFont::Medium)
        text += QStringLiteral(" b");
    if (format.fontItalic())
        text += QStringLiteral(" i");
    if (format.fontUnderline())
        text += QStringLiteral(" u");
    if (format.fontStrikeOut())
        text += QStringLiteral(" s");
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        text += QStringLiteral(" fg=") + ColorName(format.foreground());
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        text += QStringLiteral(" bg=") + ColorName(format.background());
    return text;
}

int Twips(double pixels)
{
    return int(std::lround(pixels * 15));
}

// Paragraph attributes in twips, e.g. "center li=720 sb=120".
QString DescribeBlock(const QTextBlockFormat &format)
{
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    QString text = align & Qt::AlignJustify   ? QStringLiteral("justify")
                   : align & Qt::AlignHCenter ? QStringLiteral("center")
                   : align & Qt::AlignRight   ? QStringLiteral("right")
                                              : QStringLiteral("left");
    const std::pair<const char *, double> lengths[] = {{"li", format.leftMargin()},
                                                       {"ri", format.rightMargin()},
                                                       {"fi", format.textIndent()},
                                                       {"sb", format.topMargin()},
                                                       {"sa", format.bottomMargin()}};
    for (const auto &[name, pixels] : lengths) {
        if (Twips(pixels) != 0)
            text += QStringLiteral(" %1=%2").arg(QLatin1String(name)).arg(Twips(pixels));
    }
    return text;
}

QString DescribeImage(const QTextImageFormat &format, const QTextDocument &doc)
{
    const QVariant resource = doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
    const QImage image = resource.value<QImage>().convertToFormat(QImage::Format_ARGB32);
    const QByteArray bits(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    return QStringLiteral("[image %1x%2 shown %3x%4 %5]")
        .arg(image.width())
        .arg(image.height())
        .arg(format.width())
        .arg(format.height())
        .arg(QString::fromLatin1(QCryptographicHash::hash(bits, QCryptographicHash::Md5).toHex()));
}

// Every paragraph with its format and its text runs with their effective
// attributes; equal descriptions mean equal documents for a note.
QString DescribeDocument(const QTextDocument &doc)
{
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line =
            QStringLiteral("{") + DescribeBlock(block.blockFormat()) + QStringLiteral("}");
        if (block.length() <= 1)
            line += QStringLiteral(" <") + DescribeChars(block.charFormat(), doc) + '>';
        QString lastRun;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat()) {
                line += ' ' + DescribeImage(fragment.charFormat().toImageFormat(), doc);
                lastRun.clear();
                continue;
            }
            const QString run = DescribeChars(fragment.charFormat(), doc);
            if (run != lastRun)
                line += QStringLiteral(" <") + run + '>';
            line += fragment.text();
            lastRun = run;
        }
        lines.append(line);
    }
    return lines.join('\n');
}

QStringList BlockTexts(const QTextDocument &doc)
{
    QStringList texts;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        texts.append(block.text());
    return texts;
}

QString FormatOf(const QTextDocument &doc, const QString &needle)
{
    const QTextCursor found = doc.find(needle);
    if (found.isNull())
        return QStringLiteral("<not found>");
    QTextCursor at(const_cast<QTextDocument *>(&doc));
    at.setPosition(found.selectionStart() + 1);
    return DescribeChars(at.charFormat(), doc);
}

QString BlockFormatOf(const QTextDocument &doc, const QString &needle)
{
    const QTextCursor found = doc.find(needle);
    return found.isNull() ? QStringLiteral("<not found>")
                          : DescribeBlock(found.block().blockFormat());
}

QTextCharFormat CharFormat(const QString &family, double points)
{
    QTextCharFormat format;
    format.setFontFamilies({family});
    format.setFontPointSize(points);
    return format;
}

enum class Sample
{
    Attributes,
    Paragraphs,
    NonAscii,
    TabsAndBreaks,
    Specials,
    Picture,
    Empties
};

void BuildSample(Sample sample, QTextDocument &doc)
{
    doc.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    QTextCursor cursor(&doc);
    const QTextCharFormat plain = CharFormat(QStringLiteral("Arial"), 10);
    switch (sample) {
    case Sample::Attributes: {
        QTextCharFormat format = plain;
        cursor.insertText(QStringLiteral("plain "), format);
        format.setFontWeight(QFont::Bold);
        cursor.insertText(QStringLiteral("bold "), format);
        format = plain;
        format.setFontItalic(true);
        cursor.insertText(QStringLiteral("italic "), format);
        format = plain;
        format.setFontUnderline(true);
        cursor.insertText(QStringLiteral("under "), format);
        format = plain;
        format.setFontStrikeOut(true);
        cursor.insertText(QStringLiteral("strike "), format);
        format = plain;
        format.setForeground(QColor(255, 0, 0));
        cursor.insertText(QStringLiteral("red "), format);
        format = plain;
        format.setBackground(QColor(255, 255, 0));
        cursor.insertText(QStringLiteral("marked "), format);
        format = CharFormat(QStringLiteral("Times New Roman"), 18.5);
        cursor.insertText(QStringLiteral("big "), format);
        format.setFontWeight(QFont::Bold);
        format.setFontItalic(true);
        format.setFontUnderline(true);
        format.setFontStrikeOut(true);
        format.setForeground(QColor(0, 0, 255));
        format.setBackground(QColor(0, 128, 0));
        cursor.insertText(QStringLiteral("everything"), format);
        break;
    }
    case Sample::Paragraphs: {
        const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                            Qt::AlignJustify};
        for (int i = 0; i < 4; ++i) {
            QTextBlockFormat block;
            block.setAlignment(alignments[i]);
            block.setLeftMargin(12 * i);
            block.setRightMargin(8 * i);
            block.setTextIndent(i % 2 ? -16 : 24);
            block.setTopMargin(i);
            block.setBottomMargin(2 * i);
            if (i > 0)
                cursor.insertBlock();
            cursor.setBlockFormat(block);
            cursor.insertText(QStringLiteral("Paragraph %1 with some words").arg(i), plain);
        }
        break;
    }
    case Sample::NonAscii:
        cursor.insertText(QStringLiteral("Café € Привет 日本 😊 naïve – “quoted” ©"), plain);
        // A font named outside Windows-1252 lost its name on saving.
        cursor.insertText(QStringLiteral(" named"),
                          CharFormat(QStringLiteral("Шрифт Ελληνικά 明朝 𝔉"), 11));
        break;
    case Sample::TabsAndBreaks:
        cursor.insertText(QStringLiteral("a\tb") + QChar(QChar::LineSeparator) +
                              QStringLiteral(" c  two spaces"),
                          plain);
        break;
    case Sample::Specials:
        cursor.insertText(QStringLiteral("back\\slash {braces} ; semicolon \\par not a word"),
                          plain);
        break;
    case Sample::Picture: {
        QImage image(5, 4, QImage::Format_ARGB32);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x)
                image.setPixel(x, y, qRgba(x * 50, y * 60, 200, 255));
        doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("icon")), image);
        cursor.insertText(QStringLiteral("x "), plain);
        QTextImageFormat picture;
        picture.setName(QStringLiteral("icon"));
        picture.setWidth(20);
        picture.setHeight(16);
        cursor.insertImage(picture);
        cursor.insertText(QStringLiteral(" y"), plain);
        break;
    }
    case Sample::Empties:
        cursor.insertText(QStringLiteral("one"), plain);
        cursor.insertBlock(QTextBlockFormat(), CharFormat(QStringLiteral("Arial"), 20));
        cursor.insertBlock(QTextBlockFormat(), CharFormat(QStringLiteral("Courier New"), 8));
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("four"), plain);
        cursor.insertBlock(QTextBlockFormat(), plain);
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Sample)
Q_DECLARE_METATYPE(Dayloom::FontSpec)

class TestRtf : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void readSampleText_data();
    void readSampleText();
    void readSampleFormats_data();
    void readSampleFormats();
    void readSampleParagraphs_data();
    void readSampleParagraphs();
    void readSamplePictures_data();
    void readSamplePictures();
    void hostileInput_data();
    void hostileInput();
    void picturesOverBoundsAreLeftOut_data();
    void picturesOverBoundsAreLeftOut();
    void mutatedSamplesNeverCrash();
    void windows1252Table();
    void storage();
    void insertionAttributes_data();
    void insertionAttributes();
    void appendingParagraphsKeepsEarlierText();
};

void TestRtf::roundTrip_data()
{
    QTest::addColumn<Sample>("sample");
    QTest::newRow("every character attribute") << Sample::Attributes;
    QTest::newRow("alignment, indents and spacing") << Sample::Paragraphs;
    QTest::newRow("text outside ASCII and Windows-1252") << Sample::NonAscii;
    QTest::newRow("tabs, line breaks and spaces") << Sample::TabsAndBreaks;
    QTest::newRow("backslashes and braces") << Sample::Specials;
    QTest::newRow("picture between text") << Sample::Picture;
    QTest::newRow("empty paragraphs keep their size") << Sample::Empties;
}

void TestRtf::roundTrip()
{
    QFETCH(Sample, sample);
    QTextDocument original;
    BuildSample(sample, original);

    const QByteArray rtf = RtfWriter::ToRtf(original);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
    for (const char c : rtf)
        QVERIFY2(uchar(c) < 0x80, "the writer emits 7-bit RTF only");

    QTextDocument read;
    RtfReader reader;
    QVERIFY2(reader.Read(rtf, read), qPrintable(reader.errorString()));
    QCOMPARE(DescribeDocument(read), DescribeDocument(original));
    // Writing what was read gives the same bytes.
    QCOMPARE(RtfWriter::ToRtf(read), rtf);
}

void TestRtf::readSampleText_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("paragraphs");
    const QString lineBreak(QChar::LineSeparator);
    QTest::newRow("plain editor with \\'hh escapes")
        << "simple_editor.rtf" << QStringList{"Café crème € 5", "Bold italic under gone red marked",
                                              "Centred",        "Right\tside" + lineBreak + "next",
                                              "Justified",      ""};
    QTest::newRow("\\u with \\uc1, \\uc2 and surrogates")
        << "unicode.rtf" << QStringList{"Привет 😊 €", "日本é ok", ""};
    QTest::newRow("nested groups, skipped destinations, field result, object result")
        << "nested.rtf" << QStringList{"abcdefglink", "big", "fallback", ""};
    QTest::newRow("picture text around shppict")
        << "picture_png.rtf" << QStringList{"Icon: \uFFFC done", ""};
}

void TestRtf::readSampleText()
{
    QFETCH(QString, file);
    QFETCH(QStringList, paragraphs);
    QTextDocument doc;
    RtfReader reader;
    QVERIFY2(reader.Read(ReadData(file), doc), qPrintable(reader.errorString()));
    QCOMPARE(BlockTexts(doc), paragraphs);
}

void TestRtf::readSampleFormats_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("format");
    const QString editor = QStringLiteral("simple_editor.rtf");
    QTest::newRow("default font and size") << editor << "Café"
                                           << "Arial 11";
    QTest::newRow("bold") << editor << "Bold"
                          << "Arial 11 b";
    QTest::newRow("bold off again") << editor << " italic"
                                    << "Arial 11";
    QTest::newRow("italic") << editor << "italic"
                            << "Arial 11 i";
    QTest::newRow("underline") << editor << "under"
                               << "Arial 11 u";
    QTest::newRow("strike") << editor << "gone"
                            << "Arial 11 s";
    QTest::newRow("colour") << editor << "red"
                            << "Arial 11 fg=#ff0000";
    QTest::newRow("highlight") << editor << "marked"
                               << "Arial 11 bg=#0000ff";
    QTest::newRow("second font, \\fs32") << editor << "Centred"
                                         << "Times New Roman 16";
    const QString nested = QStringLiteral("nested.rtf");
    QTest::newRow("outside groups") << nested << "a"
                                    << "Arial 10";
    QTest::newRow("one group") << nested << "b"
                               << "Arial 10 b";
    QTest::newRow("two groups") << nested << "c"
                                << "Arial 10 b i fg=#008000";
    QTest::newRow("three groups") << nested << "d"
                                  << "Courier New 15 b i fg=#008000";
    QTest::newRow("restored after inner groups") << nested << "e"
                                                 << "Arial 10 b";
    QTest::newRow("restored after all groups") << nested << "f"
                                               << "Arial 10";
    QTest::newRow("\\plain goes back to the default font at 12 pt") << nested << "big"
                                                                    << "Arial 14";
}

void TestRtf::readSampleFormats()
{
    QFETCH(QString, file);
    QFETCH(QString, needle);
    QFETCH(QString, format);
    QTextDocument doc;
    QVERIFY(RtfReader().Read(ReadData(file), doc));
    QCOMPARE(FormatOf(doc, needle), format);
}

void TestRtf::readSampleParagraphs_data()
{
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QString>("format");
    QTest::newRow("space after") << "Café"
                                 << "left sa=200";
    QTest::newRow("kept until \\pard") << "Bold"
                                       << "left sa=200";
    QTest::newRow("centred") << "Centred"
                             << "center";
    QTest::newRow("right with indents") << "Right"
                                        << "right li=720 ri=360 fi=-360 sb=120";
    QTest::newRow("justified") << "Justified"
                               << "justify";
}

void TestRtf::readSampleParagraphs()
{
    QFETCH(QString, needle);
    QFETCH(QString, format);
    QTextDocument doc;
    QVERIFY(RtfReader().Read(ReadData(QStringLiteral("simple_editor.rtf")), doc));
    QCOMPARE(BlockFormatOf(doc, needle), format);
}

void TestRtf::readSamplePictures_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<QSizeF>("shown");
    QTest::addColumn<QList<QRgb>>("corners"); // top left, top right, bottom left, bottom right
    QTest::newRow("png blip in shppict, metafile alternative skipped")
        << "picture_png.rtf" << QSize(4, 3) << QSizeF(4, 3)
        << QList<QRgb>{qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 0, 255)};
    QTest::newRow("packed DIB, bottom-up rows")
        << "picture_dib.rtf" << QSize(2, 2) << QSizeF(20, 20)
        << QList<QRgb>{qRgb(0, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(255, 255, 255)};
    QTest::newRow("device-dependent bitmap, top-down rows")
        << "picture_wbitmap.rtf" << QSize(2, 2) << QSizeF(20, 20)
        << QList<QRgb>{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(0, 0, 0)};
    // Metafile pictures used to be dropped, leaving only the text around them.
    QTest::newRow("enhanced metafile, drawn at twice its shown size")
        << "picture_emf.rtf" << QSize(80, 40) << QSizeF(40, 20)
        << QList<QRgb>{qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 0, 255)};
    // Without \picwgoal a metafile used to take the size its own header
    // suggests, not the 0.01 mm extent \picw and \pich give for metafiles.
    QTest::newRow("enhanced metafile sized by its extent in 0.01 mm")
        << "picture_emf_himetric.rtf" << QSize(160, 80) << QSizeF(80, 40)
        << QList<QRgb>{qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 0, 255)};
}

void TestRtf::readSamplePictures()
{
    QFETCH(QString, file);
    QFETCH(QSize, pixels);
    QFETCH(QSizeF, shown);
    QFETCH(QList<QRgb>, corners);
    QTextDocument doc;
    QVERIFY(RtfReader().Read(ReadData(file), doc));

    QList<QTextImageFormat> images;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                images.append(it.fragment().charFormat().toImageFormat());
        }
    }
    QCOMPARE(images.size(), 1);
    QCOMPARE(QSizeF(images[0].width(), images[0].height()), shown);
    const QImage image =
        doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).value<QImage>();
    QCOMPARE(image.size(), pixels);
    const QPoint points[] = {{0, 0},
                             {pixels.width() - 1, 0},
                             {0, pixels.height() - 1},
                             {pixels.width() - 1, pixels.height() - 1}};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(image.pixel(points[i]) | 0xFF000000u, corners[i]);
}

void TestRtf::hostileInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("text"); // the first paragraph read

    QTest::newRow("not RTF") << QByteArray("hello") << false << "";
    QTest::newRow("nothing") << QByteArray() << false << "";
    QTest::newRow("stray closing braces after the end")
        << QByteArray("{\\rtf1 abc}}}}x") << true << "abc";
    QTest::newRow("closing braces missing")
        << QByteArray("{\\rtf1 {\\b abc{\\i def") << true << "abcdef";
    // A \bin length beyond the input used to be trusted.
    QTest::newRow("\\bin longer than the input")
        << QByteArray("{\\rtf1 a\\bin2147483647 xyz}") << true << "a";
    QTest::newRow("negative \\bin") << QByteArray("{\\rtf1 a\\bin-5 xyz}") << true << "axyz";
    QTest::newRow("\\bin picture cut short")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip\\bin400 \x89PNG}b}") << true << "a";
    QTest::newRow("nesting 100000 deep")
        << QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}"
        << false << "";
    QTest::newRow("nesting just inside the limit")
        << QByteArray("{\\rtf1 ") + QByteArray(RtfReader::MaxGroupDepth - 1, '{') + "x" +
               QByteArray(RtfReader::MaxGroupDepth - 1, '}') + "}"
        << true << "x";
    QTest::newRow("more paragraphs than a note may hold")
        << QByteArray("{\\rtf1 ") + QByteArray("x\\par ").repeated(RtfReader::MaxParagraphs) + "}"
        << false << "";
    QTest::newRow("more text than a note may hold")
        << QByteArray("{\\rtf1 ") + QByteArray(RtfReader::MaxCharacters + 1, 'x') + "}" << false
        << "";
    QByteArray fonts;
    for (int i = 0; i < 5000; ++i)
        fonts += "\\f" + QByteArray::number(i) + " Font;";
    QTest::newRow("endless font and colour tables")
        << QByteArray("{\\rtf1{\\fonttbl") + fonts + "}{\\colortbl" + QByteArray(100000, ';') +
               "}\\f4999\\cf99999 a}"
        << true << "a";
    QTest::newRow("hex picture cut short")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e470d0a1a0a0000000d4948") << true << "a";
    QTest::newRow("odd hex digit count")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504}b}") << true << "ab";
    QTest::newRow("\\' cut short") << QByteArray("{\\rtf1 a\\'e") << true << "ae";
    QTest::newRow("\\' with bad digits") << QByteArray("{\\rtf1 a\\'zzb}") << true << "azzb";
    QTest::newRow("backslash at the end") << QByteArray("{\\rtf1 a\\") << true << "a";
    QTest::newRow("huge parameter")
        << QByteArray("{\\rtf1\\fs99999999999999999999 a\\li-99999999999 b}") << true << "ab";
    QTest::newRow("huge \\uc skips only what follows")
        << QByteArray("{\\rtf1 {\\uc2147483647\\u65 abc}def}") << true << "Adef";
    QTest::newRow("control word longer than allowed")
        << QByteArray("{\\rtf1 a\\") + QByteArray(100000, 'q') + " b}" << true << "ab";
    QTest::newRow("colour and font out of range")
        << QByteArray("{\\rtf1\\cf999\\f77\\highlight-3 a}") << true << "a";
    QTest::newRow("device bitmap larger than its data")
        << QByteArray("{\\rtf1 a{\\pict\\wbitmap0\\picw100000\\pich100000\\wbmbitspixel24 "
                      "ffffff}b}")
        << true << "ab";
    QTest::newRow("DIB header lying about its size")
        << QByteArray("{\\rtf1 a{\\pict\\dibitmap0 28000000ffffff7fffffff7f01001800}b}") << true
        << "ab";
    QTest::newRow("picture inside a picture")
        << QByteArray("{\\rtf1 a{\\pict\\pngblip{\\pict\\jpegblip 00}00}b}") << true << "ab";
    QTest::newRow("control characters and object markers in text")
        << QByteArray("{\\rtf1 a\\'00\\'0a\\u8233?\\u65532?b}") << true
        << QStringLiteral("a\u2028b");
}

void TestRtf::hostileInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, readable);
    QFETCH(QString, text);
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old content"));
    RtfReader reader;
    QCOMPARE(reader.Read(rtf, doc), readable);
    QCOMPARE(reader.errorString().isEmpty(), readable);
    QCOMPARE(doc.begin().text(), text);
    if (!readable)
        QVERIFY(doc.isEmpty());
}

namespace {

// Text around an uncompressed 1-bit \dibitmap of the given size, as binary.
QByteArray MonochromeDibRtf(int width, int height)
{
    const qint64 stride = (width + 31) / 32 * 4;
    QByteArray dib(40, '\0');
    qToLittleEndian<quint32>(40, dib.data());
    qToLittleEndian<qint32>(width, dib.data() + 4);
    qToLittleEndian<qint32>(height, dib.data() + 8);
    qToLittleEndian<quint16>(1, dib.data() + 12);
    qToLittleEndian<quint16>(1, dib.data() + 14);
    dib += QByteArray::fromHex("00000000ffffff00") + QByteArray(stride * height, '\x55');
    return "{\\rtf1 before{\\pict\\dibitmap0\\bin" + QByteArray::number(dib.size()) + " " + dib +
           "}after}";
}

} // namespace

void TestRtf::picturesOverBoundsAreLeftOut_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("reason"); // a part of it
    // A note of 245 bytes used to be decoded at 256 MiB before any check;
    // 200 of them in a design took 26 s a paint.
    QTest::newRow("dibitmap claiming 16384 x 4096 from 50 bytes of runs")
        << ReadData("picture_dib_rle_huge.rtf") << "run-length";
    // Bitmaps up to 64 million pixels used to be read, shown, and lost in
    // print (Qt refuses images over 128 MB when it plays them back).
    QTest::newRow("dibitmap of 4100 x 4100, over the bound of a note's picture")
        << MonochromeDibRtf(4100, 4100) << "left for pictures";
}

void TestRtf::picturesOverBoundsAreLeftOut()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, reason);
    QTextDocument doc;
    RtfReader reader;
    QVERIFY(reader.Read(rtf, doc));
    QCOMPARE(doc.toPlainText(), QStringLiteral("beforeafter"));
    QVERIFY2(reader.pictureError().contains(reason), qPrintable(reader.pictureError()));

    // Within the bound, the same kind of picture is kept.
    QVERIFY(reader.Read(MonochromeDibRtf(400, 300), doc));
    QCOMPARE(doc.toPlainText(), QStringLiteral("before\uFFFCafter"));
    QVERIFY(reader.pictureError().isEmpty());
}

void TestRtf::mutatedSamplesNeverCrash()
{
    const QStringList files = {"simple_editor.rtf", "unicode.rtf",     "nested.rtf",
                               "picture_png.rtf",   "picture_dib.rtf", "codepage.rtf"};
    // Broken picture data makes the PNG decoder complain on stderr; expected here.
    QRandomGenerator random(20240607);
    const char alphabet[] = "{}\\'*;0123456789abcdefu-pict bin";
    for (const QString &file : files) {
        const QByteArray original = ReadData(file);
        for (int round = 0; round < 300; ++round) {
            QByteArray rtf = original;
            const int edits = 1 + random.bounded(8);
            for (int e = 0; e < edits; ++e) {
                const int at = random.bounded(int(rtf.size()));
                switch (random.bounded(3)) {
                case 0:
                    rtf[at] = alphabet[random.bounded(int(sizeof alphabet) - 1)];
                    break;
                case 1:
                    rtf.remove(at, random.bounded(20));
                    break;
                default:
                    rtf.insert(at, rtf.mid(random.bounded(int(rtf.size())), random.bounded(40)));
                    break;
                }
            }
            QTextDocument doc;
            if (RtfReader().Read(rtf, doc)) {
                // Whatever was read writes out and reads back.
                QTextDocument again;
                QVERIFY(RtfReader().Read(RtfWriter::ToRtf(doc), again));
                QCOMPARE(BlockTexts(again), BlockTexts(doc));
            }
        }
    }
}

void TestRtf::windows1252Table()
{
    for (int byte = 0; byte < 256; ++byte) {
        const QChar c = Windows1252Character(uchar(byte));
        QCOMPARE(Windows1252Byte(c.unicode()), byte);
    }
    QCOMPARE(CodePageDecoder().Decode(CodePageDecoder::Windows1252, "\x80\x9f"),
             QString::fromUtf8("€Ÿ"));
    QCOMPARE(Windows1252Byte(0x0100), -1);

    // Other code pages need Qt's ICU support; without it 1252 stands in.
    QTextDocument doc;
    QVERIFY(RtfReader().Read(ReadData(QStringLiteral("codepage.rtf")), doc));
    if (!QStringDecoder("windows-1251").isValid())
        QSKIP("Qt has no Windows-1251 decoder on this machine");
    QCOMPARE(doc.begin().text(), QStringLiteral("Café Привет Ščř"));
}

void TestRtf::storage()
{
    TWPRtfStorage note;
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("stale"));
    QVERIFY(note.LoadInto(doc));
    QVERIFY2(doc.isEmpty(), "an empty note loads as an empty document");

    note.StoreFrom(doc);
    QVERIFY2(note.IsEmpty(), "an empty document stores no bytes");

    BuildSample(Sample::Attributes, doc);
    note.StoreFrom(doc);
    QVERIFY(!note.IsEmpty());
    TWPRtfStorage copy;
    copy.Assign(note);
    QVERIFY(copy == note);

    QTextDocument other;
    other.setPlainText(QStringLiteral("to be replaced"));
    QVERIFY(copy.LoadInto(other));
    QCOMPARE(DescribeDocument(other), DescribeDocument(doc));

    TWPRtfStorage broken;
    broken.SetRtfText("not rtf at all");
    QString error;
    QVERIFY(!broken.LoadInto(other, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(other.isEmpty());
}

void TestRtf::insertionAttributes_data()
{
    QTest::addColumn<FontSpec>("font");
    QTest::newRow("plain") << FontSpec(QStringLiteral("Arial"), 10);
    QTest::newRow("bold red") << FontSpec(QStringLiteral("Times New Roman"), 14, true, clRed);
    FontSpec styled(QStringLiteral("Courier New"), 9, false, clBlue);
    styled.SetItalic(true);
    styled.SetUnderline(true);
    styled.SetStrikeOut(true);
    QTest::newRow("italic underline strike blue") << styled;
}

void TestRtf::insertionAttributes()
{
    QFETCH(FontSpec, font);
    TWPRtfStorage note;
    {
        NoteDocument editor;
        QVERIFY(editor.Load(note));
        QVERIFY(editor.IsEmpty());
        editor.SetInsertionAttributes(font);
        editor.InsertText(QStringLiteral("Birthday"));
        editor.StoreTo(note);
    }
    NoteDocument editor;
    QVERIFY(editor.Load(note));
    QVERIFY(!editor.IsEmpty());
    const FontSpec read = editor.InsertionAttributes();
    QVERIFY2(read == font,
             qPrintable(QStringLiteral("%1 %2 pt").arg(read.Name()).arg(read.Size())));
}

void TestRtf::appendingParagraphsKeepsEarlierText()
{
    const FontSpec first(QStringLiteral("Arial"), 10);
    const FontSpec second(QStringLiteral("Times New Roman"), 12, true);
    TWPRtfStorage note;
    NoteDocument editor;
    QVERIFY(editor.Load(note));
    editor.InsertText(QStringLiteral("New Year"), first);
    editor.NewParagraph();
    editor.StoreTo(note);

    QVERIFY(editor.Load(note));
    editor.MoveToEnd();
    QVERIFY2(editor.InsertionAttributes() == first, "the end of a note keeps its attributes");
    editor.InsertText(QStringLiteral("Party"), second);
    editor.NewParagraph();
    editor.StoreTo(note);

    QTextDocument doc;
    QVERIFY(note.LoadInto(doc));
    QCOMPARE(BlockTexts(doc), (QStringList{"New Year", "Party", ""}));
    QCOMPARE(FormatOf(doc, QStringLiteral("New Year")), QStringLiteral("Arial 10 fg=#000000"));
    QCOMPARE(FormatOf(doc, QStringLiteral("Party")),
             QStringLiteral("Times New Roman 12 b fg=#000000"));
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
