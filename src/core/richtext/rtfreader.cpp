#include "core/richtext/rtfreader.h"

#include "core/graphics/picturebudget.h"
#include "core/richtext/codepagedecoder.h"
#include "core/richtext/rtfpicture.h"
#include "core/richtext/rtftokenizer.h"

#include <QCryptographicHash>
#include <QIODevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Dayloom {

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int MaxTwips = 31680; // 22 inches: more than any page
constexpr int DefaultHalfPoints = 24;
constexpr int MaxUnicodeSkip = 16;
// Entries of the font and colour tables beyond this many are ignored.
constexpr size_t MaxTableEntries = 4096;

enum class Destination
{
    Text,
    FontTable,
    ColorTable,
    Picture,
    Skip
};

enum class Keyword
{
    // destinations
    Rtf,
    FontTable,
    ColorTable,
    Pict,
    PassThrough,
    SkipGroup,
    Object,
    Result,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    // font and colour tables
    Font,
    FontCharset,
    CodePage,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    Foreground,
    Highlight,
    Background,
    // paragraph formatting
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    // content
    Par,
    Line,
    Tab,
    Cell,
    Emdash,
    Endash,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    Bullet,
    Unicode,
    UnicodeSkip,
    Bin,
    // pictures
    PngBlip,
    JpegBlip,
    DiBitmap,
    WBitmap,
    Metafile,
    PicWidth,
    PicHeight,
    PicGoalWidth,
    PicGoalHeight,
    PicScaleX,
    PicScaleY,
    BitsPerPixel,
    WidthBytes
};

const std::unordered_map<std::string_view, Keyword> &Keywords()
{
    static const std::unordered_map<std::string_view, Keyword> table = {
        {"rtf", Keyword::Rtf},
        {"fonttbl", Keyword::FontTable},
        {"colortbl", Keyword::ColorTable},
        {"pict", Keyword::Pict},
        {"shppict", Keyword::PassThrough},
        {"fldrslt", Keyword::PassThrough},
        {"object", Keyword::Object},
        {"result", Keyword::Result},
        // Destinations whose content is never shown.
        {"nonshppict", Keyword::SkipGroup},
        {"fldinst", Keyword::SkipGroup},
        {"info", Keyword::SkipGroup},
        {"stylesheet", Keyword::SkipGroup},
        {"listtable", Keyword::SkipGroup},
        {"listoverridetable", Keyword::SkipGroup},
        {"revtbl", Keyword::SkipGroup},
        {"rsidtbl", Keyword::SkipGroup},
        {"filetbl", Keyword::SkipGroup},
        {"header", Keyword::SkipGroup},
        {"headerl", Keyword::SkipGroup},
        {"headerr", Keyword::SkipGroup},
        {"headerf", Keyword::SkipGroup},
        {"footer", Keyword::SkipGroup},
        {"footerl", Keyword::SkipGroup},
        {"footerr", Keyword::SkipGroup},
        {"footerf", Keyword::SkipGroup},
        {"footnote", Keyword::SkipGroup},
        {"annotation", Keyword::SkipGroup},
        {"xe", Keyword::SkipGroup},
        {"tc", Keyword::SkipGroup},
        {"txe", Keyword::SkipGroup},
        {"pn", Keyword::SkipGroup},
        {"author", Keyword::SkipGroup},
        {"operator", Keyword::SkipGroup},
        {"title", Keyword::SkipGroup},
        {"subject", Keyword::SkipGroup},
        {"keywords", Keyword::SkipGroup},
        {"comment", Keyword::SkipGroup},
        {"doccomm", Keyword::SkipGroup},
        {"template", Keyword::SkipGroup},
        {"ansi", Keyword::Ansi},
        {"mac", Keyword::Mac},
        {"pc", Keyword::Pc},
        {"pca", Keyword::Pca},
        {"ansicpg", Keyword::AnsiCpg},
        {"deff", Keyword::Deff},
        {"f", Keyword::Font},
        {"fcharset", Keyword::FontCharset},
        {"cpg", Keyword::CodePage},
        {"red", Keyword::Red},
        {"green", Keyword::Green},
        {"blue", Keyword::Blue},
        {"plain", Keyword::Plain},
        {"b", Keyword::Bold},
        {"i", Keyword::Italic},
        {"ul", Keyword::Underline},
        {"uld", Keyword::Underline},
        {"uldb", Keyword::Underline},
        {"uldash", Keyword::Underline},
        {"ulth", Keyword::Underline},
        {"ulw", Keyword::Underline},
        {"ulwave", Keyword::Underline},
        {"ulnone", Keyword::UnderlineNone},
        {"strike", Keyword::Strike},
        {"striked", Keyword::Strike},
        {"fs", Keyword::FontSize},
        {"cf", Keyword::Foreground},
        {"highlight", Keyword::Highlight},
        {"cb", Keyword::Background},
        {"pard", Keyword::Pard},
        {"ql", Keyword::AlignLeft},
        {"qc", Keyword::AlignCenter},
        {"qr", Keyword::AlignRight},
        {"qj", Keyword::AlignJustify},
        {"li", Keyword::LeftIndent},
        {"lin", Keyword::LeftIndent},
        {"ri", Keyword::RightIndent},
        {"rin", Keyword::RightIndent},
        {"fi", Keyword::FirstIndent},
        {"sb", Keyword::SpaceBefore},
        {"sa", Keyword::SpaceAfter},
        {"par", Keyword::Par},
        {"sect", Keyword::Par},
        {"row", Keyword::Par},
        {"line", Keyword::Line},
        {"tab", Keyword::Tab},
        {"cell", Keyword::Cell},
        {"emdash", Keyword::Emdash},
        {"endash", Keyword::Endash},
        {"lquote", Keyword::LQuote},
        {"rquote", Keyword::RQuote},
        {"ldblquote", Keyword::LDblQuote},
        {"rdblquote", Keyword::RDblQuote},
        {"bullet", Keyword::Bullet},
        {"u", Keyword::Unicode},
        {"uc", Keyword::UnicodeSkip},
        {"bin", Keyword::Bin},
        {"pngblip", Keyword::PngBlip},
        {"jpegblip", Keyword::JpegBlip},
        {"dibitmap", Keyword::DiBitmap},
        {"wbitmap", Keyword::WBitmap},
        {"wmetafile", Keyword::Metafile},
        {"emfblip", Keyword::Metafile},
        {"macpict", Keyword::Metafile},
        {"pmmetafile", Keyword::Metafile},
        {"picw", Keyword::PicWidth},
        {"pich", Keyword::PicHeight},
        {"picwgoal", Keyword::PicGoalWidth},
        {"pichgoal", Keyword::PicGoalHeight},
        {"picscalex", Keyword::PicScaleX},
        {"picscaley", Keyword::PicScaleY},
        {"wbmbitspixel", Keyword::BitsPerPixel},
        {"wbmwidthbytes", Keyword::WidthBytes},
    };
    return table;
}

struct CharState
{
    int font = -1; // -1: the document's default font
    int halfPoints = DefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0; // colour table index; an "auto" entry means no colour
    int background = 0; // colour table index; 0 means none

    friend bool operator==(const CharState &, const CharState &) = default;
};

struct ParaState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;
};

struct GroupState
{
    Destination destination = Destination::Text;
    CharState chars;
    ParaState para;
    int unicodeSkip = 1;
};

struct FontEntry
{
    QString name;
    int charset = -1;
    int codePage = 0;
};

bool Flag(const RtfToken &token)
{
    return !token.hasParam || token.param != 0;
}

int Twips(const RtfToken &token)
{
    return std::clamp(token.hasParam ? token.param : 0, -MaxTwips, MaxTwips);
}

// Keeps only what a text fragment may hold: no block separators, no stray
// control characters, no object markers (pictures are inserted as objects).
void Sanitize(QString &text)
{
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        if (c == QChar::ParagraphSeparator) {
            text[i] = QChar(QChar::LineSeparator);
        } else if ((c < 0x20 && c != '\t') || c == QChar::ObjectReplacementCharacter) {
            text.remove(i, 1);
            continue;
        }
        ++i;
    }
}

class RtfParser
{
public:
    RtfParser(QByteArrayView rtf, QTextDocument &doc) : m_tokens(rtf), m_doc(doc), m_cursor(&doc)
    {
        m_cursor.beginEditBlock();
    }
    ~RtfParser() { m_cursor.endEditBlock(); }
    RtfParser(const RtfParser &) = delete;
    RtfParser &operator=(const RtfParser &) = delete;

    bool Parse(QString &error);
    const QString &PictureError() const { return m_pictureError; }

private:
    bool ReadHeader();
    void Finish();
    bool TooLong(QString &error) const;

    void StartGroup();
    void EndGroup();
    void HandleWord(const RtfToken &token);
    void HandleSymbol(char symbol);
    void HandleBytes(QByteArrayView bytes);
    void AddFontNameUnit(char16_t unit);
    int FontCodePage() const;
    void HandleBinary(qint64 length);
    bool ConsumeSkippedChar();

    bool HandleDestinationWord(Keyword keyword, bool ignorable);
    void HandleDocumentWord(Keyword keyword, const RtfToken &token);
    void HandleTableWord(Keyword keyword, const RtfToken &token);
    void HandleCharWord(Keyword keyword, const RtfToken &token);
    void HandleParaWord(Keyword keyword, const RtfToken &token);
    void HandleContentWord(Keyword keyword, const RtfToken &token);
    void HandlePictureWord(Keyword keyword, const RtfToken &token);

    void AppendBytes(QByteArrayView bytes);
    void AppendUnit(char16_t unit);
    void PrepareAppend();
    void DecodePendingBytes();
    void FlushText();
    void EndParagraph();
    void ApplyParagraphFormat();

    void AddFontNameBytes(QByteArrayView bytes);
    void CommitFont();
    void AddColorBytes(QByteArrayView bytes);
    void FinishPicture(bool insert);

    int CodePageOf(int font) const;
    std::optional<QColor> ColorAt(int index) const;
    QTextCharFormat CharFormat(const CharState &state);
    QTextBlockFormat BlockFormat(const ParaState &state) const;

    GroupState &State() { return m_stack.back(); }
    Destination CurrentDestination() const { return m_stack.back().destination; }

    RtfTokenizer m_tokens;
    QTextDocument &m_doc;
    QTextCursor m_cursor;
    CodePageDecoder m_decoder;
    std::vector<GroupState> m_stack;
    QString m_error;

    int m_ansiCodePage = CodePageDecoder::Windows1252;
    int m_defaultFont = 0;
    int m_pendingSkip = 0;
    bool m_ignorableNext = false;
    qsizetype m_characters = 0;
    int m_paragraphs = 0;
    bool m_tooLong = false;

    std::map<int, FontEntry> m_fonts;
    int m_fontNumber = -1;
    int m_fontCharset = -1;
    int m_fontCodePage = 0;
    QByteArray m_fontName;
    QString m_fontNameText; // the part of the name before its last \uN

    std::vector<std::optional<QColor>> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSet = false;

    std::optional<RtfPicture> m_picture;
    // All pictures of the document together.
    PictureBudget m_pictures{RtfReader::MaxTotalPixels * 4};
    QString m_pictureError;

    QString m_pendingText;
    QByteArray m_pendingBytes;
    CharState m_pendingState;
    int m_pendingCodePage = CodePageDecoder::Windows1252;

    std::optional<CharState> m_cachedState;
    QTextCharFormat m_cachedFormat;
};

bool RtfParser::Parse(QString &error)
{
    if (!ReadHeader()) {
        error = QStringLiteral("The text is not in RTF format.");
        return false;
    }
    for (;;) {
        const RtfToken token = m_tokens.Next();
        switch (token.type) {
        case RtfToken::End:
            // Closing braces are missing: keep what was read.
            Finish();
            return !TooLong(error);
        case RtfToken::GroupStart:
            if (int(m_stack.size()) >= RtfReader::MaxGroupDepth) {
                error = QStringLiteral("The RTF groups are nested too deeply.");
                return false;
            }
            StartGroup();
            break;
        case RtfToken::GroupEnd:
            if (m_stack.size() == 1) {
                // The document's outer group ends here; anything after it is not RTF.
                Finish();
                return !TooLong(error);
            }
            EndGroup();
            break;
        case RtfToken::ControlWord:
            HandleWord(token);
            break;
        case RtfToken::ControlSymbol:
            if (!ConsumeSkippedChar())
                HandleSymbol(token.symbol);
            break;
        case RtfToken::HexByte:
            if (!ConsumeSkippedChar() && CurrentDestination() != Destination::Picture)
                HandleBytes(QByteArrayView(&token.byte, 1));
            break;
        case RtfToken::Text: {
            const qsizetype skipped = std::min<qsizetype>(m_pendingSkip, token.text.size());
            m_pendingSkip -= int(skipped);
            if (skipped < token.text.size())
                HandleBytes(token.text.sliced(skipped));
            break;
        }
        }
        if (TooLong(error))
            return false;
    }
}

bool RtfParser::ReadHeader()
{
    RtfToken token = m_tokens.Next();
    while (token.type == RtfToken::Text && token.text.trimmed().isEmpty())
        token = m_tokens.Next();
    if (token.type != RtfToken::GroupStart)
        return false;
    token = m_tokens.Next();
    if (token.type != RtfToken::ControlWord || token.name != "rtf")
        return false;
    m_stack.push_back(GroupState{});
    return true;
}

bool RtfParser::TooLong(QString &error) const
{
    if (m_tooLong)
        error = QStringLiteral("The RTF text is too long for a note.");
    return m_tooLong;
}

void RtfParser::Finish()
{
    FlushText();
    ApplyParagraphFormat();
}

void RtfParser::StartGroup()
{
    m_pendingSkip = 0;
    m_ignorableNext = false;
    m_stack.push_back(m_stack.back());
}

void RtfParser::EndGroup()
{
    m_pendingSkip = 0;
    m_ignorableNext = false;
    const Destination ended = CurrentDestination();
    m_stack.pop_back();
    const Destination outer = CurrentDestination();
    switch (ended) {
    case Destination::FontTable:
        CommitFont();
        break;
    case Destination::Picture:
        if (outer != Destination::Picture)
            FinishPicture(outer == Destination::Text);
        break;
    default:
        break;
    }
}

bool RtfParser::ConsumeSkippedChar()
{
    if (m_pendingSkip <= 0)
        return false;
    --m_pendingSkip;
    return true;
}

void RtfParser::HandleWord(const RtfToken &token)
{
    const auto &keywords = Keywords();
    const auto found = keywords.find(std::string_view(token.name.data(), token.name.size()));
    const bool ignorable = std::exchange(m_ignorableNext, false);

    if (found != keywords.end() && found->second == Keyword::Bin) {
        const bool skipped = ConsumeSkippedChar();
        const QByteArrayView bytes = m_tokens.TakeBinary(token.hasParam ? token.param : 0);
        if (!skipped && CurrentDestination() == Destination::Picture && m_picture)
            m_picture->AppendBinary(bytes);
        return;
    }
    if (ConsumeSkippedChar())
        return;
    if (found == keywords.end()) {
        // An unknown destination marked ignorable is skipped whole.
        if (ignorable)
            State().destination = Destination::Skip;
        return;
    }
    const Keyword keyword = found->second;
    if (CurrentDestination() == Destination::Skip) {
        // Inside an embedded object only its displayable result is read.
        if (keyword == Keyword::Result && !ignorable)
            State().destination = Destination::Text;
        return;
    }
    if (HandleDestinationWord(keyword, ignorable))
        return;
    if (ignorable) {
        State().destination = Destination::Skip;
        return;
    }
    HandleDocumentWord(keyword, token);
    switch (CurrentDestination()) {
    case Destination::FontTable:
    case Destination::ColorTable:
        HandleTableWord(keyword, token);
        break;
    case Destination::Picture:
        HandlePictureWord(keyword, token);
        break;
    case Destination::Text:
        HandleCharWord(keyword, token);
        HandleParaWord(keyword, token);
        HandleContentWord(keyword, token);
        break;
    case Destination::Skip:
        break;
    }
    if (keyword == Keyword::Unicode)
        m_pendingSkip = State().unicodeSkip;
}

bool RtfParser::HandleDestinationWord(Keyword keyword, bool ignorable)
{
    switch (keyword) {
    case Keyword::FontTable:
        State().destination = Destination::FontTable;
        m_fontNumber = -1;
        return true;
    case Keyword::ColorTable:
        State().destination = Destination::ColorTable;
        m_colors.clear();
        m_colorSet = false;
        return true;
    case Keyword::Pict:
        if (CurrentDestination() == Destination::Picture) {
            State().destination = Destination::Skip;
        } else {
            State().destination = Destination::Picture;
            m_picture.emplace();
        }
        return true;
    case Keyword::PassThrough:
        return true;
    case Keyword::SkipGroup:
    case Keyword::Object:
        State().destination = Destination::Skip;
        return true;
    case Keyword::Result:
        return !ignorable;
    default:
        return false;
    }
}

void RtfParser::HandleDocumentWord(Keyword keyword, const RtfToken &token)
{
    switch (keyword) {
    case Keyword::Ansi:
        m_ansiCodePage = CodePageDecoder::Windows1252;
        break;
    case Keyword::Mac:
        m_ansiCodePage = 10000;
        break;
    case Keyword::Pc:
        m_ansiCodePage = 437;
        break;
    case Keyword::Pca:
        m_ansiCodePage = 850;
        break;
    case Keyword::AnsiCpg:
        if (token.hasParam && token.param > 0 && token.param < 100000)
            m_ansiCodePage = token.param;
        break;
    case Keyword::Deff:
        m_defaultFont = token.hasParam ? token.param : 0;
        break;
    case Keyword::UnicodeSkip:
        State().unicodeSkip = std::clamp(token.hasParam ? token.param : 1, 0, MaxUnicodeSkip);
        break;
    default:
        break;
    }
}

void RtfParser::HandleTableWord(Keyword keyword, const RtfToken &token)
{
    const int value = token.hasParam ? token.param : 0;
    switch (keyword) {
    case Keyword::Font:
        if (CurrentDestination() == Destination::FontTable) {
            CommitFont();
            m_fontNumber = value;
        }
        break;
    case Keyword::FontCharset:
        m_fontCharset = value;
        break;
    case Keyword::Unicode:
        if (CurrentDestination() == Destination::FontTable && token.hasParam)
            AddFontNameUnit(static_cast<char16_t>(token.param & 0xFFFF));
        break;
    case Keyword::CodePage:
        m_fontCodePage = value;
        break;
    case Keyword::Red:
        m_red = std::clamp(value, 0, 255);
        m_colorSet = true;
        break;
    case Keyword::Green:
        m_green = std::clamp(value, 0, 255);
        m_colorSet = true;
        break;
    case Keyword::Blue:
        m_blue = std::clamp(value, 0, 255);
        m_colorSet = true;
        break;
    default:
        break;
    }
}

void RtfParser::HandleCharWord(Keyword keyword, const RtfToken &token)
{
    CharState &chars = State().chars;
    switch (keyword) {
    case Keyword::Plain:
        chars = CharState{};
        break;
    case Keyword::Font:
        chars.font = token.hasParam ? token.param : 0;
        break;
    case Keyword::Bold:
        chars.bold = Flag(token);
        break;
    case Keyword::Italic:
        chars.italic = Flag(token);
        break;
    case Keyword::Underline:
        chars.underline = Flag(token);
        break;
    case Keyword::UnderlineNone:
        chars.underline = false;
        break;
    case Keyword::Strike:
        chars.strike = Flag(token);
        break;
    case Keyword::FontSize:
        chars.halfPoints =
            token.hasParam && token.param > 0 ? std::min(token.param, 3276) : DefaultHalfPoints;
        break;
    case Keyword::Foreground:
        chars.foreground = token.hasParam ? token.param : 0;
        break;
    case Keyword::Highlight:
    case Keyword::Background:
        chars.background = token.hasParam ? token.param : 0;
        break;
    default:
        break;
    }
}

void RtfParser::HandleParaWord(Keyword keyword, const RtfToken &token)
{
    ParaState &para = State().para;
    switch (keyword) {
    case Keyword::Pard:
        para = ParaState{};
        break;
    case Keyword::AlignLeft:
        para.alignment = Qt::AlignLeft;
        break;
    case Keyword::AlignCenter:
        para.alignment = Qt::AlignHCenter;
        break;
    case Keyword::AlignRight:
        para.alignment = Qt::AlignRight;
        break;
    case Keyword::AlignJustify:
        para.alignment = Qt::AlignJustify;
        break;
    case Keyword::LeftIndent:
        para.leftTwips = Twips(token);
        break;
    case Keyword::RightIndent:
        para.rightTwips = Twips(token);
        break;
    case Keyword::FirstIndent:
        para.firstTwips = Twips(token);
        break;
    case Keyword::SpaceBefore:
        para.beforeTwips = std::max(0, Twips(token));
        break;
    case Keyword::SpaceAfter:
        para.afterTwips = std::max(0, Twips(token));
        break;
    default:
        break;
    }
}

void RtfParser::HandleContentWord(Keyword keyword, const RtfToken &token)
{
    switch (keyword) {
    case Keyword::Par:
        EndParagraph();
        break;
    case Keyword::Line:
        AppendUnit(QChar::LineSeparator);
        break;
    case Keyword::Tab:
    case Keyword::Cell:
        AppendUnit(u'\t');
        break;
    case Keyword::Emdash:
        AppendUnit(0x2014);
        break;
    case Keyword::Endash:
        AppendUnit(0x2013);
        break;
    case Keyword::LQuote:
        AppendUnit(0x2018);
        break;
    case Keyword::RQuote:
        AppendUnit(0x2019);
        break;
    case Keyword::LDblQuote:
        AppendUnit(0x201C);
        break;
    case Keyword::RDblQuote:
        AppendUnit(0x201D);
        break;
    case Keyword::Bullet:
        AppendUnit(0x2022);
        break;
    case Keyword::Unicode:
        // \uN is a signed 16-bit value; negative values name units above 0x7FFF.
        if (token.hasParam)
            AppendUnit(static_cast<char16_t>(token.param & 0xFFFF));
        break;
    default:
        break;
    }
}

void RtfParser::HandlePictureWord(Keyword keyword, const RtfToken &token)
{
    if (!m_picture)
        return;
    const int value = token.hasParam ? token.param : 0;
    switch (keyword) {
    case Keyword::PngBlip:
        m_picture->SetKind(RtfPicture::Png);
        break;
    case Keyword::JpegBlip:
        m_picture->SetKind(RtfPicture::Jpeg);
        break;
    case Keyword::DiBitmap:
        m_picture->SetKind(RtfPicture::Dib);
        break;
    case Keyword::WBitmap:
        m_picture->SetKind(RtfPicture::DeviceBitmap);
        break;
    case Keyword::Metafile:
        m_picture->SetKind(RtfPicture::Metafile);
        break;
    case Keyword::PicWidth:
        m_picture->SetPixelWidth(value);
        break;
    case Keyword::PicHeight:
        m_picture->SetPixelHeight(value);
        break;
    case Keyword::PicGoalWidth:
        m_picture->SetGoalWidth(std::clamp(value, 0, MaxTwips));
        break;
    case Keyword::PicGoalHeight:
        m_picture->SetGoalHeight(std::clamp(value, 0, MaxTwips));
        break;
    case Keyword::PicScaleX:
        m_picture->SetScaleX(std::clamp(value, 0, 1000));
        break;
    case Keyword::PicScaleY:
        m_picture->SetScaleY(std::clamp(value, 0, 1000));
        break;
    case Keyword::BitsPerPixel:
        m_picture->SetBitsPerPixel(value);
        break;
    case Keyword::WidthBytes:
        m_picture->SetWidthBytes(value);
        break;
    default:
        break;
    }
}

void RtfParser::HandleSymbol(char symbol)
{
    switch (symbol) {
    case '*':
        m_ignorableNext = true;
        return;
    case '\\':
    case '{':
    case '}':
        HandleBytes(QByteArrayView(&symbol, 1));
        return;
    default:
        break;
    }
    if (CurrentDestination() != Destination::Text)
        return;
    switch (symbol) {
    case '~':
        AppendUnit(0x00A0);
        break;
    case '-':
        AppendUnit(0x00AD);
        break;
    case '_':
        AppendUnit(0x2011);
        break;
    case '\n':
        EndParagraph();
        break;
    default:
        break;
    }
}

void RtfParser::HandleBytes(QByteArrayView bytes)
{
    switch (CurrentDestination()) {
    case Destination::Text:
        AppendBytes(bytes);
        break;
    case Destination::FontTable:
        AddFontNameBytes(bytes);
        break;
    case Destination::ColorTable:
        AddColorBytes(bytes);
        break;
    case Destination::Picture:
        if (m_picture)
            m_picture->AppendHex(bytes);
        break;
    case Destination::Skip:
        break;
    }
}

void RtfParser::PrepareAppend()
{
    const CharState &chars = State().chars;
    if (chars == m_pendingState)
        return;
    FlushText();
    m_pendingState = chars;
}

void RtfParser::AppendBytes(QByteArrayView bytes)
{
    PrepareAppend();
    const int codePage = CodePageOf(m_pendingState.font);
    if (codePage != m_pendingCodePage)
        DecodePendingBytes();
    m_pendingCodePage = codePage;
    m_pendingBytes.append(bytes);
}

void RtfParser::AppendUnit(char16_t unit)
{
    PrepareAppend();
    DecodePendingBytes();
    m_pendingText.append(QChar(unit));
}

void RtfParser::DecodePendingBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    m_pendingText += m_decoder.Decode(m_pendingCodePage, m_pendingBytes);
    m_pendingBytes.clear();
}

void RtfParser::FlushText()
{
    DecodePendingBytes();
    if (m_pendingText.isEmpty())
        return;
    Sanitize(m_pendingText);
    m_characters += m_pendingText.size();
    if (m_characters > RtfReader::MaxCharacters) {
        m_tooLong = true;
    } else {
        m_cursor.insertText(m_pendingText, CharFormat(m_pendingState));
    }
    m_pendingText.clear();
}

void RtfParser::EndParagraph()
{
    FlushText();
    ApplyParagraphFormat();
    if (++m_paragraphs >= RtfReader::MaxParagraphs)
        m_tooLong = true;
    else
        m_cursor.insertBlock();
}

void RtfParser::ApplyParagraphFormat()
{
    m_cursor.setBlockFormat(BlockFormat(State().para));
    // An empty paragraph takes its height from the block's character format.
    m_cursor.setBlockCharFormat(CharFormat(State().chars));
}

void RtfParser::AddFontNameBytes(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c == ';')
            CommitFont();
        else if (m_fontName.size() < 256)
            m_fontName.append(c);
    }
}

// A \uN in a font name: the bytes before it are decoded in the font's code
// page first, so the name keeps its order.
void RtfParser::AddFontNameUnit(char16_t unit)
{
    if (m_fontNameText.size() + m_fontName.size() >= 256)
        return;
    m_fontNameText += m_decoder.Decode(FontCodePage(), m_fontName);
    m_fontName.clear();
    m_fontNameText += QChar(unit);
}

int RtfParser::FontCodePage() const
{
    return m_fontCodePage > 0 ? m_fontCodePage
                              : CodePageDecoder::CodePageForCharset(m_fontCharset, m_ansiCodePage);
}

void RtfParser::CommitFont()
{
    if (m_fontNumber >= 0) {
        FontEntry entry;
        entry.charset = m_fontCharset;
        entry.codePage = m_fontCodePage;
        entry.name = (m_fontNameText + m_decoder.Decode(FontCodePage(), m_fontName)).trimmed();
        if (m_fonts.size() < MaxTableEntries || m_fonts.count(m_fontNumber) > 0)
            m_fonts[m_fontNumber] = entry;
    }
    m_fontNumber = -1;
    m_fontCharset = -1;
    m_fontCodePage = 0;
    m_fontName.clear();
    m_fontNameText.clear();
}

void RtfParser::AddColorBytes(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c != ';' || m_colors.size() >= MaxTableEntries)
            continue;
        if (m_colorSet)
            m_colors.emplace_back(QColor(m_red, m_green, m_blue));
        else
            m_colors.emplace_back(std::nullopt); // "auto"
        m_red = m_green = m_blue = 0;
        m_colorSet = false;
    }
}

void RtfParser::FinishPicture(bool insert)
{
    std::optional<RtfPicture> picture = std::move(m_picture);
    m_picture.reset();
    if (!insert || !picture)
        return;
    QString error;
    QImage image;
    {
        const PictureBudget::Scope scope(m_pictures);
        image = picture->ToImage(&error);
    }
    if (image.isNull()) {
        if (m_pictureError.isEmpty())
            m_pictureError = error;
        return;
    }

    const QByteArray digest = QCryptographicHash::hash(picture->Data(), QCryptographicHash::Md5);
    const QString name = QStringLiteral("rtf-image-") + QString::fromLatin1(digest.toHex());
    m_doc.addResource(QTextDocument::ImageResource, QUrl(name), image);

    FlushText();
    QTextImageFormat format;
    format.merge(CharFormat(State().chars));
    format.setName(name);
    const QSizeF size = picture->DisplaySize(image);
    format.setWidth(size.width());
    format.setHeight(size.height());
    m_cursor.insertImage(format);
}

int RtfParser::CodePageOf(int font) const
{
    const auto found = m_fonts.find(font < 0 ? m_defaultFont : font);
    if (found == m_fonts.end())
        return m_ansiCodePage;
    if (found->second.codePage > 0)
        return found->second.codePage;
    return CodePageDecoder::CodePageForCharset(found->second.charset, m_ansiCodePage);
}

std::optional<QColor> RtfParser::ColorAt(int index) const
{
    if (index < 0 || index >= int(m_colors.size()))
        return std::nullopt;
    return m_colors[size_t(index)];
}

QTextCharFormat RtfParser::CharFormat(const CharState &state)
{
    if (m_cachedState && *m_cachedState == state)
        return m_cachedFormat;
    QTextCharFormat format;
    const auto font = m_fonts.find(state.font < 0 ? m_defaultFont : state.font);
    if (font != m_fonts.end() && !font->second.name.isEmpty())
        format.setFontFamilies(QStringList{font->second.name});
    format.setFontPointSize(state.halfPoints / 2.0);
    format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.italic);
    format.setFontUnderline(state.underline);
    format.setFontStrikeOut(state.strike);
    if (const auto color = ColorAt(state.foreground))
        format.setForeground(*color);
    if (state.background > 0) {
        if (const auto color = ColorAt(state.background))
            format.setBackground(*color);
    }
    m_cachedState = state;
    m_cachedFormat = format;
    return format;
}

QTextBlockFormat RtfParser::BlockFormat(const ParaState &state) const
{
    QTextBlockFormat format;
    format.setAlignment(state.alignment);
    format.setLeftMargin(state.leftTwips / TwipsPerPixel);
    format.setRightMargin(state.rightTwips / TwipsPerPixel);
    format.setTextIndent(state.firstTwips / TwipsPerPixel);
    format.setTopMargin(state.beforeTwips / TwipsPerPixel);
    format.setBottomMargin(state.afterTwips / TwipsPerPixel);
    return format;
}

} // namespace

bool RtfReader::Read(const QByteArray &rtf, QTextDocument &doc)
{
    m_error.clear();
    m_pictureError.clear();
    doc.clear();
    if (rtf.size() > MaxInputSize) {
        m_error = QStringLiteral("The RTF text is too large.");
        return false;
    }
    // Loading is not an edit the user could undo, and one edit block lets
    // the document lay itself out once instead of after every insertion.
    const bool undoEnabled = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    bool ok = false;
    {
        RtfParser parser(rtf, doc);
        ok = parser.Parse(m_error);
        m_pictureError = parser.PictureError();
    }
    if (!ok)
        doc.clear();
    doc.setUndoRedoEnabled(undoEnabled);
    return ok;
}

bool RtfReader::Read(QIODevice &device, QTextDocument &doc)
{
    const QByteArray rtf = device.read(MaxInputSize + 1);
    if (rtf.size() > MaxInputSize) {
        m_error = QStringLiteral("The RTF text is too large.");
        doc.clear();
        return false;
    }
    return Read(rtf, doc);
}

} // namespace Dayloom
