// Record, logical, date and numeric functions.
#include <cmath>

#include "xbase/expr/functions.h"
#include "xbase/expr/nodes.h"
#include "xbase/expr/numeric_text.h"

namespace xb::expr {

namespace {

class Deleted final : public Node {
  public:
    Deleted() : Node(ValueType::Logical) {}
    bool evalL(EvalCtx& c) const override { return c.rec[0] == '*'; }
};

class Recno final : public Node {
  public:
    Recno() : Node(ValueType::Numeric) {}
    double evalN(EvalCtx& c) const override { return double(c.recno); }
};

class Today final : public Node {
  public:
    Today() : Node(ValueType::Date) {}
    Jdn evalD(EvalCtx& c) const override { return c.today(); }
};

// Blank text: spaces, and the tabs and line ends a memo may hold.
bool blankText(std::string_view v) {
    for (char ch : v)
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') return false;
    return true;
}

class Empty final : public Node {
  public:
    explicit Empty(NodePtr a) : Node(ValueType::Logical), a_(std::move(a)) {}
    bool evalL(EvalCtx& c) const override {
        switch (a_->type()) {
            case ValueType::Character:
                return blankText(a_->evalC(c));
            case ValueType::Numeric:
                return a_->evalN(c) == 0;
            case ValueType::Date:
                return a_->evalD(c) == kEmptyDate;
            case ValueType::Logical:
                return !a_->evalL(c);
        }
        return false;
    }

  private:
    NodePtr a_;
};

class Iif final : public Node {
  public:
    Iif(NodePtr cond, NodePtr a, NodePtr b, int fixedLen)
        : Node(a->type(), fixedLen), cond_(std::move(cond)), a_(std::move(a)), b_(std::move(b)) {}
    std::string_view evalC(EvalCtx& c) const override { return pick(c).evalC(c); }
    void writeC(EvalCtx& c, char* dst) const override { pick(c).writeC(c, dst); }
    double evalN(EvalCtx& c) const override { return pick(c).evalN(c); }
    Jdn evalD(EvalCtx& c) const override { return pick(c).evalD(c); }
    bool evalL(EvalCtx& c) const override { return pick(c).evalL(c); }

  private:
    const Node& pick(EvalCtx& c) const { return cond_->evalL(c) ? *a_ : *b_; }
    NodePtr cond_, a_, b_;
};

enum class DatePart { Year, Month, Day };

class DatePartOf final : public Node {
  public:
    DatePartOf(NodePtr a, DatePart part)
        : Node(ValueType::Numeric), a_(std::move(a)), part_(part) {}
    double evalN(EvalCtx& c) const override {
        Jdn d = a_->evalD(c);
        if (d == kEmptyDate) return 0;
        int y, m, day;
        ymdFromJdn(d, y, m, day);
        return part_ == DatePart::Year ? y : part_ == DatePart::Month ? m : day;
    }

  private:
    NodePtr a_;
    DatePart part_;
};

template <typename F>
class NumericMap final : public Node {
  public:
    NumericMap(NodePtr a, F f) : Node(ValueType::Numeric), a_(std::move(a)), f_(f) {}
    double evalN(EvalCtx& c) const override { return f_(a_->evalN(c)); }

  private:
    NodePtr a_;
    F f_;
};

template <typename F>
NodePtr numericMap(FnCall& call, F f) {
    call.require(0, ValueType::Numeric);
    return std::make_unique<NumericMap<F>>(call.take(0), f);
}

class Round final : public Node {
  public:
    Round(NodePtr a, NodePtr dec)
        : Node(ValueType::Numeric), a_(std::move(a)), dec_(std::move(dec)) {}
    double evalN(EvalCtx& c) const override {
        double v = a_->evalN(c);
        return roundDecimal(v, int(toCount(dec_->evalN(c))));
    }

  private:
    NodePtr a_, dec_;
};

class Mod final : public Node {
  public:
    Mod(NodePtr a, NodePtr b) : Node(ValueType::Numeric), a_(std::move(a)), b_(std::move(b)) {}
    double evalN(EvalCtx& c) const override { return modulus(a_->evalN(c), b_->evalN(c)); }

  private:
    NodePtr a_, b_;
};

// MIN() and MAX() of two numbers, dates or strings (strings by their unsigned bytes).
class Extreme final : public Node {
  public:
    Extreme(NodePtr a, NodePtr b, bool max)
        : Node(a->type()), a_(std::move(a)), b_(std::move(b)), max_(max) {}
    double evalN(EvalCtx& c) const override {
        double l = a_->evalN(c), r = b_->evalN(c);
        return max_ ? (l >= r ? l : r) : (l <= r ? l : r);
    }
    Jdn evalD(EvalCtx& c) const override {
        Jdn l = a_->evalD(c), r = b_->evalD(c);
        return max_ ? (l >= r ? l : r) : (l <= r ? l : r);
    }
    std::string_view evalC(EvalCtx& c) const override {
        std::string_view l = a_->evalC(c), r = b_->evalC(c);
        int cmp = l.compare(r);
        return max_ ? (cmp >= 0 ? l : r) : (cmp <= 0 ? l : r);
    }

  private:
    NodePtr a_, b_;
    bool max_;
};

NodePtr extreme(FnCall& call, bool max) {
    call.requireOneOf(0, {ValueType::Numeric, ValueType::Date, ValueType::Character});
    call.requireSame(0, 1);
    return std::make_unique<Extreme>(call.take(0), call.take(1), max);
}

NodePtr datePart(FnCall& call, DatePart part) {
    call.require(0, ValueType::Date);
    return std::make_unique<DatePartOf>(call.take(0), part);
}

}  // namespace

NodePtr buildDeleted(FnCall&) {
    return std::make_unique<Deleted>();
}
NodePtr buildRecno(FnCall&) {
    return std::make_unique<Recno>();
}
NodePtr buildDate(FnCall&) {
    return std::make_unique<Today>();
}

NodePtr buildEmpty(FnCall& call) {
    return std::make_unique<Empty>(call.take(0));
}

NodePtr buildIif(FnCall& call) {
    call.require(0, ValueType::Logical);
    call.requireSame(1, 2);
    int la = call.arg(1).fixedLen(), lb = call.arg(2).fixedLen();
    int fixedLen = la == lb ? la : -1;
    return std::make_unique<Iif>(call.take(0), call.take(1), call.take(2), fixedLen);
}

NodePtr buildYear(FnCall& call) {
    return datePart(call, DatePart::Year);
}
NodePtr buildMonth(FnCall& call) {
    return datePart(call, DatePart::Month);
}
NodePtr buildDay(FnCall& call) {
    return datePart(call, DatePart::Day);
}

NodePtr buildAbs(FnCall& call) {
    return numericMap(call, [](double v) { return std::fabs(v); });
}
NodePtr buildInt(FnCall& call) {
    return numericMap(call, [](double v) { return std::trunc(v); });
}

NodePtr buildRound(FnCall& call) {
    call.require(0, ValueType::Numeric);
    call.require(1, ValueType::Numeric);
    return std::make_unique<Round>(call.take(0), call.take(1));
}

NodePtr buildMod(FnCall& call) {
    call.require(0, ValueType::Numeric);
    call.require(1, ValueType::Numeric);
    return std::make_unique<Mod>(call.take(0), call.take(1));
}

NodePtr buildMin(FnCall& call) {
    return extreme(call, false);
}
NodePtr buildMax(FnCall& call) {
    return extreme(call, true);
}

}  // namespace xb::expr
