#pragma once
// "Forms": the task's primary form, its secondary forms and the forms its
// performer may choose in addition.

#include "dialogs/taskforms.h"
#include "dialogs/ui/nodepropertypage.h"

class QCheckBox;
class QComboBox;
class QListWidget;
class QMenu;

// What a stored form that the Application Environment Database lacks says of itself.
inline constexpr char kNotInRepository[] = "Not in the Application Environment Database";

class CDlgNodePropertyForms : public CNodePropertyPage {
  Q_OBJECT
 public:
  explicit CDlgNodePropertyForms(const NodeSheetContext& context);

  void Apply(velk::NodeAttributes& attributes) override;

  QListWidget* SecondaryList() const { return secondary_; }
  QListWidget* AdditionalList() const { return additional_; }
  // The context menu of a list, which becomes the current list.
  QMenu* CreateContextMenu(QListWidget* list, QWidget* parent);
  // "&Add Forms" and "&Delete Forms" on the current list.
  void AddForms();
  void DeleteForms();
  // Offers as primary form only what is neither secondary nor additional.
  void RefillPrimary();

 protected:
  void OnInitPage() override;

 private:
  QListWidget* NewFormList(const char* name);
  bool OnlyPrimary() const;
  void KeepStoredPrimary();
  // A stored primary form the repository lacks is shown in dark red italics.
  void MarkMissingPrimary();

  QComboBox* primary_;
  QListWidget* secondary_;
  QCheckBox* all_;
  QListWidget* additional_;
  QListWidget* current_ = nullptr;
  std::string storedPrimary_;
};
