// Compiling the parse tree. Constant folding matters beyond speed: it turns STR()'s length
// and SUBSTR()'s bounds into literals, which is what lets those nodes have fixed lengths.
#include "xbase/expr/compiler.h"

#include <charconv>

#include "xbase/expr/diagnostics.h"
#include "xbase/expr/nodes.h"

namespace xb::expr {

namespace {

struct Compiled {
    NodePtr node;
    bool constant = false;  // depends on nothing but the expression text
};

bool isRelational(Tok op) {
    return op == Tok::Eq || op == Tok::EqEq || op == Tok::Ne || op == Tok::Lt || op == Tok::Le ||
           op == Tok::Gt || op == Tok::Ge;
}

class Compiler {
  public:
    Compiler(std::string_view text, const FieldList* fields, const CaseTables& cases)
        : text_(text), fields_(fields), cases_(cases) {
        out_.fields.assign(fields ? size_t(fields->count()) : 0, false);
    }

    CompileOutput run(const Syn& tree) {
        out_.root = compile(tree).node;
        return std::move(out_);
    }

  private:
    [[noreturn]] void fail(ErrorCode code, size_t pos, const std::string& what) const {
        failIn(code, text_, pos, what);
    }

    // The operator as typed, for messages.
    std::string opText(const Syn& s) const {
        Lexer lex(text_.substr(s.pos));
        return std::string(lex.next().text);
    }

    Compiled compile(const Syn& s) {
        switch (s.kind) {
            case SynKind::Number:
                return number(s);
            case SynKind::String:
                return {makeLiteral(std::string(s.text)), true};
            case SynKind::Logical:
                return {makeLiteral(s.op == Tok::True), true};
            case SynKind::Name:
                return field(s);
            case SynKind::Call:
                return call(s);
            case SynKind::Unary:
                return unary(s);
            case SynKind::Binary:
                return binary(s);
        }
        fail(ErrorCode::Syntax, s.pos, "unknown construct");
    }

    Compiled number(const Syn& s) {
        double v = 0;
        auto r = std::from_chars(s.text.data(), s.text.data() + s.text.size(), v);
        if (r.ec != std::errc() || r.ptr != s.text.data() + s.text.size())
            fail(ErrorCode::Syntax, s.pos,
                 "the number " + std::string(s.text) + " is out of range");
        return {makeLiteral(v), true};
    }

    Compiled field(const Syn& s) {
        const FieldInfo* f = fields_ ? fields_->find(s.text) : nullptr;
        if (!f) {
            std::string what = "unknown field " + std::string(s.text);
            if (findFunction(s.text))
                what += " (a function needs parentheses: " + std::string(s.text) + "())";
            fail(ErrorCode::NotFound, s.pos, what);
        }
        if (f->offset < 0 || f->width < 0)
            fail(ErrorCode::Argument, s.pos, "field " + f->name + " has an invalid layout");
        size_t index = size_t(f - fields_->all().data());
        out_.fields[index] = true;
        if (f->isMemoPointer()) out_.usesMemo = true;
        return {makeField(*f), false};
    }

    Compiled call(const Syn& s) {
        const FunctionDef* def = findFunction(s.text);
        if (!def)
            fail(ErrorCode::NotFound, s.pos, "unknown function " + std::string(s.text) + "()");
        int n = int(s.args.size());
        if (n < def->minArgs || n > def->maxArgs) {
            std::string want =
                def->minArgs == def->maxArgs
                    ? std::to_string(def->minArgs)
                    : std::to_string(def->minArgs) + " to " + std::to_string(def->maxArgs);
            bool one = def->minArgs == 1 && def->maxArgs == 1;
            fail(ErrorCode::Syntax, s.pos,
                 std::string(def->name) + "() takes " + want + (one ? " argument" : " arguments") +
                     ", not " + std::to_string(n));
        }
        FnCall fc;
        fc.exprText = text_;
        fc.name = def->name;
        fc.pos = s.pos;
        fc.cases = &cases_;
        bool constant = !(def->flags & kFnVolatile);
        for (const auto& a : s.args) {
            Compiled c = compile(*a);
            constant = constant && c.constant;
            fc.args.push_back({std::move(c.node), a->pos});
        }
        if (def->flags & kFnUsesDeleted) out_.usesDeleted = true;
        if (def->flags & kFnUsesRecno) out_.usesRecno = true;
        if (def->build == buildDate) out_.usesToday = true;
        return fold({def->build(fc), constant});
    }

    Compiled unary(const Syn& s) {
        Compiled a = compile(*s.args[0]);
        ValueType t = a.node->type();
        if (s.op == Tok::Not) {
            if (t != ValueType::Logical)
                fail(ErrorCode::Type, s.pos,
                     opText(s) + " needs a logical operand, not a " + typeName(t) + " one");
            return fold({makeNot(std::move(a.node)), a.constant});
        }
        if (t != ValueType::Numeric)
            fail(ErrorCode::Type, s.pos,
                 "a sign needs a numeric operand, not a " + std::string(typeName(t)) + " one");
        if (s.op == Tok::Plus) return a;
        return fold({makeNegate(std::move(a.node)), a.constant});
    }

    Compiled binary(const Syn& s) {
        Compiled a = compile(*s.args[0]);
        Compiled b = compile(*s.args[1]);
        ValueType ta = a.node->type(), tb = b.node->type();
        bool constant = a.constant && b.constant;
        using VT = ValueType;
        switch (s.op) {
            case Tok::And:
            case Tok::Or:
                if (ta != VT::Logical || tb != VT::Logical)
                    fail(ErrorCode::Type, s.pos,
                         opText(s) + " needs logical operands, not " + typeName(ta) + " and " +
                             typeName(tb));
                return fold({s.op == Tok::And ? makeAnd(std::move(a.node), std::move(b.node))
                                              : makeOr(std::move(a.node), std::move(b.node)),
                             constant});
            case Tok::Dollar:
                if (ta != VT::Character || tb != VT::Character)
                    fail(ErrorCode::Type, s.pos,
                         std::string("'$' looks for text in text; it cannot take a ") +
                             typeName(ta) + " and a " + typeName(tb) + " value");
                return fold({makeContains(std::move(a.node), std::move(b.node)), constant});
            case Tok::Plus:
                if (ta == VT::Character && tb == VT::Character)
                    return fold(
                        {makeConcat(std::move(a.node), std::move(b.node), false), constant});
                if (ta == VT::Numeric && tb == VT::Numeric) break;
                if (ta == VT::Date && tb == VT::Numeric)
                    return fold(
                        {makeDatePlus(std::move(a.node), std::move(b.node), false), constant});
                if (ta == VT::Numeric && tb == VT::Date)
                    return fold(
                        {makeDatePlus(std::move(b.node), std::move(a.node), false), constant});
                mismatch(s, "add", ta, tb);
            case Tok::Minus:
                if (ta == VT::Character && tb == VT::Character)
                    return fold({makeConcat(std::move(a.node), std::move(b.node), true), constant});
                if (ta == VT::Numeric && tb == VT::Numeric) break;
                if (ta == VT::Date && tb == VT::Numeric)
                    return fold(
                        {makeDatePlus(std::move(a.node), std::move(b.node), true), constant});
                if (ta == VT::Date && tb == VT::Date)
                    return fold({makeDateDiff(std::move(a.node), std::move(b.node)), constant});
                mismatch(s, "subtract", ta, tb);
            default:
                break;
        }
        if (isRelational(s.op)) {
            if (ta != tb) mismatch(s, "compare", ta, tb);
            // How '=' and the ordering operators compare strings depends on SET EXACT, so such
            // a comparison is not constant even between literals.
            if (ta == VT::Character && s.op != Tok::EqEq) constant = false;
            return fold({makeCompare(s.op, std::move(a.node), std::move(b.node)), constant});
        }
        if (ta != VT::Numeric || tb != VT::Numeric)
            fail(ErrorCode::Type, s.pos,
                 "'" + opText(s) + "' needs numeric operands, not " + typeName(ta) + " and " +
                     typeName(tb));
        return fold({makeArithmetic(s.op, std::move(a.node), std::move(b.node)), constant});
    }

    [[noreturn]] void mismatch(const Syn& s, const char* verb, ValueType ta, ValueType tb) const {
        fail(ErrorCode::Type, s.pos,
             "'" + opText(s) + "' cannot " + verb + " a " + typeName(ta) + " and a " +
                 typeName(tb) + " value");
    }

    // Replaces a constant node by the literal of its value.
    Compiled fold(Compiled c) {
        if (!c.constant) return c;
        RecordRef none;
        EvalSettings settings;
        EvalCtx ctx(none, settings, text_);
        switch (c.node->type()) {
            case ValueType::Character:
                return {makeLiteral(std::string(c.node->evalC(ctx))), true};
            case ValueType::Numeric:
                return {makeLiteral(c.node->evalN(ctx)), true};
            case ValueType::Date:
                return {makeDateLiteral(c.node->evalD(ctx)), true};
            case ValueType::Logical:
                return {makeLiteral(c.node->evalL(ctx)), true};
        }
        return c;
    }

    std::string_view text_;
    const FieldList* fields_;
    const CaseTables& cases_;
    CompileOutput out_;
};

}  // namespace

CompileOutput compileTree(const Syn& tree, std::string_view text, const FieldList* fields,
                          const CaseTables& cases) {
    return Compiler(text, fields, cases).run(tree);
}

}  // namespace xb::expr
