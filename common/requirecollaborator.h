#pragma once
// Collaborators are handed over when the program is composed. One that is
// missing is a fault of the composition, found at start, never a command that
// quietly does nothing later.

#include <cstdio>
#include <cstdlib>

namespace velk {

template <class Function>
void RequireCollaborator(const Function& collaborator, const char* name) {
  if (collaborator) return;
  std::fprintf(stderr, "VELK Modeler: the program is assembled without '%s' and cannot start.\n",
               name);
  std::abort();
}

}  // namespace velk
