// The menu commands of the two checks: each hands the contact file to its dialog alone and
// takes it back afterwards, with the temporary check index removed whatever happened. The
// main window only connects its menu items to these.
#pragma once

#include "store/contact_host.h"

namespace qb::utilities {

void CheckState1Click(ContactHost& host);
void DuplicatesReport1Click(ContactHost& host);

}  // namespace qb::utilities
