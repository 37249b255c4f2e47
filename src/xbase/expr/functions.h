// The function library: each function checks its argument types and builds its node.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/error.h"
#include "xbase/expr/case_map.h"
#include "xbase/expr/node.h"

namespace xb::expr {

// The case mappings of the table's code page, owned by the compiled expression.
struct CaseTables {
    uint8_t upper[256];
    uint8_t lower[256];
    CaseMap upperMap;  // over upper
    CaseMap lowerMap;  // over lower
};

struct FnArg {
    NodePtr node;
    size_t pos = 0;  // where the argument starts in the text
};

// One call being compiled: its arguments and what its builder needs to report faults.
struct FnCall {
    std::string_view exprText;
    std::string_view name;  // the function's full name, upper case
    size_t pos = 0;
    std::vector<FnArg> args;
    const CaseTables* cases = nullptr;

    bool has(size_t i) const { return i < args.size(); }
    ValueType type(size_t i) const { return args[i].node->type(); }
    const Node& arg(size_t i) const { return *args[i].node; }
    NodePtr take(size_t i) { return std::move(args[i].node); }
    // Throws Error(Type) unless argument i has type t.
    void require(size_t i, ValueType t) const;
    // Throws Error(Type) unless argument i is one of the types.
    void requireOneOf(size_t i, std::initializer_list<ValueType> types) const;
    // Throws Error(Type) unless arguments i and j have the same type.
    void requireSame(size_t i, size_t j) const;
    [[noreturn]] void fail(ErrorCode code, size_t pos, const std::string& what) const;
};

enum FnFlag : uint8_t {
    kFnVolatile = 1,     // the value depends on more than the arguments: never folded
    kFnUsesDeleted = 2,  // reads the deletion flag
    kFnUsesRecno = 4,    // reads the record number
};

struct FunctionDef {
    const char* name;
    int minArgs;
    int maxArgs;
    uint8_t flags;
    NodePtr (*build)(FnCall& call);
};

// The function of this name in any letter case, or nullptr. As in other xBase dialects a name
// of four or more letters may be shortened, provided only one function begins with it.
const FunctionDef* findFunction(std::string_view name);

const char* typeName(ValueType t);

// Whole-number argument helpers: NaN reads as 0, and huge values are clamped so that
// conversions to integers stay defined.
long toCount(double v);

// Builders, one per function, defined with the function's node.
NodePtr buildUpper(FnCall&);
NodePtr buildLower(FnCall&);
NodePtr buildTrim(FnCall&);
NodePtr buildLtrim(FnCall&);
NodePtr buildAlltrim(FnCall&);
NodePtr buildSubstr(FnCall&);
NodePtr buildLeft(FnCall&);
NodePtr buildRight(FnCall&);
NodePtr buildLen(FnCall&);
NodePtr buildSpace(FnCall&);
NodePtr buildReplicate(FnCall&);
NodePtr buildAt(FnCall&);
NodePtr buildChr(FnCall&);
NodePtr buildAsc(FnCall&);
NodePtr buildStr(FnCall&);
NodePtr buildVal(FnCall&);
NodePtr buildDtos(FnCall&);
NodePtr buildDeleted(FnCall&);
NodePtr buildRecno(FnCall&);
NodePtr buildEmpty(FnCall&);
NodePtr buildIif(FnCall&);
NodePtr buildDate(FnCall&);
NodePtr buildYear(FnCall&);
NodePtr buildMonth(FnCall&);
NodePtr buildDay(FnCall&);
NodePtr buildAbs(FnCall&);
NodePtr buildInt(FnCall&);
NodePtr buildRound(FnCall&);
NodePtr buildMod(FnCall&);
NodePtr buildMin(FnCall&);
NodePtr buildMax(FnCall&);

}  // namespace xb::expr
