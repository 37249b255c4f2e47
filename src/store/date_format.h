// The program-wide date format: how dates are shown and read back everywhere (entry box,
// grid, search, filter, printed output), and the edit mask of the date entry box.
#pragma once

#include <QChar>
#include <QString>
#include <optional>

#include "xbase/date.h"

namespace qb {

struct DateFormat {
    QChar separator = u'/';
    QString shortFormat = QStringLiteral("mm/dd/yyyy");  // a date picture: d, m, y and '/'
    QString editMask = QStringLiteral("!99/99/9999;1;_");
};

// The format in force; the main window sets it from the settings file.
const DateFormat& currentDateFormat();
void setCurrentDateFormat(const DateFormat& format);

// Writes a date after the picture: "d"/"dd" day, "m"/"mm" month, "mmm"/"mmmm" month name,
// "ddd"/"dddd" day name, "yy" two-digit and "yyyy" four-digit year; "/" stands for the
// separator, other characters are copied. The empty date gives "".
QString formatDate(xb::Jdn date, const DateFormat& format = currentDateFormat());

// Reads a date typed in the format's order (day, month and year as the picture has them),
// the numbers split by the separator. Two-digit years fall in the fifty years before or
// after today; with only two numbers the year is this year. Text of blanks and separators
// alone is the empty date (0). Nothing when the text is not a valid date.
std::optional<xb::Jdn> parseDate(const QString& text,
                                 const DateFormat& format = currentDateFormat());

// The edit mask ("!99/99/9999;1;_": leading '!', '9' optional digit, '0' required digit,
// literals, ";1" literals kept, then the blank character) as a Qt input mask.
QString qtInputMask(const QString& editMask);
// The character shown in unfilled places of the mask (a blank when the mask names none).
QChar maskBlankChar(const QString& editMask);
// What the date box holds when nothing is typed: the mask's literal part with its digit
// places as blanks ("  /  /    "); empty when the mask does not start with '!'.
QString blankDateText(const QString& editMask);

}  // namespace qb
