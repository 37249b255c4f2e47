// Character functions. Trimming and slicing return views of their argument's result, so they
// copy nothing; only functions that make new text take arena space.
#include <algorithm>

#include "xbase/expr/functions.h"
#include "xbase/expr/nodes.h"
#include "xbase/expr/numeric_text.h"

namespace xb::expr {

namespace {

class Unary : public Node {
  public:
    Unary(ValueType t, NodePtr a, int fixedLen = -1) : Node(t, fixedLen), a_(std::move(a)) {}

  protected:
    NodePtr a_;
};

// UPPER() and LOWER() of any character value: same length, mapped byte by byte.
class MapCase final : public Unary {
  public:
    MapCase(NodePtr a, int fixedLen, const CaseMap& map)
        : Unary(ValueType::Character, std::move(a), fixedLen), map_(map) {}
    std::string_view evalC(EvalCtx& c) const override {
        if (fixedLen() >= 0) return evalViaWrite(c);
        std::string_view v = a_->evalC(c);
        char* p = c.arena.alloc(v.size());
        mapBytes(map_, v.data(), p, v.size());
        return {p, v.size()};
    }
    void writeC(EvalCtx& c, char* dst) const override {
        a_->writeC(c, dst);
        mapBytes(map_, dst, dst, size_t(fixedLen()));
    }

  private:
    const CaseMap& map_;
};

NodePtr mapCase(FnCall& call, const CaseMap& map) {
    call.require(0, ValueType::Character);
    if (NodePtr direct = makeMappedField(call.arg(0), map)) return direct;
    int len = call.arg(0).fixedLen();
    return std::make_unique<MapCase>(call.take(0), len, map);
}

enum class TrimSide { Right, Left, Both };

class Trim final : public Unary {
  public:
    Trim(NodePtr a, TrimSide side) : Unary(ValueType::Character, std::move(a)), side_(side) {}
    std::string_view evalC(EvalCtx& c) const override {
        std::string_view v = a_->evalC(c);
        if (side_ != TrimSide::Left)
            while (!v.empty() && v.back() == ' ')
                v.remove_suffix(1);
        if (side_ != TrimSide::Right)
            while (!v.empty() && v.front() == ' ')
                v.remove_prefix(1);
        return v;
    }

  private:
    TrimSide side_;
};

// SUBSTR(), LEFT() and RIGHT() over computed bounds. A start below 1 counts as 1; a start
// past the end or a negative length gives the empty string.
class Slice final : public Node {
  public:
    enum Kind { Substr, Left, Right };
    Slice(Kind kind, NodePtr text, NodePtr n1, NodePtr n2)
        : Node(ValueType::Character),
          kind_(kind),
          text_(std::move(text)),
          n1_(std::move(n1)),
          n2_(std::move(n2)) {}
    std::string_view evalC(EvalCtx& c) const override {
        std::string_view v = text_->evalC(c);
        long a = toCount(n1_->evalN(c));
        switch (kind_) {
            case Left:
                return v.substr(0, size_t(std::clamp(a, 0L, long(v.size()))));
            case Right: {
                size_t n = size_t(std::clamp(a, 0L, long(v.size())));
                return v.substr(v.size() - n);
            }
            case Substr:
                break;
        }
        long start = std::max(a, 1L);
        if (size_t(start) > v.size()) return {};
        v.remove_prefix(size_t(start - 1));
        if (!n2_) return v;
        long n = toCount(n2_->evalN(c));
        return v.substr(0, size_t(std::clamp(n, 0L, long(v.size()))));
    }

  private:
    Kind kind_;
    NodePtr text_, n1_, n2_;
};

// A slice whose bounds are known when compiling, of a fixed-length value.
class FixedSlice final : public Unary {
  public:
    FixedSlice(NodePtr a, size_t offset, size_t count)
        : Unary(ValueType::Character, std::move(a), int(count)), off_(offset) {}
    std::string_view evalC(EvalCtx& c) const override {
        return a_->evalC(c).substr(off_, size_t(fixedLen()));
    }

  private:
    size_t off_;
};

// Bounds [offset, offset+count) of a slice when all its inputs are known; false otherwise.
bool constantSlice(FnCall& call, Slice::Kind kind, size_t& offset, size_t& count) {
    int total = call.arg(0).fixedLen();
    double a = 0, b = 0;
    if (total < 0 || !literalNumber(call.arg(1), a)) return false;
    if (call.has(2) && !literalNumber(call.arg(2), b)) return false;
    long n = total;
    long first = toCount(a);
    switch (kind) {
        case Slice::Left:
            offset = 0;
            count = size_t(std::clamp(first, 0L, n));
            return true;
        case Slice::Right:
            count = size_t(std::clamp(first, 0L, n));
            offset = size_t(n) - count;
            return true;
        case Slice::Substr:
            break;
    }
    long start = std::max(first, 1L);
    if (start > n) {
        offset = 0;
        count = 0;
        return true;
    }
    offset = size_t(start - 1);
    long rest = n - (start - 1);
    count = size_t(call.has(2) ? std::clamp(toCount(b), 0L, rest) : rest);
    return true;
}

NodePtr slice(FnCall& call, Slice::Kind kind) {
    call.require(0, ValueType::Character);
    call.require(1, ValueType::Numeric);
    if (call.has(2)) call.require(2, ValueType::Numeric);
    size_t offset = 0, count = 0;
    if (constantSlice(call, kind, offset, count))
        return std::make_unique<FixedSlice>(call.take(0), offset, count);
    return std::make_unique<Slice>(kind, call.take(0), call.take(1),
                                   call.has(2) ? call.take(2) : nullptr);
}

class Length final : public Unary {
  public:
    explicit Length(NodePtr a) : Unary(ValueType::Numeric, std::move(a)) {}
    double evalN(EvalCtx& c) const override { return double(a_->evalC(c).size()); }
};

// SPACE(n) and REPLICATE(c, n); n below 0 counts as 0.
class Repeat final : public Node {
  public:
    Repeat(NodePtr text, NodePtr count)
        : Node(ValueType::Character), text_(std::move(text)), count_(std::move(count)) {}
    std::string_view evalC(EvalCtx& c) const override {
        std::string_view unit = text_ ? text_->evalC(c) : std::string_view(" ");
        long n = std::max(toCount(count_->evalN(c)), 0L);
        if (unit.empty() || n == 0) return {};
        if (size_t(n) > kMaxStringLength / unit.size()) c.tooLong();
        size_t total = unit.size() * size_t(n);
        char* p = c.arena.alloc(total);
        if (unit.size() == 1) {
            std::memset(p, unit[0], total);
        } else {
            for (size_t i = 0; i < total; i += unit.size())
                std::memcpy(p + i, unit.data(), unit.size());
        }
        return {p, total};
    }

  private:
    NodePtr text_, count_;
};

class At final : public Node {
  public:
    At(NodePtr needle, NodePtr hay)
        : Node(ValueType::Numeric), needle_(std::move(needle)), hay_(std::move(hay)) {}
    double evalN(EvalCtx& c) const override {
        std::string_view n = needle_->evalC(c);
        if (n.empty()) return 0;
        size_t p = hay_->evalC(c).find(n);
        return p == std::string_view::npos ? 0.0 : double(p + 1);
    }

  private:
    NodePtr needle_, hay_;
};

class Chr final : public Unary {
  public:
    explicit Chr(NodePtr a) : Unary(ValueType::Character, std::move(a), 1) {}
    std::string_view evalC(EvalCtx& c) const override { return evalViaWrite(c); }
    void writeC(EvalCtx& c, char* dst) const override {
        *dst = char(uint8_t(toCount(a_->evalN(c)) & 0xFF));
    }
};

class Asc final : public Unary {
  public:
    explicit Asc(NodePtr a) : Unary(ValueType::Numeric, std::move(a)) {}
    double evalN(EvalCtx& c) const override {
        std::string_view v = a_->evalC(c);
        return v.empty() ? 0.0 : double(uint8_t(v[0]));
    }
};

constexpr int kMaxStrLength = 255;

// STR(n, len, dec) with len and dec known when compiling: the fixed-length form keys use.
class StrFixed final : public Unary {
  public:
    StrFixed(NodePtr a, int len, int dec)
        : Unary(ValueType::Character, std::move(a), len), dec_(dec) {}
    std::string_view evalC(EvalCtx& c) const override { return evalViaWrite(c); }
    void writeC(EvalCtx& c, char* dst) const override {
        formatFixed(a_->evalN(c), fixedLen(), dec_, dst);
    }

  private:
    int dec_;
};

class StrComputed final : public Node {
  public:
    StrComputed(NodePtr n, NodePtr len, NodePtr dec)
        : Node(ValueType::Character),
          n_(std::move(n)),
          len_(std::move(len)),
          dec_(std::move(dec)) {}
    std::string_view evalC(EvalCtx& c) const override {
        double v = n_->evalN(c);
        int len = int(std::clamp(toCount(len_->evalN(c)), 1L, long(kMaxStrLength)));
        int dec = dec_ ? int(std::clamp(toCount(dec_->evalN(c)), 0L, long(len))) : 0;
        char* p = c.arena.alloc(size_t(len));
        formatFixed(v, len, dec, p);
        return {p, size_t(len)};
    }

  private:
    NodePtr n_, len_, dec_;
};

class Val final : public Unary {
  public:
    explicit Val(NodePtr a) : Unary(ValueType::Numeric, std::move(a)) {}
    double evalN(EvalCtx& c) const override { return leadingNumber(a_->evalC(c)); }
};

class Dtos final : public Unary {
  public:
    explicit Dtos(NodePtr a) : Unary(ValueType::Character, std::move(a), 8) {}
    std::string_view evalC(EvalCtx& c) const override { return evalViaWrite(c); }
    void writeC(EvalCtx& c, char* dst) const override { jdnToDbf(a_->evalD(c), dst); }
};

}  // namespace

NodePtr buildUpper(FnCall& call) {
    return mapCase(call, call.cases->upperMap);
}
NodePtr buildLower(FnCall& call) {
    return mapCase(call, call.cases->lowerMap);
}

NodePtr buildTrim(FnCall& call) {
    call.require(0, ValueType::Character);
    return std::make_unique<Trim>(call.take(0), TrimSide::Right);
}
NodePtr buildLtrim(FnCall& call) {
    call.require(0, ValueType::Character);
    return std::make_unique<Trim>(call.take(0), TrimSide::Left);
}
NodePtr buildAlltrim(FnCall& call) {
    call.require(0, ValueType::Character);
    return std::make_unique<Trim>(call.take(0), TrimSide::Both);
}

NodePtr buildSubstr(FnCall& call) {
    return slice(call, Slice::Substr);
}
NodePtr buildLeft(FnCall& call) {
    return slice(call, Slice::Left);
}
NodePtr buildRight(FnCall& call) {
    return slice(call, Slice::Right);
}

NodePtr buildLen(FnCall& call) {
    call.require(0, ValueType::Character);
    return std::make_unique<Length>(call.take(0));
}

NodePtr buildSpace(FnCall& call) {
    call.require(0, ValueType::Numeric);
    return std::make_unique<Repeat>(nullptr, call.take(0));
}

NodePtr buildReplicate(FnCall& call) {
    call.require(0, ValueType::Character);
    call.require(1, ValueType::Numeric);
    return std::make_unique<Repeat>(call.take(0), call.take(1));
}

NodePtr buildAt(FnCall& call) {
    call.require(0, ValueType::Character);
    call.require(1, ValueType::Character);
    return std::make_unique<At>(call.take(0), call.take(1));
}

NodePtr buildChr(FnCall& call) {
    call.require(0, ValueType::Numeric);
    return std::make_unique<Chr>(call.take(0));
}

NodePtr buildAsc(FnCall& call) {
    call.require(0, ValueType::Character);
    return std::make_unique<Asc>(call.take(0));
}

// STR(n [, len [, dec]]): len defaults to 10 and dec to 0; len is limited to 1..255.
NodePtr buildStr(FnCall& call) {
    call.require(0, ValueType::Numeric);
    if (call.has(1)) call.require(1, ValueType::Numeric);
    if (call.has(2)) call.require(2, ValueType::Numeric);
    double len = 10, dec = 0;
    bool constLen = !call.has(1) || literalNumber(call.arg(1), len);
    bool constDec = !call.has(2) || literalNumber(call.arg(2), dec);
    if (constLen && (len < 1 || len > kMaxStrLength))
        call.fail(ErrorCode::Argument, call.args[1].pos,
                  "STR() length must be between 1 and " + std::to_string(kMaxStrLength));
    if (constDec && (dec < 0 || dec > kMaxStrLength))
        call.fail(ErrorCode::Argument, call.args[2].pos,
                  "STR() decimals must be between 0 and the length");
    if (constLen && constDec) {
        int l = int(len);
        return std::make_unique<StrFixed>(call.take(0), l, std::min(int(dec), l));
    }
    NodePtr n = call.take(0);
    NodePtr l = call.has(1) ? call.take(1) : makeLiteral(10.0);
    NodePtr d = call.has(2) ? call.take(2) : nullptr;
    return std::make_unique<StrComputed>(std::move(n), std::move(l), std::move(d));
}

NodePtr buildVal(FnCall& call) {
    call.require(0, ValueType::Character);
    return std::make_unique<Val>(call.take(0));
}

NodePtr buildDtos(FnCall& call) {
    call.require(0, ValueType::Date);
    if (NodePtr direct = makeDtosField(call.arg(0))) return direct;
    return std::make_unique<Dtos>(call.take(0));
}

}  // namespace xb::expr
