// Builders for the compiled nodes of literals, fields and operators. The node classes stay
// private to their source files; the compiler sees only these functions.
#pragma once

#include <string>
#include <string_view>

#include "xbase/expr/case_map.h"
#include "xbase/expr/lexer.h"
#include "xbase/expr/node.h"
#include "xbase/field.h"

namespace xb::expr {

// Literals.
NodePtr makeLiteral(std::string text);
NodePtr makeLiteral(double v);
NodePtr makeDateLiteral(Jdn d);
NodePtr makeLiteral(bool v);
// The value of a literal node; false for anything else.
bool literalNumber(const Node& n, double& out);
bool literalString(const Node& n, std::string_view& out);

// A field read as its expression type (see fieldType()).
ValueType fieldType(const FieldInfo& f);
NodePtr makeField(const FieldInfo& f);
// UPPER()/LOWER() of a character field in one pass; null when n is not a character field.
NodePtr makeMappedField(const Node& n, const CaseMap& map);
// Where an UPPER()/LOWER() field node reads and how it maps; false for other nodes.
struct MappedFieldParts {
    int offset = 0;
    int width = 0;
    const CaseMap* map = nullptr;
};
bool mappedFieldParts(const Node& n, MappedFieldParts& out);
// DTOS() of a D field straight from its bytes; null when n is not a D field.
NodePtr makeDtosField(const Node& n);

// Operators; operand types have been checked by the compiler.
NodePtr makeConcat(NodePtr a, NodePtr b, bool moveBlanks);
NodePtr makeCompare(Tok op, NodePtr a, NodePtr b);
NodePtr makeContains(NodePtr a, NodePtr b);
NodePtr makeArithmetic(Tok op, NodePtr a, NodePtr b);  // numeric op numeric
NodePtr makeNegate(NodePtr a);
NodePtr makeDatePlus(NodePtr date, NodePtr days, bool subtract);
NodePtr makeDateDiff(NodePtr a, NodePtr b);
NodePtr makeAnd(NodePtr a, NodePtr b);
NodePtr makeOr(NodePtr a, NodePtr b);
NodePtr makeNot(NodePtr a);

// Date helpers shared with the functions.
constexpr Jdn kFirstJdn = 1721426;  // 0001-01-01
constexpr Jdn kLastJdn = 5373484;   // 9999-12-31
// d moved by n whole days (fraction dropped); the empty date stays empty, and so does a move
// past the calendar's ends.
Jdn addDays(Jdn d, double n);
// NaN (0/0, inf-inf) becomes 0 so that keys and comparisons stay ordered.
inline double sane(double v) {
    return v == v ? v : 0.0;
}
// l % r (and MOD()): the sign follows the divisor; 0 when r is 0.
double modulus(double l, double r);

}  // namespace xb::expr
