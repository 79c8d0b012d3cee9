#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <optional>

#include "app/ui/composition.h"

#ifndef VELK_VERSION
#define VELK_VERSION "0.1.0"
#endif

namespace {

void nameApplication() {
  QCoreApplication::setOrganizationName(QString::fromLatin1(velk::kSettingsOrganisation));
  QCoreApplication::setApplicationName(QString::fromLatin1(velk::kSettingsApplication));
  QCoreApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));
}

// Reads the command line without a display, so --help and --version work anywhere.
// Returns the exit code when the program should end at once.
std::optional<int> parseCommandLine(int argc, char** argv, CVelkModApp::Options& options) {
  QCoreApplication core(argc, argv);
  nameApplication();
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("VELK Modeler - workflow type modeler"));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption settings(QStringLiteral("settings"),
                              QStringLiteral("Read and write the settings in <file> (INI format) "
                                             "instead of the user's settings; the environment "
                                             "variable VELK_SETTINGS does the same."),
                              QStringLiteral("file"));
  parser.addOption(settings);
  parser.process(core);  // ends the program after --help, --version or a bad option
  if (!parser.positionalArguments().isEmpty()) {
    // Workflows live in databases; there are no document files to open.
    std::fprintf(stderr, "velkmod: unexpected argument '%s'\n",
                 qPrintable(parser.positionalArguments().first()));
    return 2;
  }
  options.settingsFile = parser.value(settings).toStdString();
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  CVelkModApp::Options options;
  if (std::optional<int> exitCode = parseCommandLine(argc, argv, options)) return *exitCode;
  QApplication app(argc, argv);
  nameApplication();
  QApplication::setDesktopFileName(QStringLiteral("velkmod"));
  return RunVelkMod(options);
}
