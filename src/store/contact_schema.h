// The contact file's layout: its twenty fields and twenty-one index tags. Plain data without
// Qt, shared by the program and the command-line tool.
#pragma once

#include <string>
#include <vector>

#include "xbase/work_area.h"

namespace qb {

struct ContactField {
    const char* name;
    char type;
    int width;
    int decimals;
};

// The fields of a new contact file, in file order.
const std::vector<ContactField>& contactFields();
// The tags of the contact file's production index, in creation order.
const std::vector<xb::TagDef>& contactTags();
// How many of the tags, from the first, must exist for a file to count as a contact file.
constexpr int kRequiredContactTags = 18;

// The selection that leaves out soft-deleted contacts.
inline const char* kDeletionExclusion = "UPPER(PREFIX)<>\"DELETED\"";

// Why an open table cannot serve as a contact file ("" when it can): every field the
// program reads must be there with its type, and character fields with their width; STATE
// may also be 4 wide, as in files from older versions. BEGIN is never read and not checked.
std::string contactLayoutProblem(const xb::WorkArea& area);

// Creates an empty contact file (fields only) at path; leaves it closed.
void createContactTable(const std::string& path);
// Builds all tags in the work area's production index in one pass (replacing the index).
void buildContactTags(xb::WorkArea& area);

}  // namespace qb
