// What a compiled expression sees while it evaluates one record: the record, the settings and
// a scratch arena for character results, so that common evaluations never touch the heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/date.h"
#include "xbase/expr/expression.h"

namespace xb::expr {

// The longest character value an expression may produce, and the most scratch memory one
// evaluation may take beyond the arena's own buffer; beyond these evaluation fails.
constexpr size_t kMaxStringLength = size_t(16) << 20;
constexpr size_t kMaxScratchBytes = size_t(64) << 20;

// Bump allocator: a buffer inside the object (on the evaluator's stack) and, past it, heap
// blocks kept until the evaluation ends. Allocations never move, so views stay valid.
class Arena {
  public:
    // text: the expression, which failure messages quote.
    explicit Arena(std::string_view text) : text_(text) {}
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    char* alloc(size_t n) {
        if (n <= kInline - used_) {
            char* p = buf_ + used_;
            used_ += n;
            return p;
        }
        return allocSlow(n);
    }
    // Keeps a string (a memo's text) alive until the evaluation ends.
    std::string_view keep(std::string&& s);

  private:
    char* allocSlow(size_t n);

    // Heap blocks and kept memos, created only when the buffer runs out or a memo is read.
    struct Overflow {
        size_t bytes = 0;
        std::vector<std::unique_ptr<char[]>> blocks;
        std::vector<std::unique_ptr<std::string>> kept;
    };
    Overflow& overflow();

    static constexpr size_t kInline = 2048;
    std::string_view text_;
    size_t used_ = 0;
    std::unique_ptr<Overflow> overflow_;
    char buf_[kInline];
};

struct EvalCtx {
    EvalCtx(const RecordRef& r, const EvalSettings& s, std::string_view exprText)
        : rec(r.data),
          recno(r.recno),
          memos(r.memos),
          exact(s.exact),
          todayJdn(s.today),
          text(exprText),
          arena(exprText) {}

    const uint8_t* rec;
    uint32_t recno;
    const MemoSource* memos;
    bool exact;
    Jdn todayJdn;           // 0 until first asked for when the settings leave it to the clock
    std::string_view text;  // the expression, for failure messages
    Arena arena;

    Jdn today() {
        if (todayJdn == 0) todayJdn = xb::today();
        return todayJdn;
    }
    // Checks a character result's length before it is built.
    void checkLength(size_t n) const {
        if (n > kMaxStringLength) tooLong();
    }
    [[noreturn]] void tooLong() const;
};

}  // namespace xb::expr
