// The "Le&tters" command: its checks, the letters dialog, and what the contact table and the
// printer selection are given back afterwards. The main window only connects its menu item.
#pragma once

#include "store/contact_host.h"

namespace qb::letters {

void LettersClick(ContactHost& host);

}  // namespace qb::letters
