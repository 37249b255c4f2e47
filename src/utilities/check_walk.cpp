// The state and ZIP rule, the duplicate walk and the temporary check index.
#include "utilities/check_walk.h"

#include <QFile>
#include <algorithm>
#include <string_view>

namespace qb::utilities {
namespace {

std::string trimmedRight(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::string upperKey(const QString& s) {
    return trimmedRight(s.toUpper().toStdString());
}

// The first n characters (not bytes) of UTF-8 text.
std::string leadingChars(const std::string& s, int n) {
    size_t at = 0;
    for (int k = 0; k < n && at < s.size(); ++k) {
        ++at;
        while (at < s.size() && (uint8_t(s[at]) & 0xC0) == 0x80)
            ++at;
    }
    return s.substr(0, at);
}

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Switches fast reading on for a walk in record order and off again however it ends.
class FastReading {
  public:
    explicit FastReading(xb::WorkArea& area) : area_(area) { area_.setFastRead(true); }
    ~FastReading() { area_.setFastRead(false); }
    FastReading(const FastReading&) = delete;
    FastReading& operator=(const FastReading&) = delete;

  private:
    xb::WorkArea& area_;
};

}  // namespace

int gaugePercent(uint32_t done, uint32_t total) {
    if (total == 0) return 0;
    const int p = int(uint64_t(done) * 100 / total);
    return p > 0 && p < 100 ? p : 0;
}

// ---- State and ZIP ---------------------------------------------------------------------

void StateRanges::add(const QString& state, const QString& low, const QString& high) {
    ranges_.try_emplace(upperKey(state), ZipRange{trimmedRight(low.toStdString()),
                                                  trimmedRight(high.toStdString())});
}

const ZipRange* StateRanges::find(const std::string& state) const {
    auto it = ranges_.find(trimmedRight(state));
    return it == ranges_.end() ? nullptr : &it->second;
}

StateRanges StateRanges::read(const std::string& path) {
    xb::WorkArea table;
    table.use(path, xb::UseMode::Exclusive);
    if (table.tagArea("STATE") == 0)
        table.indexTag("", {"STATE", "UPPER(STATE)", "", false, false});
    table.setOrder(table.tagArea("STATE"));
    StateRanges ranges;
    for (table.first(); !table.eof(); table.skip(1)) {
        if (table.deleted()) continue;
        ranges.add(QString::fromStdString(table.getText("STATE")),
                   QString::fromStdString(table.getText("LOW_ZIP")),
                   QString::fromStdString(table.getText("HIGH_ZIP")));
    }
    return ranges;
}

bool zipOutside(const std::string& zip, const ZipRange& range) {
    if (zip.compare(0, range.low.size(), range.low) < 0) return true;
    return zip.compare(0, range.high.size(), range.high) > 0;
}

bool questionableStateZip(const std::string& state, const std::string& zip,
                          const StateRanges& ranges, bool includeBlanks) {
    if (!includeBlanks && (state.empty() || zip.empty())) return false;
    const ZipRange* range = ranges.find(state);
    return !range || zipOutside(zip, *range);
}

std::vector<uint32_t> findQuestionable(xb::WorkArea& contacts, const StateRanges& ranges,
                                       bool includeBlanks, const WalkStep& step) {
    std::vector<uint32_t> found;
    contacts.setOrder(0);
    const uint32_t total = contacts.queryRecCount();
    FastReading fast(contacts);
    uint32_t done = 0;
    for (contacts.first(); !contacts.eof(); contacts.skip(1)) {
        ++done;
        if (!contacts.deleted() &&
            questionableStateZip(contacts.getText("STATE"), contacts.getText("ZIP"), ranges,
                                 includeBlanks))
            found.push_back(contacts.recNo());
        if (step && !step(done, total, int(found.size()))) break;
    }
    return found;
}

// ---- Duplicates --------------------------------------------------------------------------

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
    return true;
}

namespace {

// The value a record is compared by, or "" when the record takes no part.
std::string dupValue(const xb::WorkArea& contacts, DupKind kind, int chars) {
    if (kind == DupKind::Street) return leadingChars(contacts.getText("STREET"), chars);
    std::string last = contacts.getText("LNAME");
    if (last.empty()) return last;
    const std::string first = contacts.getText("FNAME");
    return last + (kind == DupKind::Initial ? leadingChars(first, 1) : first);
}

// Pairs each participating record with the last participating record before it.
class DupPairing {
  public:
    void next(uint32_t record, std::string_view value) {
        if (value.empty()) return;
        if (previousRecord_ != 0 && sameIgnoringAsciiCase(value, previous_)) {
            // The partner is the record whose values were kept, not simply the one before: a
            // record taking no part may lie between the two.
            if (out.records.empty() || out.records.back() != previousRecord_)
                out.records.push_back(previousRecord_);
            out.records.push_back(record);
            ++out.pairs;
        }
        previous_.assign(value);
        previousRecord_ = record;
    }
    DupFindings out;

  private:
    std::string previous_;
    uint32_t previousRecord_ = 0;
};

}  // namespace

DupFindings findDuplicates(xb::WorkArea& contacts, DupKind kind, int chars, const WalkStep& step) {
    chars = std::clamp(chars, 1, 30);
    const int order = contacts.tagArea(kind == DupKind::Street ? "STREET" : "NAME");
    // Following the order record by record reads the table at random; instead each selected
    // record's value is gathered in one pass in record order (read ahead in large blocks),
    // and the order's entries alone then give the sequence to compare in.
    contacts.setOrder(0);
    const uint32_t total = contacts.queryRecCount();
    const uint32_t n = contacts.recCount();
    std::string values;
    std::vector<uint32_t> begin(size_t(n) + 2, 0);  // record r's value: begin[r] to begin[r+1]
    uint32_t filled = 0;
    uint32_t done = 0;
    bool stopped = false;
    {
        FastReading fast(contacts);
        for (contacts.first(); !contacts.eof(); contacts.skip(1)) {
            const uint32_t r = contacts.recNo();
            while (filled < r)
                begin[++filled] = uint32_t(values.size());
            if (!contacts.deleted()) values += dupValue(contacts, kind, chars);
            ++done;
            if (step && !step(done, total, 0)) {
                stopped = true;
                break;
            }
        }
    }
    while (filled <= n)
        begin[++filled] = uint32_t(values.size());
    const auto valueOf = [&](uint32_t r) {
        return std::string_view(values).substr(begin[r], begin[r + 1] - begin[r]);
    };
    DupPairing pairing;
    if (!stopped) {
        if (order > 0) {
            contacts.scanOrder(order, [&](uint32_t r, std::string_view) {
                if (r >= 1 && r <= n) pairing.next(r, valueOf(r));
            });
        } else {
            for (uint32_t r = 1; r <= n; ++r)
                pairing.next(r, valueOf(r));
        }
    }
    contacts.setOrder(order);
    if (step && !stopped) step(total, total, pairing.out.pairs);
    return std::move(pairing.out);
}

// ---- The temporary check index -------------------------------------------------------------

std::string dupIndexKey(DupKind kind) {
    return kind == DupKind::Street ? "upper(STREET)" : "upper(LNAME-FNAME)";
}

int fillCheckIndex(xb::WorkArea& contacts, const std::string& path, const std::string& key,
                   const std::vector<uint32_t>& records) {
    QFile::remove(QString::fromStdString(path));
    const int order = contacts.indexRecords(path, {"", key, "", false, false}, records);
    contacts.setOrder(order);
    return order;
}

}  // namespace qb::utilities
