#include "core/richtext/rtftokenizer.h"

#include <algorithm>
#include <limits>

namespace Dayloom {

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

RtfToken Token(RtfToken::Type type)
{
    RtfToken token;
    token.type = type;
    return token;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfToken RtfTokenizer::Next()
{
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            return Token(RtfToken::GroupStart);
        case '}':
            ++m_pos;
            return Token(RtfToken::GroupEnd);
        case '\\':
            return ReadControl();
        case '\r':
        case '\n':
            ++m_pos;
            continue;
        default:
            return ReadText();
        }
    }
    return {};
}

RtfToken RtfTokenizer::ReadText()
{
    const qsizetype start = m_pos;
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos];
        if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    RtfToken token = Token(RtfToken::Text);
    token.text = m_data.sliced(start, m_pos - start);
    return token;
}

RtfToken RtfTokenizer::ReadControl()
{
    ++m_pos; // the backslash
    if (m_pos >= m_data.size())
        return {};

    const char first = m_data[m_pos];
    if (!IsLetter(first)) {
        ++m_pos;
        if (first == '\'') {
            // \'hh: both digits must be present and valid, else the escape
            // stays a bare control symbol that readers ignore.
            const int high = m_pos < m_data.size() ? HexValue(m_data[m_pos]) : -1;
            const int low = m_pos + 1 < m_data.size() ? HexValue(m_data[m_pos + 1]) : -1;
            if (high < 0 || low < 0) {
                RtfToken broken = Token(RtfToken::ControlSymbol);
                broken.symbol = '\'';
                return broken;
            }
            m_pos += 2;
            RtfToken token = Token(RtfToken::HexByte);
            token.byte = static_cast<uchar>(high * 16 + low);
            return token;
        }
        RtfToken token = Token(RtfToken::ControlSymbol);
        // A backslash before a line break is an old spelling of \par.
        token.symbol = (first == '\r' || first == '\n') ? '\n' : first;
        return token;
    }

    const qsizetype nameStart = m_pos;
    while (m_pos < m_data.size() && IsLetter(m_data[m_pos]))
        ++m_pos;
    RtfToken token = Token(RtfToken::ControlWord);
    token.name = m_data.sliced(nameStart, std::min<qsizetype>(m_pos - nameStart, MaxNameLength));

    bool negative = false;
    if (m_pos + 1 < m_data.size() && m_data[m_pos] == '-' && IsDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_data.size() && IsDigit(m_data[m_pos])) {
        long long value = 0;
        constexpr long long limit = std::numeric_limits<int>::max();
        while (m_pos < m_data.size() && IsDigit(m_data[m_pos])) {
            value = std::min(limit + 1, value * 10 + (m_data[m_pos] - '0'));
            ++m_pos;
        }
        value = negative ? -value : value;
        token.param =
            static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(), limit));
        token.hasParam = true;
    }
    // One space after a control word is its delimiter, not text.
    if (m_pos < m_data.size() && m_data[m_pos] == ' ')
        ++m_pos;
    return token;
}

QByteArrayView RtfTokenizer::TakeBinary(qint64 length)
{
    const qsizetype count = static_cast<qsizetype>(std::clamp<qint64>(length, 0, Remaining()));
    const QByteArrayView bytes = m_data.sliced(m_pos, count);
    m_pos += count;
    return bytes;
}

} // namespace Dayloom
