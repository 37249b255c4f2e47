// The label line composition: the lines of a delivery address built from a contact's field
// texts and a setup's content choices. Labels and envelopes both print with it.
#pragma once

#include <QString>
#include <QStringList>

#include "xbase/codepage.h"
#include "xbase/work_area.h"

namespace qb::labels {

// The contact fields the address uses, as read from the table (trailing blanks removed).
struct AddressFields {
    QString prefix, firstName, middle, lastName;
    QString title, organisation, street;
    QString city, state, zip, country, phone;
};

// Where the ZIP goes, when it is printed at all.
enum ZipPlacement : int { AfterState = 1, BeforeCity = 2, AfterCountry = 3, BeforeCountry = 4 };

// The content choices of a label or envelope setup; the defaults are those of a new setup.
struct AddressContents {
    bool name = true;
    bool title = false;
    bool company = false;
    bool street = true;
    bool cityState = true;
    bool zip = true;
    bool phone = false;
    bool country = false;
    int zipOption = AfterState;  // as stored; a value outside 1 to 4 places the ZIP nowhere
    bool upperCase = false;      // every letter the file's code page has a capital for

    bool operator==(const AddressContents&) const = default;
};

// The address lines in print order; empty lines are left out. Capitals are those of page, the
// code page of the file the fields come from.
QStringList composeAddressLines(const AddressFields& fields, const AddressContents& contents,
                                const xb::CodePage& page = xb::CodePage::windows1252());

// The address fields of the contact table's current record.
AddressFields readAddressFields(const xb::WorkArea& contacts);

}  // namespace qb::labels
