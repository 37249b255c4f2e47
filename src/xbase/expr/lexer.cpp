// Expression tokenizer.
#include "xbase/expr/lexer.h"

#include <strings.h>

#include "xbase/expr/diagnostics.h"

namespace xb::expr {

namespace {

bool isAlpha(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool wordIs(std::string_view w, const char* kw) {
    size_t n = std::char_traits<char>::length(kw);
    return w.size() == n && ::strncasecmp(w.data(), kw, n) == 0;
}

std::string printable(char c) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 0x21 && b < 0x7F) return std::string("'") + c + "'";
    static const char* hex = "0123456789ABCDEF";
    return std::string("byte 0x") + hex[b >> 4] + hex[b & 15];
}

}  // namespace

Token Lexer::next() {
    while (pos_ < src_.size() && isSpace(src_[pos_]))
        ++pos_;
    size_t start = pos_;
    if (pos_ >= src_.size()) return {Tok::End, {}, start};
    char c = src_[pos_];
    auto op = [&](Tok k, size_t len) {
        pos_ += len;
        return Token{k, src_.substr(start, len), start};
    };
    char n1 = pos_ + 1 < src_.size() ? src_[pos_ + 1] : '\0';
    if (isAlpha(c)) return name(start);
    if (isDigit(c) || (c == '.' && isDigit(n1))) return number(start);
    switch (c) {
        case '.':
            return dotted(start);
        case '"':
            return string(start, '"');
        case '\'':
            return string(start, '\'');
        case '[':
            return string(start, ']');
        case '(':
            return op(Tok::LParen, 1);
        case ')':
            return op(Tok::RParen, 1);
        case ',':
            return op(Tok::Comma, 1);
        case '+':
            return op(Tok::Plus, 1);
        case '-':
            return op(Tok::Minus, 1);
        case '*':
            return n1 == '*' ? op(Tok::Power, 2) : op(Tok::Star, 1);
        case '/':
            return op(Tok::Slash, 1);
        case '%':
            return op(Tok::Percent, 1);
        case '^':
            return op(Tok::Power, 1);
        case '$':
            return op(Tok::Dollar, 1);
        case '#':
            return op(Tok::Ne, 1);
        case '=':
            return n1 == '=' ? op(Tok::EqEq, 2) : op(Tok::Eq, 1);
        case '!':
            return n1 == '=' ? op(Tok::Ne, 2) : op(Tok::Not, 1);
        case '<':
            if (n1 == '=') return op(Tok::Le, 2);
            if (n1 == '>') return op(Tok::Ne, 2);
            return op(Tok::Lt, 1);
        case '>':
            return n1 == '=' ? op(Tok::Ge, 2) : op(Tok::Gt, 1);
        default:
            break;
    }
    failIn(ErrorCode::Syntax, src_, start, "unexpected " + printable(c));
}

Token Lexer::dotted(size_t start) {
    size_t p = start + 1;
    while (p < src_.size() && isAlpha(src_[p]))
        ++p;
    std::string_view word = src_.substr(start + 1, p - start - 1);
    if (p < src_.size() && src_[p] == '.' && !word.empty()) {
        Tok k = Tok::End;
        if (wordIs(word, "T") || wordIs(word, "Y"))
            k = Tok::True;
        else if (wordIs(word, "F") || wordIs(word, "N"))
            k = Tok::False;
        else if (wordIs(word, "AND"))
            k = Tok::And;
        else if (wordIs(word, "OR"))
            k = Tok::Or;
        else if (wordIs(word, "NOT"))
            k = Tok::Not;
        if (k != Tok::End) {
            pos_ = p + 1;
            return {k, src_.substr(start, pos_ - start), start};
        }
        failIn(ErrorCode::Syntax, src_, start,
               "unknown keyword ." + std::string(word) +
                   ". (expected .T., .F., .AND., .OR. or .NOT.)");
    }
    failIn(ErrorCode::Syntax, src_, start,
           "a '.' must start a number or one of .T., .F., .AND., .OR., .NOT.");
}

Token Lexer::name(size_t start) {
    size_t p = start;
    for (;;) {
        while (p < src_.size() && (isAlpha(src_[p]) || isDigit(src_[p])))
            ++p;
        // An alias in front of a field ("A->LNAME") names the table the caller already gave.
        if (p + 1 >= src_.size() || src_[p] != '-' || src_[p + 1] != '>') break;
        size_t q = p + 2;
        while (q < src_.size() && isSpace(src_[q]))
            ++q;
        if (q >= src_.size() || !isAlpha(src_[q]))
            failIn(ErrorCode::Syntax, src_, p, "a field name must follow '->'");
        start = p = q;
    }
    pos_ = p;
    std::string_view w = src_.substr(start, p - start);
    if (wordIs(w, "AND")) return {Tok::And, w, start};
    if (wordIs(w, "OR")) return {Tok::Or, w, start};
    if (wordIs(w, "NOT")) return {Tok::Not, w, start};
    return {Tok::Name, w, start};
}

Token Lexer::number(size_t start) {
    size_t p = start;
    while (p < src_.size() && isDigit(src_[p]))
        ++p;
    // A point belongs to the number only when a digit follows: "5.AND." is 5 then .AND.
    if (p + 1 < src_.size() && src_[p] == '.' && isDigit(src_[p + 1])) {
        ++p;
        while (p < src_.size() && isDigit(src_[p]))
            ++p;
    }
    // An exponent: 1E3, 2.5e-4.
    if (p < src_.size() && (src_[p] == 'e' || src_[p] == 'E')) {
        size_t q = p + 1;
        if (q < src_.size() && (src_[q] == '+' || src_[q] == '-')) ++q;
        if (q < src_.size() && isDigit(src_[q])) {
            while (q < src_.size() && isDigit(src_[q]))
                ++q;
            p = q;
        }
    }
    if (p < src_.size() && isAlpha(src_[p]))
        failIn(ErrorCode::Syntax, src_, start, "a number runs into a name");
    pos_ = p;
    return {Tok::Number, src_.substr(start, p - start), start};
}

Token Lexer::string(size_t start, char close) {
    size_t end = src_.find(close, start + 1);
    if (end == std::string_view::npos)
        failIn(ErrorCode::Syntax, src_, start, std::string("the string has no closing ") + close);
    pos_ = end + 1;
    return {Tok::String, src_.substr(start + 1, end - start - 1), start};
}

std::string describe(const Token& t) {
    switch (t.kind) {
        case Tok::End:
            return "the end of the expression";
        case Tok::String:
            return "a string";
        case Tok::Number:
            return std::string("the number ").append(t.text);
        case Tok::Name:
            return std::string("the name ").append(t.text);
        default:
            return std::string("'").append(t.text).append("'");
    }
}

}  // namespace xb::expr
