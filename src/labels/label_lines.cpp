// Composing the address lines of a label.
#include "labels/label_lines.h"

namespace qb::labels {

namespace {

QString leftTrimmed(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    return s.mid(i);
}

bool hasNonBlank(const QString& s) {
    for (QChar c : s)
        if (c != u' ') return true;
    return false;
}

QString nameLine(const AddressFields& f) {
    // Each part carries its own trailing blank and is then left-trimmed, so an empty part
    // leaves no blank behind and the line keeps exactly one at its end.
    QString middle = hasNonBlank(f.middle) ? f.middle + QStringLiteral(". ") : QStringLiteral(" ");
    return leftTrimmed(f.prefix + u' ') + leftTrimmed(f.firstName + u' ') + leftTrimmed(middle) +
           leftTrimmed(f.lastName + u' ');
}

void addCityStateLine(QStringList& lines, const AddressFields& f, const AddressContents& c) {
    if (c.zip && c.cityState && c.zipOption == AfterState) {
        // Two blanks between city and state: the city's own plus the joining one.
        QString line =
            leftTrimmed(f.city + u' ') + u' ' + leftTrimmed(f.state + u' ') + leftTrimmed(f.zip);
        if (hasNonBlank(line)) lines << line;
    } else if (c.zip && c.cityState && c.zipOption == BeforeCity) {
        QString line =
            leftTrimmed(f.zip + u' ') + leftTrimmed(f.city + u' ') + leftTrimmed(f.state + u' ');
        if (!line.isEmpty()) lines << line;
    } else if (c.cityState) {
        QString line = leftTrimmed(f.city + u' ') + leftTrimmed(f.state);
        if (!line.isEmpty()) lines << line;
    }
}

void addCountryLine(QStringList& lines, const AddressFields& f, const AddressContents& c) {
    QString line;
    if (c.country && c.zip && c.zipOption == AfterCountry)
        line = leftTrimmed(f.country + u' ') + leftTrimmed(f.zip);
    else if (c.country && c.zip && c.zipOption == BeforeCountry)
        line = leftTrimmed(f.zip + u' ') + leftTrimmed(f.country);
    else if (c.country)
        line = leftTrimmed(f.country);
    else if (c.zip && (c.zipOption == AfterCountry || c.zipOption == BeforeCountry))
        line = leftTrimmed(f.zip);
    if (!line.isEmpty()) lines << line;
}

void addIfNotEmpty(QStringList& lines, bool wanted, const QString& line) {
    if (wanted && !line.isEmpty()) lines << line;
}

}  // namespace

QStringList composeAddressLines(const AddressFields& f, const AddressContents& c,
                                const xb::CodePage& page) {
    QStringList lines;
    if (c.name) addIfNotEmpty(lines, true, nameLine(f));
    addIfNotEmpty(lines, c.title, f.title);
    addIfNotEmpty(lines, c.company, f.organisation);
    addIfNotEmpty(lines, c.street, f.street);
    addCityStateLine(lines, f, c);
    addCountryLine(lines, f, c);
    addIfNotEmpty(lines, c.phone, f.phone);
    if (c.upperCase)
        for (QString& line : lines)
            line = QString::fromStdString(page.upper(line.toStdString()));
    return lines;
}

AddressFields readAddressFields(const xb::WorkArea& contacts) {
    auto text = [&](const char* field) { return QString::fromStdString(contacts.getText(field)); };
    AddressFields f;
    f.prefix = text("PREFIX");
    f.firstName = text("FNAME");
    f.middle = text("MIDDLE");
    f.lastName = text("LNAME");
    f.title = text("TITLE");
    f.organisation = text("ORG");
    f.street = text("STREET");
    f.city = text("CITY");
    f.state = text("STATE");
    f.zip = text("ZIP");
    f.country = text("COUNTRY");
    f.phone = text("PHONE");
    return f;
}

}  // namespace qb::labels
