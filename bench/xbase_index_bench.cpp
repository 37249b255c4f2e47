// Index speed on a million synthetic contacts: bulk build, a 21-tag compound index written
// in one pass, seeks, single-key maintenance and full cursor walks.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "xbase/file.h"
#include "xbase/index/index.h"
#include "xbase/keys.h"

namespace {

using namespace xb;
using namespace xb::index;

constexpr size_t kRecords = 1000000;

const char* kSurnames[] = {
    "SMITH",    "JOHNSON",   "WILLIAMS", "BROWN",       "JONES",    "GARCIA",   "MILLER",
    "DAVIS",    "RODRIGUEZ", "MARTINEZ", "HERNANDEZ",   "LOPEZ",    "GONZALEZ", "WILSON",
    "ANDERSON", "THOMAS",    "TAYLOR",   "MOORE",       "JACKSON",  "MARTIN",   "LEE",
    "PEREZ",    "THOMPSON",  "WHITE",    "HARRIS",      "SANCHEZ",  "CLARK",    "RAMIREZ",
    "LEWIS",    "ROBINSON",  "WALKER",   "YOUNG",       "ALLEN",    "KING",     "WRIGHT",
    "SCOTT",    "TORRES",    "NGUYEN",   "HILL",        "FLORES",   "GREEN",    "ADAMS",
    "NELSON",   "BAKER",     "HALL",     "RIVERA",      "CAMPBELL", "MITCHELL", "CARTER",
    "ROBERTS",  "M\xDCLLER", "O'BRIEN",  "VAN DER BERG"};
const char* kFirstNames[] = {
    "JAMES",   "MARY",      "ROBERT",  "PATRICIA", "JOHN",        "JENNIFER", "MICHAEL", "LINDA",
    "DAVID",   "ELIZABETH", "WILLIAM", "BARBARA",  "RICHARD",     "SUSAN",    "JOSEPH",  "JESSICA",
    "THOMAS",  "SARAH",     "CHARLES", "KAREN",    "CHRISTOPHER", "LISA",     "DANIEL",  "NANCY",
    "MATTHEW", "BETTY",     "ANTHONY", "MARGARET", "MARK",        "SANDRA",   "JOS\xC9", "ZO\xCB"};
const char* kCities[] = {"SPRINGFIELD", "RIVERSIDE", "FRANKLIN", "GREENVILLE", "BRISTOL",
                         "CLINTON",     "FAIRVIEW",  "SALEM",    "MADISON",    "GEORGETOWN",
                         "ARLINGTON",   "ASHLAND",   "DOVER",    "OXFORD",     "JACKSON",
                         "BURLINGTON",  "MANCHESTER"};
const char* kStates[] = {"NY", "CA", "TX", "FL", "IL", "PA", "OH", "GA", "NC", "MI", "NJ", "VA"};

template <size_t N>
const char* pick(const char* (&list)[N], std::mt19937& rng) {
    return list[rng() % N];
}

std::string padded(std::string s, int K) {
    s.resize(size_t(K), ' ');
    return s;
}

// One tag's entries, sorted.
struct TagData {
    TagParams tagParams;
    std::vector<uint8_t> keys;
    std::vector<uint32_t> recnos;
    SortedEntries view() const { return {keys.data(), recnos.data(), recnos.size()}; }
};

void sortEntries(TagData& t, const std::vector<uint8_t>& raw) {
    const size_t K = size_t(t.tagParams.keyLength);
    std::vector<uint32_t> order(kRecords);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        int c = std::memcmp(raw.data() + a * K, raw.data() + b * K, K);
        return c != 0 ? c < 0 : a < b;
    });
    t.keys.resize(kRecords * K);
    t.recnos.resize(kRecords);
    for (size_t i = 0; i < kRecords; ++i) {
        std::memcpy(t.keys.data() + i * K, raw.data() + size_t(order[i]) * K, K);
        t.recnos[i] = order[i] + 1;
    }
}

// A contact's field text for one tag, by tag number.
std::string fieldKey(int tag, std::mt19937& rng, uint32_t recno, const std::string& last,
                     const std::string& first, const std::string& state) {
    char buf[64];
    switch (tag) {
        case 0:
            return last + first;  // trimmed concatenation
        case 1:
            return padded(last, 30) + first;
        case 2:
            return first;
        case 3:
            return rng() % 3 ? "" : "MANAGER";
        case 4:
            return "ACME " + std::string(pick(kSurnames, rng)) + " INC";
        case 5:
            std::snprintf(buf, sizeof buf, "%u %s STREET", unsigned(rng() % 9999),
                          pick(kCities, rng));
            return buf;
        case 6:
            return padded(pick(kCities, rng), 30) + state;
        case 7:
            return state;
        case 8:
            std::snprintf(buf, sizeof buf, "%05u", unsigned(rng() % 100000));
            return buf;
        case 9:
            return rng() % 5 ? "USA" : "CANADA";
        case 10:
        case 12:
            std::snprintf(buf, sizeof buf, "(%03u) %03u-%04u", unsigned(rng() % 1000),
                          unsigned(rng() % 1000), unsigned(rng() % 10000));
            return buf;
        case 11:
            return first + "." + last + "@EXAMPLE.COM";
        case 13:
            std::snprintf(buf, sizeof buf, "%04u%02u%02u", 1990 + unsigned(rng() % 35),
                          1 + unsigned(rng() % 12), 1 + unsigned(rng() % 28));
            return buf;
        case 14:
            return rng() % 4 ? "" : "CALL BACK";
        case 15:
            return rng() % 2 ? "MR" : "MS";
        case 16:
            return std::string(1, char('A' + rng() % 26));
        case 17:
            return rng() % 10 ? "F" : "T";
        case 19:
            std::snprintf(buf, sizeof buf, "%6u", unsigned(recno % 999999));
            return std::string(buf) + padded(state, 20) + "12345";
        case 20:
            return state + "12345";
        default:
            return "";
    }
}

struct ContactTag {
    const char* name;
    const char* expr;
    int K;
};
const ContactTag kTags[] = {
    {"NAME", "UPPER(LNAME-FNAME)", 60},
    {"LNAME", "UPPER(LNAME)+UPPER(FNAME)", 60},
    {"FNAME", "UPPER(FNAME)", 30},
    {"TITLE", "UPPER(TITLE)", 30},
    {"ORG", "UPPER(ORG)", 30},
    {"STREET", "UPPER(STREET)", 30},
    {"CITY", "UPPER(CITY+STATE)", 50},
    {"STATE", "UPPER(STATE)", 20},
    {"ZIP", "UPPER(ZIP)", 10},
    {"COUNTRY", "UPPER(COUNTRY)", 30},
    {"PHONE", "UPPER(PHONE)", 30},
    {"EMAIL", "UPPER(EMAIL)", 30},
    {"FAX", "UPPER(FAX)", 30},
    {"DATE", "DTOS(DATE)", 8},
    {"NOTES", "UPPER(NOTES)", 30},
    {"PREFIX", "UPPER(PREFIX)", 12},
    {"MIDDLE", "UPPER(MIDDLE)", 1},
    {"DELETED", "DELETED()", 1},
    {"JUSTSEQNO", "SEQNO", 8},
    {"SEQNO", "STR(SEQNO,6,0)+STATE+ZIP", 36},
    {"STATEZIP", "UPPER(STATE-ZIP)", 30},
};

// One tag of a million contacts, generated from its own seed and sorted.
TagData makeTag(int t) {
    TagData out;
    out.tagParams = {kTags[t].name,
                   kTags[t].expr,
                   "",
                   kTags[t].K,
                   t == 18 ? KeyKind::Binary : KeyKind::Character,
                   false,
                   false};
    const size_t K = size_t(kTags[t].K);
    std::vector<uint8_t> raw(kRecords * K);
    std::mt19937 rng(2024 + unsigned(t));
    for (uint32_t r = 0; r < kRecords; ++r) {
        uint8_t* dst = raw.data() + size_t(r) * K;
        if (t == 18) {
            encodeNumericKey(double(int(rng() % 200000) - 999), dst);
            continue;
        }
        std::string last = pick(kSurnames, rng), first = pick(kFirstNames, rng);
        if (rng() % 2) last += char('A' + rng() % 26);  // more distinct names
        std::string state = pick(kStates, rng);
        std::string k = padded(fieldKey(t, rng, r + 1, last, first, state), int(K));
        std::memcpy(dst, k.data(), K);
    }
    sortEntries(out, raw);
    return out;
}

const std::vector<TagData>& contactTags() {
    static std::vector<TagData> tags = [] {
        std::vector<TagData> out;
        for (int t = 0; t < 21; ++t)
            out.push_back(makeTag(t));
        return out;
    }();
    return tags;
}

const TagData& lnameTag() {
    static TagData t = makeTag(1);
    return t;
}

std::string scratch(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("qb-bench-" + std::to_string(getpid()) + "-" + name))
        .string();
}

void BM_BulkBuildK60(benchmark::State& state) {
    const TagData& t = lnameTag();
    std::string path = scratch("bulk.idx");
    for (auto _ : state) {
        auto idx = IdxFile::build(File::open(path, OpenMode::CreateNew, LockMode::None), t.tagParams,
                                  t.view());
        benchmark::DoNotOptimize(idx.get());
    }
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kRecords));
    std::filesystem::remove(path);
}
BENCHMARK(BM_BulkBuildK60)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_CdxWriter21Tags(benchmark::State& state) {
    const std::vector<TagData>& tags = contactTags();
    std::string path = scratch("all.cdx");
    for (auto _ : state) {
        auto w = CdxWriter::create(File::open(path, OpenMode::CreateNew, LockMode::None));
        for (const TagData& t : tags)
            w->addTag(t.tagParams, t.view());
        w->finish();
    }
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kRecords) * 21);
    std::filesystem::remove(path);
}
BENCHMARK(BM_CdxWriter21Tags)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// An opened million-entry K = 60 index shared by the seek, maintenance and walk benchmarks.
struct OpenIndex {
    std::string path = scratch("seek.idx");
    std::unique_ptr<IdxFile> idx;
    OpenIndex() {
        IdxFile::build(File::open(path, OpenMode::CreateNew, LockMode::None), lnameTag().tagParams,
                       lnameTag().view());
        idx = IdxFile::open(File::open(path, OpenMode::ReadWrite, LockMode::None),
                            KeyKind::Character);
    }
    ~OpenIndex() { std::filesystem::remove(path); }
};
OpenIndex& openIndex() {
    static OpenIndex o;
    return o;
}

void BM_SeekK60(benchmark::State& state) {
    const TagData& t = lnameTag();
    Tag& tag = openIndex().idx->tag();
    auto cur = tag.cursor();
    std::mt19937 rng(5);
    std::vector<size_t> probes(4096);
    for (size_t& p : probes)
        p = rng() % kRecords;
    size_t i = 0, found = 0;
    for (auto _ : state) {
        const uint8_t* key = t.keys.data() + probes[i++ & 4095] * 60;
        found += cur->seek(key, 60);
    }
    benchmark::DoNotOptimize(found);
}
BENCHMARK(BM_SeekK60)->Unit(benchmark::kMicrosecond);

// One insert of a new name and one erase of it: the cost of changing one record's key.
void BM_InsertEraseK60(benchmark::State& state) {
    Tag& tag = openIndex().idx->tag();
    std::mt19937 rng(8);
    std::vector<std::string> keys;
    for (int i = 0; i < 4096; ++i)
        keys.push_back(padded(padded(pick(kSurnames, rng), 30) + pick(kFirstNames, rng) + "X", 60));
    size_t i = 0;
    uint32_t recno = uint32_t(kRecords) + 1;
    for (auto _ : state) {
        const std::string& k = keys[i++ & 4095];
        tag.insert(reinterpret_cast<const uint8_t*>(k.data()), recno);
        tag.erase(reinterpret_cast<const uint8_t*>(k.data()), recno);
        ++recno;
    }
    openIndex().idx->flush();
}
BENCHMARK(BM_InsertEraseK60)->Unit(benchmark::kMicrosecond);

void BM_CursorWalkK60(benchmark::State& state) {
    Tag& tag = openIndex().idx->tag();
    auto cur = tag.cursor();
    size_t n = 0;
    for (auto _ : state) {
        n = 0;
        for (bool ok = cur->first(); ok; ok = cur->next())
            ++n;
    }
    state.counters["entries"] = double(n);
}
BENCHMARK(BM_CursorWalkK60)->Unit(benchmark::kMillisecond);

}  // namespace
