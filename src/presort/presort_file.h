// PRESORT.PSL on disk: written whole or not at all, read back with every byte checked.
#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qb::presort {

inline constexpr const char* kPresortFileName = "PRESORT.PSL";
// A presort list holds one line per ZIP key in use plus headers; far below this even for
// millions of contacts. A larger file is not one of ours.
inline constexpr int64_t kMaxPresortFileBytes = 64 * 1024 * 1024;

// A failure to write or read the list; the message names the file and the fault.
class PresortFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

QString presortFilePath(const QString& folder);

// Writes the lines, each ended by CR LF, to PRESORT.PSL in folder. The new file replaces an
// earlier one only once it is complete, so a failed write leaves the earlier list in place.
void writePresortFile(const QString& folder, const std::vector<std::string>& lines);

// The lines of PRESORT.PSL in folder, in file order, without line ends; empty lines are
// skipped. Lines may end in CR LF or LF alone. Refuses a file that is too large, holds NUL bytes or
// is not UTF-8 text.
std::vector<std::string> readPresortFile(const QString& folder);

}  // namespace qb::presort
