#pragma once
// An editor with everything it is built from, for benchmarks that need a real
// workflow view without the main window.

#include <QPrinter>

#include "app/settings.h"
#include "app/ui/nodebitmaps.h"
#include "common/services.h"
#include "editor/ui/editor.h"
#include "extdir/extdirlookup.h"
#include "model/nodeclipboard.h"

namespace bench {

struct BenchEditor {
  explicit BenchEditor(velk::Services& services, const velk::ModelerSettings& modeler = {})
      : settings(modeler), editor(services, Parts(), settings, bitmaps, clipboard, printer) {
    bitmaps.Load(services);
  }
  static EditorCollaborators Parts() {
    EditorCollaborators parts =
        StandardEditorCollaborators(std::make_shared<const velk::CExtDirLookup>());
    parts.openClusterWindow = [](velk::CWorkflowDoc&, velk::CNode&) {};
    parts.commandStateChanged = [] {};
    return parts;
  }

  velk::ModelerSettings settings;
  CNodeBitmaps bitmaps;
  velk::NodeClipboard clipboard;
  QPrinter printer;
  CEditor editor;
};

}  // namespace bench
