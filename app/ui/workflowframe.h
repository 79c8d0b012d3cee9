#pragma once
// The workflow window: a child frame holding one workflow document and its view.

#include <memory>

#include "app/ui/mdichild.h"

namespace velk {
class CWorkflowDoc;  // the workflow graph model
}
using velk::CWorkflowDoc;

class CChildFrame : public CMdiChild {
  Q_OBJECT
 public:
  // The frame shares ownership of `doc` (which may be null while no model is
  // attached) and takes the view.
  // The window title follows the document's title.
  CChildFrame(std::shared_ptr<CWorkflowDoc> doc, QWidget* view, QWidget* parent = nullptr);
  ~CChildFrame() override;

  MenuSet Menus() const override { return MenuSet::Workflow; }
  CWorkflowDoc* GetDocument() const { return doc_.get(); }
  const std::shared_ptr<CWorkflowDoc>& Document() const { return doc_; }
  QWidget* GetView() const { return widget(); }
  // Lets go of the document, and makes the view let go of it, before it goes away.
  void ReleaseDocument();

 private:
  std::shared_ptr<CWorkflowDoc> doc_;
};
