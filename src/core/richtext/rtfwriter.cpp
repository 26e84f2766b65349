#include "core/richtext/rtfwriter.h"

#include "core/common/windows1252.h"

#include <QBuffer>
#include <QIODevice>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <cmath>
#include <map>

namespace Dayloom {

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int HexLineLength = 128;

struct CharState
{
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0;
    int background = 0;

    friend bool operator==(const CharState &, const CharState &) = default;
};

struct ParaState
{
    char alignment = 'l';
    int left = 0;
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;

    friend bool operator==(const ParaState &, const ParaState &) = default;
};

int ToTwips(double pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

QRgb ColorKey(const QColor &color)
{
    return color.rgb() & 0xFFFFFF;
}

bool HasBrush(const QTextCharFormat &format, int property)
{
    return format.hasProperty(property) && format.brushProperty(property).style() != Qt::NoBrush;
}

QImage ImageResource(const QTextDocument &doc, const QString &name)
{
    const QVariant resource = doc.resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.typeId() == QMetaType::QImage)
        return resource.value<QImage>();
    if (resource.typeId() == QMetaType::QPixmap)
        return resource.value<QPixmap>().toImage();
    if (resource.typeId() == QMetaType::QByteArray)
        return QImage::fromData(resource.toByteArray());
    return {};
}

class RtfBuilder
{
public:
    explicit RtfBuilder(const QTextDocument &doc);
    QByteArray Build();

private:
    void CollectTables();
    void AddFont(const QTextCharFormat &format);
    void AddColors(const QTextCharFormat &format);
    QString FamilyOf(const QTextCharFormat &format) const;
    CharState CharStateOf(const QTextCharFormat &format) const;
    static ParaState ParaStateOf(const QTextBlockFormat &format);

    void WriteHeader();
    void WriteBlock(const QTextBlock &block);
    void WriteParaState(const ParaState &state);
    void WriteCharState(const CharState &state);
    void WriteText(const QString &text);
    void WriteImage(const QTextImageFormat &format);
    void WriteControl(const char *word);
    void WriteControl(const char *word, int value);
    void WriteLiteral(char c);

    const QTextDocument &m_doc;
    QByteArray m_out;
    bool m_pendingDelimiter = false;
    QStringList m_fonts;
    std::map<QString, int> m_fontIndex;
    QList<QColor> m_colors;
    std::map<QRgb, int> m_colorIndex;
    CharState m_char;
    ParaState m_para;
    QString m_defaultFamily;
    double m_defaultPointSize = 12;
};

RtfBuilder::RtfBuilder(const QTextDocument &doc) : m_doc(doc)
{
    const QFont font = doc.defaultFont();
    m_defaultFamily = font.family();
    if (font.pointSizeF() > 0)
        m_defaultPointSize = font.pointSizeF();
    m_out.reserve(1024 + doc.characterCount() * 2);
}

QByteArray RtfBuilder::Build()
{
    CollectTables();
    WriteHeader();
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        WriteBlock(block);
        if (block.next().isValid()) {
            WriteControl("par");
            m_out.append("\r\n");
            m_pendingDelimiter = false;
        }
    }
    m_out.append("}\r\n");
    return m_out;
}

QString RtfBuilder::FamilyOf(const QTextCharFormat &format) const
{
    const QString family = format.fontFamilies().toStringList().value(0);
    return family.isEmpty() ? m_defaultFamily : family;
}

void RtfBuilder::AddFont(const QTextCharFormat &format)
{
    const QString family = FamilyOf(format);
    if (m_fontIndex.emplace(family, int(m_fonts.size())).second)
        m_fonts.append(family);
}

void RtfBuilder::AddColors(const QTextCharFormat &format)
{
    for (const int property :
         {int(QTextFormat::ForegroundBrush), int(QTextFormat::BackgroundBrush)}) {
        if (!HasBrush(format, property))
            continue;
        const QColor color = format.brushProperty(property).color();
        if (m_colorIndex.emplace(ColorKey(color), int(m_colors.size()) + 1).second)
            m_colors.append(color);
    }
}

void RtfBuilder::CollectTables()
{
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        if (block.length() <= 1) {
            AddFont(block.charFormat());
            AddColors(block.charFormat());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            AddFont(format);
            AddColors(format);
        }
    }
    // The first font used is the default font (\deff0); a document without
    // text still names one.
    if (m_fonts.isEmpty()) {
        m_fonts.append(m_defaultFamily);
        m_fontIndex.emplace(m_defaultFamily, 0);
    }
}

CharState RtfBuilder::CharStateOf(const QTextCharFormat &format) const
{
    CharState state;
    state.font = m_fontIndex.at(FamilyOf(format));
    const double points = format.fontPointSize() > 0 ? format.fontPointSize() : m_defaultPointSize;
    state.halfPoints = std::max(1, int(std::lround(points * 2)));
    state.bold = format.fontWeight() > QFont::Medium;
    state.italic = format.fontItalic();
    state.underline = format.fontUnderline();
    state.strike = format.fontStrikeOut();
    if (HasBrush(format, QTextFormat::ForegroundBrush))
        state.foreground = m_colorIndex.at(ColorKey(format.foreground().color()));
    if (HasBrush(format, QTextFormat::BackgroundBrush))
        state.background = m_colorIndex.at(ColorKey(format.background().color()));
    return state;
}

ParaState RtfBuilder::ParaStateOf(const QTextBlockFormat &format)
{
    ParaState state;
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignJustify)
        state.alignment = 'j';
    else if (alignment & Qt::AlignHCenter)
        state.alignment = 'c';
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        state.alignment = 'r';
    state.left = ToTwips(format.leftMargin());
    state.right = ToTwips(format.rightMargin());
    state.first = ToTwips(format.textIndent());
    state.before = ToTwips(format.topMargin());
    state.after = ToTwips(format.bottomMargin());
    return state;
}

void RtfBuilder::WriteHeader()
{
    m_out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl");
    for (int i = 0; i < m_fonts.size(); ++i) {
        m_out.append("{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ");
        for (const QChar c : m_fonts[i]) {
            const int byte = Windows1252Byte(c.unicode());
            if (byte < 0) {
                // Names outside Windows-1252 keep every character as \uN.
                m_out.append("\\u" + QByteArray::number(int(qint16(c.unicode()))) + '?');
                continue;
            }
            if (byte < 0x20 || c == u';' || c == u'\\' || c == u'{' || c == u'}')
                continue;
            if (byte < 0x80)
                m_out.append(char(byte));
            else
                m_out.append("\\'" + QByteArray::number(byte, 16).rightJustified(2, '0'));
        }
        m_out.append(";}");
    }
    m_out.append("}\r\n{\\colortbl ;");
    for (const QColor &color : m_colors) {
        m_out.append("\\red" + QByteArray::number(color.red()) + "\\green" +
                     QByteArray::number(color.green()) + "\\blue" +
                     QByteArray::number(color.blue()) + ';');
    }
    m_out.append("}\r\n\\viewkind4\\pard\\plain\\f0\\fs24");
    m_pendingDelimiter = true;
}

void RtfBuilder::WriteBlock(const QTextBlock &block)
{
    const ParaState para = ParaStateOf(block.blockFormat());
    if (!(para == m_para))
        WriteParaState(para);
    if (block.length() <= 1) {
        WriteCharState(CharStateOf(block.charFormat()));
        return;
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat()) {
            for (int i = 0; i < fragment.length(); ++i)
                WriteImage(format.toImageFormat());
            continue;
        }
        WriteCharState(CharStateOf(format));
        WriteText(fragment.text());
    }
}

void RtfBuilder::WriteParaState(const ParaState &state)
{
    WriteControl("pard");
    const ParaState defaults;
    if (state.alignment != defaults.alignment) {
        const char word[] = {'q', state.alignment, '\0'};
        WriteControl(word);
    }
    if (state.left != 0)
        WriteControl("li", state.left);
    if (state.right != 0)
        WriteControl("ri", state.right);
    if (state.first != 0)
        WriteControl("fi", state.first);
    if (state.before != 0)
        WriteControl("sb", state.before);
    if (state.after != 0)
        WriteControl("sa", state.after);
    m_para = state;
}

void RtfBuilder::WriteCharState(const CharState &state)
{
    if (state.font != m_char.font)
        WriteControl("f", state.font);
    if (state.halfPoints != m_char.halfPoints)
        WriteControl("fs", state.halfPoints);
    if (state.bold != m_char.bold)
        state.bold ? WriteControl("b") : WriteControl("b", 0);
    if (state.italic != m_char.italic)
        state.italic ? WriteControl("i") : WriteControl("i", 0);
    if (state.underline != m_char.underline)
        state.underline ? WriteControl("ul") : WriteControl("ulnone");
    if (state.strike != m_char.strike)
        state.strike ? WriteControl("strike") : WriteControl("strike", 0);
    if (state.foreground != m_char.foreground)
        WriteControl("cf", state.foreground);
    if (state.background != m_char.background)
        WriteControl("highlight", state.background);
    m_char = state;
}

void RtfBuilder::WriteText(const QString &text)
{
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\t') {
            WriteControl("tab");
        } else if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            WriteControl("line");
        } else if (c == u'\\' || c == u'{' || c == u'}') {
            m_out.append('\\');
            m_out.append(char(c));
            m_pendingDelimiter = false;
        } else if (c >= 0x20 && c < 0x7F) {
            WriteLiteral(char(c));
        } else if (c < 0x20 || c == QChar::ObjectReplacementCharacter) {
            continue;
        } else if (const int byte = Windows1252Byte(c); byte >= 0) {
            m_out.append("\\'" + QByteArray::number(byte, 16).rightJustified(2, '0'));
            m_pendingDelimiter = false;
        } else {
            m_out.append("\\u" + QByteArray::number(int(qint16(c))) + '?');
            m_pendingDelimiter = false;
        }
    }
}

void RtfBuilder::WriteImage(const QTextImageFormat &format)
{
    const QImage image = ImageResource(m_doc, format.name());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return;
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    m_out.append("{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich" +
                 QByteArray::number(image.height()) + "\\picwgoal" +
                 QByteArray::number(ToTwips(width)) + "\\pichgoal" +
                 QByteArray::number(ToTwips(height)) + "\r\n");
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += HexLineLength) {
        m_out.append(hex.mid(i, HexLineLength));
        m_out.append("\r\n");
    }
    m_out.append('}');
    m_pendingDelimiter = false;
}

void RtfBuilder::WriteControl(const char *word)
{
    m_out.append('\\');
    m_out.append(word);
    m_pendingDelimiter = true;
}

void RtfBuilder::WriteControl(const char *word, int value)
{
    m_out.append('\\');
    m_out.append(word);
    m_out.append(QByteArray::number(value));
    m_pendingDelimiter = true;
}

void RtfBuilder::WriteLiteral(char c)
{
    // A control word ends at the first non-letter; one space after it is
    // part of the word, so plain text right after one needs that space.
    if (m_pendingDelimiter)
        m_out.append(' ');
    m_pendingDelimiter = false;
    m_out.append(c);
}

} // namespace

QByteArray RtfWriter::ToRtf(const QTextDocument &doc)
{
    return RtfBuilder(doc).Build();
}

bool RtfWriter::Write(const QTextDocument &doc, QIODevice &device)
{
    m_error.clear();
    const QByteArray rtf = ToRtf(doc);
    if (device.write(rtf) != rtf.size()) {
        m_error = device.errorString();
        return false;
    }
    return true;
}

} // namespace Dayloom
