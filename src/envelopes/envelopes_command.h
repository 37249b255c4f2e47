// The "&Envelopes" command: its checks, the print-envelope dialog, and what the contact table
// and the printer selection are given back afterwards.
#pragma once

namespace qb::envelopes {

inline constexpr const char* kNoPrintersForEnvelopes =
    "There are no installed printers.\r\nPrinting envelopes is not feasible";
inline constexpr const char* kUnableToOpenEnvelopeSetups =
    "Unable to Open QBMESU.DBF (envelope setup file)";

}  // namespace qb::envelopes

#include "store/contact_host.h"

namespace qb::envelopes {

// The main window connects its "&Envelopes" menu item here.
void EnvelopesClick(ContactHost& host);

}  // namespace qb::envelopes
