#pragma once
// Private to the store: the lexer and recursive-descent checker behind LNFormula.
// The checker only decides whether a formula compiles; it builds no tree.

#include <cstddef>
#include <string>
#include <string_view>

namespace lnstore::formula {

// Raised inside the checker; LNFormula turns it into a status, message and offset.
struct SyntaxError {
  std::string message;
  std::size_t pos;  // byte offset into the formula text
};

enum class Tok {
  End,
  Number,
  String,  // "quoted" or {braced}
  Name,
  Function,  // @name
  LParen,
  RParen,
  LBracket,
  RBracket,
  Semicolon,
  Assign,  // :=
  Colon,
  Plus,
  Minus,
  Bang,
  Multiply,      // * /
  PermMultiply,  // ** */
  PermAdd,       // *+ *-
  Compare,       // = <> != < > <= >= and their permuted *-forms
  Logic,         // & |
};

struct Token {
  Tok kind = Tok::End;
  std::size_t begin = 0;
  std::size_t end = 0;
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) {}

  Token next();
  // Consumes the rest of a "[keyword]" or "[time]" constant whose '[' was just read.
  void skipBracketConstant(std::size_t open);

 private:
  Token make(Tok kind, std::size_t begin, std::size_t length);
  Token lexNumber(std::size_t begin);
  Token lexQuoted(std::size_t begin);
  Token lexBraced(std::size_t begin);
  Token lexWord(std::size_t begin, Tok kind);
  Token lexOperator(std::size_t begin);
  Token lexStarOperator(std::size_t begin);
  char at(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

  std::string_view text_;
  std::size_t pos_ = 0;
};

enum FunctionFlags : unsigned {
  kStatementArgs = 1,  // arguments may be assignments (@If, @Do, loops)
  kOddArgs = 2,        // condition/value pairs plus an else value
};

inline constexpr int kManyArgs = 255;

struct FunctionInfo {
  const char* name;  // without the '@'
  int minArgs;
  int maxArgs;
  unsigned flags;
};

// Case-insensitive; `name` is given without the '@'. Null when unknown.
const FunctionInfo* findFunction(std::string_view name);

bool equalsIgnoreCase(std::string_view a, std::string_view b);

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text), lexer_(text) {}

  // Throws SyntaxError at the first fault.
  void checkFormula();

 private:
  enum class Keyword { None, Select, Field, Default, Environment, Rem };

  void advance() { cur_ = lexer_.next(); }
  std::string_view spell(const Token& t) const { return text_.substr(t.begin, t.end - t.begin); }
  Keyword keywordOf(const Token& t) const;
  [[noreturn]] void fail(const std::string& message, std::size_t pos) const;
  [[noreturn]] void failAfterOperand(const char* otherwise) const;
  void expect(Tok kind, const char* missing);

  void parseStatement(bool topLevel);
  void parseKeywordStatement(Keyword keyword, bool topLevel);
  void parseAssignmentTail();
  void parseExpression();
  void parseLogical();
  void parseComparison();
  void parseAdditive();
  void parseMultiplicative();
  void parseList();
  void parseUnary();
  void parsePrimary();
  void parseFunction();
  int parseArguments(const FunctionInfo& fn, const std::string& name);

  std::string_view text_;
  Lexer lexer_;
  Token cur_;
  int depth_ = 0;
};

}  // namespace lnstore::formula
