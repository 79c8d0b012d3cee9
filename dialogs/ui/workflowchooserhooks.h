#pragma once
// Puts the workflow choosers where the program reaches them: File Open runs
// "Load workflow" and loads the chosen version into the new window, a save of a
// workflow not stored yet asks for its name with "Save Workflow as", and the
// header list follows the default Process Definitions Database.

#include <functional>

#include "repository/databasekind.h"

class LNNotesSession;
class QWidget;
struct ShellHooks;

// `defaultProcessDefinitions` gives the settings' Process Definitions Database,
// `parent` the window the dialogs belong to; both are asked at each use.
void InstallWorkflowChooserHooks(ShellHooks& hooks, LNNotesSession& session,
                                 std::function<velk::DatabaseLocation()> defaultProcessDefinitions,
                                 std::function<QWidget*()> parent);
