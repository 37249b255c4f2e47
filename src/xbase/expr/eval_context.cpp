// Arena blocks and the evaluation-time limit messages.
#include "xbase/expr/eval_context.h"

#include "xbase/expr/diagnostics.h"

namespace xb::expr {

char* Arena::allocSlow(size_t n) {
    if (n > kMaxScratchBytes - heapBytes_)
        failIn(ErrorCode::Argument, text_, kNoPos,
               "evaluation needs more than " + std::to_string(kMaxScratchBytes >> 20) +
                   " MiB of intermediate text");
    heapBytes_ += n;
    blocks_.push_back(std::make_unique<char[]>(n == 0 ? 1 : n));
    return blocks_.back().get();
}

// A memo is the table's data, bounded by its reader, so it does not count against the limit.
std::string_view Arena::keep(std::string&& s) {
    kept_.push_back(std::make_unique<std::string>(std::move(s)));
    return *kept_.back();
}

void EvalCtx::tooLong() const {
    std::string what = "a character result would be longer than " +
                       std::to_string(kMaxStringLength >> 20) + " MiB";
    failIn(ErrorCode::Argument, text, kNoPos, what);
}

}  // namespace xb::expr
