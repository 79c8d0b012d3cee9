// Tokens of the formula language. Tokens are read one at a time as the parser asks,
// so a fault is reported in the order the text is read.

#include <cstdio>

#include "repository/store/lnformulaparser.h"

namespace lnstore::formula {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Bytes of multi-byte UTF-8 characters count as letters, so field names in any
// language are accepted.
bool isNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' ||
         static_cast<unsigned char>(c) >= 0x80;
}

bool isNamePart(char c) {
  return isNameStart(c) || isDigit(c) || c == '.';
}

// Besides letters and digits, what dates, times and option keywords are written with.
bool isBracketPart(char c) {
  return isNamePart(c) || c == ' ' || c == '\t' || c == '/' || c == ':' || c == '-' || c == ',' ||
         c == '+';
}

std::string describe(char c) {
  if (c >= 0x21 && c < 0x7f) return std::string("Invalid character '") + c + "'";
  char code[8];
  std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
  return std::string("Invalid character ") + code;
}

}  // namespace

Token Lexer::make(Tok kind, std::size_t begin, std::size_t length) {
  pos_ = begin + length;
  return Token{kind, begin, pos_};
}

Token Lexer::next() {
  while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
  const std::size_t begin = pos_;
  if (begin >= text_.size()) return Token{Tok::End, begin, begin};
  const char c = text_[begin];
  if (isDigit(c) || (c == '.' && isDigit(at(begin + 1)))) return lexNumber(begin);
  if (isNameStart(c)) return lexWord(begin, Tok::Name);
  switch (c) {
    case '"':
      return lexQuoted(begin);
    case '{':
      return lexBraced(begin);
    case '@':
      return lexWord(begin, Tok::Function);
    case '(':
      return make(Tok::LParen, begin, 1);
    case ')':
      return make(Tok::RParen, begin, 1);
    case '[':
      return make(Tok::LBracket, begin, 1);
    case ']':
      return make(Tok::RBracket, begin, 1);
    case ';':
      return make(Tok::Semicolon, begin, 1);
    default:
      return lexOperator(begin);
  }
}

Token Lexer::lexNumber(std::size_t begin) {
  std::size_t i = begin;
  while (isDigit(at(i))) ++i;
  if (at(i) == '.') {
    ++i;
    while (isDigit(at(i))) ++i;
  }
  if (at(i) == 'e' || at(i) == 'E') {
    std::size_t exp = i + 1;
    if (at(exp) == '+' || at(exp) == '-') ++exp;
    if (!isDigit(at(exp))) throw SyntaxError{"Invalid number", begin};
    while (isDigit(at(exp))) ++exp;
    i = exp;
  }
  return make(Tok::Number, begin, i - begin);
}

// An unterminated constant is reported where it opens: any later text could belong to it.
Token Lexer::lexQuoted(std::size_t begin) {
  std::size_t i = begin + 1;
  while (i < text_.size() && text_[i] != '"') i += text_[i] == '\\' ? 2 : 1;
  if (i >= text_.size()) throw SyntaxError{"Missing closing quotation mark", begin};
  return make(Tok::String, begin, i + 1 - begin);
}

Token Lexer::lexBraced(std::size_t begin) {
  const std::size_t close = text_.find('}', begin + 1);
  if (close == std::string_view::npos) throw SyntaxError{"Missing closing brace", begin};
  return make(Tok::String, begin, close + 1 - begin);
}

Token Lexer::lexWord(std::size_t begin, Tok kind) {
  std::size_t i = begin + (kind == Tok::Function ? 1 : 0);
  if (kind == Tok::Function && !isNameStart(at(i))) {
    throw SyntaxError{"Missing @function name", begin};
  }
  while (i < text_.size() && isNamePart(text_[i])) ++i;
  return make(kind, begin, i - begin);
}

Token Lexer::lexOperator(std::size_t begin) {
  const char c = text_[begin];
  const char n = at(begin + 1);
  switch (c) {
    case ':':
      return n == '=' ? make(Tok::Assign, begin, 2) : make(Tok::Colon, begin, 1);
    case '+':
      return make(Tok::Plus, begin, 1);
    case '-':
      return make(Tok::Minus, begin, 1);
    case '/':
      return make(Tok::Multiply, begin, 1);
    case '&':
    case '|':
      return make(Tok::Logic, begin, 1);
    case '=':
      return make(Tok::Compare, begin, 1);
    case '!':
      return n == '=' ? make(Tok::Compare, begin, 2) : make(Tok::Bang, begin, 1);
    case '<':
      return make(Tok::Compare, begin, n == '>' || n == '=' ? 2 : 1);
    case '>':
      return make(Tok::Compare, begin, n == '=' ? 2 : 1);
    case '*':
      return lexStarOperator(begin);
    default:
      throw SyntaxError{describe(c), begin};
  }
}

// A leading '*' makes an operator permuted: it pairs every element of one list
// with every element of the other.
Token Lexer::lexStarOperator(std::size_t begin) {
  const char n = at(begin + 1);
  switch (n) {
    case '+':
    case '-':
      return make(Tok::PermAdd, begin, 2);
    case '*':
    case '/':
      return make(Tok::PermMultiply, begin, 2);
    case '=':
      return make(Tok::Compare, begin, 2);
    case '<': {
      const char m = at(begin + 2);
      return make(Tok::Compare, begin, m == '>' || m == '=' ? 3 : 2);
    }
    case '>':
      return make(Tok::Compare, begin, at(begin + 2) == '=' ? 3 : 2);
    default:
      return make(Tok::Multiply, begin, 1);
  }
}

void Lexer::skipBracketConstant(std::size_t open) {
  std::size_t i = open + 1;
  bool blank = true;
  while (i < text_.size() && isBracketPart(text_[i])) {
    blank = blank && (text_[i] == ' ' || text_[i] == '\t');
    ++i;
  }
  if (i >= text_.size()) throw SyntaxError{"Missing closing bracket", open};
  if (text_[i] != ']') throw SyntaxError{"Missing closing bracket", i};
  if (blank) throw SyntaxError{"Empty keyword or time constant", open};
  pos_ = i + 1;
}

}  // namespace lnstore::formula
