// The four contact report layouts: their order, font, columns and headings, the texts composed
// from a contact's fields for their cells, and the breaking of memo text into the lines of a
// band.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace qb::reports {

// A contact's fields as the report reads them (character fields without trailing blanks, the
// date already written in the date format in force).
struct ReportFields {
    QString lname, fname, middle, prefix, title, org, street, city, state, zip, country, phone, fax,
        email, date, notes, memo;
};

struct ReportLayout {
    int number = 1;
    QString entry;     // as the list of layouts shows it
    QString orderTag;  // the order the layout prints in
    double fontSize = 9;
    std::array<double, 4> tabWidths{};
    QStringList headings;  // layouts 1 to 3: one per column
    // The field whose order the layout follows; records with it empty are left out when the
    // run starts from the first record. Empty: every record is listed.
    QString keyField;
};

inline constexpr int kLayoutCount = 4;
// Layout 1 to 4; numbers outside fall back to layout 1.
const ReportLayout& reportLayout(int number);
QStringList reportListEntries();

// Whether a run of this layout that starts from the first record leaves the record out: only
// when the layout's key field is empty, so names led by a blank or punctuation stay listed.
bool leavesOut(const ReportLayout& layout, const ReportFields& fields);

// Layouts 1 to 3: "Last, First M."
QString reportName(const ReportFields& f);
// Layout 1: "City, ST  ZIP "; empty when all three are empty.
QString cityLineA(const ReportFields& f);
// Layout 4's cells.
QString layout4Name(const ReportFields& f);  // empty without a last name
QString titleAndOrg(const ReportFields& f);  // a title without an organization is left out
QString cityLineB(const ReportFields& f);
QString phoneAndFax(const ReportFields& f);

// Breaks memo text into the lines it takes in a band `width` wide, as measured by `measure`
// in the same unit: at line breaks, then between words, and within a word too long for a line.
// A memo of one line that is blank once trimmed gives no lines.
QStringList wrapMemo(const QString& memo, double width,
                     const std::function<double(const QString&)>& measure);

}  // namespace qb::reports
