#pragma once
// The base of the task property sheet's pages. A page reads the node the first
// time the sheet shows it and writes it only when the sheet closes with OK; a
// page that was never shown changes nothing.

#include <QWidget>

#include "dialogs/nodesheet.h"
#include "dialogs/repositorylists.h"
#include "model/workflowdoc.h"

namespace velk {
class CExtDirData;
class CExtDirLookup;
}  // namespace velk

// What every page of one sheet works on.
struct NodeSheetContext {
  velk::CWorkflowDoc& document;
  velk::CNode& node;
  const velk::RepositoryLists& lists;
  // The External Directory of the workflow, for the external-task pages.
  const velk::CExtDirLookup& externalDirectory;
};

class CNodePropertyPage : public QWidget {
  Q_OBJECT
 public:
  CNodePropertyPage(const NodeSheetContext& context, velk::NodePage page);

  velk::NodePage Page() const { return page_; }
  bool IsInitialised() const { return initialised_; }
  // Reads the node unless the page has done so already.
  void EnsureInitialised();

  // Checks the controls when the page is left or OK is pressed; a failed check
  // has told the user, and the page stays in front.
  virtual bool Validate() { return true; }
  // Writes the controls into the node's attributes (OK, pages shown at least once).
  virtual void Apply(velk::NodeAttributes& attributes) { (void)attributes; }
  // After the attributes are stored: changes that go through the document.
  virtual void ApplyToDocument() {}

 protected:
  virtual void OnInitPage() {}

  const velk::NodeAttributes& NodeValues() const { return context_.node.Attributes(); }
  const velk::RepositoryLists& Lists() const { return context_.lists; }
  velk::Services& UserInterface() const { return context_.document.UserInterface(); }
  // The workflow's External Directory; null when it is not initialised.
  velk::CExtDirData* ExternalDirectory() const;

  NodeSheetContext context_;

 private:
  velk::NodePage page_;
  bool initialised_ = false;
};
