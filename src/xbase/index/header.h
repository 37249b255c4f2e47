// The 1024-byte header that starts every index tree: a standalone index, each tag of a
// compound index, and the compound index's tag directory.
#pragma once

#include <cstdint>
#include <string>

namespace xb::index {

struct IndexHeader {
    uint32_t root = 0;
    uint32_t freeList = 0;
    int keyLength = 0;
    uint8_t options = 0;
    uint8_t signature = 1;
    bool descending = false;
    std::string keyExpr;
    std::string forExpr;
};

// Throws Error(Corrupt) prefixed with where when a field is out of range.
IndexHeader decodeHeader(const uint8_t* bytes /* 1024 */, const std::string& where);
// Throws Error(Argument) when the expressions do not fit the header's pool.
void encodeHeader(const IndexHeader& h, uint8_t* bytes /* 1024 */);

}  // namespace xb::index
