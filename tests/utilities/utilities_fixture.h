// Contact files with chosen values for the tests of the clean-up utilities, in a fresh program
// folder holding the shipped tables.
#pragma once

#include <QString>
#include <map>
#include <string>
#include <vector>

#include "fixtures.h"
#include "store/contact_schema.h"
#include "xbase/work_area.h"

namespace qb::test {

// Field name to value; "*MARK" set marks the record deleted in the engine.
using Values = std::map<std::string, std::string>;

inline Values person(const std::string& last, const std::string& first,
                     const std::string& state = "", const std::string& zip = "") {
    return {{"LNAME", last}, {"FNAME", first}, {"STATE", state}, {"ZIP", zip}};
}

// Writes a contact file with all its tags; returns its path.
inline QString writeContacts(const ProgramFolder& folder, const std::vector<Values>& records,
                             const QString& name = QStringLiteral("CONTACTS.DBF")) {
    const std::string path = folder.file(name).toStdString();
    createContactTable(path);
    xb::WorkArea area;
    area.use(path);
    buildContactTags(area);
    for (const Values& r : records) {
        area.append();
        for (const auto& [field, value] : r)
            if (field[0] != '*') area.putText(field, value);
        area.post();
        if (r.count("*MARK")) area.deleteRecord();
    }
    area.close();
    return QString::fromStdString(path);
}

// The records of the work area's selection in its current order.
inline std::vector<uint32_t> walk(xb::WorkArea& area) {
    std::vector<uint32_t> out;
    for (area.first(); !area.eof(); area.skip(1))
        out.push_back(area.recNo());
    return out;
}

}  // namespace qb::test
