// Creation and placement of the main window's controls, from the window's layout table
// (window_model/window_layout.h): positions and sizes in twips, 15 to a pixel at 96 dots per
// inch, which Qt scales for the screen itself.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "window/location_lists.h"
#include "window/main_window.h"
#include "window_model/window_layout.h"

namespace vessory::window {

namespace {

using exporting::kMenuBackgroundColor;
using window_model::ControlKind;
using window_model::ControlLayout;
using window_model::twipsToPixels;

QIcon vessoryIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addFile(QStringLiteral(":/icons/vessory-%1.xpm").arg(size));
  return icon;
}

// The classic face where the machine has it, else the desktop's own sans font.
QFont classicFont(double points, bool bold) {
  QFont font;
  font.setFamilies({QString::fromLatin1(window_model::kFontFace),
                    QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
  font.setPointSizeF(points);
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  return font;
}

QString caption(const ControlLayout& layout) { return QString::fromLatin1(layout.caption); }

}  // namespace

void MainWindow::createFrame() {
  setWindowTitle(QString::fromLatin1(window_model::kWindowTitle));
  setWindowIcon(vessoryIcon());
  setFixedSize(twipsToPixels(window_model::kClientWidthTwips),
               twipsToPixels(window_model::kClientHeightTwips));
  setFont(classicFont(window_model::kDefaultPoints, false));
}

// Every control of the table in its order, which is the tab order: labels have a place in it
// but never take the focus, so the chain starts at Export.
void MainWindow::createControls() {
  QWidget* previous = nullptr;
  for (const ControlLayout& layout : window_model::windowLayout()) {
    QWidget* control = createControl(layout);
    control->setObjectName(QString::fromLatin1(layout.name));
    control->setGeometry(twipsToPixels(layout.left), twipsToPixels(layout.top),
                         twipsToPixels(layout.width), twipsToPixels(layout.height));
    if (layout.points > 0) control->setFont(classicFont(layout.points, layout.bold));
    if (layout.control) controls_[*layout.control] = control;
    if (layout.journalOnly) journalOnly_.push_back(control);
    if (control->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }
  driveList_->setDrives(DriveList::machineDrives());
  setDescriptionBackColor(kMenuBackgroundColor);
  widget(Control::kExport)->setFocus();
}

QWidget* MainWindow::createControl(const ControlLayout& layout) {
  switch (layout.kind) {
    case ControlKind::kButton: {
      auto* button = new QPushButton(caption(layout), this);
      button->setAutoDefault(false);
      buttons_[layout.name] = button;
      return button;
    }
    case ControlKind::kTextBox:
      return new QLineEdit(caption(layout), this);
    case ControlKind::kMultiLineTextBox: {
      auto* area = new QPlainTextEdit(caption(layout), this);
      area->setTabChangesFocus(true);
      area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      return area;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(caption(layout), this);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case ControlKind::kCheckBox: {
      auto* box = new QCheckBox(caption(layout), this);
      box->setCheckState(std::string_view(layout.name) == "WordWrap" ? Qt::Checked
                                                                     : Qt::Unchecked);
      return box;
    }
    case ControlKind::kDriveList:
      return driveList_ = new DriveList(this);
    case ControlKind::kFolderList:
      return folderList_ = new FolderList(this);
    case ControlKind::kFileList:
      return fileList_ = new FileList(this);
    case ControlKind::kEditableList: {
      auto* list = new QComboBox(this);
      list->setEditable(true);
      list->setInsertPolicy(QComboBox::NoInsert);
      list->setEditText(caption(layout));
      return list;
    }
  }
  return nullptr;
}

}  // namespace vessory::window
