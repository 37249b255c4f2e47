// The "Count &Zip Codes" command: the count window over the contact table's selection, with
// the record display held still while it runs.
#pragma once

#include "store/contact_host.h"

namespace qb::presort {

void CountZipCodesClick(ContactHost& host);

}  // namespace qb::presort
