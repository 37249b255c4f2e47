// Replacing a table's files (table, memo, indexes) as one step: the new files are written
// beside the old ones, a journal naming them is made durable, then each is renamed over its
// old file. A crash before the journal leaves the old files whole; after it, the next open
// finishes the renames.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace xb {

using FileSwap = std::pair<std::string, std::string>;  // new file, the file it replaces

std::string packJournalPath(const std::string& tablePath);
// Makes the swaps durable in the journal, performs them and removes the journal.
void commitFileSwaps(const std::string& tablePath, const std::vector<FileSwap>& swaps);
// At open: finishes the swaps of an interrupted commit, or removes the new files of an
// interrupted rebuild. Does nothing while another opener holds the table.
void recoverInterruptedPack(const std::string& tablePath);

}  // namespace xb
