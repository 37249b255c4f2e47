// Creating, indexing and opening contact files, with the notices the user is given when one
// of them fails. The main window and the utilities that reopen the file call these.
#pragma once

#include <QString>
#include <functional>

#include "store/dataset.h"

namespace qb {

// Where the routines send their notices; the caller shows them as information messages.
using Notify = std::function<void(const QString& text)>;

// Creates an empty contact file at path with its twenty fields, opens it on table and builds
// the twenty-one tags. The file stays open on table (the caller closes it).
bool CreateContactFile(const QString& path, Dataset& table, const Notify& notify);
// Replaces the open table's production index by the twenty-one tags.
bool BuildContactIndexes(Dataset& table, const Notify& notify);
// Opens an existing file on table if its fields are those of a contact file; no check of the
// tags. Says so only when the file does not exist; any other failure leaves its precise cause
// in *reason when given. Exclusive use is for the window and the utilities that change the
// file; a run that only reads opens it read-only, so a file it may not change still serves.
bool OpenTableFile(const QString& path, Dataset& table, const Notify& notify,
                   xb::UseMode mode = xb::UseMode::Exclusive, QString* reason = nullptr);
// OpenTableFile, then the tag check: in last-name order when the tags are there; when one is
// missing the file is still open, its index set aside (record order), and the user is told
// to rebuild. A failure to open is told with its cause.
bool OpenContactFile(const QString& path, Dataset& table, const Notify& notify,
                     xb::UseMode mode = xb::UseMode::Exclusive);

// The notices, as the user reads them.
// The open-failure notice; the cause, when known, follows on a line of its own.
QString unableToOpenMessage(const QString& path, const QString& reason = {});
QString missingIndexMessage(const QString& path);

}  // namespace qb
