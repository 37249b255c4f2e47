// The ZIP code count: every record of a selection counted under the first five characters of
// its ZIP text, valid keys by first digit, other keys apart and empty ZIPs as "BLANK", and the
// lines of the count report built from those tallies.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "presort/bulk_mail_presort.h"
#include "presort/zip_counts.h"
#include "xbase/work_area.h"

namespace qb::presort {

inline constexpr const char* kBlankZipKey = "BLANK";
// Lines of the count report that fit on one page: four columns of 54.
inline constexpr int kZipLinesPerColumn = 54;
inline constexpr int kZipColumns = 4;

enum class ZipKeyKind { Valid, Other, Blank };

// How the count files a ZIP text (trailing blanks already removed). Valid here means exactly
// five characters as well as the presort's range rule, so "1234" counts among the other keys
// although the presort takes it.
ZipKeyKind zipKeyKind(std::string_view zip);

// A tally as the report prints it: thousands grouped with the system's separator.
QString formatTally(uint64_t tally);
// One report line: the key in a field of ten characters (padded, cut at ten), then the tally.
QString zipReportLine(const QString& key, uint64_t tally);

class ZipTally {
  public:
    void add(std::string_view zip);

    // Every entry in the report's order: valid keys by first digit, each list ascending; the
    // other keys ascending; "BLANK" last when any ZIP was empty.
    struct Entry {
        std::string key;
        uint64_t tally = 0;
        bool operator==(const Entry&) const = default;
    };
    std::vector<Entry> validEntries() const;
    std::vector<Entry> otherEntries() const;
    uint64_t blanks() const { return blanks_; }

    // The report lines: the valid keys, two empty lines, the other keys, the "BLANK" line.
    QStringList reportLines() const;

  private:
    std::unordered_map<std::string, uint64_t> valid_;
    std::unordered_map<std::string, uint64_t> others_;
    uint64_t blanks_ = 0;
};

inline constexpr const char* kCountingHeading =
    "Counting the number of occurrences of each zip code:";
inline constexpr const char* kCountedHeading =
    "Finished counting. Press Print or Preview for the report";
inline constexpr const char* kCancelCountQuestion = "Cancel Count?";

// Counts the records of the table's current selection in record-number order, telling the
// observer its progress once per hundred records and asking it about cancelling once per
// record. Nothing when cancelled. The table's order and current record are put back however
// the count ends; engine failures (xb::Error) pass to the caller.
std::optional<ZipTally> countZipCodes(xb::WorkArea& contacts, PresortObserver& observer);

}  // namespace qb::presort
