#include "dialogs/taskrouting.h"

#include "common/services.h"
#include "repository/noteserror.h"
#include "repository/store/lnformula.h"

namespace velk {

const std::vector<std::string>& RoutingOptionTexts() {
  static const std::vector<std::string> texts = {"&Always", "Choose &multiple", "Choose &exclusive",
                                                 "&Condition", "&Else"};
  return texts;
}

const std::vector<std::string>& RoutingOperators() {
  static const std::vector<std::string> operators = {
      "=", "<>", "<", ">", ">=", "<=", "&", "|", "!"};
  return operators;
}

int RoutingOptionOf(RoutingKind kind) {
  const int code = static_cast<int>(kind);
  return code >= 0 && code < kRoutingKindCount ? code : static_cast<int>(RoutingKind::And);
}

RoutingEnables RoutingEnablesFor(int option) {
  return {option == static_cast<int>(RoutingKind::Cor),
          option != static_cast<int>(RoutingKind::And)};
}

std::string AppendToFormula(const std::string& formula, const std::string& item) {
  return formula + " " + item;
}

std::string RoutingTestFormula(const std::string& formula) {
  return "@if((" + formula + ");1;1)";
}

namespace {

bool FormulaCompiles(Services& services, const std::string& formula) {
  LNFormula test;
  if (LNSTATUS status = test.SetText(RoutingTestFormula(formula))) {
    ShowNotesError(services, kReenterConditionText, status);
    return false;
  }
  return true;
}

}  // namespace

std::optional<ArrowRouting> TakeRouting(Services& services, int option,
                                        const std::string& description,
                                        const std::string& formula) {
  if (!formula.empty() && !FormulaCompiles(services, formula)) return std::nullopt;
  const bool always = option == static_cast<int>(RoutingKind::And);
  if (!always && description.empty()) {
    ShowErrorMessage(services, kEnterArrowDescriptionText);
    return std::nullopt;
  }
  ArrowRouting routing;
  routing.routingKind = static_cast<RoutingKind>(RoutingOptionOf(static_cast<RoutingKind>(option)));
  routing.condition = always ? std::string() : description;
  routing.formula = formula;
  return routing;
}

std::optional<std::vector<std::string>> RoutingFormNames(Services& services,
                                                         const RepositoryLists& lists) {
  if (!lists.hasApplicationDatabase) {
    ShowErrorMessage(services, kNoApplicationDatabaseText);
    return std::nullopt;
  }
  StatusScope status(services, kReadingFormsStatus);
  return FormNames(lists.forms);
}

std::vector<std::string> RoutingFieldNames(Services& services, const RepositoryLists& lists,
                                           const std::string& form) {
  StatusScope status(services, kReadingFieldsStatus);
  const FormRecord* record = FindForm(lists.forms, form);
  return record ? record->fields : std::vector<std::string>();
}

}  // namespace velk
