// The record scope an output run offers (all records, records matching the filter, only the
// current record, start from the current record): applied to the contact table for the run
// and everything it changed put back afterwards, whatever way the run ends.
#pragma once

#include <QString>

#include "store/contact_file.h"
#include "store/dataset.h"

namespace qb {

enum class ScopeChoice { AllRecords, MatchingFilter, OnlyCurrent };

// Labels and reports pin "only the current record" with a selection of their own and change
// the order; letters keep the selection and stay on the record.
enum class ScopeUser { LabelsOrReports, Letters };

constexpr const char* kOutOfRangeMessage = "Current record is out of range. Starting with first record";

class RecordScope {
  public:
    // Remembers the current record, the selection and (labels, reports) the order.
    RecordScope(Dataset& table, ScopeUser user);
    // Puts back whatever apply() changed, unless restore() already did.
    ~RecordScope();
    RecordScope(const RecordScope&) = delete;
    RecordScope& operator=(const RecordScope&) = delete;

    // Sets the selection for the choice and goes to the start record. When the start record
    // lies outside the scope, notify receives the out-of-range message and the run starts at
    // the first record.
    void apply(ScopeChoice choice, bool startFromCurrent, const Notify& notify);
    // Letters with "only the current record": the run produces that record alone.
    bool onlyCurrentRecord() const { return onlyCurrent_; }
    // The record that was current when the scope was made (0 when none).
    uint32_t rememberedRecord() const { return record_; }

    void restore();

  private:
    Dataset& table_;
    ScopeUser user_;
    uint32_t record_ = 0;
    QString selection_;
    QString order_;
    bool applied_ = false;
    bool onlyCurrent_ = false;
};

}  // namespace qb
