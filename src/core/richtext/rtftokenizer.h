#pragma once

#include <QByteArrayView>

namespace Dayloom {

// One lexical unit of an RTF stream. Views point into the tokenizer's input
// and stay valid as long as that input does.
struct RtfToken
{
    enum Type
    {
        End,           // no more input
        GroupStart,    // {
        GroupEnd,      // }
        ControlWord,   // \name or \name-123; name holds the letters
        ControlSymbol, // \ followed by one non-letter; symbol holds it
        HexByte,       // \'hh; byte holds the value
        Text           // a run of plain bytes (line breaks removed)
    };

    Type type = End;
    QByteArrayView name;
    QByteArrayView text;
    int param = 0;
    bool hasParam = false;
    char symbol = 0;
    uchar byte = 0;
};

// Splits RTF bytes into tokens without ever reading past the end: control
// word names longer than the format allows are cut, numeric parameters are
// clamped to the int range, a truncated \'h escape becomes the bare
// control symbol \' (which readers ignore). Carriage
// returns and line feeds in text are not content in RTF and never appear in
// Text tokens.
class RtfTokenizer
{
public:
    static constexpr int MaxNameLength = 32;

    explicit RtfTokenizer(QByteArrayView data) : m_data(data) {}

    RtfToken Next();

    // Hands out the raw bytes that follow \binN. Returns fewer than asked
    // for (the rest of the input) when the stream is shorter than claimed.
    QByteArrayView TakeBinary(qint64 length);

    qsizetype Remaining() const { return m_data.size() - m_pos; }

private:
    RtfToken ReadControl();
    RtfToken ReadText();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

} // namespace Dayloom
