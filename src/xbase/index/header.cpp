// Encoding and decoding of the index header and its expression pool.
#include "xbase/index/header.h"

#include <cstring>

#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/index/index.h"

namespace xb::index {

namespace {

constexpr int kPoolOffset = 512;
constexpr int kPoolSize = 512;

// Text of an expression: from its pool offset up to its NUL, never past the pool.
std::string poolString(const uint8_t* pool, int offset, int length) {
    if (offset >= kPoolSize || length <= 0) return {};
    int end = offset + length;
    if (end > kPoolSize) end = kPoolSize;
    const uint8_t* start = pool + offset;
    const void* nul = std::memchr(start, 0, size_t(end - offset));
    size_t len = nul ? size_t(static_cast<const uint8_t*>(nul) - start) : size_t(end - offset);
    return std::string(reinterpret_cast<const char*>(start), len);
}

}  // namespace

IndexHeader decodeHeader(const uint8_t* b, const std::string& where) {
    IndexHeader h;
    h.root = getLE32(b);
    h.freeList = getLE32(b + 4);
    h.keyLength = getLE16(b + 12);
    h.options = b[14];
    h.signature = b[15];
    h.descending = getLE16(b + 502) == 1;
    if (h.keyLength < 1 || h.keyLength > kMaxKeyLength)
        fail(ErrorCode::Corrupt,
             where + ": key length " + std::to_string(h.keyLength) + " is outside 1..240");
    if (h.root % kPageSize != 0 || h.root < 2 * kPageSize)
        fail(ErrorCode::Corrupt,
             where + ": root offset " + std::to_string(h.root) + " is not a node position");
    int forOffset = getLE16(b + 504), forLength = getLE16(b + 506);
    int keyOffset = getLE16(b + 508), keyLength = getLE16(b + 510);
    if (keyOffset >= kPoolSize)
        fail(ErrorCode::Corrupt, where + ": key expression lies outside the header");
    const uint8_t* pool = b + kPoolOffset;
    h.keyExpr = poolString(pool, keyOffset, keyLength);
    h.forExpr = poolString(pool, forOffset, forLength);
    return h;
}

void encodeHeader(const IndexHeader& h, uint8_t* b) {
    size_t keyLen = h.keyExpr.size(), forLen = h.forExpr.size();
    if (keyLen + forLen + 2 > size_t(kPoolSize))
        fail(ErrorCode::Argument, "Index expressions are too long to store (" +
                                      std::to_string(keyLen + forLen) + " characters)");
    std::memset(b, 0, 2 * kPageSize);
    putLE32(b, h.root);
    putLE32(b + 4, h.freeList);
    putLE16(b + 12, uint16_t(h.keyLength));
    b[14] = h.options;
    b[15] = h.signature;
    putLE16(b + 502, h.descending ? 1 : 0);
    putLE16(b + 504, uint16_t(keyLen + 1));
    putLE16(b + 506, uint16_t(forLen + 1));
    putLE16(b + 508, 0);
    putLE16(b + 510, uint16_t(keyLen + 1));
    uint8_t* pool = b + kPoolOffset;
    std::memcpy(pool, h.keyExpr.data(), keyLen);
    std::memcpy(pool + keyLen + 1, h.forExpr.data(), forLen);
}

}  // namespace xb::index
