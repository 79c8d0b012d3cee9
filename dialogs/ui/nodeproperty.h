#pragma once
// The task property sheet: the pages the node's kind calls for, in tab order.
// Pages read the node when first shown; OK writes every page that was shown,
// Cancel changes nothing.

#include <QDialog>
#include <vector>

#include "dialogs/nodesheet.h"
#include "dialogs/ui/activitiespage.h"
#include "dialogs/ui/basicspage.h"
#include "dialogs/ui/cmpage.h"
#include "dialogs/ui/eidmpage.h"
#include "dialogs/ui/extabopage.h"
#include "dialogs/ui/extwftaskpage.h"
#include "dialogs/ui/formspage.h"
#include "dialogs/ui/gripage.h"
#include "dialogs/ui/lazytabs.h"
#include "dialogs/ui/performerpage.h"
#include "dialogs/ui/resourcespage.h"

class QTabWidget;

class CDlgNodeProperty : public QDialog {
  Q_OBJECT
 public:
  // `caption`: the title for kinds without one of their own ("Task Properties").
  CDlgNodeProperty(const QString& caption, velk::CWorkflowDoc& document, velk::CNode& node,
                   velk::RepositoryLists lists, const velk::CExtDirLookup& externalDirectory,
                   QWidget* parent = nullptr);
  ~CDlgNodeProperty() override;

  QTabWidget* Tabs() const { return tabs_; }
  // The page shown at `index` of the tabs.
  CNodePropertyPage* PageAt(int index) const;

  void accept() override;
  // Closing by OK or Cancel gives the status line back its idle prompt.
  void done(int result) override;

  CDlgNodePropertyBasics& Basics() { return basics_; }
  CDlgNodePropertyPerformer& Performer() { return performer_; }
  CDlgNodePropertyResources& Resources() { return resources_; }
  CDlgNodePropertyForms& Forms() { return forms_; }
  CDlgNodePropertyActivities& Activities() { return activities_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  CNodePropertyPage& PageOf(velk::NodePage page);
  void OnTabChanged(int index);

  velk::RepositoryLists lists_;
  NodeSheetContext context_;
  CDlgNodePropertyBasics basics_;
  CDlgNodePropertyPerformer performer_;
  CDlgNodePropertyResources resources_;
  CDlgNodePropertyForms forms_;
  CDlgNodePropertyActivities activities_;
  CDlgNodePropertyExtWFTask extWFTask_;
  CDlgNodePropertyExtAbo extAbo_;
  CDlgNodePropertyEIDM eidm_;
  CDlgNodePropertyIn in_;
  CDlgNodePropertyCM outgoingCM_;
  CDlgNodePropertyCM incomingCM_;
  QTabWidget* tabs_;
  std::vector<CNodePropertyPage*> shown_;  // in tab order
  LazyTabState tabState_;
};
