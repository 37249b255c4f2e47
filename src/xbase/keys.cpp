// Numeric key encoding.
#include "xbase/keys.h"

#include <cstring>

namespace xb {

void encodeNumericKey(double value, uint8_t* out) {
    if (value == 0) value = 0;  // folds -0 into +0
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    if (bits >> 63)
        bits = ~bits;
    else
        bits |= uint64_t(1) << 63;
    for (int i = 7; i >= 0; --i) {
        out[i] = uint8_t(bits);
        bits >>= 8;
    }
}

double decodeNumericKey(const uint8_t* in) {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = (bits << 8) | in[i];
    if (bits >> 63)
        bits &= ~(uint64_t(1) << 63);
    else
        bits = ~bits;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace xb
