// The unattended label run: `quillbank labels … --pdf OUT.pdf` prints a label setup's labels
// for a contact file to a PDF file through the same run as the print-labels dialog, with no
// window shown and every message on standard error.
#pragma once

#include <QStringList>

namespace qb {

// Runs with the arguments that follow the word "labels"; returns the process exit code
// (0 done, 1 the run failed, 2 the arguments are wrong).
int runLabelsCommandLine(const QStringList& arguments);

}  // namespace qb
