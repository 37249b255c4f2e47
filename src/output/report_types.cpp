// Conversions tied to the engine's enumerations.
#include "output/report_types.h"

#include <algorithm>
#include <cmath>

namespace qb {

double unitsPerInch(TUnits units) {
    switch (units) {
        case unInch:
            return 1.0;
        case unMM:
            return 25.4;
        case unCM:
            return 2.54;
        case unPoint:
            return 72.0;
        case unUser:
            break;
    }
    return 1.0;
}

int shadeGrey(int percent) {
    const int p = std::clamp(percent, 0, 100);
    return static_cast<int>(std::lround(255.0 * (100 - p) / 100.0));
}

}  // namespace qb
