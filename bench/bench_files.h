// The synthetic contact files the benchmarks share: generated once into QB_BENCH_DIR (default
// /tmp/qb-bench) and reused by every benchmark program.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gen_contacts.h"
#include "xbase/file.h"

namespace qb::bench {

inline std::string benchDir() {
    const char* d = std::getenv("QB_BENCH_DIR");
    std::string dir = d ? d : "/tmp/qb-bench";
    std::filesystem::create_directories(dir);
    return dir;
}

// The generated contact file of n records (made on first use, seed 42).
inline std::string contactFile(uint32_t n) {
    std::string path = benchDir() + "/C" + std::to_string(n) + ".DBF";
    if (!xb::fileExists(path)) qb::tools::generateContacts(path, n, 42);
    return path;
}

}  // namespace qb::bench
