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
  // A folder or file named on the command line ("Open with", a desktop launcher's %f).
  if (argc > 1) window.openPath(QString::fromLocal8Bit(argv[1]));
  return QApplication::exec();
}
