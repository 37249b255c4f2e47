// Showing and reading dates in the user's chosen picture, and turning the stored edit mask
// into what the date entry box needs.
#include "store/date_format.h"

#include <QDate>
#include <QLocale>

namespace qb {
namespace {

DateFormat& formatInForce() {
    static DateFormat format;
    return format;
}

// How far a two-digit year may lie from this year.
constexpr int kCenturyWindow = 50;

enum class Order { MDY, DMY, YMD };

Order orderOf(const QString& picture) {
    for (const QChar c : picture) {
        const QChar l = c.toLower();
        if (l == u'd') return Order::DMY;
        if (l == u'm') return Order::MDY;
        if (l == u'y') return Order::YMD;
    }
    return Order::MDY;
}

struct Number {
    int value = 0;
    int digits = 0;
};

}  // namespace

const DateFormat& currentDateFormat() {
    return formatInForce();
}

void setCurrentDateFormat(const DateFormat& format) {
    formatInForce() = format;
}

QString formatDate(xb::Jdn date, const DateFormat& format) {
    if (date == xb::kEmptyDate) return {};
    int y = 0, m = 0, d = 0;
    xb::ymdFromJdn(date, y, m, d);
    const QLocale c = QLocale::c();
    const QString& pic = format.shortFormat;
    QString out;
    for (qsizetype i = 0; i < pic.size();) {
        const QChar ch = pic[i];
        const QChar l = ch.toLower();
        qsizetype run = 1;
        while (i + run < pic.size() && pic[i + run].toLower() == l)
            ++run;
        if (l == u'd') {
            if (run == 1)
                out += QString::number(d);
            else if (run == 2)
                out += QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0'));
            else {
                const int weekday = QDate(y, m, d).dayOfWeek();
                out += c.dayName(weekday, run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            }
        } else if (l == u'm') {
            if (run == 1)
                out += QString::number(m);
            else if (run == 2)
                out += QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
            else
                out += c.monthName(m, run == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        } else if (l == u'y') {
            if (run <= 2)
                out += QStringLiteral("%1").arg(y % 100, 2, 10, QLatin1Char('0'));
            else
                out += QStringLiteral("%1").arg(y, 4, 10, QLatin1Char('0'));
        } else if (ch == u'/') {
            out += QString(run, format.separator);
        } else {
            out += pic.mid(i, run);
        }
        i += run;
    }
    return out;
}

std::optional<xb::Jdn> parseDate(const QString& text, const DateFormat& format) {
    const QString t = text.trimmed();
    // An untouched date box holds only its separators.
    bool blank = true;
    for (const QChar c : t)
        blank = blank && (c == u' ' || c == format.separator);
    if (blank) return xb::kEmptyDate;
    Number numbers[3];
    int count = 0;
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < t.size() && t[i] == u' ')
            ++i;
    };
    while (count < 3) {
        skipBlanks();
        Number n;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9' && n.digits < 4) {
            n.value = n.value * 10 + (t[i].unicode() - '0');
            ++n.digits;
            ++i;
        }
        if (n.digits == 0) return std::nullopt;
        numbers[count++] = n;
        skipBlanks();
        if (i >= t.size()) break;
        if (t[i] != format.separator || count == 3) return std::nullopt;
        ++i;
    }
    if (i < t.size() || count < 2) return std::nullopt;

    const int thisYear = QDate::currentDate().year();
    int y = 0, m = 0, d = 0;
    Number year;
    const Order order = orderOf(format.shortFormat);
    if (count == 2) {
        year = Number{thisYear, 4};
        if (order == Order::DMY) {
            d = numbers[0].value;
            m = numbers[1].value;
        } else {
            m = numbers[0].value;
            d = numbers[1].value;
        }
    } else if (order == Order::MDY) {
        m = numbers[0].value;
        d = numbers[1].value;
        year = numbers[2];
    } else if (order == Order::DMY) {
        d = numbers[0].value;
        m = numbers[1].value;
        year = numbers[2];
    } else {
        year = numbers[0];
        m = numbers[1].value;
        d = numbers[2].value;
    }
    y = year.value;
    if (year.digits <= 2) {
        const int base = thisYear - kCenturyWindow;
        y += base / 100 * 100;
        if (y < base) y += 100;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return std::nullopt;
    const xb::Jdn jdn = xb::jdnFromYmd(y, m, d);
    if (jdn == xb::kEmptyDate) return std::nullopt;
    return jdn;
}

QString qtInputMask(const QString& editMask) {
    QString body = editMask;
    if (body.startsWith(u'!')) body.remove(0, 1);
    const qsizetype semi = body.indexOf(u';');
    if (semi >= 0) body.truncate(semi);
    QString mask;
    for (const QChar c : body) {
        if (c == u'9')
            mask += u'0';  // an optional digit
        else if (c == u'0')
            mask += u'9';  // a required digit
        else if (QStringLiteral("AaNnXxDdHhBb#><!\\[]{};").contains(c))
            mask += u'\\' + QString(c);
        else
            mask += c;
    }
    return mask + u';' + maskBlankChar(editMask);
}

QChar maskBlankChar(const QString& editMask) {
    const qsizetype last = editMask.lastIndexOf(u';');
    // "!99/99/99;1;" names no blank character; one field alone ("!99;1") neither.
    if (last < 0 || editMask.count(u';') < 2 || last + 1 >= editMask.size()) return u' ';
    return editMask[last + 1];
}

QString blankDateText(const QString& editMask) {
    if (!editMask.startsWith(u'!')) return {};
    QString body = editMask.mid(1);
    const qsizetype semi = body.indexOf(u';');
    if (semi >= 0) body.truncate(semi);
    body.replace(u'0', u' ').replace(u'9', u' ');
    return body;
}

}  // namespace qb
