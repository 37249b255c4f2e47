// Operator nodes: concatenation, arithmetic, date arithmetic and the logical connectives
// (which evaluate their right operand only when needed).
#include <cmath>

#include "xbase/expr/nodes.h"
#include "xbase/expr/string_compare.h"

namespace xb::expr {

namespace {

// A sum past the length limit is left variable, so that evaluation checks it and fails cleanly.
int sumOrVariable(const Node& a, const Node& b) {
    if (a.fixedLen() < 0 || b.fixedLen() < 0) return -1;
    size_t sum = size_t(a.fixedLen()) + size_t(b.fixedLen());
    return sum <= kMaxStringLength ? int(sum) : -1;
}

class Binary : public Node {
  public:
    Binary(ValueType t, NodePtr a, NodePtr b, int fixedLen = -1)
        : Node(t, fixedLen), a_(std::move(a)), b_(std::move(b)) {}

  protected:
    NodePtr a_, b_;
};

// '+' joins; '-' joins after moving the left operand's trailing blanks to the end.
class Concat final : public Binary {
  public:
    Concat(NodePtr a, NodePtr b, bool moveBlanks, int fixedLen)
        : Binary(ValueType::Character, std::move(a), std::move(b), fixedLen), move_(moveBlanks) {}

    std::string_view evalC(EvalCtx& c) const override {
        if (fixedLen() >= 0) return evalViaWrite(c);
        std::string_view l = a_->evalC(c);
        std::string_view r = b_->evalC(c);
        c.checkLength(l.size() + r.size());
        char* p = c.arena.alloc(l.size() + r.size());
        size_t keep = move_ ? withoutTrailingBlanks(l.data(), l.size()) : l.size();
        if (keep) std::memcpy(p, l.data(), keep);
        if (!r.empty()) std::memcpy(p + keep, r.data(), r.size());
        std::memset(p + keep + r.size(), ' ', l.size() - keep);
        return {p, l.size() + r.size()};
    }

    void writeC(EvalCtx& c, char* dst) const override {
        size_t la = size_t(a_->fixedLen());
        a_->writeC(c, dst);
        size_t keep = move_ ? withoutTrailingBlanks(dst, la) : la;
        b_->writeC(c, dst + keep);
        if (keep < la) std::memset(dst + keep + size_t(b_->fixedLen()), ' ', la - keep);
    }

  private:
    static size_t withoutTrailingBlanks(const char* p, size_t n) {
        constexpr uint64_t kBlanks = 0x2020202020202020ull;
        while (n >= 8) {
            uint64_t x;
            std::memcpy(&x, p + n - 8, 8);
            if (x != kBlanks) break;
            n -= 8;
        }
        while (n > 0 && p[n - 1] == ' ')
            --n;
        return n;
    }
    bool move_;
};

enum class Arith { Add, Sub, Mul, Div, Mod, Pow };

// Division and modulus by zero give 0: a filter or key over real data must not stop on a
// zero field, and 0 keeps keys ordered where an infinity or NaN would not.
template <Arith Op>
class Arithmetic final : public Binary {
  public:
    Arithmetic(NodePtr a, NodePtr b) : Binary(ValueType::Numeric, std::move(a), std::move(b)) {}
    double evalN(EvalCtx& c) const override {
        double l = a_->evalN(c);
        double r = b_->evalN(c);
        if constexpr (Op == Arith::Add) {
            return sane(l + r);
        } else if constexpr (Op == Arith::Sub) {
            return sane(l - r);
        } else if constexpr (Op == Arith::Mul) {
            return sane(l * r);
        } else if constexpr (Op == Arith::Div) {
            return r == 0 ? 0.0 : sane(l / r);
        } else if constexpr (Op == Arith::Mod) {
            return modulus(l, r);
        } else {
            return sane(std::pow(l, r));
        }
    }
};

class Negate final : public Node {
  public:
    explicit Negate(NodePtr a) : Node(ValueType::Numeric), a_(std::move(a)) {}
    double evalN(EvalCtx& c) const override { return -a_->evalN(c); }

  private:
    NodePtr a_;
};

class DatePlus final : public Binary {
  public:
    DatePlus(NodePtr d, NodePtr n, bool subtract)
        : Binary(ValueType::Date, std::move(d), std::move(n)), sub_(subtract) {}
    Jdn evalD(EvalCtx& c) const override {
        Jdn d = a_->evalD(c);
        double n = b_->evalN(c);
        return addDays(d, sub_ ? -n : n);
    }

  private:
    bool sub_;
};

// Days between two dates; 0 when either is empty, as an empty date is no day at all.
class DateDiff final : public Binary {
  public:
    DateDiff(NodePtr a, NodePtr b) : Binary(ValueType::Numeric, std::move(a), std::move(b)) {}
    double evalN(EvalCtx& c) const override {
        Jdn l = a_->evalD(c);
        Jdn r = b_->evalD(c);
        return l == kEmptyDate || r == kEmptyDate ? 0.0 : double(l) - double(r);
    }
};

class And final : public Binary {
  public:
    And(NodePtr a, NodePtr b) : Binary(ValueType::Logical, std::move(a), std::move(b)) {}
    bool evalL(EvalCtx& c) const override { return a_->evalL(c) && b_->evalL(c); }
};

class Or final : public Binary {
  public:
    Or(NodePtr a, NodePtr b) : Binary(ValueType::Logical, std::move(a), std::move(b)) {}
    bool evalL(EvalCtx& c) const override { return a_->evalL(c) || b_->evalL(c); }
};

class Not final : public Node {
  public:
    explicit Not(NodePtr a) : Node(ValueType::Logical), a_(std::move(a)) {}
    bool evalL(EvalCtx& c) const override { return !a_->evalL(c); }

  private:
    NodePtr a_;
};

}  // namespace

double modulus(double l, double r) {
    // The result takes the divisor's sign: -5 % 3 is 1.
    if (r == 0) return 0.0;
    double m = std::fmod(l, r);
    if (m != 0 && ((m < 0) != (r < 0))) m += r;
    return sane(m);
}

Jdn addDays(Jdn d, double n) {
    if (d == kEmptyDate || !(std::fabs(n) < 1e7)) return kEmptyDate;
    double r = double(d) + std::trunc(n);
    if (r < kFirstJdn || r > kLastJdn) return kEmptyDate;
    return Jdn(r);
}

NodePtr makeConcat(NodePtr a, NodePtr b, bool moveBlanks) {
    int fixedLen = sumOrVariable(*a, *b);
    return std::make_unique<Concat>(std::move(a), std::move(b), moveBlanks, fixedLen);
}

NodePtr makeArithmetic(Tok op, NodePtr a, NodePtr b) {
    switch (op) {
        case Tok::Plus:
            return std::make_unique<Arithmetic<Arith::Add>>(std::move(a), std::move(b));
        case Tok::Minus:
            return std::make_unique<Arithmetic<Arith::Sub>>(std::move(a), std::move(b));
        case Tok::Star:
            return std::make_unique<Arithmetic<Arith::Mul>>(std::move(a), std::move(b));
        case Tok::Slash:
            return std::make_unique<Arithmetic<Arith::Div>>(std::move(a), std::move(b));
        case Tok::Percent:
            return std::make_unique<Arithmetic<Arith::Mod>>(std::move(a), std::move(b));
        case Tok::Power:
            return std::make_unique<Arithmetic<Arith::Pow>>(std::move(a), std::move(b));
        default:
            return nullptr;
    }
}

NodePtr makeNegate(NodePtr a) {
    return std::make_unique<Negate>(std::move(a));
}
NodePtr makeDatePlus(NodePtr date, NodePtr days, bool subtract) {
    return std::make_unique<DatePlus>(std::move(date), std::move(days), subtract);
}
NodePtr makeDateDiff(NodePtr a, NodePtr b) {
    return std::make_unique<DateDiff>(std::move(a), std::move(b));
}
NodePtr makeAnd(NodePtr a, NodePtr b) {
    return std::make_unique<And>(std::move(a), std::move(b));
}
NodePtr makeOr(NodePtr a, NodePtr b) {
    return std::make_unique<Or>(std::move(a), std::move(b));
}
NodePtr makeNot(NodePtr a) {
    return std::make_unique<Not>(std::move(a));
}

}  // namespace xb::expr
