// The main window's "&Labels" command: its checks, the print-labels dialog, and what the
// window puts back afterwards.
#pragma once

namespace qb {

class TQBMMain;

inline constexpr const char* kNoPrintersForLabels =
    "There are no installed printers.\r\nPrinting labels is not feasible";

void LabelsClick(TQBMMain& window);

}  // namespace qb
