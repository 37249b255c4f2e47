// Error messages for expressions.
#include "xbase/expr/diagnostics.h"

namespace xb::expr {

namespace {
constexpr size_t kQuoteLimit = 120;
}

std::string quoteExpression(std::string_view text) {
    std::string q = "\"";
    if (text.size() > kQuoteLimit) {
        q.append(text.substr(0, kQuoteLimit));
        q += "...";
    } else {
        q.append(text);
    }
    q += '"';
    return q;
}

void failIn(ErrorCode code, std::string_view text, size_t pos, const std::string& what) {
    std::string msg = "Expression " + quoteExpression(text);
    if (pos != kNoPos) msg += ", column " + std::to_string(pos + 1);
    msg += ": ";
    msg += what;
    throw Error(code, msg);
}

}  // namespace xb::expr
