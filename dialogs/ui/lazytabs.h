#pragma once
// What both property sheets do when the tab changes: a page reads its values
// the first time it is shown, and a page whose values do not pass stays in front
// (the page asked for is not read then).

#include <QTabWidget>

struct LazyTabState {
  int current = 0;
  bool returning = false;  // putting the failed page back in front
};

// `pageAt(i)`: the page of tab i or null; pages have IsInitialised, Validate and
// EnsureInitialised.
template <class PageAt>
void OnLazyTabChanged(QTabWidget& tabs, LazyTabState& state, int index, const PageAt& pageAt) {
  if (state.returning) return;
  auto* left = pageAt(state.current);
  if (left && left->IsInitialised() && !left->Validate()) {
    state.returning = true;
    tabs.setCurrentIndex(state.current);
    state.returning = false;
    return;
  }
  state.current = index;
  if (auto* page = pageAt(index)) page->EnsureInitialised();
}
