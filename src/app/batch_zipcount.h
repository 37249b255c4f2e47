// The unattended ZIP code count: `quillbank zipcount … (--pdf OUT.pdf | --csv OUT.csv)` counts
// the ZIP codes of a contact file's records as the Count Zip Codes window does and writes the
// count report to a PDF file, the counts to a comma-delimited file, or both.
#pragma once

#include <QStringList>

namespace qb {

// Runs with the arguments that follow the word "zipcount"; returns the process exit code
// (0 done, 1 the run failed, 2 the arguments are wrong).
int runZipCountCommandLine(const QStringList& arguments);

}  // namespace qb
