// Looking a contact up in the open contact file while a new one is being entered: the
// duplicate-name check and the city and state of a ZIP code already on file. Both leave the
// table's record, order and comparison setting as they found them.
#pragma once

#include <QString>
#include <optional>

#include "store/dataset.h"

namespace qb {

// The LNAME tag's key for a name: last then first name, each cut or blank-padded to 30
// characters, upper case.
QString duplicateNameKey(const QString& last, const QString& first);

struct FoundContact {
    uint32_t recno = 0;
    QString first, last, street, city, state, zip;
};

// The first contact in the selection whose last and first names equal these (case aside).
// Nothing when either name is empty, when the file lacks the tag, or when none is on file.
std::optional<FoundContact> findSameName(Dataset& table, const QString& last, const QString& first);

// The city and state of the first contact in the selection whose ZIP begins with zip (case
// aside); nothing when none does or zip is empty.
std::optional<FoundContact> findByZip(Dataset& table, const QString& zip);

}  // namespace qb
