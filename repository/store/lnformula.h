#pragma once
// Formula language: syntax check only; formulas are never evaluated here.

#include <string>

#include "repository/store/lnstatus.h"

class LNFormula {
 public:
  // Compiles `text`. On a syntax error returns LNERR_FORMULA_SYNTAX (a formula
  // belongs to no database, so it never throws), and fills `error` with a message and `offset` with
  // the zero-based character offset where the error was found. On success `error` is cleared and
  // `offset` set to -1; the text is kept only when it compiles.
  LNSTATUS SetText(const std::string& text, std::string* error = nullptr, long* offset = nullptr);
  const std::string& GetText() const { return text_; }

 private:
  std::string text_;
};
