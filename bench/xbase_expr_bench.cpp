// Expression speed on synthetic contact records: building the 21 tag keys and evaluating the
// deletion filter alone and with a name term, as index builds and record counts do.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "xbase/codepage.h"
#include "xbase/expr/expression.h"

namespace {

using namespace xb;

const char* const kTagExpressions[] = {
    "UPPER(LNAME-FNAME)",
    "UPPER(LNAME)+UPPER(FNAME)",
    "UPPER(FNAME)",
    "UPPER(TITLE)",
    "UPPER(ORG)",
    "UPPER(STREET)",
    "UPPER(CITY+STATE)",
    "UPPER(STATE)",
    "UPPER(ZIP)",
    "UPPER(COUNTRY)",
    "UPPER(PHONE)",
    "UPPER(EMAIL)",
    "UPPER(FAX)",
    "DTOS(DATE)",
    "UPPER(NOTES)",
    "UPPER(PREFIX)",
    "UPPER(MIDDLE)",
    "DELETED()",
    "SEQNO",
    "STR(SEQNO,6,0)+STATE+ZIP",
    "UPPER(STATE-ZIP)",
};
constexpr int kTagCount = int(sizeof kTagExpressions / sizeof kTagExpressions[0]);

struct Contacts {
    FieldList fields;
    int recLen = 0;
    std::vector<uint8_t> bytes;
    int count = 0;

    const uint8_t* record(int i) const { return bytes.data() + size_t(i) * size_t(recLen); }
};

const Contacts& contacts() {
    static const Contacts c = [] {
        struct Def {
            const char* name;
            char type;
            int width;
        };
        const Def defs[] = {
            {"LNAME", 'C', 30}, {"FNAME", 'C', 30},   {"MIDDLE", 'C', 1},  {"TITLE", 'C', 30},
            {"ORG", 'C', 30},   {"STREET", 'C', 30},  {"CITY", 'C', 30},   {"STATE", 'C', 20},
            {"ZIP", 'C', 10},   {"COUNTRY", 'C', 30}, {"PHONE", 'C', 30},  {"EMAIL", 'C', 30},
            {"FAX", 'C', 30},   {"NOTES", 'C', 30},   {"PREFIX", 'C', 12}, {"CARRIER", 'C', 4},
            {"DATE", 'D', 8},   {"BEGIN", 'L', 1},    {"SEQNO", 'N', 6},   {"MEMO", 'M', 10}};
        std::vector<FieldInfo> v;
        int offset = 1;
        for (const auto& d : defs) {
            FieldInfo f;
            f.name = d.name;
            f.type = d.type;
            f.width = d.width;
            f.offset = offset;
            f.index = int(v.size());
            offset += d.width;
            v.push_back(f);
        }
        Contacts out;
        out.fields = FieldList(v);
        out.recLen = out.fields.recordLength();
        out.count = 4096;
        out.bytes.assign(size_t(out.recLen) * size_t(out.count), ' ');
        std::mt19937 rng(42);
        const char* last[] = {"Smith", "Johnson", "M\xFCller", "Nguyen", "O'Brien", "Garcia"};
        const char* first[] = {"John", "Mary", "Jos\xE9", "Li", "Anne-Marie", "Kim"};
        const char* prefix[] = {"Mr.", "Ms.", "Dr.", "", "DELETED", "deleted"};
        auto put = [&](uint8_t* rec, int field, const std::string& s) {
            const FieldInfo& f = out.fields.at(field);
            std::memcpy(rec + f.offset, s.data(), std::min(s.size(), size_t(f.width)));
        };
        for (int i = 0; i < out.count; ++i) {
            uint8_t* rec = out.bytes.data() + size_t(i) * size_t(out.recLen);
            if (rng() % 10 == 0) rec[0] = '*';
            put(rec, 0, last[rng() % 6]);
            put(rec, 1, first[rng() % 6]);
            put(rec, 2, std::string(1, char('a' + rng() % 26)));
            put(rec, 3, "Sales Manager");
            put(rec, 4, "Widget Works Ltd");
            put(rec, 5, std::to_string(rng() % 9999) + " Main Street");
            put(rec, 6, "Springfield");
            put(rec, 7, rng() % 2 ? "ca" : "NY");
            put(rec, 8, std::to_string(10000 + rng() % 89999));
            put(rec, 9, "USA");
            put(rec, 10, "555-0100");
            put(rec, 11, "someone@example.com");
            put(rec, 12, "555-0199");
            put(rec, 13, "vip");
            put(rec, 14, prefix[rng() % 6]);
            if (rng() % 4) put(rec, 16, "2025" + std::to_string(10 + rng() % 3) + "15");
            std::string seq = std::to_string(int(rng() % 200000) - 100000);
            put(rec, 18, std::string(6 - std::min<size_t>(6, seq.size()), ' ') + seq);
        }
        return out;
    }();
    return c;
}

Expression compile(const char* text) {
    CompileContext ctx;
    ctx.fields = &contacts().fields;
    ctx.upper = CodePage::windows1252().upperTable();
    return Expression::compile(text, ctx);
}

// All 21 keys of one record per step, as an index rebuild computes them.
void BM_ContactKeys(benchmark::State& state) {
    const Contacts& c = contacts();
    std::vector<Expression> tags;
    for (const char* t : kTagExpressions)
        tags.push_back(compile(t));
    uint8_t key[256];
    int i = 0;
    RecordRef rec;
    EvalSettings settings;
    for (auto _ : state) {
        rec.data = c.record(i);
        rec.recno = uint32_t(i + 1);
        for (const Expression& e : tags) {
            e.evalKey(rec, settings, key, e.keyLength());
            benchmark::DoNotOptimize(key);
        }
        if (++i == c.count) i = 0;
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kTagCount);
    state.counters["ns_per_key"] = benchmark::Counter(
        double(state.iterations()) * kTagCount,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_ContactKeys);

// One tag at a time, to see which expression costs what.
void BM_OneKey(benchmark::State& state) {
    const Contacts& c = contacts();
    Expression e = compile(kTagExpressions[state.range(0)]);
    state.SetLabel(e.text());
    uint8_t key[256];
    int i = 0;
    RecordRef rec;
    EvalSettings settings;
    for (auto _ : state) {
        rec.data = c.record(i);
        e.evalKey(rec, settings, key, e.keyLength());
        benchmark::DoNotOptimize(key);
        if (++i == c.count) i = 0;
    }
}
BENCHMARK(BM_OneKey)->DenseRange(0, kTagCount - 1);

void runFilter(benchmark::State& state, const char* text) {
    const Contacts& c = contacts();
    Expression e = compile(text);
    int i = 0;
    int64_t matches = 0;
    RecordRef rec;
    EvalSettings settings;
    for (auto _ : state) {
        rec.data = c.record(i);
        matches += e.evalLogical(rec, settings);
        if (++i == c.count) i = 0;
    }
    benchmark::DoNotOptimize(matches);
    state.SetItemsProcessed(int64_t(state.iterations()));
}

void BM_FilterDeletion(benchmark::State& state) {
    runFilter(state, "UPPER(PREFIX)<>\"DELETED\"");
}
BENCHMARK(BM_FilterDeletion);

void BM_FilterTwoTerms(benchmark::State& state) {
    runFilter(state, "UPPER(LNAME)>=\"M\" .and. UPPER(PREFIX)<>\"DELETED\"");
}
BENCHMARK(BM_FilterTwoTerms);

void BM_FilterBuilt(benchmark::State& state) {
    runFilter(state,
              "((UPPER(LNAME)=\"SM\").or.(UPPER(LNAME)=\"MU\")) and \"WIDGET\"$UPPER(ORG) and "
              "DTOS(DATE)>=\"20250101\".and. UPPER(PREFIX)<>\"DELETED\"");
}
BENCHMARK(BM_FilterBuilt);

void BM_CompileTagExpressions(benchmark::State& state) {
    for (auto _ : state)
        for (const char* t : kTagExpressions)
            benchmark::DoNotOptimize(compile(t));
    state.SetItemsProcessed(int64_t(state.iterations()) * kTagCount);
}
BENCHMARK(BM_CompileTagExpressions);

}  // namespace

