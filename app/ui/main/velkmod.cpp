#include <QApplication>
#include <QCommandLineParser>

#include "app/ui/velkmodapp.h"

#ifndef VELK_VERSION
#define VELK_VERSION "0.1.0"
#endif

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QString::fromLatin1(velk::kSettingsOrganisation));
  QApplication::setApplicationName(QString::fromLatin1(velk::kSettingsApplication));
  QApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("velkmod"));

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
  parser.process(app);
  if (!parser.positionalArguments().isEmpty()) {
    // Workflows live in databases; there are no document files to open.
    fprintf(stderr, "velkmod: unexpected argument '%s'\n",
            qPrintable(parser.positionalArguments().first()));
    return 2;
  }

  CVelkModApp::Options options;
  options.settingsFile = parser.value(settings).toStdString();
  return RunVelkMod(options);
}
