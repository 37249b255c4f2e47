// The unattended dial: `quillbank dial [--port N] [--pulse] [--prefix P] NUMBER` dials through
// the same component as the Dial Phone Number window and hangs up once Enter is pressed (or
// standard input ends).
#pragma once

#include <QStringList>

namespace qb {

// Runs with the arguments that follow the word "dial"; returns the process exit code.
int runDialCommandLine(const QStringList& arguments);

}  // namespace qb
