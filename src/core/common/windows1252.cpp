#include "core/common/windows1252.h"

#include <array>

namespace Dayloom {

namespace {

// Characters of bytes 0x80-0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> HighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

QChar Windows1252Character(uchar byte)
{
    return QChar(byte >= 0x80 && byte < 0xA0 ? HighControlBlock[byte - 0x80] : char16_t(byte));
}

int Windows1252Byte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (std::size_t i = 0; i < HighControlBlock.size(); ++i) {
        if (HighControlBlock[i] == unit)
            return int(0x80 + i);
    }
    return -1;
}

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes)
        *out++ = Windows1252Character(static_cast<uchar>(b));
    return text;
}

bool EncodeWindows1252(const QString &text, QByteArray &bytes)
{
    bytes.resize(text.size());
    char *out = bytes.data();
    for (const QChar c : text) {
        const int byte = Windows1252Byte(c.unicode());
        if (byte < 0)
            return false;
        *out++ = static_cast<char>(byte);
    }
    return true;
}

} // namespace Dayloom
