// vessory: the window front end of the export.

#include <QApplication>

#include "window/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vessory"));
  QApplication::setDesktopFileName(QStringLiteral("vessory"));
  vessory::window::MainWindow window;
  QApplication::setWindowIcon(window.windowIcon());
  window.show();
  return QApplication::exec();
}
