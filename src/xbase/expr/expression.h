// The xBase expression language: compiled once against a table's fields, then evaluated on
// records as a filter (logical), as an index key (fixed-length bytes) or as a value.
//
// Choices where xBase dialects differ or are silent:
// - x/0 and x%0 give 0; so does any NaN (0/0, (-8)^(1/3)), keeping keys and comparisons ordered.
// - Date + n and date - n move by whole days (fraction dropped); the empty date stays empty and
//   so does a move past 0001-01-01 or 9999-12-31. date - date is 0 when either is empty.
// - EMPTY() of text is true for blanks, tabs, CR and LF only (and for no text at all).
// - Function names may be shortened to four or more letters when only one function fits
//   (UPPE, SUBS, DELE). AND, OR and NOT are reserved: no field of those names can be used.
// - STR() takes lengths 1..255; any character result is limited to 16 MiB.
// - DATE() is EvalSettings::today; set it once per run, since 0 asks the clock every time.
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
    const uint8_t* data = nullptr;      // the whole record; data[0] is the deletion flag ('*')
    uint32_t recno = 0;                 // physical record number, from 1
    const MemoSource* memos = nullptr;  // null: memo fields read as empty text
};

struct EvalSettings {
    bool exact = false;  // SET EXACT: how '=' and the ordering operators compare strings
    Jdn today = 0;       // what DATE() returns; 0 means ask the clock
};

// What an expression is compiled against. The expression text is in the table's code page:
// its string literals are compared with field bytes as they are.
struct CompileContext {
    const FieldList* fields = nullptr;
    const uint8_t* upper =
        nullptr;  // 256-byte UPPER() mapping of the table's code page; null: ASCII
    const uint8_t* lower = nullptr;  // 256-byte LOWER() mapping; null: the inverse of upper
};

class CompiledExpr;  // the compiled tree, private to the implementation

class Expression {
  public:
    // Throws Error(Syntax) for malformed text (nesting deeper than 200 levels included),
    // Error(NotFound) for an unknown field or function, Error(Type) for operands that do not
    // fit, Error(Argument) for a constant argument out of range (STR(n, 0)); each message quotes
    // the expression and names the column of the fault. The compiled expression keeps no
    // pointer into ctx.
    static Expression compile(std::string_view text, const CompileContext& ctx);

    Expression();
    ~Expression();
    Expression(Expression&&) noexcept;
    Expression& operator=(Expression&&) noexcept;

    bool valid() const { return impl_ != nullptr; }
    const std::string& text() const;
    ValueType type() const;

    // True when the result depends on the deletion flag, the record number, a memo's text or
    // the day (DATE()).
    bool usesDeleted() const;
    bool usesRecno() const;
    bool usesMemo() const;
    bool usesToday() const;
    // True when the result depends on field index i.
    bool usesField(int index) const;

    // Key length: for character results their length on an all-blank record (at least 1,
    // at most 240), 8 for numeric and date results, 1 for logical ones.
    int keyLength() const;
    // For character results, the length on an all-blank record before the clamping above, so
    // that an index can refuse keys of length 0 or beyond 240; for the others keyLength().
    int blankLength() const;

    // Evaluation never fails on record contents: unreadable numbers and dates read as 0 and
    // empty, division by zero gives 0. It throws Error(Argument) only when a character result
    // would pass 16 MiB (SPACE(1E9)). Evaluating is const and thread-safe; the common cases do
    // not allocate.
    Value evaluate(const RecordRef& rec, const EvalSettings& settings) const;
    // Throws Error(Type) when the expression is not logical.
    bool evalLogical(const RecordRef& rec, const EvalSettings& settings) const;
    // Writes exactly keyLen bytes (an index's K, normally keyLength()): character results
    // blank-padded or cut, numeric and date results in the sortable 8-byte form (keys.h,
    // zero-padded when keyLen > 8), logical ones as 'T' or 'F' (blank-padded).
    void evalKey(const RecordRef& rec, const EvalSettings& settings, uint8_t* out,
                 int keyLen) const;

  private:
    std::unique_ptr<CompiledExpr> impl_;
};

}  // namespace xb
