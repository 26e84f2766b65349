#include "core/richtext/codepagedecoder.h"

#include "core/common/windows1252.h"

namespace Dayloom {

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
    return DecodeWindows1252(bytes);
}

} // namespace Dayloom
