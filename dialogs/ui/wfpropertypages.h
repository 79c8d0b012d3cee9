#pragma once
// The pages of "Workflow Settings". Each reads the workflow's header when first
// shown and writes its fields into the sheet's copy of the header on OK.

#include <functional>

#include "dialogs/repositorylists.h"
#include "model/workflowdoc.h"
#include "repository/ui/propertysheet.h"

class CElementList;
class CUnsignedEdit;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// What every page of the sheet works on.
struct WorkflowSheetContext {
  velk::CWorkflowDoc& document;
  velk::WorkflowHeader& header;  // the sheet's copy, stored in the document on OK
  const velk::RepositoryLists& lists;
  // The "Databases" button: the workflow database sheet on the document.
  std::function<void(QWidget* parent)> runDatabases;
};

class CWFPropertyPage : public CPropertyPage {
  Q_OBJECT
 public:
  CWFPropertyPage(QString caption, const WorkflowSheetContext& context);

 protected:
  velk::WorkflowHeader& Header() const { return context_.header; }
  const WorkflowSheetContext& context_;
};

// "Basics": identification and the workflow's databases.
class CDlgWFPropertyBasics : public CWFPropertyPage {
  Q_OBJECT
 public:
  explicit CDlgWFPropertyBasics(const WorkflowSheetContext& context);
  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* CategoryEdit() const { return category_; }
  QPushButton* DatabasesButton() const { return databases_; }
  void OnOK() override;

 protected:
  void OnInitPage() override;

 private:
  QLineEdit* name_;
  QLineEdit* category_;
  QLineEdit* version_;
  QLineEdit* workflowId_;
  std::vector<QLineEdit*> databaseLines_;
  QPushButton* databases_;
};

// "Design Information": validity, status and description.
class CDlgWFPropertyInitiator : public CWFPropertyPage {
  Q_OBJECT
 public:
  explicit CDlgWFPropertyInitiator(const WorkflowSheetContext& context);
  // Indexed by status code.
  QRadioButton* StatusButton(int status) const;
  void OnOK() override;

 protected:
  void OnInitPage() override;

 private:
  QLineEdit* validFrom_;
  QLineEdit* validUntil_;
  std::vector<QRadioButton*> status_;
  QPlainTextEdit* freeText_;
};

// "Initiator": supervisor, designers and editors.
class CDlgWFPropertyDesignInfo : public CWFPropertyPage {
  Q_OBJECT
 public:
  explicit CDlgWFPropertyDesignInfo(const WorkflowSheetContext& context);
  QComboBox* SupervisorBox() const { return supervisor_; }
  CElementList* DesignerList() const { return designers_; }
  CElementList* EditorList() const { return editors_; }
  void OnOK() override;

 protected:
  void OnInitPage() override;

 private:
  QComboBox* supervisor_;
  CElementList* designers_;
  CElementList* editors_;
};

// "Replication": the partners an ICDR or CDDR sub-workflow is replicated with.
class CDlgWFPropertyReplicate : public CWFPropertyPage {
  Q_OBJECT
 public:
  explicit CDlgWFPropertyReplicate(const WorkflowSheetContext& context);
  QListWidget* PartnerList() const { return partners_; }
  QMenu* CreateContextMenu(QWidget* parent);
  void NewOrganization();
  void DeleteOrganizations();
  void OnOK() override;

 protected:
  void OnInitPage() override;

 private:
  QListWidget* partners_;
};

// "Tracking".
class CDlgWFPropertyTracking : public CWFPropertyPage {
  Q_OBJECT
 public:
  explicit CDlgWFPropertyTracking(const WorkflowSheetContext& context);
  QComboBox* TypeBox() const { return type_; }
  CUnsignedEdit* MixEdit() const { return mix_; }
  CUnsignedEdit* FrequencyEdit() const { return frequency_; }
  CUnsignedEdit* RateEdit() const { return rate_; }
  QLineEdit* MailEdit() const { return mail_; }
  QCheckBox* ExternalBox() const { return external_; }
  // Mix, frequency and rate must be unsigned integers.
  bool OnKillActive() override;
  void OnOK() override;

 protected:
  void OnInitPage() override;

 private:
  QComboBox* type_;
  CUnsignedEdit* mix_;
  QLineEdit* mail_;
  CUnsignedEdit* frequency_;
  CUnsignedEdit* rate_;
  QCheckBox* external_;
};
