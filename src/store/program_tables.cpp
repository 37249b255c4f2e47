// The program tables' fields and tags, and filling the shipped ones from their CSV sources.
#include "store/program_tables.h"

#include <charconv>

#include "xbase/error.h"
#include "xbase/file.h"

namespace qb {
namespace {

// Lengths are inches kept to three decimals; small counts fit three digits.
constexpr ContactField inches(const char* name) {
    return {name, 'N', 8, 3};
}
constexpr ContactField small(const char* name) {
    return {name, 'N', 3, 0};
}
constexpr ContactField flag(const char* name) {
    return {name, 'L', 1, 0};
}
constexpr ContactField text(const char* name, int width) {
    return {name, 'C', width, 0};
}

xb::TagDef tagOf(const char* name, const char* key) {
    return xb::TagDef{name, key, "", false, false};
}

std::string lineLabel(const std::string& path, size_t line) {
    return path + " line " + std::to_string(line);
}

}  // namespace

const ProgramTable& labelStockTable() {
    static const ProgramTable t{
        "QBMLBLS.DBF",
        {text("USERDESC", 60), inches("LBLHEIGHT"), inches("LBLWIDTH"), small("NBRACROSS"),
         small("NBRDOWN"), inches("TOPMARG"), inches("LEFTMARG"), inches("HORIZPITCH"),
         inches("VERTPITCH"), inches("SHEETWIDTH"), inches("SHEETDEPTH"), text("PRINTER", 2),
         text("PAPERSIZE", 5), flag("USERDEF")},
        tagOf("USERDESC", "UPPER(USERDESC)")};
    return t;
}

const ProgramTable& labelSetupTable() {
    static const ProgramTable t{
        "QBMLSU.DBF",
        {text("DESCRIPT", 50), text("USERLABELN", 60), text("PRINTERTYP", 2), text("FONTNAME", 50),
         small("FONTSIZE"),    flag("FONTBOLD"),       flag("FONTITALIC"),    inches("XOFFSET"),
         inches("YOFFSET"),    flag("BARCODE"),        flag("NAME"),          flag("TITLE"),
         flag("COMPANY"),      flag("STREET"),         flag("CITYSTATE"),     flag("ZIP"),
         flag("PHONE"),        flag("COUNTRY"),        small("ZIPOPTIONS"),   flag("UPPERCASE"),
         inches("LBLHEIGHT"),  inches("LBLWIDTH"),     small("NBRACROSS"),    small("NBRDOWN"),
         inches("TOPMARG"),    inches("LEFTMARG"),     inches("HORIZPITCH"),  inches("VERTPITCH"),
         inches("SHEETWIDTH"), inches("SHEETDEPTH"),   text("PAPERSIZE", 5),  flag("TRIMTEXT")},
        tagOf("DESCRIPT", "UPPER(descript)")};
    return t;
}

const ProgramTable& envelopeSizeTable() {
    static const ProgramTable t{
        "QBMENVS.DBF",
        {text("NAME", 20), text("DESC", 20), inches("WIDTH"), inches("HEIGHT"), flag("USERDEF")},
        tagOf("NAME", "UPPER(NAME)")};
    return t;
}

const ProgramTable& envelopeSetupTable() {
    static const ProgramTable t{
        "QBMESU.DBF",
        {text("DESCRIPT", 50), text("ENVNAME", 20),   flag("USERETURN"),    flag("USEMESSAGE"),
         inches("RETTOP"),     inches("RETLEFT"),     text("RETFNAME", 50), small("RETFSIZE"),
         flag("RETFBOLD"),     flag("RETFITALIC"),    text("RETLINE1", 40), text("RETLINE2", 40),
         text("RETLINE3", 40), text("RETLINE4", 40),  text("RETLINE5", 40), inches("MESSTOP"),
         inches("MESSLEFT"),   text("MESSFNAME", 50), small("MESSFSIZE"),   flag("MESSFBOLD"),
         flag("MESSFITAL"),    text("MESSTEXT", 50),  inches("DELTOP"),     inches("DELLEFT"),
         text("DELFNAME", 50), small("DELFSIZE"),     flag("DELFBOLD"),     flag("DELFITAL"),
         flag("BARCODE"),      flag("NAME"),          flag("TITLE"),        flag("COMPANY"),
         flag("STREET"),       flag("CITYSTATE"),     flag("ZIP"),          flag("PHONE"),
         flag("COUNTRY"),      small("ZIPOPTIONS"),   flag("UPPERCASE"),    inches("ENVWIDTH"),
         inches("ENVHEIGHT"),  small("ORIENT"),       small("FACING"),      small("POSITION")},
        tagOf("DESCRIPT", "UPPER(descript)")};
    return t;
}

const ProgramTable& stateTable() {
    static const ProgramTable t{
        "QBMSZCK.DBF",
        {text("NAME", 20), text("STATE", 4), text("LOW_ZIP", 10), text("HIGH_ZIP", 10)},
        tagOf("STATE", "UPPER(STATE)")};
    return t;
}

std::vector<std::string> splitCsvLine(std::string_view line) {
    std::vector<std::string> out;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == ',') {
            out.push_back(std::move(field));
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted) xb::fail(xb::ErrorCode::Corrupt, "a quoted value is not closed");
    out.push_back(std::move(field));
    return out;
}

void buildProgramTable(const std::string& path, const ProgramTable& table, std::string_view csv) {
    for (const char* ext : {".DBF", ".CDX", ".FPT"})
        xb::removeFile(xb::withExtension(path, ext));
    xb::WorkArea area;
    area.createNew(path);
    for (const auto& f : table.fields)
        area.createField(f.name, f.type, f.width, f.decimals);
    area.createExec();
    area.use(path, xb::UseMode::Exclusive);

    std::vector<std::string> columns;
    size_t lineNo = 0;
    size_t start = 0;
    while (start < csv.size()) {
        size_t end = csv.find('\n', start);
        if (end == std::string_view::npos) end = csv.size();
        std::string_view line = csv.substr(start, end - start);
        start = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        std::vector<std::string> values;
        try {
            values = splitCsvLine(line);
        } catch (const xb::Error& e) {
            xb::fail(xb::ErrorCode::Corrupt, lineLabel(path, lineNo) + ": " + e.what());
        }
        if (columns.empty()) {
            columns = std::move(values);
            for (const auto& c : columns) {
                if (area.fieldNumber(c) == 0)
                    xb::fail(xb::ErrorCode::NotFound,
                             lineLabel(path, lineNo) + ": the table has no field " + c);
            }
            continue;
        }
        if (values.size() != columns.size())
            xb::fail(xb::ErrorCode::Corrupt, lineLabel(path, lineNo) + ": " +
                                                 std::to_string(values.size()) + " values for " +
                                                 std::to_string(columns.size()) + " columns");
        area.append();
        for (size_t i = 0; i < columns.size(); ++i) {
            const std::string& v = values[i];
            switch (area.fieldType(columns[i])) {
                case 'N': {
                    double d = 0;
                    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
                    if (ec != std::errc() || p != v.data() + v.size())
                        xb::fail(xb::ErrorCode::Corrupt, lineLabel(path, lineNo) + ": " +
                                                             columns[i] + " is not a number: " + v);
                    area.putNumber(columns[i], d);
                    break;
                }
                case 'L':
                    area.putLogical(columns[i], v == "T" || v == "t" || v == "Y" || v == "y");
                    break;
                default:
                    area.putText(columns[i], v);
            }
        }
        area.post();
    }
    area.indexTag("", table.tag);
    area.close();
}

}  // namespace qb
