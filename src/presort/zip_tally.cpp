// Counting ZIP keys for the count report.
#include "presort/zip_tally.h"

#include <QLocale>
#include <algorithm>

#include "presort/zip_key.h"

namespace qb::presort {

namespace {

std::vector<ZipTally::Entry> sorted(const std::unordered_map<std::string, uint64_t>& map) {
    std::vector<ZipTally::Entry> out;
    out.reserve(map.size());
    for (const auto& [key, tally] : map)
        out.push_back({key, tally});
    // Byte order of UTF-8 is character-code order.
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
    return out;
}

int charCount(std::string_view utf8) {
    int n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// Puts the order and the record back, and fast reading off, however the count ends.
class PositionRestorer {
  public:
    explicit PositionRestorer(xb::WorkArea& area)
        : area_(area), order_(area.indexOrd()), record_(area.eof() ? 0 : area.recNo()) {}
    ~PositionRestorer() {
        try {
            area_.setFastRead(false);
            area_.setOrder(order_);
            if (record_ > 0) area_.go(record_);
        } catch (...) {
            // A table that fails here has already failed the count, which tells the user.
        }
    }
    PositionRestorer(const PositionRestorer&) = delete;
    PositionRestorer& operator=(const PositionRestorer&) = delete;

  private:
    xb::WorkArea& area_;
    int order_;
    uint32_t record_;
};

}  // namespace

ZipKeyKind zipKeyKind(std::string_view zip) {
    const std::string_view key = zipKey(zip);
    if (key.empty()) return ZipKeyKind::Blank;
    if (charCount(key) == 5 && keyQualifies(key)) return ZipKeyKind::Valid;
    return ZipKeyKind::Other;
}

QString formatTally(uint64_t tally) {
    const QString digits = QString::number(tally);
    const QString separator = QLocale::system().groupSeparator();
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out.trimmed();
}

QString zipReportLine(const QString& key, uint64_t tally) {
    return key.left(10).leftJustified(10, u' ') + formatTally(tally);
}

void ZipTally::add(std::string_view zip) {
    switch (zipKeyKind(zip)) {
        case ZipKeyKind::Blank:
            ++blanks_;
            break;
        case ZipKeyKind::Valid:
            ++valid_[std::string(zipKey(zip))];
            break;
        case ZipKeyKind::Other:
            ++others_[std::string(zipKey(zip))];
            break;
    }
}

std::vector<ZipTally::Entry> ZipTally::validEntries() const {
    // One list per first digit, each ascending, is the same as all valid keys ascending.
    return sorted(valid_);
}

std::vector<ZipTally::Entry> ZipTally::otherEntries() const {
    return sorted(others_);
}

QStringList ZipTally::reportLines() const {
    QStringList lines;
    for (const Entry& e : validEntries())
        lines << zipReportLine(QString::fromStdString(e.key), e.tally);
    lines << QString() << QString();
    for (const Entry& e : otherEntries())
        lines << zipReportLine(QString::fromStdString(e.key), e.tally);
    if (blanks_ > 0) lines << zipReportLine(QString::fromLatin1(kBlankZipKey), blanks_);
    return lines;
}

std::optional<ZipTally> countZipCodes(xb::WorkArea& contacts, PresortObserver& observer) {
    PositionRestorer restore(contacts);
    contacts.setOrder(0);
    contacts.setFastRead(true);
    contacts.first();
    observer.showProgress(QString::fromLatin1(kReadingRecordsText));
    ZipTally tally;
    while (!contacts.eof()) {
        tally.add(contacts.getText("ZIP"));
        contacts.skip();
        const uint32_t recno = contacts.recNo();
        if (recno % 100 == 0)
            observer.showProgress(QString::fromLatin1(kReadingRecordPrefix) +
                                  QString::number(recno));
        observer.letPendingEventsRun();
        if (observer.cancelRequested()) return std::nullopt;
    }
    contacts.setFastRead(false);
    observer.showProgress(QString::fromLatin1(kSortingText));
    return tally;
}

}  // namespace qb::presort
