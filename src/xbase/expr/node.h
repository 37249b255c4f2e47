// The compiled form: a tree of typed nodes. Each node evaluates in the one type the compiler
// gave it; character nodes return views into the record, a literal or the arena.
#pragma once

#include <cstring>
#include <memory>
#include <string_view>

#include "xbase/date.h"
#include "xbase/expr/eval_context.h"
#include "xbase/expr/expression.h"

namespace xb::expr {

class Node {
  public:
    explicit Node(ValueType t, int fixedLen = -1) : type_(t), fixedLen_(fixedLen) {}
    virtual ~Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    ValueType type() const { return type_; }
    // Character nodes whose every result has the same length: that length; else -1.
    int fixedLen() const { return fixedLen_; }

    // Only the evaluator matching type() is ever called.
    virtual std::string_view evalC(EvalCtx& c) const;
    virtual double evalN(EvalCtx& c) const;
    virtual Jdn evalD(EvalCtx& c) const;
    virtual bool evalL(EvalCtx& c) const;
    // Writes the fixedLen() bytes of a fixed-length character result straight to dst; the
    // key builder uses it to skip intermediate copies.
    virtual void writeC(EvalCtx& c, char* dst) const {
        std::string_view v = evalC(c);
        std::memcpy(dst, v.data(), v.size());
    }

  protected:
    // For fixed-length nodes that implement writeC: evaluates into the arena.
    std::string_view evalViaWrite(EvalCtx& c) const {
        char* p = c.arena.alloc(size_t(fixedLen_));
        writeC(c, p);
        return {p, size_t(fixedLen_)};
    }

  private:
    ValueType type_;
    int fixedLen_;
};

using NodePtr = std::unique_ptr<Node>;

}  // namespace xb::expr
