// Recursive-descent parser, one function per precedence level (loosest first):
// OR, AND, NOT, relational, additive, multiplicative, power, unary minus, primary.
#include "xbase/expr/diagnostics.h"
#include "xbase/expr/syntax.h"

namespace xb::expr {

namespace {

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text), lex_(text) { advance(); }

    SynPtr parseAll() {
        if (tok_.kind == Tok::End) fail(tok_.pos, "the expression is empty");
        SynPtr e = parseOr();
        if (tok_.kind != Tok::End) {
            if (tok_.kind == Tok::RParen) fail(tok_.pos, "')' has no matching '('");
            fail(tok_.pos, "an operator is missing before " + describe(tok_));
        }
        return e;
    }

  private:
    // Counts recursion through parentheses, calls and prefix operators.
    struct Nest {
        Parser& p;
        Nest(Parser& parser, size_t pos) : p(parser) {
            if (++p.nest_ > kMaxDepth) p.tooDeep(pos);
        }
        ~Nest() { --p.nest_; }
    };

    [[noreturn]] void fail(size_t pos, const std::string& what) {
        failIn(ErrorCode::Syntax, text_, pos, what);
    }
    [[noreturn]] void tooDeep(size_t pos) {
        fail(pos, "the expression is nested too deeply (more than " + std::to_string(kMaxDepth) +
                      " levels)");
    }

    void advance() { tok_ = lex_.next(); }

    SynPtr leaf(SynKind kind) {
        auto s = std::make_unique<Syn>();
        s->kind = kind;
        s->text = tok_.text;
        s->pos = tok_.pos;
        s->op = tok_.kind;
        return s;
    }

    SynPtr node(SynKind kind, Tok op, size_t pos, SynPtr a, SynPtr b = nullptr) {
        auto s = std::make_unique<Syn>();
        s->kind = kind;
        s->op = op;
        s->pos = pos;
        s->depth = a->depth + 1;
        if (b && b->depth + 1 > s->depth) s->depth = b->depth + 1;
        if (s->depth > kMaxDepth) tooDeep(pos);
        s->args.push_back(std::move(a));
        if (b) s->args.push_back(std::move(b));
        return s;
    }

    template <typename Next, typename Accept>
    SynPtr binaryLevel(Next next, Accept accept) {
        SynPtr left = (this->*next)();
        while (accept(tok_.kind)) {
            Tok op = tok_.kind;
            size_t pos = tok_.pos;
            advance();
            SynPtr right = (this->*next)();
            left = node(SynKind::Binary, op, pos, std::move(left), std::move(right));
        }
        return left;
    }

    SynPtr parseOr() {
        return binaryLevel(&Parser::parseAnd, [](Tok k) { return k == Tok::Or; });
    }
    SynPtr parseAnd() {
        return binaryLevel(&Parser::parseNot, [](Tok k) { return k == Tok::And; });
    }
    SynPtr parseNot() {
        if (tok_.kind != Tok::Not) return parseRelational();
        Nest n(*this, tok_.pos);
        size_t pos = tok_.pos;
        advance();
        return node(SynKind::Unary, Tok::Not, pos, parseNot());
    }
    SynPtr parseRelational() {
        return binaryLevel(&Parser::parseAdditive, [](Tok k) {
            return k == Tok::Eq || k == Tok::EqEq || k == Tok::Ne || k == Tok::Lt || k == Tok::Le ||
                   k == Tok::Gt || k == Tok::Ge || k == Tok::Dollar;
        });
    }
    SynPtr parseAdditive() {
        return binaryLevel(&Parser::parseMultiplicative,
                           [](Tok k) { return k == Tok::Plus || k == Tok::Minus; });
    }
    SynPtr parseMultiplicative() {
        return binaryLevel(&Parser::parsePower, [](Tok k) {
            return k == Tok::Star || k == Tok::Slash || k == Tok::Percent;
        });
    }
    SynPtr parsePower() {
        return binaryLevel(&Parser::parseUnary, [](Tok k) { return k == Tok::Power; });
    }
    SynPtr parseUnary() {
        if (tok_.kind != Tok::Minus && tok_.kind != Tok::Plus) return parsePrimary();
        Nest n(*this, tok_.pos);
        Tok op = tok_.kind;
        size_t pos = tok_.pos;
        advance();
        return node(SynKind::Unary, op, pos, parseUnary());
    }

    SynPtr parsePrimary() {
        switch (tok_.kind) {
            case Tok::Number: {
                SynPtr s = leaf(SynKind::Number);
                advance();
                return s;
            }
            case Tok::String: {
                SynPtr s = leaf(SynKind::String);
                advance();
                return s;
            }
            case Tok::True:
            case Tok::False: {
                SynPtr s = leaf(SynKind::Logical);
                advance();
                return s;
            }
            case Tok::Name:
                return parseName();
            case Tok::LParen: {
                Nest n(*this, tok_.pos);
                size_t open = tok_.pos;
                advance();
                if (tok_.kind == Tok::RParen) fail(tok_.pos, "nothing between '(' and ')'");
                SynPtr e = parseOr();
                if (tok_.kind != Tok::RParen)
                    fail(tok_.kind == Tok::End ? open : tok_.pos,
                         tok_.kind == Tok::End ? "'(' is never closed"
                                               : "')' expected instead of " + describe(tok_));
                advance();
                if (e->depth + 1 > kMaxDepth) tooDeep(open);
                ++e->depth;  // parentheses count towards the depth like any other level
                return e;
            }
            case Tok::End:
                fail(tok_.pos, "the expression ends where a value is expected");
            default:
                fail(tok_.pos, "a value is expected instead of " + describe(tok_));
        }
    }

    SynPtr parseName() {
        SynPtr s = leaf(SynKind::Name);
        advance();
        if (tok_.kind != Tok::LParen) return s;
        Nest n(*this, s->pos);
        s->kind = SynKind::Call;
        size_t open = tok_.pos;
        advance();
        if (tok_.kind != Tok::RParen) {
            for (;;) {
                SynPtr a = parseOr();
                if (a->depth + 1 > s->depth) s->depth = a->depth + 1;
                if (s->depth > kMaxDepth) tooDeep(s->pos);
                s->args.push_back(std::move(a));
                if (tok_.kind == Tok::Comma) {
                    advance();
                    continue;
                }
                if (tok_.kind == Tok::RParen) break;
                if (tok_.kind == Tok::End)
                    fail(open,
                         "the argument list of " + std::string(s->text) + "() is never closed");
                fail(tok_.pos, "',' or ')' expected instead of " + describe(tok_));
            }
        }
        advance();
        return s;
    }

    std::string_view text_;
    Lexer lex_;
    Token tok_;
    int nest_ = 0;
};

}  // namespace

SynPtr parse(std::string_view text) {
    return Parser(text).parseAll();
}

}  // namespace xb::expr
