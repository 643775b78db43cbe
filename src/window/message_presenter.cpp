#include "window/message_presenter.h"

#include <QMessageBox>

namespace vessory::window {

void showMessageBox(QWidget* parent, const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vessory"), shown, QMessageBox::Ok, parent);
  // Paths may hold "<" and "&"; nothing in a message is markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace vessory::window
