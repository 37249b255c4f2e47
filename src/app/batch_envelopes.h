// The unattended envelope run: `quillbank envelopes … --pdf OUT.pdf` prints an envelope setup
// for the current contact, or one envelope per chosen contact, to a PDF file through the same
// run as Print Now in the print-envelope dialog.
#pragma once

#include <QStringList>

namespace qb {

// Runs with the arguments that follow the word "envelopes"; returns the process exit code
// (0 done, 1 the run failed, 2 the arguments are wrong).
int runEnvelopesCommandLine(const QStringList& arguments);

}  // namespace qb
