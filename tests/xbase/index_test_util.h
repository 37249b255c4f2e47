// Helpers shared by the index tests: scratch folders, key makers and whole-tree dumps.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "xbase/file.h"
#include "xbase/index/index.h"

namespace xb::index::testing {

class TempDir {
  public:
    TempDir() {
        std::string templ = (std::filesystem::temp_directory_path() / "qbidx-XXXXXX").string();
        if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
        path_ = templ;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline File createFile(const std::string& path) {
    return File::open(path, OpenMode::CreateNew, LockMode::None);
}
inline File openFile(const std::string& path, bool writable = true) {
    return File::open(path, writable ? OpenMode::ReadWrite : OpenMode::ReadOnly, LockMode::None);
}

inline std::vector<uint8_t> readAll(const std::string& path) {
    File f = openFile(path, false);
    std::vector<uint8_t> bytes(f.size());
    f.readExact(0, bytes.data(), bytes.size(), "test file");
    return bytes;
}
inline void writeAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    File f = createFile(path);
    f.writeAt(0, bytes.data(), bytes.size());
}

using Pair = std::pair<std::string, uint32_t>;

// A character key of length K: text blank-padded or cut.
inline std::string charKey(const std::string& text, int K) {
    std::string k = text.substr(0, size_t(K));
    k.resize(size_t(K), ' ');
    return k;
}

// Surname-like text with shared prefixes, duplicates and varied lengths.
inline std::string randomName(std::mt19937& rng) {
    static const char* stems[] = {
        "SMITH", "SMITHERS", "JONES",   "JOHNSON",      "JOHNS", "MILLER", "MUELLER", "M\xDCLLER",
        "LEE",   "LEE51",    "O'BRIEN", "VAN DER BERG", "A",     "ZZ",     "BROWN",   "BROWNING"};
    std::string s = stems[rng() % (sizeof stems / sizeof *stems)];
    int extra = int(rng() % 4);
    for (int i = 0; i < extra; ++i)
        s += char('A' + rng() % 26);
    if (rng() % 3 == 0) s += " " + std::string(stems[rng() % 4]);
    return s;
}

// Flattens pairs into the layout a bulk build takes.
struct FlatEntries {
    std::vector<uint8_t> keys;
    std::vector<uint32_t> recnos;
    SortedEntries view() const { return {keys.data(), recnos.data(), recnos.size()}; }
};
inline FlatEntries flatten(const std::vector<Pair>& sorted) {
    FlatEntries f;
    for (const Pair& p : sorted) {
        f.keys.insert(f.keys.end(), p.first.begin(), p.first.end());
        f.recnos.push_back(p.second);
    }
    return f;
}

inline std::string keyOf(const TagCursor& c, int K) {
    return std::string(reinterpret_cast<const char*>(c.key()), size_t(K));
}

// Every pair of a tag, walking forward.
inline std::vector<Pair> walk(Tag& tag) {
    std::vector<Pair> out;
    auto c = tag.cursor();
    for (bool ok = c->first(); ok; ok = c->next())
        out.emplace_back(keyOf(*c, tag.info().keyLength), c->recno());
    return out;
}

inline const uint8_t* bytesOf(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

}  // namespace xb::index::testing
