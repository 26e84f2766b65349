#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Dayloom {

// The Windows-1252 code page, in which the file formats store their text,
// notes carry theirs, and older recurring-dates files were written. The five
// bytes that the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// map to the control characters of the same number, as the system's own
// conversion does, so that every byte sequence decodes and encodes back
// unchanged.

// The character of one byte; never fails.
QChar Windows1252Character(uchar byte);
// The byte of one UTF-16 unit, or -1 when the code page has none.
int Windows1252Byte(char16_t unit);

// Decodes Windows-1252 bytes; never fails.
QString DecodeWindows1252(QByteArrayView bytes);

// Encodes text as Windows-1252. Returns false (and leaves `bytes` with
// unspecified content) when a character has no Windows-1252 byte.
bool EncodeWindows1252(const QString &text, QByteArray &bytes);

} // namespace Dayloom
