// Splits expression text into tokens: names, literals, operators and the dotted keywords.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace xb::expr {

enum class Tok {
    End,
    Name,    // field or function name; text holds it as typed
    Number,  // text holds the digits
    String,  // text holds the bytes between the delimiters
    True,
    False,
    And,
    Or,
    Not,  // .NOT., NOT and !
    LParen,
    RParen,
    Comma,
    Plus,
    Minus,
    Star,
    Slash,
    Percent,
    Power,  // ^ and **
    Eq,     // =
    EqEq,   // ==
    Ne,     // <> # !=
    Lt,
    Le,
    Gt,
    Ge,
    Dollar,
};

struct Token {
    Tok kind = Tok::End;
    std::string_view text;  // points into the expression text
    size_t pos = 0;         // byte offset of the token's first character
};

// Reads one token at a time; throws Error(Syntax) for bytes that start no token.
class Lexer {
  public:
    explicit Lexer(std::string_view src) : src_(src) {}
    Token next();

  private:
    Token dotted(size_t start);
    Token name(size_t start);
    Token number(size_t start);
    Token string(size_t start, char close);

    std::string_view src_;
    size_t pos_ = 0;
};

// Describes a token for messages ("')'", "the end of the expression").
std::string describe(const Token& t);

}  // namespace xb::expr
