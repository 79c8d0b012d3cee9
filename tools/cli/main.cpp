// velkmod-cli: database administration, the demo repository and headless
// workflow operations.

#include <iostream>
#include <string>
#include <vector>

#include "app/qsettings/qsettingsbackend.h"
#include "app/serversettings.h"
#include "commands.h"
#include "repository/store/lnnotes.h"

namespace {

const char* kUsageText =
    "Usage: velkmod-cli COMMAND ...\n"
    "\n"
    "Databases (KIND: appenv procdef infra extdir gateway tracking):\n"
    "  db create KIND PATH [--title T]   create a database of a kind\n"
    "  db info PATH                      title, replica id, kind, views and document counts\n"
    "  db check PATH [--server S]        load as the modeler does; what it sees and reports\n"
    "                                    as JSON (exit 1 on an error entry)\n"
    "  db dump PATH [--view NAME]        documents with all items as JSON on stdout\n"
    "  db import PATH FILE.json          add the documents of a dump (all or nothing)\n"
    "  db ls [--server S]                databases in the data directory or on server S\n"
    "  db copy SRC DEST [--from-server S] [--to-server S]\n"
    "                                    copy a database with its ids (e.g. onto a server)\n"
    "\n"
    "External Directory (the default one, or PATH):\n"
    "  extdir tree [PATH] [--leafs]      the tree as the window shows it: labels and image\n"
    "                                    numbers; --leafs reads every process view's leafs\n"
    "\n"
    "Demo:\n"
    "  demo [--dir DIR] [--server S]     create the demo repository and its settings;\n"
    "                                    with S, copy it onto that server and use it there\n"
    "\n"
    "Workflows (in the default Process Definitions Database, or --procdef PATH\n"
    "[--server S]):\n"
    "  workflow list                     the stored versions as \"Load workflow\" shows them\n"
    "  workflow export NAME-or-ID [--version N] [--format json|bpmn]\n"
    "                                    a stored version as JSON (default) or BPMN 2.0\n"
    "                                    XML on stdout\n"
    "  workflow import FILE.json|FILE.bpmn [--appenv PATH]\n"
    "                                    store a workflow through the modeler's save; a\n"
    "                                    BPMN file's notices are printed\n"
    "  workflow render NAME-or-ID --format png|svg|pdf -o FILE [--level top|all]\n"
    "                                    draw the top level (default) or every level:\n"
    "                                    one PDF page per level, else FILE-2.png, ...\n"
    "  workflow layout NAME-or-ID [--level top|all] [--save] [--timeout SECONDS]\n"
    "                                    arrange the top (or every) level as layers and\n"
    "                                    print the moves; --save stores the result;\n"
    "                                    past the timeout nothing changes (exit 1)\n"
    "  workflow check NAME-or-ID|FILE.json|FILE.bpmn [--format text|json] [--as-status STATUS]\n"
    "                                    the consistency check; exit 1 when the workflow\n"
    "                                    would be refused in its (or that) status\n"
    "  workflow diff A B [--format text|json]\n"
    "                                    what changed from A to B (each NAME[@VERSION],\n"
    "                                    an id, FILE.json or FILE.bpmn); exit 0 when\n"
    "                                    equal, 1 when they differ, 2 for wrong arguments\n"
    "  workflow render --diff A B --format png|svg|pdf -o FILE\n"
    "                                    the two top levels side by side, the changes\n"
    "                                    coloured (added green, removed red, changed\n"
    "                                    amber, moved blue)\n"
    "\n"
    "Web site:\n"
    "  publish OUTDIR [--status S,S...] [--extdir PATH]\n"
    "                                    write a static web site of the stored workflows\n"
    "                                    (of those statuses; every status by default) and\n"
    "                                    of the External Directory, readable in any browser\n"
    "\n"
    "Options: --help, --version. PATH is relative to the data directory\n"
    "($VELK_DATA_DIR, else ~/.local/share/velkmod) unless absolute; --server S\n"
    "(db create, info, dump, import) names a server of the settings' \"Servers\".\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    (words.empty() ? std::cerr : std::cout) << kUsageText;
    return words.empty() ? velkcli::kUsage : velkcli::kOk;
  }
  if (words[0] == "--version") {
    std::cout << "velkmod-cli " << VELKMOD_VERSION << '\n';
    return velkcli::kOk;
  }

  try {
    // Named servers come from the "Servers" section of the settings file.
    LNNotesSession session(velk::LoadServers(*velk::OpenSettingsBackend()));
    session.SetThrowAllErrors(true);  // and the databases it gives, unless a command asks otherwise
    session.Init(410);
    velk::HeadlessServices services;
    velkcli::Context ctx{session, std::cout, std::cerr, services};
    const std::string command = words[0];
    words.erase(words.begin());
    if (command == "db") return velkcli::dbCommand(ctx, words);
    if (command == "demo") return velkcli::demoCommand(ctx, words);
    if (command == "extdir") return velkcli::extdirCommand(ctx, words);
    if (command == "publish") return velkcli::publishCommand(ctx, words);
    if (command == "workflow") return velkcli::workflowCommand(ctx, words);
    throw velkcli::UsageError("unknown command \"" + command + "\"");
  } catch (const velkcli::UsageError& e) {
    std::cerr << "velkmod-cli: " << e.what() << "\nTry 'velkmod-cli --help'.\n";
    return velkcli::kUsage;
  } catch (const LNStatusError& e) {
    std::cerr << "velkmod-cli: " << e.what() << '\n';
    return velkcli::kFailed;
  } catch (const std::exception& e) {
    std::cerr << "velkmod-cli: " << e.what() << '\n';
    return velkcli::kFailed;
  }
}
