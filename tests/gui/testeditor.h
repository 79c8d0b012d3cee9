#pragma once
// An editor of the test's own: its settings, pictures, clipboard and printer,
// and collaborators that record instead of opening dialogs, drags and menus.
// Tests replace single collaborators in `parts` before the editor is made, and
// hand it the services the test owns.

#include <gtest/gtest.h>

#include <QMimeData>
#include <QPrinter>
#include <memory>

#include "app/settings.h"
#include "app/ui/commands.h"
#include "app/ui/nodebitmaps.h"
#include "common/headlessservices.h"
#include "common/services.h"
#include "demoworkflow.h"
#include "editor/ui/editor.h"
#include "model/nodeclipboard.h"

struct TestEditorParts {
  explicit TestEditorParts(velk::Services& services) { bitmaps.Load(services); }
  static EditorCollaborators Quiet() {
    EditorCollaborators p;
    p.taskProperties = [](QWidget*, velk::CWorkflowDoc&, velk::CNode&) { return false; };
    p.arrowProperties = [](QWidget*, velk::CWorkflowDoc&, velk::CArrow&) { return false; };
    p.openClusterWindow = [](velk::CWorkflowDoc&, velk::CNode&) {};
    p.reloadRepository = [](const velk::WorkflowDatabases&) { return true; };
    p.startDrag = [](QWidget*, std::unique_ptr<QMimeData>) {};
    p.execMenu = [](QMenu&, QPoint) -> QAction* { return nullptr; };
    p.keyboardModifiers = [] { return Qt::KeyboardModifiers(); };
    p.commandStateChanged = [] {};
    return p;
  }
  velk::ModelerSettings settings;
  CNodeBitmaps bitmaps;
  velk::NodeClipboard clipboard;
  QPrinter printer;
};

class TestEditor : public TestEditorParts {
 public:
  explicit TestEditor(velk::Services& services, EditorCollaborators parts = Quiet())
      : TestEditorParts(services),
        editor(services, std::move(parts), settings, bitmaps, clipboard, printer) {}
  CEditor editor;
};

// The command's state as the view reports it for its button or menu entry.
template <class View>
CmdUI StateOf(View& view, int command) {
  CmdUI state;
  EXPECT_TRUE(view.OnUpdateCommand(command, state)) << command;
  return state;
}

// A fixture with the demo workflow and an editor for views of it.
class DemoViewTest : public ::testing::Test {
 protected:
  velk::HeadlessServices ui;
  TestEditor editor{ui};
  velk::ModelerSettings& settings = editor.settings;
  viewtest::DemoWorkflow demo{ui};
};
