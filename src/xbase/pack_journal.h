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
// Whether a complete journal lies beside the table: its renames were started and not all done,
// so the table's files may not belong together until a writable open finishes them.
bool packJournalComplete(const std::string& tablePath);
// At open: finishes the swaps of an interrupted commit, or removes the new files of an
// interrupted rebuild. Does nothing while another opener holds the table.
void recoverInterruptedPack(const std::string& tablePath);

}  // namespace xb
