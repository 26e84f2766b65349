#pragma once

#include <cstdint>

namespace Dayloom {

// The one-byte tag in front of every value of the tagged value stream that
// calendar files, style sheets and the object clipboard are made of.
enum class ValueTag : std::uint8_t
{
    EndOfList = 0,
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,   // 10-byte 80-bit float
    String = 6,     // 1-byte length, Windows-1252 bytes
    Identifier = 7, // 1-byte length, bytes
    False = 8,
    True = 9,
    Binary = 10,     // 4-byte length, bytes
    Set = 11,        // identifiers (1-byte length, bytes) ended by a zero length
    LongString = 12, // 4-byte length, Windows-1252 bytes
    Nil = 13,
    Collection = 14, // items up to an end of list
    WideString = 18, // 4-byte count of UTF-16LE characters (read only)
    Utf8String = 20, // 4-byte length, UTF-8 bytes
};

} // namespace Dayloom
