// Building filter terms and the whole filter expression from the Filter page's boxes.
#include "app/filter_builder.h"

namespace qb {
namespace {

// The engine takes a value of up to this many characters from one box part.
constexpr qsizetype kMaxValue = 99;

struct Split {
    QChar separator;
    const char* connective;
};

// The loosest binding first, so "a+b;c" reads as (a and b) or c.
constexpr Split kSplits[] = {{u';', ".or."}, {u'+', ".and."}, {u'^', ".and..not."}};

bool blankOnly(const QString& text) {
    for (const QChar c : text) {
        if (c != u' ') return false;
    }
    return true;
}

}  // namespace

const QStringList& filterFields() {
    static const QStringList fields = {
        QStringLiteral("LNAME"),      QStringLiteral("FNAME"),  QStringLiteral("TITLE"),
        QStringLiteral("ORG"),        QStringLiteral("STREET"), QStringLiteral("ZIP"),
        QStringLiteral("CITY+STATE"), QStringLiteral("STATE"),  QStringLiteral("COUNTRY"),
        QStringLiteral("PHONE"),      QStringLiteral("FAX"),    QStringLiteral("EMAIL"),
        QStringLiteral("DATE"),       QStringLiteral("NOTES")};
    return fields;
}

QString quoteLiteral(const QString& value) {
    if (!value.contains(u'"')) return u'"' + value + u'"';
    if (!value.contains(u'\'')) return u'\'' + value + u'\'';
    if (!value.contains(u']')) return u'[' + value + u']';
    return {};
}

QString unquotableMessage(const QString& value) {
    return QStringLiteral("The filter value ") + value +
           QStringLiteral(
               " holds \", ' and ] together and cannot be used. Please leave one "
               "of them out.");
}

QString FilterTerm(const QString& field, const QString& text, const FilterNotice& notice) {
    for (const Split& split : kSplits) {
        if (!text.contains(split.separator)) continue;
        QString out = QStringLiteral("(");
        const QStringList parts = text.split(split.separator);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            // Each part keeps its blanks: " Smith" asks for a leading blank.
            const QString term = FilterTerm(field, parts[i], notice);
            if (term.isEmpty()) return {};
            if (i > 0) out += QLatin1String(split.connective);
            out += u'(' + term + u')';
        }
        return out + u')';
    }

    QString op = QStringLiteral("=");
    QString value = text;
    for (const char* candidate : {">=", ">", "<=", "<", "$"}) {
        const QString c = QLatin1String(candidate);
        if (text.startsWith(c)) {
            op = c;
            value = text.mid(c.size());
            break;
        }
    }
    const QString literal = quoteLiteral(value.left(kMaxValue).toUpper());
    if (literal.isEmpty()) {
        if (notice) notice(unquotableMessage(value));
        return {};
    }
    if (op == u'$') return literal + QStringLiteral("$UPPER(") + field + u')';
    return QStringLiteral("UPPER(") + field + u')' + op + literal;
}

QString invalidDateMessage(const DateFormat& format) {
    return QStringLiteral("Invalid date. Must be in the format:") + format.shortFormat;
}

QString DateTerm(const QString& text, const DateFormat& format, const FilterNotice& notice) {
    QString op = QStringLiteral("=");
    QString value = text;
    if (text.startsWith(u'$') || text.startsWith(u'<') || text.startsWith(u'>')) {
        const qsizetype length = text.size() > 1 && text[1] == u'=' ? 2 : 1;
        op = text.left(length);
        value = text.mid(length);
    }
    // A date contained in a date is that date: "$" and "$=" both ask for equality.
    if (op.startsWith(u'$')) op = QStringLiteral("=");
    const auto date = parseDate(value, format);
    if (!date || *date == xb::kEmptyDate) {
        if (notice) notice(invalidDateMessage(format));
        return {};
    }
    return QStringLiteral("DTOS(DATE)") + op + u'"' + QString::fromStdString(xb::jdnToDtos(*date)) +
           u'"';
}

QString BuildFilterExpression(const QStringList& boxTexts, const DateFormat& format,
                              const FilterNotice& notice) {
    const QStringList& fields = filterFields();
    QString expression;
    QString joiner;
    for (qsizetype i = 0; i < fields.size() && i < boxTexts.size(); ++i) {
        const QString& text = boxTexts[i];
        if (blankOnly(text)) continue;
        const QString term =
            i == kDateBox ? DateTerm(text, format, notice) : FilterTerm(fields[i], text, notice);
        if (term.isEmpty()) continue;
        expression += joiner + term;
        joiner = QStringLiteral(" and ");
    }
    return expression;
}

}  // namespace qb
