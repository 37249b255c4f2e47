// The unattended contact report: `quillbank report … --pdf OUT.pdf` prints a contact report to
// a PDF file through the same run as the report dialog's Print Now, with no window shown and
// every message on standard error.
#pragma once

#include <QStringList>

namespace qb {

// Runs with the arguments that follow the word "report"; returns the process exit code
// (0 done, 1 the run failed, 2 the arguments are wrong).
int runReportCommandLine(const QStringList& arguments);

}  // namespace qb
