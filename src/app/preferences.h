// The user's date and record-entry preferences as the windows use them, and the date
// formats the Preferences dialog offers.
#pragma once

#include <QString>
#include <vector>

#include "store/date_format.h"
#include "store/settings.h"

namespace qb {

struct DateChoice {
    const char* shortDateFmt;
    const char* dateSeparator;
    const char* dateEditMask;
};

// The twelve date formats, in the order the dialog lists them.
const std::vector<DateChoice>& dateChoices();

struct Preferences {
    QString dateSeparator;
    QString shortDateFmt;
    QString dateEditMask;
    bool plugDate = false;
    bool plugCityState = false;
    bool autoDupCheck = false;
    QString defaultCountry;
    bool carryOrg = false;
    bool carrySA1 = false;
    bool carryCity = false;
    bool carryState = false;
    bool carryZip = false;
    bool carryCountry = false;

    // The "Date" and "Adding" keys, each with its default when missing.
    static Preferences load(const Settings& settings);
    // Writes every key, date keys first, in the order the dialog saves them.
    bool save(const Settings& settings) const;

    // The date format these settings describe; an empty separator counts as '/'.
    DateFormat dateFormat() const;
};

}  // namespace qb
