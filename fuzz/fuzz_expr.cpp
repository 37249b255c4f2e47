// Fuzzes the expression compiler and evaluator: arbitrary text compiled against a contact-like
// table with every field type, then evaluated as value, key and filter on several records.
// Only xb::Error may come out; anything else (or a crash, hang or leak) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/bytes.h"
#include "xbase/codepage.h"
#include "xbase/error.h"
#include "xbase/expr/expression.h"

namespace {

using namespace xb;

struct Table {
    FieldList fields;
    std::vector<std::vector<uint8_t>> records;
};

void put(std::vector<uint8_t>& rec, const FieldList& fields, const char* name, const void* data,
         size_t n) {
    const FieldInfo* f = fields.find(name);
    std::memcpy(rec.data() + f->offset, data, std::min(n, size_t(f->width)));
}

const Table& table() {
    static const Table t = [] {
        struct Def {
            const char* name;
            char type;
            int width, decimals;
        };
        const Def defs[] = {{"LNAME", 'C', 30, 0},  {"FNAME", 'C', 30, 0},  {"STATE", 'C', 4, 0},
                            {"ZIP", 'C', 10, 0},    {"PREFIX", 'C', 12, 0}, {"EMPTYC", 'C', 0, 0},
                            {"DATE", 'D', 8, 0},    {"BEGIN", 'L', 1, 0},   {"SEQNO", 'N', 6, 0},
                            {"AMOUNT", 'N', 12, 2}, {"RATE", 'F', 20, 10},  {"MEMO", 'M', 10, 0},
                            {"PIC", 'G', 4, 0},     {"COUNT", 'I', 4, 0},   {"PRICE", 'Y', 8, 0},
                            {"RATIO", 'B', 8, 2},   {"STAMP", 'T', 8, 0},   {"VAR", 'V', 8, 0},
                            {"SHORTD", 'D', 3, 0}};
        std::vector<FieldInfo> v;
        int offset = 1;
        for (const auto& d : defs) {
            FieldInfo f;
            f.name = d.name;
            f.type = d.type;
            f.width = d.width;
            f.decimals = d.decimals;
            f.offset = offset;
            f.index = int(v.size());
            offset += d.width;
            v.push_back(f);
        }
        Table out;
        out.fields = FieldList(v);
        size_t len = size_t(out.fields.recordLength());
        out.records.emplace_back(len, ' ');  // all blank
        std::vector<uint8_t> r(len, ' ');
        r[0] = '*';
        put(r, out.fields, "LNAME", "M\xFCller-Smith", 13);
        put(r, out.fields, "FNAME", "j\xF6rg", 4);
        put(r, out.fields, "STATE", "ca", 2);
        put(r, out.fields, "ZIP", "90210", 5);
        put(r, out.fields, "PREFIX", "DELETED", 7);
        put(r, out.fields, "DATE", "20240229", 8);
        put(r, out.fields, "BEGIN", "T", 1);
        put(r, out.fields, "SEQNO", "  -964", 6);
        put(r, out.fields, "AMOUNT", "  1234567.89", 12);
        put(r, out.fields, "RATE", "   -0.0000000001e300", 20);
        put(r, out.fields, "MEMO", "         8", 10);
        uint8_t four[4];
        putLE32(four, 0x80000000u);
        put(r, out.fields, "COUNT", four, 4);
        put(r, out.fields, "PIC", four, 4);
        uint8_t eight[8];
        putLE64(eight, 0x8000000000000000ull);
        put(r, out.fields, "PRICE", eight, 8);
        putLE64(eight, 0x7FF0000000000000ull);  // infinity
        put(r, out.fields, "RATIO", eight, 8);
        putLE32(eight, 5373484);
        putLE32(eight + 4, 0xFFFFFFFFu);
        put(r, out.fields, "STAMP", eight, 8);
        put(r, out.fields, "VAR", "ab\0\0\0\0\0\x02", 8);
        out.records.push_back(r);
        return out;
    }();
    return t;
}

class Memos : public MemoSource {
  public:
    std::string readMemo(const FieldInfo& f, const uint8_t* bytes) const override {
        for (int i = 0; i < f.width; ++i)
            if (bytes[i] != ' ' && bytes[i] != 0) return "Memo text\r\nwith a DELETED line\t";
        return {};
    }
};

void exercise(const Expression& e, const RecordRef& rec, bool exact) {
    EvalSettings s;
    s.exact = exact;
    s.today = jdnFromYmd(2026, 1, 31);
    Value v = e.evaluate(rec, s);
    if (v.type != e.type()) __builtin_trap();
    uint8_t key[300];
    int k = e.keyLength();
    if (k < 1 || k > 240) __builtin_trap();
    for (int len : {k, 1, 240, 17})
        e.evalKey(rec, s, key, len);
    if (e.type() == ValueType::Logical && e.evalLogical(rec, s) != v.log) __builtin_trap();
    // A fixed-length value and its key agree.
    if (v.type == ValueType::Character && v.str.size() <= 240) {
        e.evalKey(rec, s, key, int(v.str.size()));
        if (!v.str.empty() && std::memcmp(key, v.str.data(), v.str.size()) != 0) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 4096) return 0;
    uint8_t flags = data[0];
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const Table& t = table();
    CompileContext ctx;
    ctx.fields = &t.fields;
    ctx.upper = (flags & 1) ? CodePage::windows1252().upperTable()
                            : CodePage::get(CodePageId::Cp437).upperTable();
    Memos memos;
    try {
        Expression e = Expression::compile(text, ctx);
        if (e.text() != text) __builtin_trap();
        for (size_t i = 0; i < t.records.size(); ++i) {
            RecordRef rec;
            rec.data = t.records[i].data();
            rec.recno = uint32_t(i + 1);
            rec.memos = (flags & 2) ? &memos : nullptr;
            exercise(e, rec, (flags & 4) != 0);
        }
        // The text's own bytes as a record: junk in every field.
        std::vector<uint8_t> junk(size_t(t.fields.recordLength()));
        for (size_t i = 0; i < junk.size(); ++i)
            junk[i] = data[i % size];
        RecordRef rec;
        rec.data = junk.data();
        rec.memos = &memos;
        exercise(e, rec, (flags & 8) != 0);
    } catch (const Error&) {
    }
    return 0;
}
