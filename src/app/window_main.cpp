// vessory: the window front end of the export.

#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vessory"));
  QApplication::setDesktopFileName(QStringLiteral("vessory"));
  vessory::app::MainWindow window;
  QApplication::setWindowIcon(window.windowIcon());
  window.show();
  return QApplication::exec();
}
