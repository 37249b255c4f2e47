// The menu commands of the bulk edits: what each sets up on the contact table before its
// dialog and gives back afterwards. The main window only connects its menu items to these.
#pragma once

#include "store/contact_host.h"

namespace qb::utilities {

void CaseConversion1Click(ContactHost& host);
void SearchReplaceFieldValues1Click(ContactHost& host);
void DeleteRecords1Click(ContactHost& host);

}  // namespace qb::utilities
