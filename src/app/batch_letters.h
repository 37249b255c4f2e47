// The unattended letters command: `quillbank letters ... --pdf OUT.pdf` prints a letter for the
// chosen contacts; `--import NAME FILE.rtf` and `--export NAME FILE.rtf` move a template
// between the letters table and a word processor's file.
#pragma once

#include <QStringList>

namespace qb {

int runLettersCommandLine(const QStringList& arguments);

}  // namespace qb
