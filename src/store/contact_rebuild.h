// The maintenance run's work on files: packing the contact file with its index set aside,
// packing and re-indexing the program's own tables, and turning the engine's progress
// reports into the position of a gauge.
#pragma once

#include <QString>
#include <vector>

#include "store/dataset.h"
#include "xbase/work_area.h"

namespace qb {

// One of the program's own tables, with the one tag the run gives it and the text shown
// while it is rebuilt.
struct ProgramTableIndex {
    const char* fileName;
    const char* tag;
    const char* key;
    const char* status;
};

// The six tables, in the order they are rebuilt.
const std::vector<ProgramTableIndex>& programTableIndexes();

// Closes the open contact file's indexes, deletes its compound index file and removes the
// records marked deleted. The table stays open (in record order, its selection kept).
// Returns the engine's complaint, or "" on success.
QString PackContactFile(Dataset& table, const xb::ProgressFn& progress);

// Opens the table exclusively from folder, sets its old compound index aside, packs it and
// gives it its tag afresh. False when the table is missing, in use or damaged; the table is
// closed either way.
bool RebuildProgramTable(const QString& folder, const ProgramTableIndex& table);

// The gauge of the run. While packing it shows how far the copy has come; while indexing,
// each tag's progress counts for its share, and the gauge shows the sum against all tags.
class ReindexGauge {
  public:
    void setPacking(bool packing) { packing_ = packing; }
    bool packing() const { return packing_; }
    // The gauge position (0..100) after a report.
    int report(const xb::Progress& progress);
    void reset();

  private:
    bool packing_ = false;
    int total_ = 0;     // the sum of the tags' steps so far
    int previous_ = 0;  // the last step of the tag being built
    int tag_ = 0;
};

}  // namespace qb
