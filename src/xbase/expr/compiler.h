// Turns a parse tree into typed nodes: resolves names, checks operand types, picks
// specialised nodes and folds constant parts.
#pragma once

#include <string_view>
#include <vector>

#include "xbase/expr/functions.h"
#include "xbase/expr/syntax.h"
#include "xbase/field.h"

namespace xb::expr {

struct CompileOutput {
    NodePtr root;
    bool usesDeleted = false;
    bool usesRecno = false;
    bool usesMemo = false;
    bool usesToday = false;
    std::vector<bool> fields;  // by field index
};

// Throws Error(NotFound) for unknown names, Error(Type) for operands that do not fit and
// Error(Syntax) for calls with the wrong number of arguments.
CompileOutput compileTree(const Syn& tree, std::string_view text, const FieldList* fields,
                          const CaseTables& cases);

}  // namespace xb::expr
