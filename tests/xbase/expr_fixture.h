// A contact-file record to evaluate expressions on: the twenty fields at their real offsets,
// set by name, plus a memo source that hands out one text.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/codepage.h"
#include "xbase/error.h"
#include "xbase/expr/expression.h"

namespace xb::testing {

inline FieldList contactFields(int stateWidth = 20) {
    struct Def {
        const char* name;
        char type;
        int width;
    };
    const Def defs[] = {
        {"LNAME", 'C', 30}, {"FNAME", 'C', 30},   {"MIDDLE", 'C', 1},  {"TITLE", 'C', 30},
        {"ORG", 'C', 30},   {"STREET", 'C', 30},  {"CITY", 'C', 30},   {"STATE", 'C', stateWidth},
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
    return FieldList(std::move(v));
}

// Returns its text for any memo field whose pointer bytes are not blank.
class FakeMemos : public MemoSource {
  public:
    std::string text;
    std::string readMemo(const FieldInfo& f, const uint8_t* bytes) const override {
        for (int i = 0; i < f.width; ++i)
            if (bytes[i] != ' ') return text;
        return {};
    }
};

class Record {
  public:
    explicit Record(const FieldList& fields)
        : fields_(fields), bytes_(size_t(fields.recordLength()), ' ') {}

    // Stores text as the file would: character fields left-aligned, numbers right-aligned,
    // both blank-padded and cut to the width.
    Record& set(std::string_view name, std::string_view text) {
        const FieldInfo* f = fields_.find(name);
        std::string v(text.substr(0, size_t(f->width)));
        std::string padded(size_t(f->width), ' ');
        if (f->type == 'N' || f->type == 'F' || f->type == 'M')
            padded.replace(padded.size() - v.size(), v.size(), v);
        else
            padded.replace(0, v.size(), v);
        std::memcpy(bytes_.data() + f->offset, padded.data(), padded.size());
        return *this;
    }
    Record& setRaw(std::string_view name, const void* data, size_t n) {
        const FieldInfo* f = fields_.find(name);
        std::memcpy(bytes_.data() + f->offset, data, n);
        return *this;
    }
    Record& deleted(bool d) {
        bytes_[0] = d ? '*' : ' ';
        return *this;
    }
    RecordRef ref(uint32_t recno = 1, const MemoSource* memos = nullptr) const {
        RecordRef r;
        r.data = bytes_.data();
        r.recno = recno;
        r.memos = memos;
        return r;
    }

  private:
    const FieldList& fields_;
    std::vector<uint8_t> bytes_;
};

inline Expression compileFor(std::string_view text, const FieldList& fields,
                             const CodePage& page = CodePage::windows1252()) {
    CompileContext ctx;
    ctx.fields = &fields;
    ctx.upper = page.upperTable();
    return Expression::compile(text, ctx);
}

inline std::string keyOf(const Expression& e, const RecordRef& r, int keyLen = -1,
                         bool exact = false) {
    if (keyLen < 0) keyLen = e.keyLength();
    std::string out(size_t(keyLen), '\x01');
    EvalSettings s;
    s.exact = exact;
    e.evalKey(r, s, reinterpret_cast<uint8_t*>(out.data()), keyLen);
    return out;
}

inline std::string padded(std::string s, size_t n) {
    s.resize(n, ' ');
    return s;
}

}  // namespace xb::testing
