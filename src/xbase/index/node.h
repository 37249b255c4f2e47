// Byte layouts of index pages: the bit-packed leaf, the interior node, and the entry widths a
// leaf uses. Shared by the tree, the bulk builder and the checker; knows nothing of files.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "xbase/index/index.h"

namespace xb::index {

constexpr int kHeaderSize = 1024;
constexpr int kLeafSpace = 488;  // entry array plus key bytes
constexpr int kLeafHeaderSize = 24;
constexpr int kInteriorSpace = 500;
constexpr int kInteriorHeaderSize = 12;
constexpr uint32_t kNoPage = 0xFFFFFFFF;
constexpr uint16_t kAttrRoot = 0x01;
constexpr uint16_t kAttrLeaf = 0x02;

inline int interiorCapacity(int keyLength) {
    return kInteriorSpace / (keyLength + 8);
}
inline uint8_t fillByte(KeyKind kind) {
    return kind == KeyKind::Character ? 0x20 : 0x00;
}

// Unsigned comparison of n bytes, inline: keys are short and compared once per entry.
inline int compareBytes(const uint8_t* a, const uint8_t* b, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little) {
                x = __builtin_bswap64(x);
                y = __builtin_bswap64(y);
            }
            return x < y ? -1 : 1;
        }
    }
    for (; i < n; ++i)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

// Bits of the duplicate and trailing counts: enough to write the key length itself.
int countBits(int keyLength);

struct LeafWidths {
    int B = 0;  // bytes per entry
    int R = 0;  // record-number bits
    int D = 0;  // duplicate-count bits
    int T = 0;  // trailing-count bits
};
// Widths for a leaf whose largest record number is maxRecno. The record field is sized
// from what the node holds, so a reader never needs the table's record count.
LeafWidths leafWidths(int keyLength, uint32_t maxRecno);

// Number of trailing fill bytes of a key.
int trailCount(const uint8_t* key, int keyLength, uint8_t fill);
// Length of the common prefix of a and b, at most limit.
int commonPrefix(const uint8_t* a, const uint8_t* b, int limit);
// Leading bytes an entry may take from the previous key of its node. Never reaching into the
// previous key's dropped tail keeps independent readers that rebuild tails as NULs exact.
inline int dupCount(int prefix, int keyLength, int trail, int prevTrail) {
    int d = prefix;
    if (d > keyLength - trail) d = keyLength - trail;
    if (d > keyLength - prevTrail) d = keyLength - prevTrail;
    return d;
}

// A decoded node. Keys are kept at full length with the dropped fill restored.
struct Node {
    uint16_t attr = 0;
    uint32_t left = kNoPage;
    uint32_t right = kNoPage;
    int n = 0;
    std::vector<uint8_t> keys;       // n * K bytes
    std::vector<uint32_t> recnos;    // n
    std::vector<uint32_t> children;  // n, interior nodes only

    bool isLeaf() const { return (attr & kAttrLeaf) != 0; }
    bool isRoot() const { return (attr & kAttrRoot) != 0; }
    const uint8_t* key(int i, int K) const { return keys.data() + size_t(i) * size_t(K); }
    void insertEntry(int pos, const uint8_t* key, uint32_t recno, uint32_t child, int K);
    void removeEntry(int pos, int K);
};

// What a leaf's header says, for the checker.
struct LeafLayout {
    int freeSpace = 0;
    uint32_t recMask = 0;
    uint8_t dupMask = 0;
    uint8_t trailMask = 0;
    LeafWidths widths;
    int storedBytes = 0;
};

// Reports a fault in a page as Error(Corrupt) with the given "file: tag" prefix.
[[noreturn]] void corruptPage(const std::string& where, uint32_t offset, const std::string& what);

// Decodes a leaf page; every count and width is checked against the page bounds.
void decodeLeaf(const uint8_t* page, int K, uint8_t fill, Node& out, const std::string& where,
                uint32_t offset, LeafLayout* layout = nullptr);
// Decodes a leaf's entries only up to the first for which stop(context, key, recno) holds
// (out.n counts those decoded); returns false when it stopped before the last entry.
using StopAt = bool (*)(const void* context, const uint8_t* key, uint32_t recno);
bool decodeLeafUntil(const uint8_t* page, int K, uint8_t fill, Node& out, const std::string& where,
                     uint32_t offset, StopAt stop, const void* context);
// Decodes entries up to the first whose (key, recno) is at or after the pair, or with past set
// the first after it; returns as decodeLeafUntil does.
bool decodeLeafToPair(const uint8_t* page, int K, uint8_t fill, Node& out, const std::string& where,
                      uint32_t offset, const uint8_t* key, uint32_t recno, bool past);
// Decodes entries up to the first whose first len bytes are at or after bytes.
bool decodeLeafToPrefix(const uint8_t* page, int K, uint8_t fill, Node& out,
                        const std::string& where, uint32_t offset, const uint8_t* bytes, int len);
// Bytes that entries [0, n) need in one leaf (entry array plus stored key bytes).
int leafBytes(const uint8_t* keys, const uint32_t* recnos, int n, int K, uint8_t fill);
// Encodes n entries as a leaf into a 512-byte page; returns false (page untouched) when they
// do not fit.
bool encodeLeaf(const uint8_t* keys, const uint32_t* recnos, int n, int K, uint8_t fill,
                uint16_t attr, uint32_t left, uint32_t right, uint8_t* page);

// Change an encoded leaf for one entry removed at pos, or one added at pos, rewriting only the
// entry array, the neighbour whose compression depends on the change and the key bytes after
// it. prevKey is the key before pos (nullptr at 0); nextKey the key that follows the change
// (for an erase the one after the erased entry, for an insert the one now at pos; nullptr at
// the end). The page ends up exactly as encodeLeaf writes the new entries. They return false,
// page untouched, when that needs more than a local change: other entry widths (the largest
// record number moved across a width) or, on insert, a leaf that no longer fits.
// Whether a leaf's last entry is (key, recno), read from that entry alone: its record number,
// trailing count and stored bytes. Its copied leading bytes are taken on trust, as the
// separator above the leaf vouches for them.
bool leafEndsWith(const uint8_t* page, int K, uint8_t fill, const uint8_t* key, uint32_t recno);
bool eraseFromLeaf(uint8_t* page, int K, uint8_t fill, int pos, const uint8_t* prevKey,
                   const uint8_t* nextKey);
bool insertIntoLeaf(uint8_t* page, int K, uint8_t fill, int pos, const uint8_t* key, uint32_t recno,
                    const uint8_t* prevKey, const uint8_t* nextKey);

void decodeInterior(const uint8_t* page, int K, Node& out, const std::string& where,
                    uint32_t offset);
void encodeInterior(const uint8_t* keys, const uint32_t* recnos, const uint32_t* children, int n,
                    int K, uint16_t attr, uint32_t left, uint32_t right, uint8_t* page);

// Writes the node header shared by both kinds of node.
void putNodeHeader(uint8_t* page, uint16_t attr, int n, uint32_t left, uint32_t right);

}  // namespace xb::index
