// The operations that time the engine against other xBase engines on the same file: counting
// the records an expression matches, seeking a list of keys, and marking records deleted.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "xbase/work_area.h"

namespace qb::tools {

// Records for which the expression is true, marked records not counted.
uint32_t countMatching(xb::WorkArea& area, const std::string& expr);

struct SeekTally {
    uint64_t keys = 0;
    uint64_t found = 0;
    uint64_t recnoSum = 0;  // of the record each found key landed on
};
// Seeks each key in the tag's order (a character key matches a key that begins with it; a
// numeric key is a decimal number, a date key yyyymmdd). Marked records are not skipped.
SeekTally seekKeys(xb::WorkArea& area, const std::string& tag,
                   const std::vector<std::string>& keys);

// Sets the deletion mark on every unmarked record the expression matches; returns how many.
uint32_t deleteMatching(xb::WorkArea& area, const std::string& expr);

// The commands: open the file, do the work, print the result and the time the work took
// (opening and closing the file not included). Return the exit status.
int runCount(const std::string& path, const std::string& expr, std::ostream& out);
int runSeek(const std::string& path, const std::string& tag, const std::string& keysFile,
            std::ostream& out);
int runDelete(const std::string& path, const std::string& expr, std::ostream& out);

}  // namespace qb::tools
