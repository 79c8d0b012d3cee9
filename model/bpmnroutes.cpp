// From BPMN's events and gateways to a workflow's start and end tasks and the
// routing kinds of its arrows.

#include <set>
#include <string>

#include "model/bpmngraph.h"

namespace velk {

namespace {

const BpmnElement& At(const BpmnGraph& g, int index) {
  return g.elements[static_cast<std::size_t>(index)];
}

// The elements other than gateways that the flows of `from` lead to (forward) or
// come from (backward), through any gateways between.
std::vector<int> Reached(const BpmnGraph& g, int from, bool forward) {
  std::vector<int> found;
  std::set<int> seen{from};
  std::vector<int> todo{from};
  while (!todo.empty()) {
    const BpmnElement& e = At(g, todo.back());
    todo.pop_back();
    for (int f : forward ? e.out : e.in) {
      const BpmnFlow& flow = g.flows[static_cast<std::size_t>(f)];
      const int next = forward ? flow.target : flow.source;
      if (!seen.insert(next).second) continue;
      if (At(g, next).role == BpmnRole::Gateway)
        todo.push_back(next);
      else
        found.push_back(next);
    }
  }
  return found;
}

// A start event leading to one task makes it the start task of its level; an
// end event reached from one task, the end task. Any other event is kept as a
// task of its own; the first such of a level takes the role.
void AbsorbEvent(BpmnGraph& g, int index, bool start) {
  BpmnElement& e = g.elements[static_cast<std::size_t>(index)];
  BpmnContainer& c = g.containers[static_cast<std::size_t>(e.container)];
  int& role = start ? c.start : c.end;
  const std::vector<int> tasks = Reached(g, index, start);
  const bool alone = (start ? e.in : e.out).empty();
  if (role < 0 && alone && tasks.size() == 1 && At(g, tasks[0]).role == BpmnRole::Task) {
    role = tasks[0];
    e.absorbed = true;
    return;
  }
  e.role = BpmnRole::Task;
  if (e.name.empty()) e.name = e.id;
  std::string action = "became the task \"" + e.name + "\"";
  if (role >= 0) {
    action +=
        start ? " (its level has a start task already)" : " (its level has an end task already)";
  } else {
    role = index;
    action += start ? ", the start task of its level (it does not lead to exactly one task)"
                    : ", the end task of its level (it is not reached from exactly one task)";
  }
  g.Notice(e.id, e.type, action);
}

struct Decision {
  int gateway = -1;  // the last gateway that splits the way, or -1
  int flow = -1;     // the flow leaving it (or leaving the task) on the way
};

BpmnArrow ArrowOf(const BpmnGraph& g, int source, int first, const Decision& d, int via,
                  int target) {
  BpmnArrow arrow{source, target, "And", {}, via};
  const int deciding = d.gateway >= 0 ? d.gateway : source;
  const BpmnFlow& flow = g.flows[static_cast<std::size_t>(d.gateway >= 0 ? d.flow : first)];
  const BpmnElement& decider = At(g, deciding);
  if (decider.type == "parallelGateway") return arrow;
  if (flow.conditional) {
    arrow.kind = "Or";
    arrow.condition = flow.condition;
  } else if (!flow.id.empty() && decider.defaultFlow == flow.id) {
    arrow.kind = "Else";
  } else if (d.gateway >= 0) {
    arrow.kind = "Or";  // a choice without a condition
  }
  return arrow;
}

// Follows one flow of a task through gateways to the tasks it reaches.
void Follow(const BpmnGraph& g, int source, int first, std::vector<BpmnArrow>& arrows) {
  struct Step {
    int flow;
    Decision decision;
  };
  std::set<int> seen;
  std::vector<Step> todo{{first, {}}};
  while (!todo.empty()) {
    const Step step = todo.back();
    todo.pop_back();
    const int target = g.flows[static_cast<std::size_t>(step.flow)].target;
    const BpmnElement& t = At(g, target);
    if (t.role != BpmnRole::Gateway) {
      if (!t.absorbed)
        arrows.push_back(ArrowOf(g, source, first, step.decision, step.flow, target));
      continue;
    }
    if (!seen.insert(target).second) continue;
    // Pushed in reverse so that the arrows come out in the order of the flows.
    for (auto f = t.out.rbegin(); f != t.out.rend(); ++f) {
      Decision d = step.decision;
      if (t.out.size() >= 2) d = {target, *f};
      todo.push_back({*f, d});
    }
  }
}

}  // namespace

void AbsorbEvents(BpmnGraph& g) {
  for (int i = 0; i < static_cast<int>(g.elements.size()); ++i)
    if (At(g, i).role == BpmnRole::Start) AbsorbEvent(g, i, true);
  for (int i = 0; i < static_cast<int>(g.elements.size()); ++i)
    if (At(g, i).role == BpmnRole::End) AbsorbEvent(g, i, false);
}

std::vector<BpmnArrow> ArrowsThroughGateways(const BpmnGraph& g) {
  std::vector<BpmnArrow> arrows;
  for (int i = 0; i < static_cast<int>(g.elements.size()); ++i) {
    const BpmnElement& e = At(g, i);
    if (e.role != BpmnRole::Task) continue;
    for (int f : e.out) Follow(g, i, f, arrows);
  }
  return arrows;
}

}  // namespace velk
