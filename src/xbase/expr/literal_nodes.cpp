// Literal nodes: constants from the text or folded by the compiler.
#include "xbase/expr/nodes.h"

namespace xb::expr {

namespace {

class LitC final : public Node {
  public:
    explicit LitC(std::string s) : Node(ValueType::Character, int(s.size())), s_(std::move(s)) {}
    std::string_view evalC(EvalCtx&) const override { return s_; }
    void writeC(EvalCtx&, char* dst) const override {
        if (!s_.empty()) std::memcpy(dst, s_.data(), s_.size());
    }
    std::string_view value() const { return s_; }

  private:
    std::string s_;
};

class LitN final : public Node {
  public:
    explicit LitN(double v) : Node(ValueType::Numeric), v_(v) {}
    double evalN(EvalCtx&) const override { return v_; }
    double value() const { return v_; }

  private:
    double v_;
};

class LitD final : public Node {
  public:
    explicit LitD(Jdn d) : Node(ValueType::Date), d_(d) {}
    Jdn evalD(EvalCtx&) const override { return d_; }

  private:
    Jdn d_;
};

class LitL final : public Node {
  public:
    explicit LitL(bool v) : Node(ValueType::Logical), v_(v) {}
    bool evalL(EvalCtx&) const override { return v_; }

  private:
    bool v_;
};

}  // namespace

NodePtr makeLiteral(std::string text) {
    return std::make_unique<LitC>(std::move(text));
}
NodePtr makeLiteral(double v) {
    return std::make_unique<LitN>(v);
}
NodePtr makeDateLiteral(Jdn d) {
    return std::make_unique<LitD>(d);
}
NodePtr makeLiteral(bool v) {
    return std::make_unique<LitL>(v);
}

bool literalNumber(const Node& n, double& out) {
    auto* l = dynamic_cast<const LitN*>(&n);
    if (l) out = l->value();
    return l != nullptr;
}

bool literalString(const Node& n, std::string_view& out) {
    auto* l = dynamic_cast<const LitC*>(&n);
    if (l) out = l->value();
    return l != nullptr;
}

}  // namespace xb::expr
