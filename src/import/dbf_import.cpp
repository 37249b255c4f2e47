// Reading another table's field list, matching its fields and appending its records.
#include "import/dbf_import.h"

#include <QFile>
#include <cstring>

#include "import/page_text.h"
#include "xbase/error.h"

namespace qb::import {

namespace {

std::string utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

struct NameRule {
    std::vector<const char*> keywords;
    const char* label;
};

// In the order they are tried; a keyword matches anywhere in the upper-cased name.
const std::vector<NameRule>& nameRules() {
    static const std::vector<NameRule> rules = {
        {{"LAST", "LNAME", "SURNAME"}, "Last"},
        {{"FIRST", "FNAME", "GIVEN"}, "First"},
        {{"PREFIX", "SALUT"}, "Prefix"},
        {{"MIDDLE", "INIT"}, "Middle"},
        {{"TITLE", "POSITION", "JOB"}, "Title"},
        {{"ORG", "COMPANY", "ASSOC"}, "Organization"},
        {{"STREET", "ADDRESS", "SA"}, "Street"},
        {{"CITY"}, "City"},
        {{"STATE", "PROVINCE"}, "State/Province"},
        {{"ZIP", "POSTAL", "POSTCODE", "CODE"}, "Zip/Post Code"},
        {{"COUNTRY", "CTRY"}, "Country"},
        {{"PHONE", "TELE"}, "Phone"},
        {{"FAX"}, "Fax"},
        {{"EMAIL", "E-MAIL"}, "E-Mail"},
        {{"NOTES", "CODES"}, "Codes"},
    };
    return rules;
}

// Whether the automatic match may put a field of this type into the row: text anywhere, a
// number only where digits are the value (codes, numbers to dial), a logical only as a code.
bool fitsAutomatically(const QString& label, char type) {
    if (type == 'C') return true;
    if (type == 'N' || type == 'F' || type == 'I')
        return label == u"Zip/Post Code" || label == u"Phone" || label == u"Fax" ||
               label == u"Codes";
    if (type == 'L') return label == u"Codes";
    return false;
}

const DbfMatchRow* rowOf(const QString& label) {
    for (const DbfMatchRow& r : dbfMatchRows())
        if (label == QLatin1String(r.label)) return &r;
    return nullptr;
}

QString storable(const QString& value, const xb::CodePage& page) {
    QString out;
    std::string scratch;
    for (const uint c : value.toUcs4()) {
        const QString ch = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        scratch.clear();
        out += page.fromUtf8(utf8(ch), scratch) ? ch : QStringLiteral("?");
    }
    return out;
}

}  // namespace

const std::vector<DbfMatchRow>& dbfMatchRows() {
    static const std::vector<DbfMatchRow> rows = {
        {"Prefix", "PREFIX", "CNL"},
        {"First", "FNAME", "CNL"},
        {"Last", "LNAME", "CNL"},
        {"Middle", "MIDDLE", "CNL"},
        {"Title", "TITLE", "CNL"},
        {"Organization", "ORG", "CNL"},
        {"Street", "STREET", "CNL"},
        {"City", "CITY", "CNL"},
        {"State/Province", "STATE", "CNL"},
        {"Zip/Post Code", "ZIP", "CNL"},
        {"Country", "COUNTRY", "CNL"},
        {"Phone", "PHONE", "CNL"},
        {"Fax", "FAX", "CNL"},
        {"E-Mail", "EMAIL", "CNL"},
        {"Codes", "NOTES", "CNL"},
        {"Date", "DATE", "D"},
        {"Memo", "MEMO", "M"},
    };
    return rows;
}

QString automaticLabel(const QString& name, char type) {
    if (type == 'G') return {};
    if (type == 'M') return QStringLiteral("Memo");
    const QString upper = name.toUpper();
    for (const NameRule& rule : nameRules()) {
        bool named = false;
        for (const char* k : rule.keywords)
            named = named || upper.contains(QLatin1String(k));
        if (named && fitsAutomatically(QLatin1String(rule.label), type))
            return QLatin1String(rule.label);
    }
    if (type == 'D') return QStringLiteral("Date");
    return {};
}

void applyAutomaticMatch(std::vector<SourceField>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        fields[i].match = automaticLabel(fields[i].name, fields[i].type);
        if (fields[i].match.isEmpty()) continue;
        for (size_t j = 0; j < i; ++j)
            if (fields[j].match == fields[i].match) fields[j].match.clear();
    }
}

QStringList offeredFields(const std::vector<SourceField>& fields, int row) {
    QStringList names;
    if (row < 0 || row >= int(dbfMatchRows().size())) return names;
    const char* types = dbfMatchRows()[size_t(row)].types;
    for (const SourceField& f : fields)
        if (std::strchr(types, f.type)) names << f.name;
    return names;
}

DbfSource readDbfSource(const QString& path) {
    DbfSource source;
    xb::WorkArea area;
    try {
        area.use(QFile::encodeName(path).toStdString(), xb::UseMode::ReadOnly);
    } catch (const xb::Error&) {
        source.problem = QStringLiteral("Unable to open the file ") + path;
        return source;
    }
    area.setDeleted(true);
    source.records = area.recCount();
    if (source.records == 0) {
        source.problem = QStringLiteral("There are no records in ") + path;
        return source;
    }
    for (int i = 1; i <= area.fieldCount(); ++i) {
        const std::string name = area.fieldName(i);
        source.fields.push_back(
            {area.fieldType(name), QString::fromStdString(name), area.fieldWidth(name), QString()});
    }
    if (source.fields.empty()) source.problem = QString::fromLatin1(kUnableToImport);
    return source;
}

ImportResult importDbfFile(xb::WorkArea& contacts, const QString& path,
                           const std::vector<SourceField>& fields, const ImportObserver& observer) {
    ImportResult result;
    struct Pick {
        std::string source;
        char type;
        std::string target;
        int from = 0;  // the source field's number
        int to = 0;    // the contact field's number when the value goes across as bytes
    };
    std::vector<Pick> picks;
    for (const SourceField& f : fields) {
        const DbfMatchRow* row = f.match.isEmpty() ? nullptr : rowOf(f.match);
        if (row && f.type != 'G') picks.push_back({utf8(f.name), f.type, row->field});
    }
    xb::WorkArea source;
    try {
        source.use(QFile::encodeName(path).toStdString(), xb::UseMode::ReadOnly);
    } catch (const xb::Error&) {
        result.error = QStringLiteral("Unable to open the file ") + path;
        return result;
    }
    // Records carrying the deletion mark were deleted in the other program: not imported.
    source.setDeleted(true);
    source.setOrder(0);
    source.setFastRead(true);
    const xb::CodePage& page = contacts.codePage();
    // Character fields go from the source's code page to the contact file's as bytes.
    const PageText text(source.codePage(), page);
    for (Pick& p : picks) {
        p.from = source.fieldNumber(p.source);
        const int to = contacts.fieldNumber(p.target);
        if (p.type == 'C' && to > 0 && contacts.fieldType(p.target) == 'C' &&
            !(source.fields().at(p.from - 1).flags & 0x04))
            p.to = to;
    }
    auto valueOf = [&](const Pick& p) -> QString {
        if (p.type == 'M' || p.type == 'D') return {};
        return QString::fromStdString(source.getText(p.source)).trimmed();
    };

    // Every character the contact file cannot store is found before anything is written;
    // when the source's page holds nothing the contact file's cannot, there is none to find.
    QString firstBad;
    std::string converted;
    try {
        const bool check = !text.holdsEverything();
        for (source.first(); check && !source.eof() && firstBad.isEmpty(); source.skip()) {
            for (const Pick& p : picks) {
                char32_t bad = 0;
                if (p.to > 0) {
                    if (text.convert(text.trimmed(source.rawField(p.from)), converted, false, bad))
                        continue;
                } else {
                    const QString value = p.type == 'M'
                                              ? QString::fromStdString(source.getMemo(p.source))
                                              : valueOf(p);
                    std::string scratch;
                    if (value.isEmpty() || page.fromUtf8(utf8(value), scratch, &bad)) continue;
                }
                firstBad = QStringLiteral(
                               "Record %1, field %2 holds the character \"%3\", which this "
                               "contact file cannot store.\r\nImport with each such character "
                               "replaced by \"?\"? No imports nothing.")
                               .arg(source.recNo())
                               .arg(QString::fromStdString(p.source))
                               .arg(QString::fromUcs4(&bad, 1));
                break;
            }
        }
    } catch (const xb::Error& e) {
        result.error = QString::fromUtf8(e.what());
        return result;
    }
    const bool replace = !firstBad.isEmpty();
    if (replace && !(observer.replaceUnholdable && observer.replaceUnholdable(firstBad))) {
        result.declined = true;
        return result;
    }

    if (observer.status) observer.status(QStringLiteral("Importing records"));
    const uint32_t total = source.recCount();
    int shown = -1;
    try {
        dropProductionIndex(contacts);
        result.indexDropped = true;
        for (source.first(); !source.eof(); source.skip()) {
            contacts.append();
            for (const Pick& p : picks) {
                if (p.to > 0) {
                    const std::string_view value = text.trimmed(source.rawField(p.from));
                    if (value.empty()) continue;
                    char32_t bad = 0;
                    if (!text.convert(value, converted, replace, bad))
                        throw xb::Error(xb::ErrorCode::CodePage,
                                        "A value holds a character the contact file cannot store");
                    contacts.putRaw(p.to, converted);
                } else if (p.type == 'M') {
                    QString memo = QString::fromStdString(source.getMemo(p.source));
                    if (replace) memo = storable(memo, page);
                    contacts.replace("MEMO", utf8(memo));
                } else if (p.type == 'D') {
                    if (p.target == "DATE") contacts.putDate("DATE", source.getDate(p.source));
                } else if (p.target != "DATE" && p.target != "MEMO") {
                    QString value = valueOf(p);
                    if (value.isEmpty()) continue;
                    if (replace) value = storable(value, page);
                    contacts.putText(p.target, utf8(value));
                }
            }
            contacts.post();
            ++result.imported;
            const int percent = total ? int(uint64_t(source.recNo()) * 100 / total) : 100;
            if (percent != shown && observer.gauge) observer.gauge(percent);
            shown = percent;
            if (observer.cancelRequested && observer.cancelRequested()) {
                result.cancelled = true;
                break;
            }
        }
    } catch (const xb::Error& e) {
        try {
            if (contacts.appending()) contacts.cancel();
        } catch (const xb::Error&) {
        }
        result.error = QString::fromUtf8(e.what());
    }
    if (observer.status) observer.status({});
    return result;
}

}  // namespace qb::import
