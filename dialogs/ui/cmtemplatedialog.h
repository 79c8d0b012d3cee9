#pragma once
// "Select Content Management Template": one of the External Directory's
// content management templates, with its description and connected fields.

#include <QDialog>
#include <vector>

namespace velk {
class CExtDirItemCM;
}

class QComboBox;
class QLabel;
class QListWidget;

class CDlgSelectCMTemplate : public QDialog {
  Q_OBJECT
 public:
  CDlgSelectCMTemplate(std::vector<const velk::CExtDirItemCM*> templates, QWidget* parent);

  QComboBox* Names() const { return name_; }
  QListWidget* Fields() const { return fields_; }
  // The template of the chosen name after OK; none otherwise.
  const velk::CExtDirItemCM* Chosen() const { return chosen_; }

  void accept() override;

 private:
  const velk::CExtDirItemCM* Named(const QString& name) const;
  void ShowTemplate();

  std::vector<const velk::CExtDirItemCM*> templates_;
  QComboBox* name_;
  QLabel* description_;
  QListWidget* fields_;
  const velk::CExtDirItemCM* chosen_ = nullptr;
};
