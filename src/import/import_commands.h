// The two import commands of the File menu: the checks, the file held alone for the import
// window, and the window's file given back to the main window afterwards.
#pragma once

#include "store/contact_host.h"

namespace qb::import {

inline constexpr const char* kNoFileOpen = "You need to have a Quillbank file open first";

void mnuImportASCIIClick(ContactHost& host);
void mnuImportDBFClick(ContactHost& host);

}  // namespace qb::import
