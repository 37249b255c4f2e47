// Loading and saving the preferences, and the date format choices.
#include "app/preferences.h"

namespace qb {

const std::vector<DateChoice>& dateChoices() {
    static const std::vector<DateChoice> choices = {
        {"mm/dd/yy", "/", "!99/99/99;1;"},  {"mm/dd/yyyy", "/", "!99/99/9999;1;_"},
        {"dd/mm/yy", "/", "!99/99/99;1;_"}, {"dd/mm/yyyy", "/", "!99/99/9999;1;_"},
        {"dd.mm.yy", ".", "!99.99.99;1;_"}, {"dd.mm.yyyy", ".", "!99.99.9999;1;_"},
        {"yy.mm.dd", ".", "!99.99.99;1;_"}, {"yyyy.mm.dd", ".", "!9999.99.99;1;_"},
        {"yy/mm/dd", "/", "!99/99/99;1;_"}, {"yyyy/mm/dd", "/", "!9999/99/99;1;_"},
        {"mm-dd-yy", "-", "!99-99-99;1;_"}, {"mm-dd-yyyy", "-", "!99-99-9999;1;_"},
    };
    return choices;
}

Preferences Preferences::load(const Settings& s) {
    Preferences p;
    p.dateSeparator = s.read(setting::DateSeparator);
    p.shortDateFmt = s.read(setting::ShortDateFmt);
    p.dateEditMask = s.read(setting::DateEditMask);
    p.plugDate = s.read(setting::PlugDate);
    p.plugCityState = s.read(setting::PlugCityState);
    p.autoDupCheck = s.read(setting::AutoDupCheck);
    p.defaultCountry = s.read(setting::DefaultCountry);
    p.carryOrg = s.read(setting::CarryOrg);
    p.carrySA1 = s.read(setting::CarrySA1);
    p.carryCity = s.read(setting::CarryCity);
    p.carryState = s.read(setting::CarryState);
    p.carryZip = s.read(setting::CarryZip);
    p.carryCountry = s.read(setting::CarryCountry);
    return p;
}

bool Preferences::save(const Settings& s) const {
    bool ok = s.write(setting::DateSeparator, dateSeparator);
    ok = s.write(setting::ShortDateFmt, shortDateFmt) && ok;
    ok = s.write(setting::DateEditMask, dateEditMask) && ok;
    ok = s.write(setting::PlugDate, plugDate) && ok;
    ok = s.write(setting::PlugCityState, plugCityState) && ok;
    ok = s.write(setting::AutoDupCheck, autoDupCheck) && ok;
    ok = s.write(setting::DefaultCountry, defaultCountry) && ok;
    ok = s.write(setting::CarryOrg, carryOrg) && ok;
    ok = s.write(setting::CarrySA1, carrySA1) && ok;
    ok = s.write(setting::CarryCity, carryCity) && ok;
    ok = s.write(setting::CarryState, carryState) && ok;
    ok = s.write(setting::CarryZip, carryZip) && ok;
    ok = s.write(setting::CarryCountry, carryCountry) && ok;
    return ok;
}

DateFormat Preferences::dateFormat() const {
    DateFormat f;
    f.separator = dateSeparator.isEmpty() ? QChar(u'/') : dateSeparator.front();
    f.shortFormat = shortDateFmt;
    f.editMask = dateEditMask;
    return f;
}

}  // namespace qb
