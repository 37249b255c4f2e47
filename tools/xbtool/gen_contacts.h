// A deterministic synthetic contact file for tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>

namespace qb::tools {

// Writes a contact file of n records (fields, memos, about 1% soft-deleted and marked) and
// builds its 21 tags. The same seed always gives the same file.
void generateContacts(const std::string& path, uint32_t n, uint64_t seed);

}  // namespace qb::tools
