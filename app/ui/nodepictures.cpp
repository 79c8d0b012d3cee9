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

void EndTask(NodeCanvas& canvas, bool selected) {
  TokenWithWord(canvas, selected, "end", Vga::Blue);
}

void StartTask(NodeCanvas& canvas, bool selected) {
  TokenWithWord(canvas, selected, "start", Vga::Blue);
}

void InTask(NodeCanvas& canvas, bool selected) {
  TokenWithWord(canvas, selected, "in", Vga::Black);
}

void OutTask(NodeCanvas& canvas, bool selected) {
  TokenWithWord(canvas, selected, "out", Vga::Black);
}

struct Picture {
  void (*draw)(NodeCanvas& canvas, bool selected);
  Badge badge;
};

// Badges go on last, over the selected look, so that they stay clear.
constexpr Picture kPictures[kNodePictureCount] = {
    {InternalTask, Badge::None},
    {EndTask, Badge::None},
    {StartTask, Badge::None},
    {InTask, Badge::None},
    {OutTask, Badge::None},
    {WorkflowCluster, Badge::None},
    {CentralReplication, Badge::None},
    {DistributedReplication, Badge::None},
    {SubscribedWorkflow, Badge::None},
    {ExternalTask, Badge::None},
    {MessagingSubflow, Badge::None},
    {InTask, Badge::Exclamation},
    {SubscribedWorkflow, Badge::Exclamation},
    {ExternalTask, Badge::Exclamation},
    {SubscribedWorkflow, Badge::Shortcut},
};

}  // namespace

QImage DrawNodePicture(int index, bool selected) {
  if (index < 0 || index >= kNodePictureCount) return {};
  const Picture& picture = kPictures[index];
  NodeCanvas canvas;
  picture.draw(canvas, selected);
  if (picture.badge == Badge::Exclamation) DrawExclamationBadge(canvas);
  if (picture.badge == Badge::Shortcut) DrawShortcutBadge(canvas);
  return canvas.ToIndexed();
}
