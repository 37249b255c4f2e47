// Index key encodings: how a numeric, date or logical value becomes bytes whose unsigned
// order is the value's order, and the code-page case mapping used by UPPER(), keys and seeks.
#pragma once

#include <cstdint>

#include "xbase/date.h"

namespace xb {

// How the bytes a key drops from its end are restored: blanks for character and logical
// keys, zero bytes for numeric and date keys.
enum class KeyKind : uint8_t { Character, Binary };

constexpr int kNumericKeyLength = 8;

// The 8-byte sortable form of a double: big-endian IEEE-754 with the sign bit flipped for
// positive values and every bit inverted for negative ones; -0 is written as +0.
void encodeNumericKey(double value, uint8_t* out);
double decodeNumericKey(const uint8_t* in);
// Dates are indexed as their Julian day number in the numeric form; the empty date as 0.
inline void encodeDateKey(Jdn jdn, uint8_t* out) {
    encodeNumericKey(double(jdn), out);
}
inline void encodeLogicalKey(bool value, uint8_t* out) {
    *out = value ? 'T' : 'F';
}

}  // namespace xb
