// Merging a contact into a letter: the field tokens in square brackets, the value each takes
// from the contact record, and their replacement on the document model, so that nothing a
// contact holds can be taken for markup or for another token.
#pragma once

#include <QString>
#include <QStringList>

#include "xbase/date.h"

class QTextDocument;

namespace qb {
class Dataset;
}

namespace qb::letters {

// The token names as the designer's insert list offers them, in its order.
const QStringList& tokenNames();

// The contact fields a letter uses, as the contact table gives them (no trailing blanks).
struct ContactValues {
    QString prefix, first, middle, last, title, org, street, city, state, zip, country, phone, fax,
        email;
};
ContactValues contactValues(const Dataset& contacts);

// Full Name: prefix, first, middle initial with its period and last name, each followed by a
// blank when present, so a name keeps one trailing blank.
QString fullName(const ContactValues& c);
// The Name and Address block: name, title and organisation, street, city line, country; each
// line present only when it has text and each ended by a carriage return and line feed.
QString nameAndAddress(const ContactValues& c);
// The value of one token; today is written in the date format in force. Empty for an
// unknown name.
QString tokenValue(const QString& name, const ContactValues& c, xb::Jdn today);

// Replaces every occurrence of "[name]" (letter case as given) with value, each carrying the
// character attributes of the token it replaces (DoMerge). The search goes on after each
// inserted value, so a value holding its own token is not replaced again. Returns the number
// of occurrences replaced.
int DoMerge(QTextDocument& doc, const QString& name, const QString& value);

// Replaces every known token of the letter with the contact's values (ReplaceTokens). The
// letter is read once from start to end and only text of the template is taken for a token,
// so a value that holds a token's name ("[First]" as a first name) stays as it is.
int ReplaceTokens(QTextDocument& doc, const ContactValues& c, xb::Jdn today);

}  // namespace qb::letters
