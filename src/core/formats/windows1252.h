#pragma once

#include <QByteArray>
#include <QString>

namespace Dayloom {

// Text in files is stored in the Windows-1252 code page. The five bytes that
// the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// control characters of the same number, as the system's own conversion
// does, so that every byte sequence decodes and encodes back unchanged.

// Decodes Windows-1252 bytes; never fails.
QString DecodeWindows1252(const QByteArray &bytes);

// Encodes text as Windows-1252. Returns false (and leaves `bytes` with
// unspecified content) when a character has no Windows-1252 byte.
bool EncodeWindows1252(const QString &text, QByteArray &bytes);

} // namespace Dayloom
