// ZIP keys of the presort.
#include "presort/zip_key.h"

namespace qb::presort {

std::string_view leadingChars(std::string_view utf8, int n) {
    size_t i = 0;
    int seen = 0;
    while (i < utf8.size()) {
        // Continuation bytes (10xxxxxx) belong to the character before them.
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (seen == n) break;
            ++seen;
        }
        ++i;
    }
    return utf8.substr(0, i);
}

bool keyQualifies(std::string_view key) {
    // Byte order of UTF-8 is code-point order, and every non-ASCII character sorts above both
    // bounds, so comparing the bytes gives the same answer as comparing characters would.
    if (key.empty() || key[0] < '0' || key[0] > '9') return false;
    return key >= std::string_view("00000") && key <= std::string_view("99999-999");
}

}  // namespace qb::presort
