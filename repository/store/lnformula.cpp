#include "repository/store/lnformula.h"

#include "repository/store/lnformulaparser.h"

// Grammar, lowest precedence first:
//   formula    := statement { ';' statement } [ ';' ]
//   statement  := SELECT expr | REM string | (FIELD|DEFAULT|ENVIRONMENT) name ':=' expr
//               | name ':=' expr | expr
//   expr       := comparison { ('&'|'|') comparison }
//   comparison := additive { ('='|'<>'|'!='|'<'|'>'|'<='|'>=') additive }
//   additive   := multiply { ('+'|'-') multiply }
//   multiply   := list { ('*'|'/') list }
//   list       := unary { ':' unary }
//   unary      := { '+'|'-'|'!' } primary { '[' expr ']' }
//   primary    := number | string | name | '[' keyword-or-time ']' | '(' expr ')'
//               | @function [ '(' [ argument { ';' argument } ] ')' ]
// Arguments of @If, @Do and the loop functions may be assignments as well.

namespace lnstore::formula {

namespace {

// Deep enough for any real formula, shallow enough that the recursion stays far
// from the end of a thread's stack.
constexpr int kMaxNesting = 100;

bool startsOperand(Tok kind) {
  switch (kind) {
    case Tok::Number:
    case Tok::String:
    case Tok::Name:
    case Tok::Function:
    case Tok::LParen:
    case Tok::LBracket:
    case Tok::Bang:
      return true;
    default:
      return false;
  }
}

bool isUnary(Tok kind) {
  return kind == Tok::Plus || kind == Tok::Minus || kind == Tok::Bang;
}

bool isAdditive(Tok kind) {
  return kind == Tok::Plus || kind == Tok::Minus || kind == Tok::PermAdd;
}

bool isMultiplicative(Tok kind) {
  return kind == Tok::Multiply || kind == Tok::PermMultiply;
}

}  // namespace

Parser::Keyword Parser::keywordOf(const Token& t) const {
  struct Entry {
    const char* word;
    Keyword keyword;
  };
  static constexpr Entry kWords[] = {{"SELECT", Keyword::Select},
                                     {"FIELD", Keyword::Field},
                                     {"DEFAULT", Keyword::Default},
                                     {"ENVIRONMENT", Keyword::Environment},
                                     {"REM", Keyword::Rem}};
  if (t.kind != Tok::Name) return Keyword::None;
  for (const Entry& e : kWords) {
    if (equalsIgnoreCase(spell(t), e.word)) return e.keyword;
  }
  return Keyword::None;
}

void Parser::fail(const std::string& message, std::size_t pos) const {
  throw SyntaxError{message, pos};
}

// Where a complete operand was read and `cur_` cannot follow it.
void Parser::failAfterOperand(const char* otherwise) const {
  if (cur_.kind == Tok::Assign) {
    fail("':=' can only follow a field or variable name", cur_.begin);
  }
  if (startsOperand(cur_.kind)) fail("Missing operator", cur_.begin);
  fail(otherwise, cur_.begin);
}

void Parser::expect(Tok kind, const char* missing) {
  if (cur_.kind != kind) failAfterOperand(missing);
  advance();
}

void Parser::checkFormula() {
  advance();
  if (cur_.kind == Tok::End) fail("Empty formula", 0);
  while (cur_.kind != Tok::End) {
    if (cur_.kind == Tok::Semicolon) fail("Empty statement", cur_.begin);
    parseStatement(true);
    if (cur_.kind == Tok::Semicolon) {
      advance();
    } else if (cur_.kind == Tok::RParen) {
      fail("Missing opening parenthesis", cur_.begin);
    } else if (cur_.kind == Tok::RBracket) {
      fail("Missing opening bracket", cur_.begin);
    } else if (cur_.kind != Tok::End) {
      failAfterOperand("Missing ';' between statements");
    }
  }
}

void Parser::parseStatement(bool topLevel) {
  const Keyword keyword = keywordOf(cur_);
  if (keyword != Keyword::None) {
    parseKeywordStatement(keyword, topLevel);
    return;
  }
  if (cur_.kind == Tok::Name) {
    Lexer ahead = lexer_;
    if (ahead.next().kind == Tok::Assign) {
      advance();
      parseAssignmentTail();
      return;
    }
  }
  parseExpression();
}

void Parser::parseKeywordStatement(Keyword keyword, bool topLevel) {
  const std::string word(spell(cur_));
  if (!topLevel && (keyword == Keyword::Select || keyword == Keyword::Rem)) {
    fail("Keyword " + word + " not allowed here", cur_.begin);
  }
  advance();
  if (keyword == Keyword::Select) {
    parseExpression();
  } else if (keyword == Keyword::Rem) {
    if (cur_.kind != Tok::String) fail(word + " must be followed by a string constant", cur_.begin);
    advance();
  } else {
    if (cur_.kind != Tok::Name || keywordOf(cur_) != Keyword::None) {
      fail("Missing name after " + word, cur_.begin);
    }
    advance();
    if (cur_.kind != Tok::Assign) fail("Missing ':=' after " + word + " name", cur_.begin);
    parseAssignmentTail();
  }
}

void Parser::parseAssignmentTail() {
  advance();  // ':='
  parseExpression();
}

void Parser::parseExpression() {
  if (++depth_ > kMaxNesting) fail("Formula is nested too deeply", cur_.begin);
  parseLogical();
  --depth_;
}

void Parser::parseLogical() {
  parseComparison();
  while (cur_.kind == Tok::Logic) {
    advance();
    parseComparison();
  }
}

void Parser::parseComparison() {
  parseAdditive();
  while (cur_.kind == Tok::Compare) {
    advance();
    parseAdditive();
  }
}

void Parser::parseAdditive() {
  parseMultiplicative();
  while (isAdditive(cur_.kind)) {
    advance();
    parseMultiplicative();
  }
}

void Parser::parseMultiplicative() {
  parseList();
  while (isMultiplicative(cur_.kind)) {
    advance();
    parseList();
  }
}

void Parser::parseList() {
  parseUnary();
  while (cur_.kind == Tok::Colon) {
    advance();
    parseUnary();
  }
}

void Parser::parseUnary() {
  while (isUnary(cur_.kind)) advance();
  parsePrimary();
  while (cur_.kind == Tok::LBracket) {  // list subscript
    advance();
    parseExpression();
    expect(Tok::RBracket, "Missing closing bracket");
  }
}

void Parser::parsePrimary() {
  switch (cur_.kind) {
    case Tok::Number:
    case Tok::String:
      advance();
      return;
    case Tok::Name:
      if (keywordOf(cur_) != Keyword::None) {
        fail("Keyword " + std::string(spell(cur_)) + " not allowed here", cur_.begin);
      }
      advance();
      return;
    case Tok::Function:
      parseFunction();
      return;
    case Tok::LParen:
      advance();
      parseExpression();
      expect(Tok::RParen, "Missing closing parenthesis");
      return;
    case Tok::LBracket:
      lexer_.skipBracketConstant(cur_.begin);
      advance();
      return;
    default:
      fail("Missing operand", cur_.begin);
  }
}

void Parser::parseFunction() {
  const std::string name(spell(cur_));
  const FunctionInfo* fn = findFunction(std::string_view(name).substr(1));
  if (!fn) fail("Unknown @function: " + name, cur_.begin);
  advance();
  if (cur_.kind != Tok::LParen) {
    if (fn->minArgs > 0) fail("Missing arguments for " + name, cur_.begin);
    return;
  }
  advance();
  const int count = cur_.kind == Tok::RParen ? 0 : parseArguments(*fn, name);
  if (cur_.kind != Tok::RParen) failAfterOperand("Missing closing parenthesis");
  if (count < fn->minArgs) fail("Too few arguments for " + name, cur_.begin);
  if ((fn->flags & kOddArgs) && count % 2 == 0) {
    fail("Wrong number of arguments for " + name, cur_.begin);
  }
  advance();
}

// Returns the number of arguments read; `cur_` is left on what follows the last one.
int Parser::parseArguments(const FunctionInfo& fn, const std::string& name) {
  int count = 0;
  for (;;) {
    if (count == fn.maxArgs) fail("Too many arguments for " + name, cur_.begin);
    if (fn.flags & kStatementArgs) {
      parseStatement(false);
    } else {
      parseExpression();
    }
    ++count;
    if (cur_.kind != Tok::Semicolon) return count;
    advance();
  }
}

}  // namespace lnstore::formula

namespace {

// Offsets are reported in characters, not in bytes of the UTF-8 text.
long characterOffset(const std::string& text, std::size_t pos) {
  long n = 0;
  for (std::size_t i = 0; i < pos && i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace

// On success `error` is cleared and `offset` set to -1. The text is kept only when
// it compiles, so GetText() always returns a formula that does.
LNSTATUS LNFormula::SetText(const std::string& text, std::string* error, long* offset) {
  try {
    lnstore::formula::Parser(text).checkFormula();
  } catch (const lnstore::formula::SyntaxError& e) {
    if (error) *error = e.message;
    if (offset) *offset = characterOffset(text, e.pos);
    return LNERR_FORMULA_SYNTAX;
  }
  text_ = text;
  if (error) error->clear();
  if (offset) *offset = -1;
  return LNNOERROR;
}
