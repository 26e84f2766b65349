#include "core/richtext/codepagedecoder.h"

#include <array>

namespace Dayloom {

namespace {

// Windows-1252 bytes 0x80-0x9F; the five unassigned bytes keep their C1 code.
constexpr std::array<char16_t, 32> High1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString Decode1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes)
        *out++ = CodePageDecoder::DecodeWindows1252(static_cast<uchar>(c));
    return text;
}

} // namespace

QChar CodePageDecoder::DecodeWindows1252(uchar byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(High1252[byte - 0x80]);
    return QChar(byte);
}

int CodePageDecoder::EncodeWindows1252(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (int i = 0; i < int(High1252.size()); ++i) {
        if (High1252[i] == unit)
            return 0x80 + i;
    }
    return -1;
}

int CodePageDecoder::CodePageForCharset(int charset, int ansiCodePage)
{
    switch (charset) {
    case 77:
        return 10000; // Macintosh Roman
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        // 0 ANSI, 1 default, 2 symbol and anything unknown.
        return ansiCodePage;
    }
}

QStringDecoder *CodePageDecoder::DecoderFor(int codePage)
{
    auto found = m_decoders.find(codePage);
    if (found == m_decoders.end()) {
        QByteArray name;
        if (codePage == 10000)
            name = "macintosh";
        else if (codePage == 437)
            name = "IBM437";
        else if (codePage >= 1250 && codePage <= 1258)
            name = "windows-" + QByteArray::number(codePage);
        else
            name = "cp" + QByteArray::number(codePage);
        found = m_decoders.emplace(codePage, QStringDecoder(name.constData())).first;
    }
    return found->second.isValid() ? &found->second : nullptr;
}

QString CodePageDecoder::Decode(int codePage, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    if (codePage != Windows1252) {
        if (QStringDecoder *decoder = DecoderFor(codePage)) {
            decoder->resetState();
            return decoder->decode(bytes);
        }
    }
    return Decode1252(bytes);
}

} // namespace Dayloom
