// The "&Labels" command: its checks, the print-labels dialog, and what the contact table and
// the printer selection are given back afterwards. The main window only connects its menu
// item to LabelsClick.
#pragma once

#include "store/contact_host.h"

namespace qb::labels {

inline constexpr const char* kNoPrintersForLabels =
    "There are no installed printers.\r\nPrinting labels is not feasible";

void LabelsClick(ContactHost& host);

}  // namespace qb::labels
