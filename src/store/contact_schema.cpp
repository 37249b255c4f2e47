// The contact file's fields and tags.
#include "store/contact_schema.h"

#include "xbase/file.h"

namespace qb {

const std::vector<ContactField>& contactFields() {
    static const std::vector<ContactField> fields = {
        {"LNAME", 'C', 30, 0},   {"FNAME", 'C', 30, 0}, {"MIDDLE", 'C', 1, 0},
        {"TITLE", 'C', 30, 0},   {"ORG", 'C', 30, 0},   {"STREET", 'C', 30, 0},
        {"CITY", 'C', 30, 0},    {"STATE", 'C', 20, 0}, {"ZIP", 'C', 10, 0},
        {"COUNTRY", 'C', 30, 0}, {"PHONE", 'C', 30, 0}, {"EMAIL", 'C', 30, 0},
        {"FAX", 'C', 30, 0},     {"NOTES", 'C', 30, 0}, {"PREFIX", 'C', 12, 0},
        {"CARRIER", 'C', 4, 0},  {"DATE", 'D', 8, 0},   {"BEGIN", 'L', 1, 0},
        {"SEQNO", 'N', 6, 0},    {"MEMO", 'M', 10, 0},
    };
    return fields;
}

const std::vector<xb::TagDef>& contactTags() {
    static const std::vector<xb::TagDef> tags = {
        {"NAME", "UPPER(LNAME-FNAME)", "", false, false},
        {"LNAME", "UPPER(LNAME)+UPPER(FNAME)", "", false, false},
        {"FNAME", "UPPER(FNAME)", "", false, false},
        {"TITLE", "UPPER(TITLE)", "", false, false},
        {"ORG", "UPPER(ORG)", "", false, false},
        {"STREET", "UPPER(STREET)", "", false, false},
        {"CITY", "UPPER(CITY+STATE)", "", false, false},
        {"STATE", "UPPER(STATE)", "", false, false},
        {"ZIP", "UPPER(ZIP)", "", false, false},
        {"COUNTRY", "UPPER(COUNTRY)", "", false, false},
        {"PHONE", "UPPER(PHONE)", "", false, false},
        {"EMAIL", "UPPER(EMAIL)", "", false, false},
        {"FAX", "UPPER(FAX)", "", false, false},
        {"DATE", "DTOS(DATE)", "", false, false},
        {"NOTES", "UPPER(NOTES)", "", false, false},
        {"PREFIX", "UPPER(PREFIX)", "", false, false},
        {"MIDDLE", "UPPER(MIDDLE)", "", false, false},
        {"DELETED", "DELETED()", "", false, false},
        {"JUSTSEQNO", "SEQNO", "", false, false},
        {"SEQNO", "STR(SEQNO,6,0)+STATE+ZIP", "", false, false},
        {"STATEZIP", "UPPER(STATE-ZIP)", "", false, false},
    };
    return tags;
}

std::string contactLayoutProblem(const xb::WorkArea& area) {
    for (const auto& f : contactFields()) {
        const std::string name = f.name;
        if (name == "BEGIN") continue;
        if (area.fieldNumber(name) == 0) return "the field " + name + " is missing";
        const char type = area.fieldType(name);
        if (type != f.type) return "the field " + name + " is not of type " + f.type;
        if (type != 'C') continue;
        const int width = area.fieldWidth(name);
        if (width == f.width || (name == "STATE" && width == 4)) continue;
        return "the field " + name + " is " + std::to_string(width) + " wide, not " +
               std::to_string(f.width);
    }
    return {};
}

void createContactTable(const std::string& path) {
    xb::WorkArea area;
    area.createNew(path);
    for (auto& f : contactFields())
        area.createField(f.name, f.type, f.width, f.decimals);
    area.createExec();
}

void buildContactTags(xb::WorkArea& area) {
    area.closeIndexes();
    std::string cdx = xb::findSiblingOf(area.path(), ".CDX");
    if (xb::fileExists(cdx)) xb::removeFile(cdx);
    area.indexTags(contactTags());
}

}  // namespace qb
