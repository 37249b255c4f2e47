// Encoding and decoding of leaf and interior index pages.
#include "xbase/index/node.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "xbase/bytes.h"
#include "xbase/error.h"

namespace xb::index {

int countBits(int keyLength) {
    return int(std::bit_width(unsigned(keyLength)));
}

LeafWidths leafWidths(int keyLength, uint32_t maxRecno) {
    LeafWidths w;
    w.D = w.T = countBits(keyLength);
    int need = int(std::bit_width(maxRecno));
    if (need == 0) need = 1;
    w.B = (need + 2 * w.D + 7) / 8;
    w.R = 8 * w.B - 2 * w.D;
    return w;
}

int trailCount(const uint8_t* key, int keyLength, uint8_t fill) {
    int i = keyLength;
    uint64_t pattern = 0x0101010101010101ULL * fill;
    while (i >= 8) {
        uint64_t word;
        std::memcpy(&word, key + i - 8, 8);
        if (word != pattern) break;
        i -= 8;
    }
    while (i > 0 && key[i - 1] == fill)
        --i;
    return keyLength - i;
}

int commonPrefix(const uint8_t* a, const uint8_t* b, int limit) {
    int i = 0;
    while (i + 8 <= limit) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little)
                return i + std::countr_zero(x ^ y) / 8;
            break;
        }
        i += 8;
    }
    while (i < limit && a[i] == b[i])
        ++i;
    return i;
}

namespace {

// Short copies and fills word by word: key pieces are a few dozen bytes, where a generic
// block move costs more to start than to run.
inline void copyShort(uint8_t* d, const uint8_t* s, int n) {
    for (; n >= 8; n -= 8, d += 8, s += 8) {
        uint64_t w;
        std::memcpy(&w, s, 8);
        std::memcpy(d, &w, 8);
    }
    for (; n > 0; --n)
        *d++ = *s++;
}

inline void fillShort(uint8_t* d, uint8_t fill, int n) {
    const uint64_t w = 0x0101010101010101ULL * fill;
    for (; n >= 8; n -= 8, d += 8)
        std::memcpy(d, &w, 8);
    for (; n > 0; --n)
        *d++ = fill;
}

}  // namespace

void Node::insertEntry(int pos, const uint8_t* k, uint32_t recno, uint32_t child, int K) {
    keys.insert(keys.begin() + ptrdiff_t(pos) * K, k, k + K);
    recnos.insert(recnos.begin() + pos, recno);
    if (!isLeaf()) children.insert(children.begin() + pos, child);
    ++n;
}

void Node::removeEntry(int pos, int K) {
    keys.erase(keys.begin() + ptrdiff_t(pos) * K, keys.begin() + ptrdiff_t(pos + 1) * K);
    recnos.erase(recnos.begin() + pos);
    if (!isLeaf()) children.erase(children.begin() + pos);
    --n;
}

void corruptPage(const std::string& where, uint32_t offset, const std::string& what) {
    fail(ErrorCode::Corrupt, where + ": node at offset " + std::to_string(offset) + " " + what);
}

void putNodeHeader(uint8_t* page, uint16_t attr, int n, uint32_t left, uint32_t right) {
    putLE16(page, attr);
    putLE16(page + 2, uint16_t(n));
    putLE32(page + 4, left);
    putLE32(page + 8, right);
}

namespace {

// An entry of B bytes as a little-endian number. Whole-word loads where the page has room
// after the entry (the entry array sits at the front of the page, so nearly always).
inline uint64_t entryValue(const uint8_t* page, const uint8_t* e, int B) {
    if (e + 8 <= page + kPageSize) {
        uint64_t v;
        std::memcpy(&v, e, 8);
        if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
        return B >= 8 ? v : v & ((1ULL << (8 * B)) - 1);
    }
    return getLEn(e, B);
}

// Decodes entries until stop(key, recno) holds for one (it is decoded too); the stop test is
// a template parameter so that it compiles into the loop.
template <typename Stop>
bool decodeEntries(const uint8_t* page, int K, uint8_t fill, Node& out, const std::string& where,
                   uint32_t offset, LeafLayout* layout, const Stop& stop) {
    out.attr = getLE16(page);
    int n = getLE16(page + 2);
    out.left = getLE32(page + 4);
    out.right = getLE32(page + 8);
    int freeSpace = getLE16(page + 12);
    int R = page[20], D = page[21], T = page[22], B = page[23];
    if (B < 1 || B > 8 || R + D + T > 8 * B || D > 8 || T > 8)
        corruptPage(where, offset, "has impossible entry widths");
    if (n * B > kLeafSpace) corruptPage(where, offset, "holds more keys than fit in a leaf");
    if (freeSpace > kLeafSpace)
        corruptPage(where, offset, "has a free-space count beyond the page");
    out.n = n;
    out.keys.resize(size_t(n) * size_t(K));
    out.recnos.resize(size_t(n));
    out.children.clear();
    const uint64_t recMask = R == 0 ? 0 : (R >= 64 ? ~0ULL : (1ULL << R) - 1);
    const uint64_t dupMask = (1ULL << D) - 1;
    const uint64_t trailMask = (1ULL << T) - 1;
    const int entriesEnd = kLeafHeaderSize + n * B;
    int p = kPageSize;
    const uint8_t* e = page + kLeafHeaderSize;
    uint8_t* dst = out.keys.data();
    for (int i = 0; i < n; ++i, e += B, dst += K) {
        uint64_t v = entryValue(page, e, B);
        uint32_t recno = uint32_t(v & recMask);
        int dup = int((v >> R) & dupMask);
        int trail = int((v >> (R + D)) & trailMask);
        if (dup + trail > K) corruptPage(where, offset, "has a key longer than the key length");
        if (i == 0 && dup != 0)
            corruptPage(where, offset, "starts with a key that copies from a previous key");
        int stored = K - dup - trail;
        p -= stored;
        if (p < entriesEnd) corruptPage(where, offset, "has key bytes overlapping its entries");
        copyShort(dst, dst - K, dup);
        copyShort(dst + dup, page + p, stored);
        fillShort(dst + dup + stored, fill, trail);
        out.recnos[size_t(i)] = recno;
        if (stop(dst, recno)) {
            out.n = i + 1;
            return i + 1 == n;
        }
    }
    if (layout) {
        layout->freeSpace = freeSpace;
        layout->recMask = getLE32(page + 14);
        layout->dupMask = page[18];
        layout->trailMask = page[19];
        layout->widths = LeafWidths{B, R, D, T};
        layout->storedBytes = kPageSize - p;
    }
    return true;
}

}  // namespace

void decodeLeaf(const uint8_t* page, int K, uint8_t fill, Node& out, const std::string& where,
                uint32_t offset, LeafLayout* layout) {
    decodeEntries(page, K, fill, out, where, offset, layout,
                  [](const uint8_t*, uint32_t) { return false; });
}

bool decodeLeafUntil(const uint8_t* page, int K, uint8_t fill, Node& out, const std::string& where,
                     uint32_t offset, StopAt stop, const void* context) {
    return decodeEntries(
        page, K, fill, out, where, offset, nullptr,
        [&](const uint8_t* key, uint32_t recno) { return stop(context, key, recno); });
}

bool decodeLeafToPair(const uint8_t* page, int K, uint8_t fill, Node& out, const std::string& where,
                      uint32_t offset, const uint8_t* key, uint32_t recno, bool past) {
    return decodeEntries(page, K, fill, out, where, offset, nullptr,
                         [&](const uint8_t* k, uint32_t r) {
                             int c = compareBytes(k, key, K);
                             if (c == 0) c = r < recno ? -1 : (r > recno ? 1 : 0);
                             return past ? c > 0 : c >= 0;
                         });
}

bool decodeLeafToPrefix(const uint8_t* page, int K, uint8_t fill, Node& out,
                        const std::string& where, uint32_t offset, const uint8_t* bytes, int len) {
    return decodeEntries(
        page, K, fill, out, where, offset, nullptr,
        [&](const uint8_t* k, uint32_t) { return compareBytes(k, bytes, len) >= 0; });
}

namespace {

// Per-entry compression of a run of sorted keys placed in one leaf.
struct Packed {
    int dup;
    int trail;
};

uint32_t maxOf(const uint32_t* recnos, int n) {
    uint32_t m = 0;
    for (int i = 0; i < n; ++i)
        if (recnos[i] > m) m = recnos[i];
    return m;
}

}  // namespace

int leafBytes(const uint8_t* keys, const uint32_t* recnos, int n, int K, uint8_t fill) {
    LeafWidths w = leafWidths(K, maxOf(recnos, n));
    int total = n * w.B;
    int prevTrail = 0;
    for (int i = 0; i < n; ++i) {
        const uint8_t* k = keys + size_t(i) * size_t(K);
        int trail = trailCount(k, K, fill);
        int dup = i == 0 ? 0 : dupCount(commonPrefix(k - K, k, K), K, trail, prevTrail);
        total += K - dup - trail;
        prevTrail = trail;
    }
    return total;
}

bool encodeLeaf(const uint8_t* keys, const uint32_t* recnos, int n, int K, uint8_t fill,
                uint16_t attr, uint32_t left, uint32_t right, uint8_t* page) {
    if (leafBytes(keys, recnos, n, K, fill) > kLeafSpace) return false;
    LeafWidths w = leafWidths(K, maxOf(recnos, n));
    std::memset(page, 0, kPageSize);
    putNodeHeader(page, attr, n, left, right);
    putLE32(page + 14, w.R >= 32 ? 0xFFFFFFFFu : (1u << w.R) - 1);
    page[18] = uint8_t((1u << w.D) - 1);
    page[19] = uint8_t((1u << w.T) - 1);
    page[20] = uint8_t(w.R);
    page[21] = uint8_t(w.D);
    page[22] = uint8_t(w.T);
    page[23] = uint8_t(w.B);
    int p = kPageSize;
    int prevTrail = 0;
    uint8_t* e = page + kLeafHeaderSize;
    for (int i = 0; i < n; ++i, e += w.B) {
        const uint8_t* k = keys + size_t(i) * size_t(K);
        int trail = trailCount(k, K, fill);
        int dup = i == 0 ? 0 : dupCount(commonPrefix(k - K, k, K), K, trail, prevTrail);
        int stored = K - dup - trail;
        p -= stored;
        std::memcpy(page + p, k + dup, size_t(stored));
        uint64_t v = (uint64_t(trail) << (w.R + w.D)) | (uint64_t(dup) << w.R) | recnos[i];
        putLEn(e, w.B, v);
        prevTrail = trail;
    }
    putLE16(page + 12, uint16_t(p - kLeafHeaderSize - n * w.B));
    return true;
}

namespace {

// Replaces the entries [pos, pos + erased) of a well-formed leaf by the new entry (when key is
// set) and re-derives the compression of the entry after them; every other entry keeps its
// entry bytes and key bytes, moved as blocks.
bool spliceLeaf(uint8_t* page, int K, uint8_t fill, int pos, int erased, const uint8_t* key,
                uint32_t recno, const uint8_t* prevKey, const uint8_t* nextKey) {
    const int n = getLE16(page + 2);
    const LeafWidths was{page[23], page[20], page[21], page[22]};
    const uint64_t recMask = was.R >= 64 ? ~0ULL : (1ULL << was.R) - 1;
    const uint64_t dupMask = (1ULL << was.D) - 1, trailMask = (1ULL << was.T) - 1;
    // Entries [pos + erased, tail) are the neighbour re-derived here; from tail on, untouched.
    const int next = pos + erased;
    const int tail = nextKey ? next + 1 : next;
    // A neighbour after the change must be named: its compression depends on what precedes it.
    if (pos < 0 || tail > n || (!nextKey && next != n)) return false;
    // Only the entries near the change were decoded (and so checked) by the caller; anything
    // odd elsewhere is left to the full decode, which reports it.
    if (was.B < 1 || was.B > 8 || was.D > 8 || was.T > 8 || was.R + was.D + was.T > 8 * was.B ||
        n * was.B > kLeafSpace)
        return false;
    uint32_t maxRec = key ? recno : 0;
    int storedBefore = 0, storedAt = 0, storedTail = 0;
    const uint8_t* e = page + kLeafHeaderSize;
    for (int i = 0; i < n; ++i, e += was.B) {
        const uint64_t v = entryValue(page, e, was.B);
        const int dup = int((v >> was.R) & dupMask),
                  trail = int((v >> (was.R + was.D)) & trailMask);
        const int stored = K - dup - trail;
        if (stored < 0 || (i == 0 && dup != 0)) return false;
        if (i < pos)
            storedBefore += stored;
        else if (i < tail)
            storedAt += stored;
        else
            storedTail += stored;
        if (i < pos || i >= next) maxRec = std::max(maxRec, uint32_t(v & recMask));
    }
    if (n * was.B + storedBefore + storedAt + storedTail > kLeafSpace) return false;
    const LeafWidths w = leafWidths(K, maxRec);
    if (w.B != was.B || w.R != was.R || w.D != was.D || w.T != was.T) return false;

    // The pieces that change: the new entry and the neighbour after it.
    struct Piece {
        const uint8_t* key;
        uint32_t recno;
        int dup, trail;
    } pieces[2];
    int count = 0;
    const uint8_t* before = prevKey;
    int beforeTrail = prevKey ? trailCount(prevKey, K, fill) : 0;
    auto add = [&](const uint8_t* k, uint32_t r) {
        const int trail = trailCount(k, K, fill);
        const int dup = before ? dupCount(commonPrefix(before, k, K), K, trail, beforeTrail) : 0;
        pieces[count++] = Piece{k, r, dup, trail};
        before = k;
        beforeTrail = trail;
    };
    if (key) add(key, recno);
    if (nextKey) {
        const uint64_t v = entryValue(page, page + kLeafHeaderSize + next * w.B, w.B);
        add(nextKey, uint32_t(v & recMask));
    }
    int storedNew = 0;
    for (int i = 0; i < count; ++i)
        storedNew += K - pieces[i].dup - pieces[i].trail;
    const int newN = n - erased + (key ? 1 : 0);
    const int used = newN * w.B + storedBefore + storedNew + storedTail;
    if (used > kLeafSpace) return false;

    uint8_t out[kPageSize];
    std::memset(out, 0, kPageSize);
    std::memcpy(out, page, kLeafHeaderSize);
    putLE16(out + 2, uint16_t(newN));
    putLE32(out + 14, w.R >= 32 ? 0xFFFFFFFFu : (1u << w.R) - 1);
    out[18] = uint8_t((1u << w.D) - 1);
    out[19] = uint8_t((1u << w.T) - 1);
    putLE16(out + 12, uint16_t(kLeafSpace - used));
    // Entry array: the untouched head, the changed pieces, the untouched tail.
    uint8_t* dst = out + kLeafHeaderSize;
    std::memcpy(dst, page + kLeafHeaderSize, size_t(pos) * size_t(w.B));
    dst += pos * w.B;
    for (int i = 0; i < count; ++i, dst += w.B)
        putLEn(dst, w.B,
               (uint64_t(pieces[i].trail) << (w.R + w.D)) | (uint64_t(pieces[i].dup) << w.R) |
                   pieces[i].recno);
    std::memcpy(dst, page + kLeafHeaderSize + tail * w.B, size_t(n - tail) * size_t(w.B));
    // Key bytes grow down from the page end in entry order.
    int p = kPageSize - storedBefore;
    std::memcpy(out + p, page + p, size_t(storedBefore));
    for (int i = 0; i < count; ++i) {
        const int stored = K - pieces[i].dup - pieces[i].trail;
        p -= stored;
        std::memcpy(out + p, pieces[i].key + pieces[i].dup, size_t(stored));
    }
    const int oldTail = kPageSize - storedBefore - storedAt;
    std::memcpy(out + p - storedTail, page + oldTail - storedTail, size_t(storedTail));
    std::memcpy(page, out, kPageSize);
    return true;
}

}  // namespace

bool leafEndsWith(const uint8_t* page, int K, uint8_t fill, const uint8_t* key, uint32_t recno) {
    const int n = getLE16(page + 2);
    const int R = page[20], D = page[21], T = page[22], B = page[23];
    if (n < 1 || B < 1 || B > 8 || R + D + T > 8 * B || D > 8 || T > 8 || n * B > kLeafSpace)
        return false;
    const uint64_t v = entryValue(page, page + kLeafHeaderSize + (n - 1) * B, B);
    const uint64_t recMask = R >= 64 ? ~0ULL : (1ULL << R) - 1;
    if (uint32_t(v & recMask) != recno) return false;
    const int dup = int((v >> R) & ((1ULL << D) - 1));
    const int trail = int((v >> (R + D)) & ((1ULL << T) - 1));
    const int stored = K - dup - trail;
    // The last entry's bytes are the lowest ones, right above the free space.
    const int at = kLeafHeaderSize + n * B + getLE16(page + 12);
    if (stored < 0 || at + stored > kPageSize || trailCount(key, K, fill) != trail) return false;
    return std::memcmp(page + at, key + dup, size_t(stored)) == 0;
}

bool eraseFromLeaf(uint8_t* page, int K, uint8_t fill, int pos, const uint8_t* prevKey,
                   const uint8_t* nextKey) {
    return spliceLeaf(page, K, fill, pos, 1, nullptr, 0, prevKey, nextKey);
}

bool insertIntoLeaf(uint8_t* page, int K, uint8_t fill, int pos, const uint8_t* key, uint32_t recno,
                    const uint8_t* prevKey, const uint8_t* nextKey) {
    return spliceLeaf(page, K, fill, pos, 0, key, recno, prevKey, nextKey);
}

void decodeInterior(const uint8_t* page, int K, Node& out, const std::string& where,
                    uint32_t offset) {
    out.attr = getLE16(page);
    int n = getLE16(page + 2);
    out.left = getLE32(page + 4);
    out.right = getLE32(page + 8);
    if (n < 1 || n > interiorCapacity(K))
        corruptPage(where, offset, "is an interior node with " + std::to_string(n) + " entries");
    out.n = n;
    out.keys.resize(size_t(n) * size_t(K));
    out.recnos.resize(size_t(n));
    out.children.resize(size_t(n));
    const uint8_t* e = page + kInteriorHeaderSize;
    for (int i = 0; i < n; ++i, e += K + 8) {
        std::memcpy(out.keys.data() + size_t(i) * size_t(K), e, size_t(K));
        out.recnos[size_t(i)] = getBE32(e + K);
        out.children[size_t(i)] = getBE32(e + K + 4);
    }
}

void encodeInterior(const uint8_t* keys, const uint32_t* recnos, const uint32_t* children, int n,
                    int K, uint16_t attr, uint32_t left, uint32_t right, uint8_t* page) {
    std::memset(page, 0, kPageSize);
    putNodeHeader(page, attr, n, left, right);
    uint8_t* e = page + kInteriorHeaderSize;
    for (int i = 0; i < n; ++i, e += K + 8) {
        std::memcpy(e, keys + size_t(i) * size_t(K), size_t(K));
        putBE32(e + K, recnos[i]);
        putBE32(e + K + 4, children[i]);
    }
}

}  // namespace xb::index
