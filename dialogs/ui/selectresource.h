#pragma once
// "Select Resource": one resource of the Process Definitions Database that the
// task does not use yet.

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;

class CDlgSelectResource : public QDialog {
  Q_OBJECT
 public:
  CDlgSelectResource(const std::vector<std::string>& resources,
                     const std::vector<std::string>& taskResources, QWidget* parent = nullptr);

  QComboBox* ResourceBox() const { return resource_; }
  // The name shown when OK was pressed.
  std::string Chosen() const { return chosen_; }
  void accept() override;

 private:
  QComboBox* resource_;
  std::string chosen_;
};
