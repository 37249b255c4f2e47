// Shared by the index fuzz targets: a scratch file for the input, a sound index to damage,
// and the walk that every opened tree goes through.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "xbase/error.h"
#include "xbase/file.h"
#include "xbase/index/index.h"
#include "xbase/keys.h"

namespace fuzzidx {

inline const std::string& scratchPath(const char* ext) {
    static const std::string path =
        (std::filesystem::temp_directory_path() /
         ("qb-fuzz-" + std::to_string(getpid()) + ext))
            .string();
    return path;
}

inline void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    xb::File f = xb::File::open(path, xb::OpenMode::CreateNew, xb::LockMode::None);
    if (size) f.writeAt(0, data, size);
}

inline std::vector<uint8_t> readFile(const std::string& path) {
    xb::File f = xb::File::open(path, xb::OpenMode::ReadOnly, xb::LockMode::None);
    std::vector<uint8_t> bytes(f.size());
    f.readExact(0, bytes.data(), bytes.size(), "seed");
    return bytes;
}

// Sorted entries of n character keys of length K (shared prefixes, blanks, duplicates).
inline void sampleEntries(int K, int n, std::vector<uint8_t>& keys, std::vector<uint32_t>& recnos) {
    std::vector<std::pair<std::string, uint32_t>> pairs;
    uint32_t x = 12345;
    for (int i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        std::string k = "NAME" + std::to_string((x >> 8) % 997);
        k.resize(size_t(K), ' ');
        pairs.emplace_back(k, uint32_t(i + 1));
    }
    std::sort(pairs.begin(), pairs.end());
    for (auto& p : pairs) {
        keys.insert(keys.end(), p.first.begin(), p.first.end());
        recnos.push_back(p.second);
    }
}

// Inputs either are the file itself or, when they start with '!', a list of 3-byte patches
// (offset, value) applied to a sound index: mutations then reach deep into the trees.
inline std::vector<uint8_t> materialise(const uint8_t* data, size_t size,
                                        const std::vector<uint8_t>& sound) {
    if (size == 0 || data[0] != '!') return std::vector<uint8_t>(data, data + size);
    std::vector<uint8_t> bytes = sound;
    size_t i = 1;
    for (; i + 3 <= size; i += 3) {
        size_t off = (size_t(data[i]) | size_t(data[i + 1]) << 8) * 7 % bytes.size();
        bytes[off] = data[i + 2];
    }
    if (i < size) bytes.resize(bytes.size() * data[i] / 256);  // a trailing byte truncates
    return bytes;
}

// Walks a tag both ways, seeks, verifies and changes it; only xb::Error may come out.
inline void exercise(xb::index::Tag& tag) {
    const int K = tag.info().keyLength;
    std::vector<uint8_t> probe(size_t(K), ' ');
    auto c = tag.cursor();
    for (bool ok = c->first(); ok; ok = c->next()) {
    }
    for (bool ok = c->last(); ok; ok = c->prev()) {
    }
    std::memcpy(probe.data(), "NAME5", size_t(std::min(K, 5)));
    c->seek(probe.data(), std::min(K, 5));
    c->seekPair(probe.data(), 7);
    if (c->valid()) c->next();
    try {
        tag.verify();
    } catch (const xb::Error&) {
    }
    tag.insert(probe.data(), 424242);
    tag.erase(probe.data(), 424242);
    tag.verify();
}

}  // namespace fuzzidx
