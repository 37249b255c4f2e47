// The unattended checks: `quillbank check-states` and `quillbank check-dups` run the walks of
// the state and ZIP check and of the duplicate check on a contact file, print the count the
// dialogs show, and can write the listed records comma-delimited.
#pragma once

#include <QStringList>

namespace qb {

// Each runs with the arguments that follow its word; returns the process exit code.
int runCheckStatesCommandLine(const QStringList& arguments);
int runCheckDupsCommandLine(const QStringList& arguments);

}  // namespace qb
