#pragma once
// Texts, tool tips, status-line prompts and icons of every command.

#include <vector>

struct CommandInfo {
  int id;
  const char* menuText;  // with '&' mnemonic; a "\t" part names the shortcut
  const char* toolTip;   // toolbar tip; empty for none
  const char* prompt;    // shown in the status line while the entry is highlighted
  const char* icon;      // toolbar picture in the resources; empty for none
  bool checkable;
};

const std::vector<CommandInfo>& AllCommands();
// nullptr for an unknown id.
const CommandInfo* FindCommand(int id);
// A further key for the command besides the one its menu text names; nullptr for none.
const char* SecondShortcut(int id);
// False for a command whose work is not in the program yet: it gets no menu
// entry, button or shortcut.
bool IsCommandBuilt(int id);
