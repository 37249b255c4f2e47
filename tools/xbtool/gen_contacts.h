// A deterministic synthetic contact file for tests and benchmarks.
#pragma once

#include <cstdint>
#include <string>

#include "xbase/work_area.h"

namespace qb::tools {

// Writes a contact file of n records (fields, memos, about 1% soft-deleted and marked) and
// builds its 21 tags. The same seed always gives the same file.
void generateContacts(const std::string& path, uint32_t n, uint64_t seed);
// Appends n more synthetic records to an open contact file, keeping its open indexes current.
void addContacts(xb::WorkArea& area, uint32_t n, uint64_t seed);

}  // namespace qb::tools
