#include "window/message_presenter.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vessory::window {

namespace {

constexpr int kSummaryWidth = 640;
constexpr int kSummaryHeight = 320;

QString withLineFeeds(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

}  // namespace

void showMessageBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vessory"), withLineFeeds(text),
                  QMessageBox::Ok, parent);
  // Paths may hold "<" and "&"; nothing in a message is markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

QDialog* scrollingMessageBox(QWidget* parent, const QString& text) {
  auto* box = new QDialog(parent);
  box->setWindowTitle(QStringLiteral("Vessory"));
  box->resize(kSummaryWidth, kSummaryHeight);
  auto* shown = new QPlainTextEdit(withLineFeeds(text), box);
  shown->setObjectName(QStringLiteral("MessageText"));
  shown->setReadOnly(true);
  // A long archive's line folds at the box's edge: nothing of it is hidden beyond the edge.
  shown->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(shown);
  layout->addWidget(buttons);
  buttons->button(QDialogButtonBox::Ok)->setFocus();
  return box;
}

void showScrollingMessageBox(QWidget* parent, const QString& text) {
  QDialog* box = scrollingMessageBox(parent, text);
  box->exec();
  delete box;
}

}  // namespace vessory::window
