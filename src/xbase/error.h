// The engine's one way of reporting failure: an exception carrying a code and a message
// that names the file and what is wrong. The engine never prints anything itself.
#pragma once

#include <stdexcept>
#include <string>

namespace xb {

enum class ErrorCode {
    Io,           // the operating system refused a read, write, sync or rename
    NotFound,     // a file, field, tag or record that does not exist
    Locked,       // another opener holds the file in a conflicting mode
    Corrupt,      // bytes that do not form a valid file of the expected kind
    Unsupported,  // a valid file of a kind or version the engine does not handle
    Syntax,       // a malformed expression
    Type,         // an expression whose operand types do not fit
    Argument,     // a caller's value out of range (a field width, a record number)
    State,        // an operation that the work area's state does not allow
    CodePage,     // text that the table's code page cannot hold
};

class Error : public std::runtime_error {
  public:
    Error(ErrorCode code, const std::string& message) : std::runtime_error(message), code_(code) {}
    ErrorCode code() const noexcept { return code_; }

  private:
    ErrorCode code_;
};

[[noreturn]] inline void fail(ErrorCode code, const std::string& message) {
    throw Error(code, message);
}

}  // namespace xb
