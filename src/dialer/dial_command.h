// The main window's Dial button: the current contact's phone number in the dialer window.
#pragma once

#include "store/contact_host.h"

namespace qb::dialer {

void DialButtonClick(ContactHost& host);

}  // namespace qb::dialer
