#ifndef VESSORY_WINDOW_MESSAGE_PRESENTER_H_
#define VESSORY_WINDOW_MESSAGE_PRESENTER_H_

#include <QString>

class QWidget;

namespace vessory::window {

// Shows `text` in a modal box titled "Vessory" with one OK button and no icon, and returns when
// the user has closed it. CR LF line breaks in `text` break lines like LF.
void showMessageBox(QWidget* parent, const QString& text);

}  // namespace vessory::window

#endif  // VESSORY_WINDOW_MESSAGE_PRESENTER_H_
