// Turning what the user typed into the Filter page's boxes into one xBase expression: the
// term of each box with its operators and alternatives, the date box's own rule, and quoting.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "store/date_format.h"

namespace qb {

// The field expression each Filter page box tests, in the order the filter is built.
// The date box (index kDateBox) has its own rule.
const QStringList& filterFields();
inline constexpr int kDateBox = 12;

// Where a box value that cannot go into an expression is reported; the term is left out.
using FilterNotice = std::function<void(const QString& text)>;

// A string literal holding value: in double quotes, or in single quotes or brackets when the
// value holds a double quote. Empty when value holds all three closing delimiters.
QString quoteLiteral(const QString& value);
QString unquotableMessage(const QString& value);

// The term for one box: ';' separates alternatives (or), '+' requirements (and), '^'
// exclusions (and not); each part may start with >=, >, <=, < or $ (contains), else the field
// must begin with the value. Empty when a value cannot be quoted (notice tells why).
QString FilterTerm(const QString& field, const QString& text, const FilterNotice& notice);

// The date box's term: an optional $, <, >, <=, >= (or $=) and a date in the format in force.
// Empty, with the notice, when the date is not valid.
QString DateTerm(const QString& text, const DateFormat& format, const FilterNotice& notice);
QString invalidDateMessage(const DateFormat& format);

// The whole filter from the fourteen box texts, as typed, in filterFields() order; boxes of
// blanks alone are skipped. Empty when no box holds anything usable.
QString BuildFilterExpression(const QStringList& boxTexts, const DateFormat& format,
                              const FilterNotice& notice);

}  // namespace qb
