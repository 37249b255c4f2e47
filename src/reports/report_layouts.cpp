// The contact report layouts and their cell texts.
#include "reports/report_layouts.h"

namespace qb::reports {

namespace {

QString leftTrimmed(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    return s.mid(i);
}

bool present(const QString& s) {
    return !s.trimmed().isEmpty();
}

QString middleInitial(const ReportFields& f) {
    return present(f.middle) ? f.middle + u'.' : QString();
}

QStringList wrapParagraph(const QString& text, double width,
                          const std::function<double(const QString&)>& measure) {
    QStringList lines;
    QString line;
    auto fits = [&](const QString& s) { return measure(s) <= width; };
    const QStringList words = text.split(u' ');
    for (qsizetype w = 0; w < words.size(); ++w) {
        QString word = words[w];
        const QString candidate = w == 0 ? word : line + u' ' + word;
        if (fits(candidate)) {
            line = candidate;
            continue;
        }
        if (w > 0) {
            lines << line;
            line.clear();
        }
        // A word wider than the band is broken between its characters.
        while (!word.isEmpty() && !fits(word)) {
            qsizetype n = 1;
            while (n < word.size() && fits(word.left(n + 1)))
                ++n;
            lines << word.left(n);
            word = word.mid(n);
        }
        line = word;
    }
    lines << line;
    return lines;
}

}  // namespace

const ReportLayout& reportLayout(int number) {
    static const std::array<ReportLayout, kLayoutCount> layouts = {{
        {1,
         QStringLiteral("1. Name,Address,City,State,Zip,Phone"),
         QStringLiteral("LNAME"),
         9,
         {1.75, 2.15, 2, 1.5},
         {QStringLiteral("Name"), QStringLiteral("Address"), QStringLiteral("City/St/Zip"),
          QStringLiteral("Phone")},
         QStringLiteral("LNAME")},
        {2,
         QStringLiteral("2. Name,Organization,Phone,Fax"),
         QStringLiteral("LNAME"),
         9,
         {2, 2.5, 1.5, 1.35},
         {QStringLiteral("Name"), QStringLiteral("Organization"), QStringLiteral("Phone"),
          QStringLiteral("Fax")},
         QStringLiteral("LNAME")},
        {3,
         QStringLiteral("3. Organization,Name,Phone,Fax "),
         QStringLiteral("ORG"),
         9,
         {2.5, 2, 1.5, 1.35},
         {QStringLiteral("Organization"), QStringLiteral("Name"), QStringLiteral("Phone"),
          QStringLiteral("Fax")},
         QStringLiteral("ORG")},
        {4,
         QStringLiteral("4. All fields (takes several lines)"),
         QStringLiteral("LNAME"),
         8,
         {0.5, 2.25, 3, 1.5},
         {},
         QString()},
    }};
    if (number < 1 || number > kLayoutCount) number = 1;
    return layouts[size_t(number - 1)];
}

QStringList reportListEntries() {
    QStringList entries;
    for (int n = 1; n <= kLayoutCount; ++n)
        entries << reportLayout(n).entry;
    return entries;
}

bool leavesOut(const ReportLayout& layout, const ReportFields& fields) {
    if (layout.keyField == u"LNAME") return !present(fields.lname);
    if (layout.keyField == u"ORG") return !present(fields.org);
    return false;
}

QString reportName(const ReportFields& f) {
    return leftTrimmed(f.lname + QStringLiteral(", ")) + leftTrimmed(f.fname + u' ') +
           leftTrimmed(middleInitial(f));
}

QString cityLineA(const ReportFields& f) {
    QString line;
    if (present(f.city)) line += f.city + QStringLiteral(", ");
    if (present(f.state)) line += f.state + QStringLiteral("  ");
    if (present(f.zip)) line += f.zip + u' ';
    return line;
}

QString layout4Name(const ReportFields& f) {
    if (!present(f.lname)) return {};
    QString name = leftTrimmed(f.lname) + QStringLiteral(", ");
    if (present(f.prefix) || present(f.fname)) name += f.prefix + u' ';
    return name + leftTrimmed(f.fname + u' ') + leftTrimmed(middleInitial(f));
}

QString titleAndOrg(const ReportFields& f) {
    if (!present(f.org)) return {};
    return present(f.title) ? f.title + QStringLiteral(", ") + f.org : f.org;
}

QString cityLineB(const ReportFields& f) {
    QString line = present(f.city) ? f.city : QString();
    if (present(f.state)) line += QStringLiteral(", ") + f.state;
    if (present(f.zip)) line += QStringLiteral(", ") + f.zip;
    return line;
}

QString phoneAndFax(const ReportFields& f) {
    QString line;
    if (present(f.phone)) line += QStringLiteral("Ph: ") + f.phone + QStringLiteral("  ");
    if (present(f.fax)) line += QStringLiteral("Fax: ") + f.fax + QStringLiteral("  ");
    return line;
}

QStringList wrapMemo(const QString& memo, double width,
                     const std::function<double(const QString&)>& measure) {
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    // A closing line break ends the last line; it does not open an empty one.
    if (text.endsWith(u'\n')) text.chop(1);
    QStringList lines;
    for (const QString& paragraph : text.split(u'\n'))
        lines += wrapParagraph(paragraph, width, measure);
    if (lines.size() == 1 && lines.front().trimmed().isEmpty()) lines.clear();
    return lines;
}

}  // namespace qb::reports
