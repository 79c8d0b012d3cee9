#pragma once
// "Workflow Settings" (`CDlgWFProperty`): the attributes of the whole workflow
// type. Pages read the workflow's header when first shown; OK stores what the
// pages shown hold, Cancel changes nothing.

#include <functional>

#include "dialogs/ui/wfpropertypages.h"

class CDlgWFProperty : public CPropertySheet {
  Q_OBJECT
 public:
  // `runDatabases`: the "Databases" button of "Basics".
  CDlgWFProperty(const QString& caption, velk::CWorkflowDoc& document, velk::RepositoryLists lists,
                 std::function<void(QWidget* parent)> runDatabases, QWidget* parent = nullptr);

  CDlgWFPropertyBasics* Basics() const { return basics_; }
  CDlgWFPropertyInitiator* DesignInformation() const { return designInformation_; }
  CDlgWFPropertyDesignInfo* Initiator() const { return initiator_; }
  CDlgWFPropertyReplicate* Replication() const { return replication_; }  // null unless shown
  CDlgWFPropertyTracking* Tracking() const { return tracking_; }

 protected:
  void OnCommit() override;

 private:
  velk::RepositoryLists lists_;
  velk::WorkflowHeader header_;
  WorkflowSheetContext context_;
  CDlgWFPropertyBasics* basics_ = nullptr;
  CDlgWFPropertyInitiator* designInformation_ = nullptr;
  CDlgWFPropertyDesignInfo* initiator_ = nullptr;
  CDlgWFPropertyReplicate* replication_ = nullptr;
  CDlgWFPropertyTracking* tracking_ = nullptr;
};

// "&Workflow Settings" of a workflow window: the sheet on the document; OK
// marks the document modified; the titles of the workflow's windows are
// refreshed either way. True on OK.
bool RunWorkflowSettings(velk::CWorkflowDoc& document,
                         std::function<void(QWidget* parent)> runDatabases, QWidget* parent);
