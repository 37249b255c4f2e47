// The DBF import's work without its windows: the source table's field list, the automatic
// match of source fields to contact fields by name and type, the fields the picker offers a
// row, and appending one contact per source record.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "import/ascii_import.h"
#include "xbase/work_area.h"

namespace qb::import {

// A row of the matching grid: its label, the contact field it fills and the source field
// types the picker offers for it.
struct DbfMatchRow {
    const char* label;
    const char* field;
    const char* types;
};
// The seventeen rows, in grid order.
const std::vector<DbfMatchRow>& dbfMatchRows();

struct SourceField {
    char type = 'C';
    QString name;
    int width = 0;
    QString match;  // the label of the row it goes into; empty when not imported
};

// The label the automatic match gives a source field: the first name rule that matches and
// whose row takes the field's type (a date never goes into a name, a number never into a
// street); a date that no name rule placed goes to "Date", a memo to "Memo", a general field
// nowhere. Empty when nothing fits.
QString automaticLabel(const QString& name, char type);
// Matches every field automatically; when several get the same label, the last keeps it.
void applyAutomaticMatch(std::vector<SourceField>& fields);
// The names the picker lists for a row (after "(None)"), in source order.
QStringList offeredFields(const std::vector<SourceField>& fields, int row);

// The source table's fields, or why it cannot be imported (the message for the user).
struct DbfSource {
    QString problem;
    std::vector<SourceField> fields;
    uint32_t records = 0;
};
DbfSource readDbfSource(const QString& path);

// Appends one contact per source record not marked deleted, for the matched fields: dates by
// value, memos as memos, everything else as its text. As the ASCII import: characters the
// contact file cannot store are found first and asked about once, and the production index
// is set aside first (the caller rebuilds it whatever the outcome).
ImportResult importDbfFile(xb::WorkArea& contacts, const QString& path,
                           const std::vector<SourceField>& fields, const ImportObserver& observer);

}  // namespace qb::import
