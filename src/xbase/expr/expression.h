// The xBase expression language: compiled once against a table's fields, then evaluated on
// records as a filter (logical), as an index key (fixed-length bytes) or as a value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "xbase/date.h"
#include "xbase/field.h"

namespace xb {

enum class ValueType : uint8_t { Character, Numeric, Date, Logical };

// A computed value. Character values hold bytes in the table's code page.
struct Value {
    ValueType type = ValueType::Logical;
    std::string str;
    double num = 0;
    Jdn date = kEmptyDate;
    bool log = false;
};

// Reads the text of a memo field of the record being evaluated.
class MemoSource {
public:
    virtual ~MemoSource() = default;
    // fieldBytes points at the field inside the record; returns the memo's bytes.
    virtual std::string readMemo(const FieldInfo& field, const uint8_t* fieldBytes) const = 0;
};

// The record an expression is evaluated on.
struct RecordRef {
    const uint8_t* data = nullptr;  // the whole record; data[0] is the deletion flag ('*')
    uint32_t recno = 0;             // physical record number, from 1
    const MemoSource* memos = nullptr;  // null: memo fields read as empty text
};

struct EvalSettings {
    bool exact = false;  // SET EXACT: how '=' and the ordering operators compare strings
    Jdn today = 0;       // what DATE() returns; 0 means ask the clock
};

// What an expression is compiled against.
struct CompileContext {
    const FieldList* fields = nullptr;
    const uint8_t* upper = nullptr;  // 256-byte UPPER() mapping of the table's code page
    const uint8_t* lower = nullptr;  // 256-byte LOWER() mapping; null: ASCII only
};

class CompiledExpr;  // the compiled tree, private to the implementation

class Expression {
public:
    // Throws Error(Syntax) for malformed text, Error(NotFound) for an unknown field or
    // function, Error(Type) for operands that do not fit; each message quotes the expression.
    static Expression compile(std::string_view text, const CompileContext& ctx);

    Expression();
    ~Expression();
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;

    bool valid() const { return impl_ != nullptr; }
    const std::string& text() const;
    ValueType type() const;

    // True when the result depends on the deletion flag, the record number or a memo.
    bool usesDeleted() const;
    bool usesRecno() const;
    bool usesMemo() const;
    // True when the result depends on field index i.
    bool usesField(int index) const;

    // Key length: for character results their length on an all-blank record (at least 1,
    // at most 240), 8 for numeric and date results, 1 for logical ones.
    int keyLength() const;

    Value evaluate(const RecordRef& rec, const EvalSettings& settings) const;
    // Throws Error(Type) when the expression is not logical.
    bool evalLogical(const RecordRef& rec, const EvalSettings& settings) const;
    // Writes exactly keyLen bytes (an index's K, normally keyLength()): character results
    // blank-padded or cut, numeric and date results in the sortable 8-byte form (keys.h,
    // zero-padded when keyLen > 8), logical ones as 'T' or 'F' (blank-padded).
    void evalKey(const RecordRef& rec, const EvalSettings& settings, uint8_t* out, int keyLen) const;

private:
    std::unique_ptr<CompiledExpr> impl_;
};

}  // namespace xb
