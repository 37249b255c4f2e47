// Sampling a comma-delimited file and appending its records as contacts.
#include "import/ascii_import.h"

#include <QFile>
#include <QRegularExpression>

#include <unordered_map>

#include "import/page_text.h"
#include "store/date_format.h"
#include "xbase/error.h"

namespace qb::import {

namespace {

std::string utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

// Opens and looks over the file; the encoding to read it in, or a problem.
QString openText(QFile& file, TextEncoding& encoding) {
    if (!file.open(QIODevice::ReadOnly))
        return QString::fromLatin1(kUnableToImport) + u'\n' + file.errorString();
    const CsvInspection look = inspectCsv(file);
    if (!look.problem.isEmpty()) return QString::fromLatin1(kUnableToImport) + u'\n' + look.problem;
    if (encoding == TextEncoding::Auto) encoding = look.encoding;
    file.seek(0);
    return {};
}

// A date as the user types it in the format in force, or as yyyy-mm-dd.
std::optional<xb::Jdn> importedDate(const QString& text) {
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const QRegularExpressionMatch m = iso.match(text);
    if (m.hasMatch()) {
        const xb::Jdn jdn =
            xb::jdnFromYmd(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (jdn != xb::kEmptyDate) return jdn;
        return std::nullopt;
    }
    const auto parsed = parseDate(text);
    if (parsed && *parsed != xb::kEmptyDate) return parsed;
    return std::nullopt;
}

// What is stored for one matched value: the contact field and the text.
struct Target {
    int position;   // of the value in a record, from 0
    QString field;  // contact field; MEMO and DATE are handled apart
    std::string name;
};

std::vector<Target> targetsOf(const QStringList& matches) {
    std::vector<Target> targets;
    for (int i = 0; i < matches.size() && i < kMaxImportFields; ++i) {
        const QString field = contactFieldOf(matches[i]);
        if (!field.isEmpty()) targets.push_back({i, field, utf8(field)});
    }
    return targets;
}

}  // namespace

const std::vector<MatchButton>& asciiMatchButtons() {
    static const std::vector<MatchButton> buttons = {
        {"None", "(none)", ""},
        {"Prefix", "Prefix", "PREFIX"},
        {"First", "First", "FNAME"},
        {"Last", "Last", "LNAME"},
        {"Middle", "Middle", "MIDDLE"},
        {"Title", "Title", "TITLE"},
        {"Organization", "Organization", "ORG"},
        {"Street", "Street", "STREET"},
        {"City", "City", "CITY"},
        {"State", "State/Province", "STATE"},
        {"Zip", "Zip/Post Code", "ZIP"},
        {"Country", "Country", "COUNTRY"},
        {"Phone", "Phone", "PHONE"},
        {"Fax", "Fax", "FAX"},
        {"Email", "E-Mail", "EMAIL"},
        {"Codes", "Codes", "NOTES"},
        {"Memo", "Memo", "MEMO"},
        // Copy out writes the date, so a list must be able to take it back.
        {"Date", "Date", "DATE"},
    };
    return buttons;
}

QString contactFieldOf(const QString& caption) {
    for (const MatchButton& b : asciiMatchButtons())
        if (caption == QLatin1String(b.caption)) return QLatin1String(b.field);
    return {};
}

QStringList copyOutMatches() {
    return {"Prefix", "First", "Middle",         "Last",          "Title",   "Organization",
            "Street", "City",  "State/Province", "Zip/Post Code", "Country", "Phone",
            "E-Mail", "Fax",   "Date",           "Codes"};
}

AsciiSample sampleAsciiFile(const QString& path, TextEncoding encoding) {
    AsciiSample sample;
    QFile file(path);
    sample.problem = openText(file, encoding);
    if (!sample.problem.isEmpty()) return sample;
    sample.encoding = encoding;
    CsvReader reader(file, encoding);
    QStringList values;
    while (sample.lines.size() < 10 && reader.next(values)) {
        if (sample.lines.empty())
            sample.fieldCount = int(std::min<qsizetype>(values.size(), kMaxImportFields));
        sample.maxLength.resize(size_t(sample.fieldCount), 0);
        for (int i = 0; i < sample.fieldCount && i < values.size(); ++i)
            sample.maxLength[size_t(i)] =
                std::max(sample.maxLength[size_t(i)], int(values[i].size()));
        sample.lines.push_back(values);
    }
    if (!reader.problem().isEmpty() || sample.lines.empty()) {
        sample.problem = QString::fromLatin1(kUnableToImport);
        if (!reader.problem().isEmpty()) sample.problem += u'\n' + reader.problem();
        sample.fieldCount = 0;
        sample.lines.clear();
    }
    return sample;
}

void dropProductionIndex(xb::WorkArea& contacts) {
    contacts.dropProductionIndex();
}

ImportResult importAsciiFile(xb::WorkArea& contacts, const QString& path, TextEncoding encoding,
                             const QStringList& matches, const ImportObserver& observer) {
    ImportResult result;
    auto status = [&](const QString& s) {
        if (observer.status) observer.status(s);
    };
    QFile file(path);
    result.error = openText(file, encoding);
    if (!result.error.isEmpty()) return result;
    const std::vector<Target> targets = targetsOf(matches);
    const xb::CodePage& page = contacts.codePage();
    const PageText text = encoding == TextEncoding::Utf8
                              ? PageText(page)
                              : PageText(xb::CodePage::windows1252(), page);
    // Each target's field, looked up once: its number for a character field, 0 for the memo,
    // -1 for a field whose type takes text another way.
    std::vector<int> numbers;
    for (const Target& t : targets) {
        const int number = contacts.fieldNumber(t.name);
        const bool memo = t.field == QLatin1String("MEMO");
        numbers.push_back(memo                                               ? 0
                          : number == 0 || contacts.fieldType(t.name) != 'C' ? -1
                                                                             : number);
    }

    // Counting, and finding the first character the file cannot store, before any write.
    status(QStringLiteral("Counting total lines"));
    qint64 total = 0;
    QString firstBad;
    std::vector<std::string> values;
    std::string converted;
    {
        CsvReader reader(file, encoding);
        const bool check = !text.holdsEverything();
        while (reader.nextBytes(values)) {
            ++total;
            if (!check || !firstBad.isEmpty()) continue;
            for (const Target& t : targets) {
                if (size_t(t.position) >= values.size()) continue;
                char32_t bad = 0;
                if (text.convert(text.trimmed(values[size_t(t.position)]), converted, false, bad))
                    continue;
                firstBad = QStringLiteral(
                               "Line %1, field %2 holds the character \"%3\", which this "
                               "contact file cannot store.\r\nImport with each such character "
                               "replaced by \"?\"? No imports nothing.")
                               .arg(reader.line())
                               .arg(t.position + 1)
                               .arg(QString::fromUcs4(&bad, 1));
                break;
            }
        }
        if (!reader.problem().isEmpty()) {
            result.error = QString::fromLatin1(kUnableToImport) + u'\n' + reader.problem();
            return result;
        }
    }
    const bool replace = !firstBad.isEmpty();
    if (replace && !(observer.replaceUnholdable && observer.replaceUnholdable(firstBad))) {
        result.declined = true;
        return result;
    }

    status(QStringLiteral("Importing records"));
    file.seek(0);
    CsvReader reader(file, encoding);
    // Dates repeat across a list: each distinct text is read once.
    std::unordered_map<std::string, xb::Jdn> dates;
    std::string memo;
    int shown = -1;
    try {
        dropProductionIndex(contacts);
        result.indexDropped = true;
        while (reader.nextBytes(values)) {
            contacts.append();
            memo.clear();
            for (size_t k = 0; k < targets.size(); ++k) {
                const Target& t = targets[k];
                if (size_t(t.position) >= values.size()) continue;
                const std::string_view value = text.trimmed(values[size_t(t.position)]);
                if (value.empty()) continue;
                char32_t bad = 0;
                if (t.field == QLatin1String("DATE")) {
                    auto found = dates.find(std::string(value));
                    if (found == dates.end()) {
                        if (dates.size() > 100000) dates.clear();
                        const QString dateText =
                            encoding == TextEncoding::Utf8
                                ? QString::fromUtf8(value.data(), qsizetype(value.size()))
                                : QString::fromLatin1(value.data(), qsizetype(value.size()));
                        found = dates
                                    .emplace(std::string(value),
                                             importedDate(dateText).value_or(xb::kEmptyDate))
                                    .first;
                    }
                    if (found->second != xb::kEmptyDate)
                        contacts.putDate("DATE", found->second);
                    else
                        ++result.badDates;
                    continue;
                }
                if (!text.convert(value, converted, replace, bad))
                    throw xb::Error(xb::ErrorCode::CodePage,
                                    "A value holds a character the contact file cannot store");
                if (numbers[k] == 0) {
                    if (!memo.empty()) memo += "\r\n";
                    memo += converted;
                } else if (numbers[k] < 0) {
                    contacts.putText(t.name, page.toUtf8(converted));
                } else {
                    contacts.putRaw(numbers[k], converted);
                }
            }
            if (!memo.empty()) contacts.replace("MEMO", page.toUtf8(memo));
            contacts.post();
            ++result.imported;
            const int percent = total ? int(result.imported * 100 / total) : 100;
            if (percent != shown && observer.gauge) observer.gauge(percent);
            shown = percent;
            if (observer.cancelRequested && observer.cancelRequested()) {
                result.cancelled = true;
                break;
            }
        }
        if (!reader.problem().isEmpty()) result.error = reader.problem();
    } catch (const xb::Error& e) {
        // The record being built is dropped; those posted before stay.
        try {
            if (contacts.appending()) contacts.cancel();
        } catch (const xb::Error&) {
        }
        result.error = QString::fromUtf8(e.what());
    }
    status({});
    return result;
}

QString importOutcomeMessage(const ImportResult& result) {
    QString text = result.cancelled ? QStringLiteral("Import cancelled after importing %1 records.")
                                    : QStringLiteral("Import complete. Imported %1 records.");
    text = text.arg(result.imported);
    if (result.badDates > 0)
        text += QStringLiteral("\r\n%1 %2 not a date and left empty.")
                    .arg(result.badDates)
                    .arg(result.badDates == 1 ? QStringLiteral("value was")
                                              : QStringLiteral("values were"));
    return text;
}

}  // namespace qb::import
