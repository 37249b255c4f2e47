// Default evaluators: reaching one means the compiler let a wrongly typed node through.
#include "xbase/expr/node.h"

#include "xbase/error.h"

namespace xb::expr {

namespace {
[[noreturn]] void wrongType(const char* wanted) {
    throw Error(ErrorCode::Type, std::string("Expression node evaluated as ") + wanted +
                                     " although it is not of that type");
}
}  // namespace

std::string_view Node::evalC(EvalCtx&) const {
    wrongType("character");
}
double Node::evalN(EvalCtx&) const {
    wrongType("numeric");
}
Jdn Node::evalD(EvalCtx&) const {
    wrongType("date");
}
bool Node::evalL(EvalCtx&) const {
    wrongType("logical");
}

}  // namespace xb::expr
