// The warning beep, counted so tests can tell that a refused action beeped.
#pragma once

namespace qb {

void beep();
// How many times beep() was called since the program started.
int beepCount();

}  // namespace qb
