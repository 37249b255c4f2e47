// The Expression facade: compiles text into a node tree and evaluates it as value, filter or key.
#include "xbase/expr/expression.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "xbase/expr/compiler.h"
#include "xbase/expr/diagnostics.h"
#include "xbase/expr/eval_context.h"
#include "xbase/expr/functions.h"
#include "xbase/keys.h"

namespace xb {

using namespace expr;

class CompiledExpr {
  public:
    std::string text;
    CaseTables cases;  // nodes point into these
    CompileOutput out;
    ValueType type = ValueType::Logical;
    int blankLength = 0;
    int keyLength = 0;
};

namespace {

constexpr int kMaxKeyLength = 240;

void buildCaseTables(const CompileContext& ctx, CaseTables& t) {
    for (int b = 0; b < 256; ++b) {
        t.upper[b] = ctx.upper ? ctx.upper[b] : uint8_t(b >= 'a' && b <= 'z' ? b - 32 : b);
        t.lower[b] = uint8_t(b);
    }
    if (ctx.lower) {
        std::memcpy(t.lower, ctx.lower, 256);
    } else {
        // The inverse of UPPER(): each upper-case letter maps back to the lowest byte that
        // becomes it.
        for (int b = 255; b >= 0; --b)
            if (t.upper[b] != b) t.lower[t.upper[b]] = uint8_t(b);
    }
    auto asciiPlain = [](const uint8_t* table, uint8_t first, uint8_t last) {
        for (int b = 0; b < 128; ++b) {
            bool letter = b >= first && b <= last;
            if (table[b] != (letter ? b ^ 0x20 : b)) return false;
        }
        return true;
    };
    t.upperMap = {t.upper, 'a', 'z', asciiPlain(t.upper, 'a', 'z')};
    t.lowerMap = {t.lower, 'A', 'Z', asciiPlain(t.lower, 'A', 'Z')};
}

// The bytes an all-blank record needs: every field's bytes, wherever the list put them.
size_t blankRecordSize(const FieldList* fields) {
    if (!fields) return 1;
    size_t n = size_t(std::max(fields->recordLength(), 1));
    for (const auto& f : fields->all())
        if (f.offset >= 0 && f.width >= 0) n = std::max(n, size_t(f.offset) + size_t(f.width));
    return n;
}

const std::string kNoText;

}  // namespace

Expression Expression::compile(std::string_view text, const CompileContext& ctx) {
    auto impl = std::make_unique<CompiledExpr>();
    impl->text.assign(text);
    buildCaseTables(ctx, impl->cases);
    SynPtr tree = parse(impl->text);
    impl->out = compileTree(*tree, impl->text, ctx.fields, impl->cases);
    impl->type = impl->out.root->type();

    // The key length comes from the value on an all-blank record, as when a tag is created.
    std::vector<uint8_t> blank(blankRecordSize(ctx.fields), ' ');
    RecordRef rec;
    rec.data = blank.data();
    EvalSettings settings;
    settings.today = jdnFromYmd(2000, 1, 1);
    EvalCtx c(rec, settings, impl->text);
    switch (impl->type) {
        case ValueType::Character:
            impl->blankLength = int(impl->out.root->evalC(c).size());
            impl->keyLength = std::clamp(impl->blankLength, 1, kMaxKeyLength);
            break;
        case ValueType::Numeric:
        case ValueType::Date:
            impl->blankLength = impl->keyLength = kNumericKeyLength;
            break;
        case ValueType::Logical:
            impl->blankLength = impl->keyLength = 1;
            break;
    }
    Expression e;
    e.impl_ = std::move(impl);
    return e;
}

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

const std::string& Expression::text() const {
    return impl_ ? impl_->text : kNoText;
}
ValueType Expression::type() const {
    return impl_ ? impl_->type : ValueType::Logical;
}
bool Expression::usesDeleted() const {
    return impl_ && impl_->out.usesDeleted;
}
bool Expression::usesRecno() const {
    return impl_ && impl_->out.usesRecno;
}
bool Expression::usesMemo() const {
    return impl_ && impl_->out.usesMemo;
}
bool Expression::usesToday() const {
    return impl_ && impl_->out.usesToday;
}

bool Expression::usesField(int index) const {
    return impl_ && index >= 0 && size_t(index) < impl_->out.fields.size() &&
           impl_->out.fields[size_t(index)];
}

int Expression::keyLength() const {
    return impl_ ? impl_->keyLength : 0;
}
int Expression::blankLength() const {
    return impl_ ? impl_->blankLength : 0;
}

namespace {

[[noreturn]] void notCompiled() {
    throw Error(ErrorCode::State, "Expression evaluated before it was compiled");
}

void checkRecord(const RecordRef& rec, const std::string& text) {
    if (!rec.data) failIn(ErrorCode::Argument, text, kNoPos, "evaluated without a record");
}

}  // namespace

Value Expression::evaluate(const RecordRef& rec, const EvalSettings& settings) const {
    if (!impl_) notCompiled();
    checkRecord(rec, impl_->text);
    EvalCtx c(rec, settings, impl_->text);
    const Node& root = *impl_->out.root;
    Value v;
    v.type = impl_->type;
    switch (v.type) {
        case ValueType::Character:
            v.str.assign(root.evalC(c));
            break;
        case ValueType::Numeric:
            v.num = root.evalN(c);
            break;
        case ValueType::Date:
            v.date = root.evalD(c);
            break;
        case ValueType::Logical:
            v.log = root.evalL(c);
            break;
    }
    return v;
}

bool Expression::evalLogical(const RecordRef& rec, const EvalSettings& settings) const {
    if (!impl_) notCompiled();
    if (impl_->type != ValueType::Logical)
        failIn(ErrorCode::Type, impl_->text, kNoPos,
               std::string("a condition must be logical, but this is ") + typeName(impl_->type));
    checkRecord(rec, impl_->text);
    EvalCtx c(rec, settings, impl_->text);
    return impl_->out.root->evalL(c);
}

void Expression::evalKey(const RecordRef& rec, const EvalSettings& settings, uint8_t* out,
                         int keyLen) const {
    if (!impl_) notCompiled();
    if (keyLen <= 0) return;
    checkRecord(rec, impl_->text);
    EvalCtx c(rec, settings, impl_->text);
    const Node& root = *impl_->out.root;
    char* dst = reinterpret_cast<char*>(out);
    size_t k = size_t(keyLen);
    switch (impl_->type) {
        case ValueType::Character: {
            int fixed = root.fixedLen();
            if (fixed >= 0 && fixed <= keyLen) {
                root.writeC(c, dst);
                std::memset(dst + fixed, ' ', k - size_t(fixed));
                return;
            }
            std::string_view v = root.evalC(c);
            size_t n = std::min(v.size(), k);
            if (n) std::memcpy(dst, v.data(), n);  // empty text may have no buffer at all
            std::memset(dst + n, ' ', k - n);
            return;
        }
        case ValueType::Numeric:
        case ValueType::Date: {
            uint8_t key[kNumericKeyLength];
            if (impl_->type == ValueType::Numeric)
                encodeNumericKey(root.evalN(c), key);
            else
                encodeDateKey(root.evalD(c), key);
            size_t n = std::min(k, size_t(kNumericKeyLength));
            std::memcpy(out, key, n);
            std::memset(out + n, 0, k - n);
            return;
        }
        case ValueType::Logical:
            encodeLogicalKey(root.evalL(c), out);
            std::memset(out + 1, ' ', k - 1);
            return;
    }
}

}  // namespace xb
