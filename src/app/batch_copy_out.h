// The unattended copy out: `quillbank copy-out (--dbf OUT.DBF | --csv OUT.TXT) …` copies the
// chosen contacts to a table or a text file through the same copy as the Copy Records Out
// window, with every message on standard error.
#pragma once

#include <QStringList>

namespace qb {

// Runs with the arguments that follow the word "copy-out"; returns the exit code.
int runCopyOutCommandLine(const QStringList& arguments);

}  // namespace qb
