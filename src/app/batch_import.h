// The unattended import: `quillbank import --csv IN.TXT …` appends the contacts of a
// comma-delimited file through the same import as the ASCII import window, then rebuilds the
// indexes, with every message on standard error.
#pragma once

#include <QStringList>

namespace qb {

// Runs with the arguments that follow the word "import"; returns the exit code.
int runImportCommandLine(const QStringList& arguments);

}  // namespace qb
