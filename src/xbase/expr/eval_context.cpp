// Arena blocks and the evaluation-time limit messages.
#include "xbase/expr/eval_context.h"

#include "xbase/expr/diagnostics.h"

namespace xb::expr {

Arena::Overflow& Arena::overflow() {
    if (!overflow_) overflow_ = std::make_unique<Overflow>();
    return *overflow_;
}

char* Arena::allocSlow(size_t n) {
    Overflow& o = overflow();
    if (n > kMaxScratchBytes - o.bytes)
        failIn(ErrorCode::Argument, text_, kNoPos,
               "evaluation needs more than " + std::to_string(kMaxScratchBytes >> 20) +
                   " MiB of intermediate text");
    o.bytes += n;
    o.blocks.push_back(std::make_unique_for_overwrite<char[]>(n == 0 ? 1 : n));
    return o.blocks.back().get();
}

// A memo is the table's data, bounded by its reader, so it does not count against the limit.
std::string_view Arena::keep(std::string&& s) {
    Overflow& o = overflow();
    o.kept.push_back(std::make_unique<std::string>(std::move(s)));
    return *o.kept.back();
}

void EvalCtx::tooLong() const {
    std::string what = "a character result would be longer than " +
                       std::to_string(kMaxStringLength >> 20) + " MiB";
    failIn(ErrorCode::Argument, text, kNoPos, what);
}

}  // namespace xb::expr
