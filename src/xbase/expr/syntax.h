// The parse tree: what the text says, before names are resolved and types are checked.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "xbase/expr/lexer.h"

namespace xb::expr {

// How deep a tree may grow, counting every operator, call and parenthesis on the way down.
// Parsing, compiling and evaluating all recurse over the tree, so this bounds their stacks.
constexpr int kMaxDepth = 200;

enum class SynKind { Number, String, Logical, Name, Call, Unary, Binary };

struct Syn {
    SynKind kind = SynKind::Number;
    Tok op = Tok::End;      // Unary and Binary: the operator; Logical: True or False
    std::string_view text;  // Name/Call: the name; Number: the digits; String: the bytes
    size_t pos = 0;         // where the node starts in the text (the operator for operators)
    int depth = 1;          // height of the subtree
    std::vector<std::unique_ptr<Syn>> args;  // operands or call arguments
};

using SynPtr = std::unique_ptr<Syn>;

// Parses the whole text; throws Error(Syntax) naming the column of the fault.
SynPtr parse(std::string_view text);

}  // namespace xb::expr
