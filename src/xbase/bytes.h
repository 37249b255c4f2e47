// Byte-order helpers for the on-disk layouts: every multi-byte integer read or written goes here.
#pragma once

#include <cstdint>
#include <cstring>

namespace xb {

inline uint16_t getLE16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t getLE32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t getLE64(const uint8_t* p) {
    return uint64_t(getLE32(p)) | (uint64_t(getLE32(p + 4)) << 32);
}
inline uint32_t getBE32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline uint16_t getBE16(const uint8_t* p) {
    return uint16_t((p[0] << 8) | p[1]);
}

inline void putLE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void putLE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void putLE64(uint8_t* p, uint64_t v) {
    putLE32(p, uint32_t(v));
    putLE32(p + 4, uint32_t(v >> 32));
}
inline void putBE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}
inline void putBE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}

// Reads an unsigned little-endian integer of n (1..8) bytes.
inline uint64_t getLEn(const uint8_t* p, int n) {
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}
inline void putLEn(uint8_t* p, int n, uint64_t v) {
    for (int i = 0; i < n; ++i) {
        p[i] = uint8_t(v);
        v >>= 8;
    }
}

}  // namespace xb
