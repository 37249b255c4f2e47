// Comparison nodes: strings under SET EXACT (with a fast form for UPPER(field) against a
// literal, the commonest filter term), numbers, dates, logicals, and '$' containment.
#include "xbase/expr/nodes.h"
#include "xbase/expr/string_compare.h"

namespace xb::expr {

namespace {

class Binary : public Node {
  public:
    Binary(ValueType t, NodePtr a, NodePtr b) : Node(t), a_(std::move(a)), b_(std::move(b)) {}

  protected:
    NodePtr a_, b_;
};

enum class Cmp { Eq, EqEq, Ne, Lt, Le, Gt, Ge };

template <Cmp Op, typename T>
bool ordered(T l, T r) {
    if constexpr (Op == Cmp::Eq || Op == Cmp::EqEq)
        return l == r;
    else if constexpr (Op == Cmp::Ne)
        return l != r;
    else if constexpr (Op == Cmp::Lt)
        return l < r;
    else if constexpr (Op == Cmp::Le)
        return l <= r;
    else if constexpr (Op == Cmp::Gt)
        return l > r;
    else
        return l >= r;
}

template <Cmp Op>
bool compareStrings(std::string_view l, std::string_view r, bool exact) {
    if constexpr (Op == Cmp::EqEq)
        return equalsExactly(l, r);
    else if constexpr (Op == Cmp::Eq)
        return equalsSet(l, r, exact);
    else if constexpr (Op == Cmp::Ne)
        return !equalsSet(l, r, exact);
    else
        return ordered<Op>(compareOrder(l, r, exact), 0);
}

template <Cmp Op>
class CompareC final : public Binary {
  public:
    CompareC(NodePtr a, NodePtr b) : Binary(ValueType::Logical, std::move(a), std::move(b)) {}
    bool evalL(EvalCtx& c) const override {
        std::string_view l = a_->evalC(c);
        std::string_view r = b_->evalC(c);
        return compareStrings<Op>(l, r, c.exact);
    }
};

// Character comparison against a literal: the commonest filter term.
template <Cmp Op>
class CompareCLit final : public Node {
  public:
    CompareCLit(NodePtr a, std::string lit)
        : Node(ValueType::Logical), a_(std::move(a)), lit_(std::move(lit)) {}
    bool evalL(EvalCtx& c) const override {
        std::string_view l = a_->evalC(c);
        std::string_view r = lit_;
        return compareStrings<Op>(l, r, c.exact);
    }

  private:
    NodePtr a_;
    std::string lit_;
};

// UPPER(field) or LOWER(field) against a literal: maps the field's bytes while comparing and
// stops at the first difference, without building the mapped text.
template <Cmp Op>
class CompareMappedLit final : public Node {
  public:
    CompareMappedLit(const MappedFieldParts& f, std::string lit)
        : Node(ValueType::Logical), f_(f), lit_(std::move(lit)) {}
    bool evalL(EvalCtx& c) const override {
        const uint8_t* bytes = c.rec + f_.offset;
        size_t w = size_t(f_.width);
        if constexpr (Op == Cmp::EqEq) {
            return w == lit_.size() && compareMapped(bytes, w, false) == 0;
        } else {
            int order = compareMapped(bytes, w, c.exact);
            if constexpr (Op == Cmp::Eq)
                return order == 0;
            else if constexpr (Op == Cmp::Ne)
                return order != 0;
            else
                return ordered<Op>(order, 0);
        }
    }

  private:
    // compareOrder(mapped field, literal, exact) computed in place.
    int compareMapped(const uint8_t* f, size_t w, bool exact) const {
        const uint8_t* table = f_.map->table;
        const auto* r = reinterpret_cast<const uint8_t*>(lit_.data());
        size_t rn = lit_.size();
        size_t n = w < rn ? w : rn;
        for (size_t i = 0; i < n; ++i) {
            uint8_t a = table[f[i]];
            if (a != r[i]) return a < r[i] ? -1 : 1;
        }
        if (!exact) return w >= rn ? 0 : -1;
        for (size_t i = n; i < w; ++i) {
            uint8_t a = table[f[i]];
            if (a != ' ') return a < ' ' ? -1 : 1;
        }
        for (size_t i = n; i < rn; ++i)
            if (r[i] != ' ') return r[i] < ' ' ? 1 : -1;
        return 0;
    }

    MappedFieldParts f_;
    std::string lit_;
};

template <Cmp Op>
class CompareN final : public Binary {
  public:
    CompareN(NodePtr a, NodePtr b) : Binary(ValueType::Logical, std::move(a), std::move(b)) {}
    bool evalL(EvalCtx& c) const override { return ordered<Op>(a_->evalN(c), b_->evalN(c)); }
};

// Day numbers order dates, the empty date (0) first.
template <Cmp Op>
class CompareD final : public Binary {
  public:
    CompareD(NodePtr a, NodePtr b) : Binary(ValueType::Logical, std::move(a), std::move(b)) {}
    bool evalL(EvalCtx& c) const override { return ordered<Op>(a_->evalD(c), b_->evalD(c)); }
};

template <Cmp Op>
class CompareL final : public Binary {
  public:
    CompareL(NodePtr a, NodePtr b) : Binary(ValueType::Logical, std::move(a), std::move(b)) {}
    bool evalL(EvalCtx& c) const override {
        return ordered<Op>(int(a_->evalL(c)), int(b_->evalL(c)));
    }
};

class Contains final : public Binary {
  public:
    Contains(NodePtr a, NodePtr b) : Binary(ValueType::Logical, std::move(a), std::move(b)) {}
    bool evalL(EvalCtx& c) const override {
        std::string_view needle = a_->evalC(c);
        if (needle.empty()) return false;
        return contains(needle, b_->evalC(c));
    }
};

// The node of class template T for the operator token.
template <template <Cmp> class T, typename... Args>
NodePtr byOperator(Tok op, Args&&... args) {
    switch (op) {
        case Tok::Eq:
            return std::make_unique<T<Cmp::Eq>>(std::forward<Args>(args)...);
        case Tok::EqEq:
            return std::make_unique<T<Cmp::EqEq>>(std::forward<Args>(args)...);
        case Tok::Ne:
            return std::make_unique<T<Cmp::Ne>>(std::forward<Args>(args)...);
        case Tok::Lt:
            return std::make_unique<T<Cmp::Lt>>(std::forward<Args>(args)...);
        case Tok::Le:
            return std::make_unique<T<Cmp::Le>>(std::forward<Args>(args)...);
        case Tok::Gt:
            return std::make_unique<T<Cmp::Gt>>(std::forward<Args>(args)...);
        case Tok::Ge:
            return std::make_unique<T<Cmp::Ge>>(std::forward<Args>(args)...);
        default:
            return nullptr;
    }
}

}  // namespace

NodePtr makeCompare(Tok op, NodePtr a, NodePtr b) {
    switch (a->type()) {
        case ValueType::Character: {
            std::string_view lit;
            MappedFieldParts mapped;
            if (literalString(*b, lit) && mappedFieldParts(*a, mapped))
                return byOperator<CompareMappedLit>(op, mapped, std::string(lit));
            if (literalString(*b, lit))
                return byOperator<CompareCLit>(op, std::move(a), std::string(lit));
            return byOperator<CompareC>(op, std::move(a), std::move(b));
        }
        case ValueType::Numeric:
            return byOperator<CompareN>(op, std::move(a), std::move(b));
        case ValueType::Date:
            return byOperator<CompareD>(op, std::move(a), std::move(b));
        case ValueType::Logical:
            return byOperator<CompareL>(op, std::move(a), std::move(b));
    }
    return nullptr;
}

NodePtr makeContains(NodePtr a, NodePtr b) {
    return std::make_unique<Contains>(std::move(a), std::move(b));
}

}  // namespace xb::expr
