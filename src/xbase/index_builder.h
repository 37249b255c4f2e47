// Bulk index building: the keys of many orders collected in few sequential passes over a
// table, sorted, and handed over order by order, with memory kept under a budget.
#pragma once

#include <cstdint>
#include <functional>
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

using SortedSink = std::function<void(size_t job, const index::SortedEntries& entries)>;

// Keys every record of the table (or only the records listed, ascending) for each job and
// calls sink once per job, in job order, with the entries in (key, record) order.
void buildSortedKeys(const DbfTable& table, const MemoSource* memos, const EvalSettings& es,
                     const std::vector<KeyJob>& jobs, const SortedSink& sink,
                     const ProgressFn& progress,
                     const std::vector<uint32_t>* onlyRecords = nullptr);

}  // namespace xb
