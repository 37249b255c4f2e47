// Copying the contact records of the selection out: into a new table of the contact file's
// structure, memo included, or into comma-delimited text. The dialog and the command line
// both run the copy here.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "store/csv_reader.h"
#include "store/dataset.h"

namespace qb::utilities {

inline constexpr const char* kNothingToCopy =
    "No active records for current filter. Nothing to copy";
inline constexpr const char* kMustHaveDbfExtension = "Must have a .DBF extension";
inline constexpr const char* kCopyToItself = "Cannot copy a file to itself!";
inline constexpr const char* kErrorCopying = "There was an error copying";
inline constexpr const char* kCancelCopy = "Cancel copy?";

enum class CopyKind { Dbf, Text };

// The sixteen fields a copy carries, in the order of a text line.
const QStringList& copiedFields();

// The question asked before an existing file is replaced.
QString overwriteQuestion(const QString& path);

// Why target cannot receive a copy of the contact file at contactFile (the wrong extension
// for a table, or the contact file itself or a file beside it that belongs to it, under any
// name, letter case or link), as the user reads it; empty when it can.
QString copyTargetProblem(const QString& contactFile, const QString& target, CopyKind kind);

struct CopyReport {
    // The gauge position, 0 to 100, after each record.
    std::function<void(int percent)> gauge;
    // Asked after each record; true stops the copy there.
    std::function<bool()> cancelRequested;
};

struct CopyResult {
    uint32_t copied = 0;
    bool cancelled = false;
    // Empty when the copy succeeded; else the message for the user and what went wrong.
    QString error;
    QString detail;
};

// Copies the records of the contact table's selection, in its order, from the first. Text
// goes to a side file that takes the target's place only when complete (a cancelled copy keeps
// the lines written so far), in the encoding given (UTF-8 unless Windows-1252 is asked for).
// The contact table is left wherever the walk ended; the caller goes back to its record.
CopyResult copyRecordsOut(Dataset& contacts, CopyKind kind, const QString& target,
                          TextEncoding encoding, const CopyReport& report = {});

}  // namespace qb::utilities
