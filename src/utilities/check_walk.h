// The record walks of the two checks, without their windows: which contacts have a state or
// ZIP that the state table does not back, which neighbouring contacts look alike, and the
// temporary index that then lists exactly those records.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xbase/work_area.h"

namespace qb::utilities {

// Told after each record of a walk: records done, the walk's total and what was found so
// far. Returning false stops the walk after that record.
using WalkStep = std::function<bool(uint32_t done, uint32_t total, int found)>;

// The gauge's figure for a step: shown only strictly between 0 and 100.
int gaugePercent(uint32_t done, uint32_t total);

// ---- State and ZIP ---------------------------------------------------------------------

struct ZipRange {
    std::string low, high;
};

// The state table as the check consults it: the first row, in order of the upper-cased
// abbreviation, for each abbreviation.
class StateRanges {
  public:
    // Keeps the first range given for an abbreviation (compared upper-cased, trailing blanks
    // aside).
    void add(const QString& state, const QString& low, const QString& high);
    // The range of the abbreviation that equals state exactly (trailing blanks aside, letter
    // case not converted, so a lower-case entry is not found), or null.
    const ZipRange* find(const std::string& state) const;
    // Reads the table's rows in the order of its STATE tag (creating the tag when missing).
    // Throws xb::Error when the table cannot be opened or read.
    static StateRanges read(const std::string& path);
    size_t size() const { return ranges_.size(); }

  private:
    std::unordered_map<std::string, ZipRange> ranges_;
};

// Whether a ZIP lies outside a range. Each bound is compared with as many leading characters
// of the ZIP as the bound has, so a ZIP+4 whose first five characters equal the top of the
// range is inside it; an empty ZIP lies below any non-empty bound.
bool zipOutside(const std::string& zip, const ZipRange& range);
// The rule for one contact's STATE and ZIP, both without trailing blanks.
bool questionableStateZip(const std::string& state, const std::string& zip,
                          const StateRanges& ranges, bool includeBlanks);

// Walks the work area's selection in record order and returns the questionable records in
// that order. Records carrying the deletion mark are never listed.
std::vector<uint32_t> findQuestionable(xb::WorkArea& contacts, const StateRanges& ranges,
                                       bool includeBlanks, const WalkStep& step = {});

// ---- Duplicates --------------------------------------------------------------------------

enum class DupKind { Name = 0, Initial = 1, Street = 2 };

// Whether two comparison values are equal when the letters a to z count as their capitals
// and every other character is compared by its code.
bool sameIgnoringAsciiCase(std::string_view a, std::string_view b);

struct DupFindings {
    std::vector<uint32_t> records;  // each record of a pair once, in walk order
    int pairs = 0;                  // neighbouring pairs: a run of three counts two
};

// Walks the selection in the kind's order (tag NAME or STREET; record order when the tag is
// missing) and pairs each record with the last record that took part before it. Records with
// an empty last name (street, for the street kind) take no part. chars is the street
// characters compared (1 to 30). The values are gathered in record order first (step is told
// of each record then) and compared afterwards, so a walk stopped by step finds nothing.
DupFindings findDuplicates(xb::WorkArea& contacts, DupKind kind, int chars,
                           const WalkStep& step = {});

// ---- The temporary check index -------------------------------------------------------------

inline constexpr const char* kStateZipIndex = "_chksz.idx";
inline constexpr const char* kDupIndex = "_chkdup.idx";
inline constexpr const char* kStateZipIndexKey = "upper(LNAME)+upper(FNAME)";
std::string dupIndexKey(DupKind kind);

// Creates the index file empty with the key, gives it the records' keys and makes it the
// controlling order; returns its order number.
int fillCheckIndex(xb::WorkArea& contacts, const std::string& path, const std::string& key,
                   const std::vector<uint32_t>& records);

}  // namespace qb::utilities
