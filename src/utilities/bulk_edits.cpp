// Upper-casing, search and replace, and deletion over a list of records.
#include "utilities/bulk_edits.h"

#include "xbase/codepage.h"
#include "xbase/error.h"

namespace qb::utilities {
namespace {

// Goes to a listed record whatever the selection now says of it.
void visit(xb::WorkArea& area, uint32_t record) {
    area.go(record);
    if (area.recNo() != record)
        xb::fail(xb::ErrorCode::NotFound,
                 area.path() + ": record " + std::to_string(record) + " is no longer there");
}

// Runs body on each listed record with the selection lifted, so that a record the change
// takes out of it is still reached, and puts the selection back however the run ends. A run
// over most of the file in exclusive use writes the records without index upkeep and rebuilds
// the indexes once at the end (see WorkArea::beginBulkUpdate): far cheaper than moving every
// record's keys in every tag, and a run that dies half way leaves the next exclusive open to
// rebuild them.
template <typename Body>
int eachRecord(xb::WorkArea& area, const std::vector<uint32_t>& records, const WalkStep& step,
               bool mostRecords, Body&& body) {
    const std::string selection = area.dbFilter();
    const bool hidden = area.deletedHidden();
    const int order = area.indexOrd();
    area.query("");
    area.setDeleted(false);
    area.setOrder(0);
    const bool bulk = mostRecords && records.size() * 2 > area.recCount() && area.beginBulkUpdate();
    // Reading ahead pays for a scan that changes few records; every write drops what was read
    // ahead, so a run that writes most of them reads each record alone.
    area.setFastRead(!mostRecords);
    const auto restore = [&] {
        area.setFastRead(false);
        area.setOrder(order <= area.orderCount() ? order : 0);
        area.setDeleted(hidden);
        area.query(selection);
    };
    int counted = 0;
    uint32_t done = 0;
    try {
        for (uint32_t r : records) {
            visit(area, r);
            if (body()) ++counted;
            ++done;
            if (step && !step(done, uint32_t(records.size()), counted)) break;
        }
        if (bulk) area.endBulkUpdate();
    } catch (...) {
        if (area.modified()) area.cancel();
        try {
            // When even this fails the table keeps its flag, and the next exclusive open
            // rebuilds the indexes.
            if (area.bulkUpdating()) area.endBulkUpdate();
        } catch (const xb::Error&) {
        }
        try {
            restore();
        } catch (const xb::Error&) {
        }
        throw;
    }
    restore();
    return counted;
}

}  // namespace

std::vector<uint32_t> selectedRecords(xb::WorkArea& area) {
    std::vector<uint32_t> out;
    const int order = area.indexOrd();
    area.setOrder(0);
    area.setFastRead(true);
    for (area.first(); !area.eof(); area.skip(1))
        out.push_back(area.recNo());
    area.setFastRead(false);
    area.setOrder(order);
    return out;
}

std::string upperInCodePage(std::string bytes, const xb::CodePage& page) {
    const uint8_t* upper = page.upperTable();
    for (char& c : bytes)
        c = char(upper[uint8_t(c)]);
    return bytes;
}

int convertToUpper(xb::WorkArea& area, const std::vector<uint32_t>& records,
                   const QStringList& fields, const WalkStep& step) {
    std::vector<std::string> names;
    for (const QString& f : fields)
        names.push_back(f.toStdString());
    const int order = area.indexOrd();
    if (records.size() * 2 > area.recCount() && area.beginBulkUpdate()) {
        // Most of the file: the bytes are upper-cased where they lie, block by block, and
        // the indexes are rebuilt once at the end.
        std::vector<std::pair<size_t, size_t>> spans;
        for (const std::string& f : names) {
            const int number = area.fieldNumber(f);
            if (number == 0) xb::fail(xb::ErrorCode::NotFound, area.path() + ": no field " + f);
            const xb::FieldInfo& info = area.fields().at(number - 1);
            spans.emplace_back(size_t(info.offset), size_t(info.width));
        }
        const uint8_t* upper = area.codePage().upperTable();
        const uint32_t total = uint32_t(records.size());
        uint32_t done = 0;
        try {
            done = area.rewriteRecords(
                records,
                [&](uint32_t, uint8_t* rec) {
                    bool changed = false;
                    for (const auto& [at, width] : spans)
                        for (size_t i = at; i < at + width; ++i)
                            if (upper[rec[i]] != rec[i]) {
                                rec[i] = upper[rec[i]];
                                changed = true;
                            }
                    return changed;
                },
                [&](uint32_t n) { return !step || step(n, total, int(n)); });
            area.endBulkUpdate();
        } catch (...) {
            try {
                // When even this fails the table keeps its flag, and the next exclusive
                // open rebuilds the indexes.
                if (area.bulkUpdating()) area.endBulkUpdate();
                area.setOrder(order <= area.orderCount() ? order : 0);
            } catch (const xb::Error&) {
            }
            throw;
        }
        area.setOrder(order);
        return int(done);
    }
    return eachRecord(area, records, step, false, [&] {
        bool changed = false;
        for (const std::string& f : names) {
            const std::string raw = area.getRaw(f);
            const std::string up = upperInCodePage(raw, area.codePage());
            if (up != raw) {
                area.putRaw(f, up);
                changed = true;
            }
        }
        if (changed) area.post();
        return true;
    });
}

bool replaceMatches(const QString& value, const ReplaceRequest& request) {
    if (request.find.isEmpty()) return value.trimmed().isEmpty();
    const Qt::CaseSensitivity cs = request.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (request.exact) return value.compare(request.find, cs) == 0;
    return value.contains(request.find, cs);
}

QString replacedValue(const QString& value, const ReplaceRequest& request) {
    if (request.wholeField || request.find.isEmpty()) return request.replacement;
    const Qt::CaseSensitivity cs = request.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QString out;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = value.indexOf(request.find, from, cs);
        if (at < 0) break;
        out += QStringView(value).mid(from, at - from);
        out += request.replacement;
        from = at + request.find.size();
    }
    out += QStringView(value).mid(from);
    return out;
}

int searchAndReplace(xb::WorkArea& area, const std::vector<uint32_t>& records,
                     const ReplaceRequest& request, const WalkStep& step) {
    const std::string field = request.field.toStdString();
    return eachRecord(area, records, step, false, [&] {
        if (area.deleted()) return false;
        const QString value = QString::fromStdString(area.getText(field));
        if (!replaceMatches(value, request)) return false;
        const std::string before = area.getRaw(field);
        area.putText(field, replacedValue(value, request).toStdString());
        if (area.getRaw(field) == before) {
            area.cancel();
            return false;
        }
        area.post();
        return true;
    });
}

int deleteRecords(xb::WorkArea& area, const std::vector<uint32_t>& records, const WalkStep& step) {
    return eachRecord(area, records, step, true, [&] {
        area.putText("PREFIX", "DELETED");
        area.post();
        if (!area.deleted()) area.deleteRecord();
        return true;
    });
}

}  // namespace qb::utilities
