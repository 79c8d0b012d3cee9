#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName("Marvelund");
  QCoreApplication::setApplicationName("VELK Modeler");
  QMainWindow frame;
  frame.setWindowTitle("VELK Modeler");
  frame.show();
  return app.exec();
}
