#pragma once
// "Task routing": the routing kind, description and condition formula of an
// arrow, with a builder that appends form fields and operators to the formula.

#include <QDialog>
#include <array>

#include "dialogs/repositorylists.h"
#include "model/workflowdoc.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

class CDlgTaskRouting : public QDialog {
  Q_OBJECT
 public:
  CDlgTaskRouting(velk::CWorkflowDoc& document, velk::CArrow& arrow, velk::RepositoryLists lists,
                  QWidget* parent = nullptr);

  // Stores into the arrow only when both checks pass; else the dialog stays.
  void accept() override;

  QRadioButton* Option(int kind) const { return options_[static_cast<std::size_t>(kind)]; }
  QLineEdit* DescriptionBox() const { return description_; }
  QPlainTextEdit* FormulaBox() const { return formula_; }
  QComboBox* FormBox() const { return form_; }
  QComboBox* FieldBox() const { return field_; }
  QComboBox* OperatorBox() const { return operator_; }
  QLabel* DatabaseLabel() const { return database_; }

 private:
  QGroupBox* BuildOptions();
  QGroupBox* BuildBuilder();
  int CheckedOption() const;
  void UpdateEnables();
  void FillForms();
  void OnFormChosen();
  void AppendItem(const QComboBox* combo);

  velk::CWorkflowDoc& document_;
  velk::CArrow& arrow_;
  velk::RepositoryLists lists_;
  QLineEdit* description_;
  QPlainTextEdit* formula_;
  QGroupBox* conditionGroup_;
  QGroupBox* builderGroup_ = nullptr;
  std::array<QRadioButton*, 5> options_{};
  QLabel* database_;
  QComboBox* form_;
  QComboBox* field_;
  QComboBox* operator_;
};
