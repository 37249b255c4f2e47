// The work of the bulk edits, without their windows: upper-casing chosen fields, replacing
// field values that match a search, and deleting records. Each first lists the records of the
// selection, then visits each of them once, so a change that takes a record out of the
// selection neither skips the next one nor visits it twice.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "utilities/check_walk.h"
#include "xbase/work_area.h"

namespace qb::utilities {

// The records of the work area's selection in record order. Marked records are included only
// while the work area shows them.
std::vector<uint32_t> selectedRecords(xb::WorkArea& area);

// Bytes of the table's code page with every letter that has a capital in that page replaced
// by it (é becomes É in Windows-1252, not only a to z).
std::string upperInCodePage(std::string bytes, const xb::CodePage& page);

// Upper-cases the fields of each record; returns how many records were visited. step may
// stop the run after a record.
int convertToUpper(xb::WorkArea& area, const std::vector<uint32_t>& records,
                   const QStringList& fields, const WalkStep& step = {});

struct ReplaceRequest {
    QString field;
    QString find;  // empty: the field is empty
    bool exact = true;
    bool caseSensitive = true;
    bool wholeField = true;  // else only the matching text
    QString replacement;
};

// Whether a field value (without trailing blanks) matches: exactly equal, or containing the
// find text, under the request's one case rule; an empty find matches an empty value.
bool replaceMatches(const QString& value, const ReplaceRequest& request);
// The new value for a matching one: the replacement, or each occurrence of the find text
// replaced from the left, the replaced text not searched again.
QString replacedValue(const QString& value, const ReplaceRequest& request);
// Replaces in each record that is not marked deleted; returns how many records changed (a
// value cut to the field's width that comes out equal to the old one is no change).
int searchAndReplace(xb::WorkArea& area, const std::vector<uint32_t>& records,
                     const ReplaceRequest& request, const WalkStep& step = {});

// Soft-deletes and marks each record; returns how many.
int deleteRecords(xb::WorkArea& area, const std::vector<uint32_t>& records,
                  const WalkStep& step = {});

}  // namespace qb::utilities
