#pragma once

// Changes of a design that keep it readable, for fuzz_design. Byte changes
// alone rarely get far in a calendar file: pictures and notes sit inside
// values with a length in front, so growing one breaks the rest of the file,
// and a property needs several coordinated bytes to take a large value. This
// finds the published property values of the component records
// ([length][name][tag][value]) and changes one of them as a whole: an integer
// becomes an extreme, a flag flips, a text changes or grows long, and the
// file inside a picture or note is changed by libFuzzer's own mutations with
// every length in front of it put right.

#include <QByteArray>
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <vector>

namespace Dayloom::Testing {

// libFuzzer's mutation of a buffer of `size` bytes with room for `maxSize`;
// returns the new size.
using ByteMutator =
    std::function<std::size_t(std::uint8_t *data, std::size_t size, std::size_t maxSize)>;

// Where one property value lies: its tag byte, and the byte after it.
struct PropertyValue
{
    qsizetype tagAt = 0;
    qsizetype end = 0;
    std::uint8_t tag = 0;
};

namespace DesignMutatorDetail {

// The tags of the tagged value stream (see ValueTag).
enum Tag : std::uint8_t
{
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,
    String = 6,
    Identifier = 7,
    False = 8,
    True = 9,
    Binary = 10,
    Set = 11,
    LongString = 12,
    Nil = 13,
    WideString = 18,
    Utf8String = 20,
};

inline quint32 Le32At(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

inline QByteArray Le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// The end of the value whose tag is at `at`, when it fits the bytes.
inline std::optional<qsizetype> ValueEnd(const QByteArray &bytes, qsizetype at)
{
    const qsizetype size = bytes.size();
    const auto within = [size](qsizetype end) -> std::optional<qsizetype> {
        return end <= size ? std::optional<qsizetype>(end) : std::nullopt;
    };
    const qsizetype data = at + 1;
    switch (static_cast<std::uint8_t>(bytes[at])) {
    case Int8:
        return within(data + 1);
    case Int16:
        return within(data + 2);
    case Int32:
        return within(data + 4);
    case Extended:
        return within(data + 10);
    case String:
    case Identifier:
        return data < size ? within(data + 1 + static_cast<std::uint8_t>(bytes[data]))
                           : std::nullopt;
    case False:
    case True:
    case Nil:
        return data;
    case Binary:
    case LongString:
    case Utf8String:
        return data + 4 <= size ? within(data + 4 + qsizetype(Le32At(bytes, data))) : std::nullopt;
    case WideString:
        return data + 4 <= size ? within(data + 4 + 2 * qsizetype(Le32At(bytes, data)))
                                : std::nullopt;
    case Set:
        for (qsizetype item = data; item < size; item += 1 + static_cast<std::uint8_t>(bytes[item]))
            if (bytes[item] == 0)
                return item + 1;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

inline bool IsNameCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_';
}

// A property name of `length` characters at `at`, starting with a letter.
inline bool IsPropertyName(const QByteArray &bytes, qsizetype at, qsizetype length)
{
    if (length < 1 || length > 63 || at + length >= bytes.size())
        return false;
    const char first = bytes[at];
    if (!((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')))
        return false;
    for (qsizetype i = at; i < at + length; ++i)
        if (!IsNameCharacter(bytes[i]))
            return false;
    return true;
}

// The bytes with [from, to) replaced.
inline QByteArray Replaced(const QByteArray &bytes, qsizetype from, qsizetype to,
                           const QByteArray &with)
{
    return bytes.left(from) + with + bytes.mid(to);
}

// libFuzzer's mutation of `data`, which may grow by `room` bytes.
inline QByteArray Mutated(QByteArray data, qsizetype room, const ByteMutator &mutate)
{
    const qsizetype size = data.size();
    data.resize(size + std::max<qsizetype>(room, 0));
    if (data.isEmpty())
        return data;
    const std::size_t mutated = mutate(reinterpret_cast<std::uint8_t *>(data.data()),
                                       std::size_t(size), std::size_t(data.size()));
    data.resize(qsizetype(std::min<std::size_t>(mutated, std::size_t(data.size()))));
    return data;
}

// An extreme or a random integer.
inline qint32 ExtremeValue(std::mt19937 &random)
{
    static constexpr qint32 extremes[] = {0,       1,      -1,        2,        255,   256,
                                          4096,    16384,  32767,     32768,    65535, 65536,
                                          1 << 20, -32768, INT32_MAX, INT32_MIN};
    return random() % 4 == 0 ? qint32(random()) : extremes[random() % std::size(extremes)];
}

// An integer value with an extreme or a random value, as a 32-bit integer.
inline QByteArray ExtremeInteger(std::mt19937 &random)
{
    return char(Int32) + Le32(quint32(ExtremeValue(random)));
}

// The file with one 16- or 32-bit field of its first 64 bytes, where
// headers keep sizes and counts, set to an extreme.
inline QByteArray WithExtremeHeaderField(QByteArray file, std::mt19937 &random)
{
    const qsizetype width = random() % 2 == 0 ? 2 : 4;
    const qsizetype last = std::min<qsizetype>(64, file.size() - width);
    if (last < 0)
        return file;
    const qsizetype at = 2 * qsizetype(random() % (last / 2 + 1));
    const quint32 value = quint32(ExtremeValue(random));
    for (qsizetype i = 0; i < width; ++i)
        file[at + i] = char((value >> (8 * i)) & 0xff);
    return file;
}

// A mutated stored file inside a binary value, with the lengths in front of
// it put right: "Picture.Data" (a class name, then for bitmaps a 4-byte
// length and the file), "Image.Data" (a 4-byte length and the file), or the
// whole value (RTF, metafiles after the class name). Half of the changes set
// a field of the file's header to an extreme.
inline QByteArray MutatedBinary(const QByteArray &blob, qsizetype room, std::mt19937 &random,
                                const ByteMutator &mutate)
{
    qsizetype head = 0;
    const qsizetype nameLength = blob.isEmpty() ? 0 : static_cast<std::uint8_t>(blob[0]);
    if (nameLength > 0 && IsPropertyName(blob, 1, nameLength))
        head = 1 + nameLength;
    const bool lengthInFront =
        blob.size() >= head + 4 && qsizetype(Le32At(blob, head)) == blob.size() - head - 4;
    const qsizetype file = lengthInFront ? head + 4 : head;
    const QByteArray mutated = random() % 2 == 0 ? WithExtremeHeaderField(blob.mid(file), random)
                                                 : Mutated(blob.mid(file), room, mutate);
    QByteArray result = blob.left(head);
    if (lengthInFront)
        result += Le32(quint32(mutated.size()));
    return result + mutated;
}

// A text value changed by libFuzzer, or made long by repeating it (kept as a
// long string so that any length fits).
inline QByteArray ChangedText(const QByteArray &text, qsizetype room, std::mt19937 &random,
                              const ByteMutator &mutate)
{
    QByteArray changed;
    if (random() % 2 == 0 && !text.isEmpty() && room > 0) {
        const qsizetype length = std::min<qsizetype>(text.size() + room, 1 + random() % 40000);
        while (changed.size() < length)
            changed += text;
        changed.truncate(length);
    } else {
        changed = Mutated(text, room, mutate);
    }
    return char(LongString) + Le32(quint32(changed.size())) + changed;
}

} // namespace DesignMutatorDetail

// The published property values of the component records in the bytes.
inline std::vector<PropertyValue> FindPropertyValues(const QByteArray &bytes)
{
    using namespace DesignMutatorDetail;
    std::vector<PropertyValue> values;
    for (qsizetype at = 0; at + 2 < bytes.size(); ++at) {
        const qsizetype length = static_cast<std::uint8_t>(bytes[at]);
        if (!IsPropertyName(bytes, at + 1, length))
            continue;
        const qsizetype tagAt = at + 1 + length;
        if (const std::optional<qsizetype> end = ValueEnd(bytes, tagAt)) {
            values.push_back({tagAt, *end, static_cast<std::uint8_t>(bytes[tagAt])});
            at = tagAt - 1; // a value may hold names of its own (a picture's class)
        }
    }
    return values;
}

// Changes one property value of the design; nothing when the bytes hold
// none or the change would not fit in maxSize bytes.
inline std::optional<QByteArray> MutateDesignValue(const QByteArray &bytes, std::mt19937 &random,
                                                   qsizetype maxSize, const ByteMutator &mutate)
{
    using namespace DesignMutatorDetail;
    const std::vector<PropertyValue> values = FindPropertyValues(bytes);
    if (values.empty())
        return std::nullopt;
    const PropertyValue &value = values[random() % values.size()];
    const qsizetype room = maxSize - bytes.size();
    QByteArray with;
    switch (value.tag) {
    case Int8:
    case Int16:
    case Int32:
        with = ExtremeInteger(random);
        break;
    case False:
    case True:
        with = QByteArray(1, char(value.tag == True ? False : True));
        break;
    case String:
    case LongString:
    case Utf8String: {
        const qsizetype start = value.tagAt + (value.tag == String ? 2 : 5);
        with = ChangedText(bytes.mid(start, value.end - start), room, random, mutate);
        break;
    }
    case Binary: {
        const qsizetype start = value.tagAt + 5;
        const QByteArray blob =
            MutatedBinary(bytes.mid(start, value.end - start), room, random, mutate);
        with = char(Binary) + Le32(quint32(blob.size())) + blob;
        break;
    }
    case Identifier: {
        const qsizetype start = value.tagAt + 2;
        const qsizetype length = value.end - start;
        QByteArray name = Mutated(bytes.mid(start, length), std::min(room, 255 - length), mutate);
        name.truncate(255);
        with = char(Identifier) + QByteArray(1, char(name.size())) + name;
        break;
    }
    case Extended: {
        QByteArray number = Mutated(bytes.mid(value.tagAt + 1, 10), 0, mutate);
        number.resize(10, '\0');
        with = char(Extended) + number;
        break;
    }
    default:
        return std::nullopt;
    }
    QByteArray result = Replaced(bytes, value.tagAt, value.end, with);
    if (result.size() > maxSize)
        return std::nullopt;
    return result;
}

} // namespace Dayloom::Testing
