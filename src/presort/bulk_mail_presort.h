// The bulk-mail presort run: counts the ZIP keys of the contact table's selection, builds the
// presort list and writes PRESORT.PSL. The presort window drives it and answers through a
// PresortObserver; nothing here shows a window.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "presort/zip_counts.h"
#include "xbase/work_area.h"

namespace qb::presort {

inline constexpr const char* kReadingRecordsText = "Reading database records...";
inline constexpr const char* kReadingRecordPrefix = "Reading record ";
inline constexpr const char* kSortingText = "Sorting Zip Codes...";
// Asked by the window's Cancel button before it sets the cancel flag.
inline constexpr const char* kCancelQuestion = "Cancel PRESORT?";

// How the run talks to its window.
class PresortObserver {
  public:
    virtual ~PresortObserver() = default;
    // A progress text for the window's label.
    virtual void showProgress(const QString& text) = 0;
    // Called once per record so the window stays responsive and its Cancel button is heard.
    virtual void letPendingEventsRun() {}
    // Polled once per record, after letPendingEventsRun.
    virtual bool cancelRequested() = 0;
};

class BulkMailPresort {
  public:
    explicit BulkMailPresort(PresortObserver& observer) : observer_(observer) {}

    // Counts the records of the table's current selection in record-number order, builds the
    // list and writes it to PRESORT.PSL in folder. Returns false when cancelled: then no file
    // is written and an earlier one stays as it was. The table's order is restored; it is left
    // past its last record. Engine failures (xb::Error) and write failures
    // (PresortFileError) pass to the caller.
    bool run(xb::WorkArea& contacts, const QString& folder);

    // The reading loop alone: the counts, or nothing when cancelled.
    std::optional<ZipCounts> countSelection(xb::WorkArea& contacts);

    // The list of the last completed run.
    const std::vector<std::string>& lines() const { return lines_; }
    // Records visited by the last reading loop, counted or not.
    uint64_t recordsRead() const { return recordsRead_; }

  private:
    PresortObserver& observer_;
    std::vector<std::string> lines_;
    uint64_t recordsRead_ = 0;
};

}  // namespace qb::presort
