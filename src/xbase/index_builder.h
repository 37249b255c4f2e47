// Bulk index building: the keys of many orders collected in one sequential pass over a
// table, sorted, and handed over order by order, with memory kept under a budget. Keys that
// do not fit the budget are sorted in runs kept in nameless working files beside the table
// and merged as the index pages are written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "xbase/dbf_table.h"
#include "xbase/expr/expression.h"
#include "xbase/index/index.h"
#include "xbase/work_area.h"

namespace xb {

struct KeyJob {
    const Expression* key = nullptr;
    const Expression* cond = nullptr;  // null: every record
    int keyLength = 0;
};

using SortedSink = std::function<void(size_t job, index::EntryStream& entries)>;

// Keys every record of the table (or only the records listed, ascending) for each job and
// calls sink once per job, in job order, with the entries in (key, record) order.
void buildSortedKeys(const DbfTable& table, const MemoSource* memos, const EvalSettings& es,
                     const std::vector<KeyJob>& jobs, const SortedSink& sink,
                     const ProgressFn& progress,
                     const std::vector<uint32_t>* onlyRecords = nullptr);

// Records handed to a build one at a time; the record's bytes are only read during the call.
using RecordTake = std::function<void(const uint8_t* record, uint32_t recno)>;
using RecordFeed = std::function<void(const RecordTake& take)>;

// The same for records that feed hands over, numbered 1, 2, 3, ... (at most maxRecords of
// them, recordLength bytes each), so a pass that already reads the records (pack) needs no
// second one. Keys and conditions may not read memos. Progress is reported per tag once the
// records are in; the feed reports its own. Working files go into folder.
void buildSortedKeys(const RecordFeed& feed, size_t maxRecords, size_t recordLength,
                     const std::string& folder, const EvalSettings& es,
                     const std::vector<KeyJob>& jobs, const SortedSink& sink,
                     const ProgressFn& progress);

// The memory one bulk build may hold for its keys: collected keys, sorting, merging and the
// levels of the tree being written (not the table's read buffer or the index writer's).
// The default keeps a build of many tags over any number of records well under 128 MB.
size_t indexBuildBudget();
void setIndexBuildBudget(size_t bytes);
// The most memory the last bulk build counted by that measure.
size_t lastIndexBuildPeak();

}  // namespace xb
