#pragma once
// A workflow view on the offscreen screen with the editing tools installed, its
// own settings and headless message boxes and status line.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>

#include "app/settings.h"
#include "common/headlessservices.h"
#include "editor/ui/edittool.h"
#include "editor/ui/workflowview.h"
#include "model/nodeclipboard.h"
#include "model/workflowdoc.h"
#include "testeditor.h"

namespace editortest {

using velk::CArrow;
using velk::CNode;
using velk::NodeKind;
using velk::Point;
using velk::ToolId;

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : editor(ui, Forwarding()) {
    view = std::make_unique<CWorkflowView>(editor.editor, doc);
    view->resize(900, 700);
    view->show();
    QApplication::processEvents();
  }

  // The editor's collaborators hand over to those a test sets in `on`.
  EditorCollaborators Forwarding() {
    EditorCollaborators p = TestEditorParts::Quiet();
    p.reloadRepository = [this](const velk::WorkflowDatabases& d) {
      return on.reloadRepository && on.reloadRepository(d);
    };
    p.startDrag = [this](QWidget* w, std::unique_ptr<QMimeData> data) {
      if (on.startDrag) on.startDrag(w, std::move(data));
    };
    p.execMenu = [this](QMenu& m, QPoint at) { return on.execMenu ? on.execMenu(m, at) : nullptr; };
    p.keyboardModifiers = [this] { return commandKeys; };
    return p;
  }

  // A node whose centre is at (cx, cy).
  CNode* Add(const std::string& name, int cx, int cy, NodeKind kind = NodeKind::Intern,
             CWorkflowDoc* in = nullptr) {
    CWorkflowDoc& d = in ? *in : *doc;
    CNode* node = d.InsertNode({cx - 17, cy + 17, cx + 17, cy - 17}, kind);
    velk::NodeAttributes a = node->Attributes();
    a.name = name;
    d.SetNodeAttributes(*node, a);
    return node;
  }
  bool HasArrow(const CNode* from, const CNode* to) const {
    for (const CArrow* a : doc->AllArrows())
      if (a->Source() == from && a->Target() == to) return true;
    return false;
  }

  // The viewport pixel that maps back onto the logical point (searched nearby,
  // since a unit is smaller than a pixel).
  QPoint Pixel(Point p) const {
    const QPoint guess = view->ToViewport(p);
    for (int r = 0; r <= 2; ++r)
      for (int dx = -r; dx <= r; ++dx)
        for (int dy = -r; dy <= r; ++dy)
          if (view->ToLogical(guess + QPoint(dx, dy)) == p) return guess + QPoint(dx, dy);
    ADD_FAILURE() << "no pixel for " << p.x << "," << p.y;
    return guess;
  }

  void Click(Point p, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, keys, Pixel(p));
  }
  void Press(Point p, Qt::KeyboardModifiers keys = {}) {
    QTest::mousePress(view->viewport(), Qt::LeftButton, keys, Pixel(p));
  }
  void MoveTo(Point p) { QTest::mouseMove(view->viewport(), Pixel(p)); }
  void Release(Point p, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, keys, Pixel(p));
  }
  // The tool command as given from the toolbar, with `keys` held.
  void ChooseTool(int command, Qt::KeyboardModifiers keys = {}) {
    commandKeys = keys;
    ASSERT_TRUE(view->OnCommand(command));
    commandKeys = {};
  }
  ToolId ActiveTool() const { return editor.editor.Tools().State().Active(); }
  CmdUI State(int command) const { return StateOf(*view, command); }

  velk::HeadlessServices ui;
  EditorCollaborators on;
  TestEditor editor;
  velk::ModelerSettings& settings = editor.settings;
  Qt::KeyboardModifiers commandKeys;
  std::shared_ptr<CWorkflowDoc> doc =
      std::make_shared<CWorkflowDoc>(ui, "CN=Test Designer/O=Marvelund", "06.12.2026");
  std::unique_ptr<CWorkflowView> view;
};

}  // namespace editortest
