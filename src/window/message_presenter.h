#ifndef VESSORY_WINDOW_MESSAGE_PRESENTER_H_
#define VESSORY_WINDOW_MESSAGE_PRESENTER_H_

#include <QString>

class QDialog;
class QWidget;

namespace vessory::window {

// Shows `text` in a modal box titled "Vessory" with one OK button and no icon, and returns when
// the user has closed it. CR LF line breaks in `text` break lines like LF.
void showMessageBox(QWidget* parent, const QString& text);

// The same for a text that may be long (a summary of one line per archive): the text sits in a
// read-only box that scrolls when it does not fit, and can be selected and copied.
void showScrollingMessageBox(QWidget* parent, const QString& text);

// The box showScrollingMessageBox shows, built but not shown; the caller owns it.
QDialog* scrollingMessageBox(QWidget* parent, const QString& text);

}  // namespace vessory::window

#endif  // VESSORY_WINDOW_MESSAGE_PRESENTER_H_
