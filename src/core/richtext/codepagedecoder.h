#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>

namespace Dayloom {

// Turns bytes of a Windows code page into text. Windows-1252, the code page
// of nearly every note, is decoded from the shared table (windows1252.h) so
// that it works on every build of Qt; other code pages go through QStringDecoder (available
// when Qt has ICU) and fall back to the Windows-1252 table otherwise.
// Decoders are cached per code page, so one instance serves a whole read.
class CodePageDecoder
{
public:
    static constexpr int Windows1252 = 1252;

    QString Decode(int codePage, QByteArrayView bytes);

    // The code page of an RTF \fcharset value; ANSI and "default" charsets use
    // the document's \ansicpg.
    static int CodePageForCharset(int charset, int ansiCodePage);

private:
    QStringDecoder *DecoderFor(int codePage);

    std::map<int, QStringDecoder> m_decoders;
};

} // namespace Dayloom
