#pragma once
// The one place where the modeler is put together: the real collaborators of
// the shell and the editor, and the start of the program. main() and the
// end-to-end tests both start the modeler from here.

#include <memory>

#include "app/ui/modelershell.h"
#include "app/ui/shellcollaborators.h"
#include "app/ui/velkmodapp.h"

// The collaborators of the program as shipped.
ShellCollaborators StandardShellCollaborators();

// Composes the modeler and runs its start-up; nullptr when start-up failed (it
// has said why).
std::unique_ptr<CVelkModApp> StartModeler(const CVelkModApp::Options& options,
                                          ShellCollaborators parts);

// Runs the modeler: start-up, event loop, exit. Returns the process exit code;
// non-zero when start-up failed.
int RunVelkMod(const CVelkModApp::Options& options);
