#include "editor/ui/edithooks.h"

#include "app/ui/velkmodapp.h"
#include "model/nodeclipboard.h"

EditorHooks& editorHooks() {
  static EditorHooks hooks;
  return hooks;
}

velk::NodeClipboard& EditorClipboard() {
  if (CVelkModApp* app = CVelkModApp::Instance()) return app->InternalClipboard();
  static velk::NodeClipboard own;
  return own;
}
