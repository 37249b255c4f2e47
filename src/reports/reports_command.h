// The "&Reports" command: its checks, the report dialog, and the printer selection given back
// afterwards. The main window only connects its menu item to ReportsClick.
#pragma once

#include "store/contact_host.h"

namespace qb::reports {

inline constexpr const char* kNoPrintersForReports =
    "There are no installed printers.\r\nPrinting reports is not feasible";

void ReportsClick(ContactHost& host);

}  // namespace qb::reports
