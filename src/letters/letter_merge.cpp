// Token values and the merge on the document model.
#include "letters/letter_merge.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

#include "store/dataset.h"
#include "store/date_format.h"

namespace qb::letters {

namespace {

// Trimming removes blanks, not other white space.
QString trimBlanks(const QString& s) {
    qsizetype from = 0, to = s.size();
    while (from < to && s[from] == u' ')
        ++from;
    while (to > from && s[to - 1] == u' ')
        --to;
    return s.mid(from, to - from);
}

QString leftTrimmed(const QString& s) {
    qsizetype from = 0;
    while (from < s.size() && s[from] == u' ')
        ++from;
    return s.mid(from);
}

// Replaces the selection of at (a found token) with value in the token's own attributes:
// those of its first character, so a token whose brackets differ from its name still passes
// on the look of where it starts.
void replaceFound(QTextCursor& at, const QString& value) {
    QTextCursor first(at.document());
    first.setPosition(at.selectionStart() + 1);
    const QTextCharFormat format = first.charFormat();
    QString text = value;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    at.insertText(text, format);
}

}  // namespace

const QStringList& tokenNames() {
    static const QStringList names = {
        QStringLiteral("Full Name"),   QStringLiteral("Name and Address"),
        QStringLiteral("First"),       QStringLiteral("Last"),
        QStringLiteral("Middle"),      QStringLiteral("Prefix"),
        QStringLiteral("Title"),       QStringLiteral("Organization"),
        QStringLiteral("Street"),      QStringLiteral("City+State+Zip"),
        QStringLiteral("City"),        QStringLiteral("State"),
        QStringLiteral("Province"),    QStringLiteral("Zip"),
        QStringLiteral("Postal Code"), QStringLiteral("Country"),
        QStringLiteral("Phone"),       QStringLiteral("Fax"),
        QStringLiteral("E-Mail"),      QStringLiteral("Today's Date")};
    return names;
}

ContactValues contactValues(const Dataset& contacts) {
    auto f = [&contacts](const char* name) { return contacts.text(QLatin1String(name)); };
    ContactValues c;
    c.prefix = f("PREFIX");
    c.first = f("FNAME");
    c.middle = f("MIDDLE");
    c.last = f("LNAME");
    c.title = f("TITLE");
    c.org = f("ORG");
    c.street = f("STREET");
    c.city = f("CITY");
    c.state = f("STATE");
    c.zip = f("ZIP");
    c.country = f("COUNTRY");
    c.phone = f("PHONE");
    c.fax = f("FAX");
    c.email = f("EMAIL");
    return c;
}

QString fullName(const ContactValues& c) {
    const QString middle = c.middle.isEmpty() ? c.middle : c.middle + u'.';
    const QString blank = QStringLiteral(" ");
    return leftTrimmed(c.prefix + blank) + leftTrimmed(c.first + blank) +
           leftTrimmed(middle + blank) + leftTrimmed(c.last + blank);
}

QString nameAndAddress(const ContactValues& c) {
    QStringList lines;
    lines << fullName(c);
    if (!c.title.isEmpty() && !c.org.isEmpty())
        lines << c.title + QStringLiteral(",  ") + c.org;
    else
        lines << c.title + c.org;
    lines << c.street;
    if (!(c.city + c.state + c.zip).isEmpty()) {
        const QString state = c.state.isEmpty() ? c.state : c.state + u' ';
        lines << trimBlanks(c.city + u' ' + state + u' ' + c.zip);
    }
    lines << c.country;
    QString block;
    for (const QString& line : lines)
        if (!trimBlanks(line).isEmpty()) block += line + QStringLiteral("\r\n");
    return block;
}

QString tokenValue(const QString& name, const ContactValues& c, xb::Jdn today) {
    static const QHash<QString, QString ContactValues::*> plain = {
        {QStringLiteral("First"), &ContactValues::first},
        {QStringLiteral("Last"), &ContactValues::last},
        {QStringLiteral("Middle"), &ContactValues::middle},
        {QStringLiteral("Prefix"), &ContactValues::prefix},
        {QStringLiteral("Title"), &ContactValues::title},
        {QStringLiteral("Organization"), &ContactValues::org},
        {QStringLiteral("Street"), &ContactValues::street},
        {QStringLiteral("City"), &ContactValues::city},
        {QStringLiteral("State"), &ContactValues::state},
        {QStringLiteral("Province"), &ContactValues::state},
        {QStringLiteral("Zip"), &ContactValues::zip},
        {QStringLiteral("Postal Code"), &ContactValues::zip},
        {QStringLiteral("Country"), &ContactValues::country},
        {QStringLiteral("Phone"), &ContactValues::phone},
        {QStringLiteral("Fax"), &ContactValues::fax},
        {QStringLiteral("E-Mail"), &ContactValues::email}};
    if (const auto it = plain.constFind(name); it != plain.cend()) return c.*(it.value());
    if (name == QLatin1String("Full Name")) return fullName(c);
    if (name == QLatin1String("Name and Address")) return nameAndAddress(c);
    if (name == QLatin1String("City+State+Zip"))
        return trimBlanks(c.city + u' ' + c.state + u' ' + c.zip);
    if (name == QLatin1String("Today's Date")) return formatDate(today);
    return {};
}

int DoMerge(QTextDocument& doc, const QString& name, const QString& value) {
    const QString search = u'[' + name + u']';
    int replaced = 0;
    QTextCursor from(&doc);
    for (;;) {
        QTextCursor found = doc.find(search, from, QTextDocument::FindCaseSensitively);
        if (found.isNull()) break;
        replaceFound(found, value);
        from = found;  // after the inserted value
        ++replaced;
    }
    return replaced;
}

int ReplaceTokens(QTextDocument& doc, const ContactValues& c, xb::Jdn today) {
    // One pattern for all tokens: the closing bracket keeps any name from matching a longer one.
    static const QRegularExpression anyToken = [] {
        QStringList alternatives;
        for (const QString& name : tokenNames())
            alternatives << QRegularExpression::escape(name);
        return QRegularExpression(QStringLiteral("\\[(") + alternatives.join(u'|') +
                                  QStringLiteral(")\\]"));
    }();
    QHash<QString, QString> values;
    for (const QString& name : tokenNames())
        values.insert(name, tokenValue(name, c, today));
    int replaced = 0;
    QTextCursor from(&doc);
    for (;;) {
        QTextCursor found = doc.find(anyToken, from, QTextDocument::FindCaseSensitively);
        if (found.isNull()) break;
        const QString token = found.selectedText();
        replaceFound(found, values.value(token.mid(1, token.size() - 2)));
        from = found;
        ++replaced;
    }
    return replaced;
}

}  // namespace qb::letters
