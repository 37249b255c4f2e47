// Field nodes: each reads its bytes straight from the record being evaluated.
#include <cmath>

#include "xbase/bytes.h"
#include "xbase/expr/nodes.h"
#include "xbase/expr/numeric_text.h"

namespace xb::expr {

namespace {

class CharField final : public Node {
  public:
    CharField(int offset, int width) : Node(ValueType::Character, width), off_(offset) {}
    std::string_view evalC(EvalCtx& c) const override {
        return {reinterpret_cast<const char*>(c.rec) + off_, size_t(fixedLen())};
    }
    void writeC(EvalCtx& c, char* dst) const override {
        std::memcpy(dst, c.rec + off_, size_t(fixedLen()));
    }
    int offset() const { return off_; }

  private:
    int off_;
};

// UPPER(field) and LOWER(field): the commonest key, mapped while copied.
class MappedField final : public Node {
  public:
    MappedField(int offset, int width, const CaseMap& map)
        : Node(ValueType::Character, width), off_(offset), map_(map) {}
    std::string_view evalC(EvalCtx& c) const override { return evalViaWrite(c); }
    void writeC(EvalCtx& c, char* dst) const override {
        mapBytes(map_, reinterpret_cast<const char*>(c.rec) + off_, dst, size_t(fixedLen()));
    }

    MappedFieldParts parts() const { return {off_, fixedLen(), &map_}; }

  private:
    int off_;
    const CaseMap& map_;
};

class MemoField final : public Node {
  public:
    explicit MemoField(FieldInfo f) : Node(ValueType::Character), f_(std::move(f)) {}
    std::string_view evalC(EvalCtx& c) const override {
        if (!c.memos) return {};
        std::string text = c.memos->readMemo(f_, c.rec + f_.offset);
        if (text.empty()) return {};
        return c.arena.keep(std::move(text));
    }

  private:
    FieldInfo f_;
};

class NumericField final : public Node {
  public:
    NumericField(int offset, int width) : Node(ValueType::Numeric), off_(offset), w_(width) {}
    double evalN(EvalCtx& c) const override {
        return readNumericText(reinterpret_cast<const char*>(c.rec) + off_, size_t(w_));
    }

  private:
    int off_, w_;
};

class IntegerField final : public Node {
  public:
    explicit IntegerField(int offset) : Node(ValueType::Numeric), off_(offset) {}
    double evalN(EvalCtx& c) const override { return double(int32_t(getLE32(c.rec + off_))); }

  private:
    int off_;
};

class CurrencyField final : public Node {
  public:
    explicit CurrencyField(int offset) : Node(ValueType::Numeric), off_(offset) {}
    double evalN(EvalCtx& c) const override {
        return double(int64_t(getLE64(c.rec + off_))) / 10000.0;
    }

  private:
    int off_;
};

class DoubleField final : public Node {
  public:
    explicit DoubleField(int offset) : Node(ValueType::Numeric), off_(offset) {}
    double evalN(EvalCtx& c) const override {
        uint64_t bits = getLE64(c.rec + off_);
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return std::isfinite(v) ? v : 0.0;
    }

  private:
    int off_;
};

class DateField final : public Node {
  public:
    explicit DateField(int offset) : Node(ValueType::Date), off_(offset) {}
    Jdn evalD(EvalCtx& c) const override {
        return jdnFromDbf(reinterpret_cast<const char*>(c.rec) + off_);
    }
    int offset() const { return off_; }

  private:
    int off_;
};

// A datetime's first four bytes are its day number; out-of-calendar values read as empty.
class DateTimeField final : public Node {
  public:
    explicit DateTimeField(int offset) : Node(ValueType::Date), off_(offset) {}
    Jdn evalD(EvalCtx& c) const override {
        uint32_t d = getLE32(c.rec + off_);
        return d >= uint32_t(kFirstJdn) && d <= uint32_t(kLastJdn) ? Jdn(d) : kEmptyDate;
    }

  private:
    int off_;
};

class LogicalField final : public Node {
  public:
    explicit LogicalField(int offset) : Node(ValueType::Logical), off_(offset) {}
    bool evalL(EvalCtx& c) const override {
        uint8_t b = c.rec[off_];
        return b == 'T' || b == 't' || b == 'Y' || b == 'y';
    }

  private:
    int off_;
};

// A date field too narrow to hold a date (only in damaged headers) is always empty.
class EmptyDateField final : public Node {
  public:
    EmptyDateField() : Node(ValueType::Date) {}
    Jdn evalD(EvalCtx&) const override { return kEmptyDate; }
};

// DTOS(date field): a valid stored date already is its DTOS text.
class DtosField final : public Node {
  public:
    explicit DtosField(int offset) : Node(ValueType::Character, 8), off_(offset) {}
    std::string_view evalC(EvalCtx& c) const override { return evalViaWrite(c); }
    void writeC(EvalCtx& c, char* dst) const override {
        const char* src = reinterpret_cast<const char*>(c.rec) + off_;
        if (jdnFromDbf(src) != kEmptyDate)
            std::memcpy(dst, src, 8);
        else
            std::memset(dst, ' ', 8);
    }

  private:
    int off_;
};

}  // namespace

ValueType fieldType(const FieldInfo& f) {
    if (f.isMemoPointer()) return ValueType::Character;
    switch (f.type) {
        case 'N':
        case 'F':
            return ValueType::Numeric;
        case 'I':
            return f.width == 4 ? ValueType::Numeric : ValueType::Character;
        case 'Y':
        case 'B':
            return f.width == 8 ? ValueType::Numeric : ValueType::Character;
        case 'D':
            return ValueType::Date;
        case 'T':
            return f.width == 8 ? ValueType::Date : ValueType::Character;
        case 'L':
            return f.width >= 1 ? ValueType::Logical : ValueType::Character;
        default:
            return ValueType::Character;
    }
}

NodePtr makeField(const FieldInfo& f) {
    if (f.isMemoPointer()) return std::make_unique<MemoField>(f);
    ValueType t = fieldType(f);
    switch (t) {
        case ValueType::Numeric:
            if (f.type == 'I') return std::make_unique<IntegerField>(f.offset);
            if (f.type == 'Y') return std::make_unique<CurrencyField>(f.offset);
            if (f.type == 'B') return std::make_unique<DoubleField>(f.offset);
            return std::make_unique<NumericField>(f.offset, f.width);
        case ValueType::Date:
            if (f.type == 'T') return std::make_unique<DateTimeField>(f.offset);
            if (f.width < 8) return std::make_unique<EmptyDateField>();
            return std::make_unique<DateField>(f.offset);
        case ValueType::Logical:
            return std::make_unique<LogicalField>(f.offset);
        case ValueType::Character:
            break;
    }
    return std::make_unique<CharField>(f.offset, f.width);
}

NodePtr makeMappedField(const Node& n, const CaseMap& map) {
    auto* f = dynamic_cast<const CharField*>(&n);
    if (!f) return nullptr;
    return std::make_unique<MappedField>(f->offset(), f->fixedLen(), map);
}

bool mappedFieldParts(const Node& n, MappedFieldParts& out) {
    auto* f = dynamic_cast<const MappedField*>(&n);
    if (f) out = f->parts();
    return f != nullptr;
}

NodePtr makeDtosField(const Node& n) {
    auto* f = dynamic_cast<const DateField*>(&n);
    if (!f) return nullptr;
    return std::make_unique<DtosField>(f->offset());
}

}  // namespace xb::expr
