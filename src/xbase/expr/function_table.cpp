// The table of functions and the argument checks shared by their builders.
#include <strings.h>

#include <cmath>

#include "xbase/expr/diagnostics.h"
#include "xbase/expr/functions.h"

namespace xb::expr {

namespace {

constexpr FunctionDef kFunctions[] = {
    {"ABS", 1, 1, 0, buildAbs},
    {"ALLTRIM", 1, 1, 0, buildAlltrim},
    {"ASC", 1, 1, 0, buildAsc},
    {"AT", 2, 2, 0, buildAt},
    {"CHR", 1, 1, 0, buildChr},
    {"DATE", 0, 0, kFnVolatile, buildDate},
    {"DAY", 1, 1, 0, buildDay},
    {"DELETED", 0, 0, kFnVolatile | kFnUsesDeleted, buildDeleted},
    {"DTOS", 1, 1, 0, buildDtos},
    {"EMPTY", 1, 1, 0, buildEmpty},
    {"IIF", 3, 3, 0, buildIif},
    {"INT", 1, 1, 0, buildInt},
    {"LEFT", 2, 2, 0, buildLeft},
    {"LEN", 1, 1, 0, buildLen},
    {"LOWER", 1, 1, 0, buildLower},
    {"LTRIM", 1, 1, 0, buildLtrim},
    {"MAX", 2, 2, 0, buildMax},
    {"MIN", 2, 2, 0, buildMin},
    {"MOD", 2, 2, 0, buildMod},
    {"MONTH", 1, 1, 0, buildMonth},
    {"RECNO", 0, 0, kFnVolatile | kFnUsesRecno, buildRecno},
    {"REPLICATE", 2, 2, 0, buildReplicate},
    {"RIGHT", 2, 2, 0, buildRight},
    {"ROUND", 2, 2, 0, buildRound},
    {"RTRIM", 1, 1, 0, buildTrim},
    {"SPACE", 1, 1, 0, buildSpace},
    {"STR", 1, 3, 0, buildStr},
    {"SUBSTR", 2, 3, 0, buildSubstr},
    {"TRIM", 1, 1, 0, buildTrim},
    {"UPPER", 1, 1, 0, buildUpper},
    {"VAL", 1, 1, 0, buildVal},
    {"YEAR", 1, 1, 0, buildYear},
};

std::string ordinal(size_t i) {
    static const char* names[] = {"first", "second", "third"};
    return i < 3 ? names[i] : "argument " + std::to_string(i + 1);
}

}  // namespace

const FunctionDef* findFunction(std::string_view name) {
    for (const auto& f : kFunctions) {
        if (std::char_traits<char>::length(f.name) == name.size() &&
            ::strncasecmp(f.name, name.data(), name.size()) == 0)
            return &f;
    }
    if (name.size() < 4) return nullptr;
    const FunctionDef* found = nullptr;
    for (const auto& f : kFunctions) {
        if (std::char_traits<char>::length(f.name) > name.size() &&
            ::strncasecmp(f.name, name.data(), name.size()) == 0) {
            if (found) return nullptr;  // ambiguous
            found = &f;
        }
    }
    return found;
}

const char* typeName(ValueType t) {
    switch (t) {
        case ValueType::Character:
            return "character";
        case ValueType::Numeric:
            return "numeric";
        case ValueType::Date:
            return "date";
        case ValueType::Logical:
            return "logical";
    }
    return "?";
}

long toCount(double v) {
    if (!(v == v)) return 0;
    if (v > 1e9) return 1000000000L;
    if (v < -1e9) return -1000000000L;
    return long(std::trunc(v));
}

void FnCall::fail(ErrorCode code, size_t where, const std::string& what) const {
    failIn(code, exprText, where, what);
}

void FnCall::require(size_t i, ValueType t) const {
    if (type(i) != t)
        fail(ErrorCode::Type, args[i].pos,
             std::string(name) + "() needs a " + typeName(t) + " value as its " + ordinal(i) +
                 " argument, not a " + typeName(type(i)) + " one");
}

void FnCall::requireOneOf(size_t i, std::initializer_list<ValueType> types) const {
    for (ValueType t : types)
        if (type(i) == t) return;
    std::string list;
    size_t k = 0;
    for (ValueType t : types) {
        if (k++) list += k == types.size() ? " or " : ", ";
        list += typeName(t);
    }
    fail(ErrorCode::Type, args[i].pos,
         std::string(name) + "() needs a " + list + " value as its " + ordinal(i) +
             " argument, not a " + typeName(type(i)) + " one");
}

void FnCall::requireSame(size_t i, size_t j) const {
    if (type(i) != type(j))
        fail(ErrorCode::Type, args[j].pos,
             std::string(name) + "() needs its " + ordinal(i) + " and " + ordinal(j) +
                 " arguments of one type, not " + typeName(type(i)) + " and " + typeName(type(j)));
}

}  // namespace xb::expr
