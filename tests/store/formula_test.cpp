#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "repository/store/lnformula.h"

namespace {

void expectCompiles(const std::string& text) {
  LNFormula formula;
  std::string error = "stale";
  long offset = 0;
  EXPECT_EQ(formula.SetText(text, &error, &offset), LNNOERROR) << text << " -> " << error;
  EXPECT_EQ(error, "") << text;
  EXPECT_EQ(offset, -1) << text;
  EXPECT_EQ(formula.GetText(), text);
}

struct BadFormula {
  std::string text;
  long offset;
  std::string message;
};

void expectRejected(const BadFormula& bad) {
  LNFormula formula;
  std::string error;
  long offset = -1;
  EXPECT_EQ(formula.SetText(bad.text, &error, &offset), LNERR_FORMULA_SYNTAX) << bad.text;
  EXPECT_EQ(offset, bad.offset) << bad.text << " -> " << error;
  EXPECT_EQ(error, bad.message) << bad.text;
}

TEST(Formula, AcceptsWellFormedFormulas) {
  // clang-format off
  const std::vector<std::string> good = {
      // constants
      "1", "2.5", "1e3", ".5", "1.5E-3", "\"text\"", "\"say \\\"hi\\\"\"", "\"back\\\\slash\"",
      "\"semi;colon (paren\"", "{braced \"quotes\" and \\ inside}", "\"\"", "{}",
      // names
      "Amount", "Form_Name$1", "Kunde.Name", "Größe > 1",
      // @functions, case-insensitive, with and without parentheses
      "@True", "@NOW", "@yes", "@Now()", "@If(a;b;c)", "@IF(a;1;b;2;3)", "@iSmEmBeR(a;b)",
      "@If(@Contains(Status; \"Open\":\"New\"); @UpperCase(@Trim(Name)); @Left(Name; 3))",
      "@Sum(1;2;3;4;5;6;7;8;9;10;11;12)", "@Text(@Adjust(@Today;0;0;7;0;0;0))",
      // lists and operators
      "1:2:3", "\"a\":\"b\":Country", "-1:2", "1 : -2", "a + b * c - d / e", "!a & b | c",
      "a = b", "a <> b", "a != b", "a <= b", "a >= b", "a < b", "a > b", "-(a + b) * +c",
      "!!a", "a *= b", "a *+ b", "a *- b", "a ** b", "a */ b", "a *<> b", "a*-1",
      // keyword, option and time constants, subscripts
      "@Name([CN]; @UserName)", "@Command([FileSave])", "@Prompt([OkCancelList]; \"T\"; \"P\"; \"\"; L)",
      "@Today > [01/01/2020]", "@Now < [12:30 PM]", "Names[2]", "(a:b)[1 + 1]",
      // statements and keywords
      "x := 1; y := x + 1; y", "x := 1;", "x:=1", "SELECT Form = \"Order\"", "select @All",
      "FIELD Total := Amount * 2", "field Total := 0", "DEFAULT Status := \"New\"; Status",
      "ENVIRONMENT LastOrder := OrderNo", "REM \"comment\"; 1", "rem {braced}; SELECT @All",
      // assignments inside the control-flow @functions
      "@Do(x := 1; FIELD y := x; x)", "@If(a; @Do(FIELD x := 1; 1); 0)",
      "@For(n := 1; n <= 3; n := n + 1; total := total + n)", "@While(n < 3; n := n + 1)",
      // whitespace between tokens
      " \t\r\n Amount \r\n > \t 1 \n", "@UserName = \"CN=Test Designer/O=Marvelund\"",
      // routing conditions as the routing dialog wraps them for the check
      "@if((Amount > 1000 & Status = \"Open\");1;1)",
      "@if((@IsMember(\"[Manager]\"; @UserRoles));1;1)",
      "@if((@LowerCase(Region) = {north} & (Amount > 10 | @IsAvailable(Override)));1;1)",
  };
  // clang-format on
  for (const std::string& text : good) expectCompiles(text);
}

TEST(Formula, RejectsMalformedFormulasAtTheFaultyCharacter) {
  const std::vector<BadFormula> bad = {
      // empty text and statements
      {"", 0, "Empty formula"},
      {" \r\n\t", 0, "Empty formula"},
      {";", 0, "Empty statement"},
      {"a;;b", 2, "Empty statement"},
      // unterminated constants are reported where they open
      {"\"abc", 0, "Missing closing quotation mark"},
      {"x = \"abc\\\"", 4, "Missing closing quotation mark"},
      {"{abc", 0, "Missing closing brace"},
      {"[CN", 0, "Missing closing bracket"},
      {"@Name([CN; x)", 9, "Missing closing bracket"},
      {"[ ]", 0, "Empty keyword or time constant"},
      {"x[1", 3, "Missing closing bracket"},
      {"1e", 0, "Invalid number"},
      {"2.5e+x", 0, "Invalid number"},
      // parentheses
      {"(a + b", 6, "Missing closing parenthesis"},
      {"(a; b)", 2, "Missing closing parenthesis"},
      {"a + b)", 5, "Missing opening parenthesis"},
      {"a]", 1, "Missing opening bracket"},
      {"@Left(a; 1", 10, "Missing closing parenthesis"},
      // operands and operators
      {"a +", 3, "Missing operand"},
      {"a + * b", 4, "Missing operand"},
      {"* a", 0, "Missing operand"},
      {"a ><b", 3, "Missing operand"},
      {"a b", 2, "Missing operator"},
      {"x := 1 y", 7, "Missing operator"},
      {"a # b", 2, "Invalid character '#'"},
      {"a \x01", 2, "Invalid character 0x01"},
      {"@", 0, "Missing @function name"},
      {"@ If(a;b;c)", 0, "Missing @function name"},
      // @functions and their arguments
      {"@Foo(1)", 0, "Unknown @function: @Foo"},
      {"@Left", 5, "Missing arguments for @Left"},
      {"@Left(a)", 7, "Too few arguments for @Left"},
      {"@Left(a;b;c)", 10, "Too many arguments for @Left"},
      {"@True(1)", 6, "Too many arguments for @True"},
      {"@If(a;b)", 7, "Too few arguments for @If"},
      {"@If(a;b;c;d)", 11, "Wrong number of arguments for @If"},
      {"@If(a;;b)", 6, "Missing operand"},
      // assignment only after a name, and only as a statement
      {":= 1", 0, "Missing operand"},
      {"1 := 2", 2, "':=' can only follow a field or variable name"},
      {"a + b := 3", 6, "':=' can only follow a field or variable name"},
      {"a := b := c", 7, "':=' can only follow a field or variable name"},
      {"(x := 1)", 3, "':=' can only follow a field or variable name"},
      {"@Left(x := 1; 2)", 8, "':=' can only follow a field or variable name"},
      // keywords
      {"SELECT", 6, "Missing operand"},
      {"FIELD := 1", 6, "Missing name after FIELD"},
      {"Default x = 1", 10, "Missing ':=' after Default name"},
      {"ENVIRONMENT x", 13, "Missing ':=' after ENVIRONMENT name"},
      {"REM x", 4, "REM must be followed by a string constant"},
      {"@If(SELECT a; 1; 2)", 4, "Keyword SELECT not allowed here"},
      {"@Do(rem \"x\"; 1)", 4, "Keyword rem not allowed here"},
      {"a + field", 4, "Keyword field not allowed here"},
      // faults inside a wrapped routing condition, some shown only by the wrapping
      {"@if((Amount > 1000));1;1)", 19, "Too few arguments for @if"},
      {"@if((x := 1);1;1)", 7, "':=' can only follow a field or variable name"},
      {"@if(( Approved !);1;1)", 15, "Missing operator"},
      {"@if((Amount > 1000; Status = \"Open\");1;1)", 18, "Missing closing parenthesis"},
      // offsets count characters, not bytes of the UTF-8 text
      {"\"ä\" + ", 6, "Missing operand"},
      {"Größe Maß", 6, "Missing operator"},
  };
  for (const BadFormula& b : bad) expectRejected(b);
}

TEST(Formula, FailedTextLeavesTheLastGoodFormulaInPlace) {
  LNFormula formula;
  ASSERT_EQ(formula.SetText("Amount > 1"), LNNOERROR);
  EXPECT_EQ(formula.SetText("Amount >"), LNERR_FORMULA_SYNTAX);  // no error or offset wanted
  EXPECT_EQ(formula.GetText(), "Amount > 1");
}

TEST(Formula, DeepNestingIsRefusedWithoutCrashing) {
  const auto nested = [](int depth) {
    return std::string(depth, '(') + "1" + std::string(depth, ')');
  };
  expectCompiles(nested(60));
  expectCompiles("@If(" + nested(50) + ";1;1)");

  LNFormula formula;
  std::string error;
  long offset = -1;
  EXPECT_EQ(formula.SetText(nested(100000), &error, &offset), LNERR_FORMULA_SYNTAX);
  EXPECT_EQ(error, "Formula is nested too deeply");
  EXPECT_GT(offset, 0);
}

}  // namespace
