#include "app/ui/nodepictures.h"

#include "app/ui/nodefigures.h"

namespace {

enum class Badge { None, Exclamation, Shortcut };

void TokenWithWord(NodeCanvas& canvas, bool selected, const char* word, Vga colour) {
  DrawToken(canvas, selected);
  DrawWord(canvas, word, 16.0, 3, colour);
  DrawPedestal(canvas, 16.0, 20, 16);
  DrawPerson(canvas, 16.0, 22, PersonSize::Small);
}

void InternalTask(NodeCanvas& canvas, bool selected) {
  DrawToken(canvas, selected);
  DrawPedestal(canvas, 16.0, 19, 20);
  DrawPerson(canvas, 16.0, 21, PersonSize::Large);
}

void ExternalTask(NodeCanvas& canvas, bool selected) {
  DrawToken(canvas, selected);
  DrawGlobe(canvas, 16.0, 7.0, 4.4);
  DrawPedestal(canvas, 16.0, 21, 16);
  DrawPerson(canvas, 16.0, 23, PersonSize::Small);
}

void WorkflowCluster(NodeCanvas& canvas, bool selected) {
  DrawTile(canvas, selected);
  DrawGraph(canvas, QPoint(18, 5), QPoint(25, 11), QPoint(17, 16));
  DrawPerson(canvas, 10.0, 27, PersonSize::Medium);
}

void CentralReplication(NodeCanvas& canvas, bool selected) {
  DrawTile(canvas, selected);
  DrawLightning(canvas, 14, 2);
  DrawArrow(canvas, QPointF(17, 20.5), QPointF(28, 20.5), Vga::Blue);
  DrawPerson(canvas, 9.0, 27, PersonSize::Medium);
}

void DistributedReplication(NodeCanvas& canvas, bool selected) {
  DrawTile(canvas, selected);
  DrawLightning(canvas, 12.5, 1.5, 0.7);
  DrawArrow(canvas, QPointF(4, 12.5), QPointF(28, 12.5), Vga::White, true, 3.5);
  DrawPerson(canvas, 9.0, 28, PersonSize::Small);
  DrawPerson(canvas, 23.0, 28, PersonSize::Small, Vga::Teal, Vga::Black);
}

void SubscribedWorkflow(NodeCanvas& canvas, bool selected) {
  DrawTile(canvas, selected);
  DrawFormSheet(canvas, 18, 3, 28, 14);
  DrawArrow(canvas, QPointF(15.5, 3.5), QPointF(4.5, 14.5), Vga::Blue, false, 4.5);
  DrawPerson(canvas, 15.0, 27, PersonSize::Medium);
}

void MessagingSubflow(NodeCanvas& canvas, bool selected) {
  DrawTile(canvas, selected);
  DrawEnvelope(canvas, 14, 5, 28, 15);
  DrawPerson(canvas, 9.0, 27, PersonSize::Medium);
}

}  // namespace

QImage DrawNodePicture(int index, bool selected) {
  NodeCanvas canvas;
  Badge badge = Badge::None;
  switch (index) {
    case 0: InternalTask(canvas, selected); break;
    case 1: TokenWithWord(canvas, selected, "end", Vga::Blue); break;
    case 2: TokenWithWord(canvas, selected, "start", Vga::Blue); break;
    case 11: badge = Badge::Exclamation; [[fallthrough]];
    case 3: TokenWithWord(canvas, selected, "in", Vga::Black); break;
    case 4: TokenWithWord(canvas, selected, "out", Vga::Black); break;
    case 5: WorkflowCluster(canvas, selected); break;
    case 6: CentralReplication(canvas, selected); break;
    case 7: DistributedReplication(canvas, selected); break;
    case 12: badge = Badge::Exclamation; [[fallthrough]];
    case 8: SubscribedWorkflow(canvas, selected); break;
    case 13: badge = Badge::Exclamation; [[fallthrough]];
    case 9: ExternalTask(canvas, selected); break;
    case 10: MessagingSubflow(canvas, selected); break;
    case 14: badge = Badge::Shortcut; SubscribedWorkflow(canvas, selected); break;
    default: return {};
  }
  if (badge == Badge::Exclamation) DrawExclamationBadge(canvas);
  if (badge == Badge::Shortcut) DrawShortcutBadge(canvas);
  return canvas.ToIndexed();
}
