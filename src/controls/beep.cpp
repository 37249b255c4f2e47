// The warning beep through the platform, plus a count for tests.
#include "controls/beep.h"

#include <QApplication>

namespace qb {
namespace {
int g_beeps = 0;
}

void beep() {
    ++g_beeps;
    QApplication::beep();
}

int beepCount() {
    return g_beeps;
}

}  // namespace qb
