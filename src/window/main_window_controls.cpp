// Creation and placement of the main window's controls. Positions, sizes and fonts are the
// window's classic layout in twips (15 to a pixel at 96 dots per inch).

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

namespace vessory::window {

namespace {

using exporting::kMenuBackgroundColor;

constexpr int kTwipsPerPixel = 15;
constexpr int kEverythingRowTwips = 300;
constexpr int kNotesRowTwips = 270;
constexpr int kCountWidth = 1110;  // seven digits of the desktop's sans font, with the frame
constexpr double kDefaultPoints = 8.25;
constexpr double kButtonPoints = 9.75;
constexpr double kKeywordsPoints = 18;

constexpr char kDescriptionHint[] =
    "(Check box to left to display descriptions and dates as \r\n"
    "records are processed - slower, but useful for error analysis)\r\n";

QIcon vessoryIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addFile(QStringLiteral(":/icons/vessory-%1.xpm").arg(size));
  return icon;
}

int pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

void place(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
}

// The classic face where the machine has it, else the desktop's own sans font.
QFont classicFont(double points, bool bold) {
  QFont font;
  font.setFamilies(
      {"MS Sans Serif", QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
  font.setPointSizeF(points);
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  return font;
}

template <typename Control>
Control* named(Control* control, const char* name) {
  control->setObjectName(QString::fromLatin1(name));
  return control;
}

}  // namespace

void MainWindow::createFrame() {
  setWindowTitle(QStringLiteral("Logvane, V-1.0j"));
  setWindowIcon(vessoryIcon());
  // The classic height and a row more for each of the boxes of the daily notes and the whole
  // user folder.
  setFixedSize(pixels(8235), pixels(7845 + kNotesRowTwips + kEverythingRowTwips));
  setFont(classicFont(kDefaultPoints, false));
}

QLabel* MainWindow::createLabel(const char* name, const char* caption, int left, int top, int width,
                                int height) {
  auto* label = named(new QLabel(QString::fromLatin1(caption), this), name);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  place(label, left, top, width, height);
  return label;
}

QLineEdit* MainWindow::createTextBox(const char* name, const char* text, int left, int top,
                                     int width, int height) {
  auto* box = named(new QLineEdit(QString::fromLatin1(text), this), name);
  place(box, left, top, width, height);
  return box;
}

void MainWindow::createLocationLists() {
  fileList_ = named(new FileList(this), "File1");
  place(fileList_, 120, 120, 4215, 3990);
  folderList_ = named(new FolderList(this), "Dir1");
  place(folderList_, 4560, 120, 3495, 3690);
  driveList_ = named(new DriveList(this), "Drive1");
  place(driveList_, 4680, 3960, 3375, 315);
  driveList_->setDrives(DriveList::machineDrives());
}

void MainWindow::createProgressFields() {
  const QFont bold = classicFont(kButtonPoints, true);
  const QFont regular = classicFont(kButtonPoints, false);
  // The count fields are wider than the classic 735 twips, which fit five digits only; the
  // "of" caption and the total follow, still clear of the drive list.
  createLabel("Label1", "Records read:", 120, 4275, 1695, 255)->setFont(bold);
  thisRecord_ = createTextBox("ThisRecord", "0", 1920, 4200, kCountWidth, 375);
  thisRecord_->setFont(regular);
  createLabel("Label2", "of ", 3060, 4275, 330, 255)->setFont(bold);
  totalRecords_ = createTextBox("TotalRecords", "0", 3420, 4200, kCountWidth, 375);
  totalRecords_->setFont(regular);
  createLabel("Label5", "Journals Found:", 120, 4760, 1695, 255)->setFont(bold);
  journalsFound_ = createTextBox("TXTJournalsFound", "0", 1920, 4680, kCountWidth, 375);
}

void MainWindow::createDetailsFields() {
  showDetails_ =
      named(new QCheckBox(QStringLiteral("Display Description/Date"), this), "CHK_Description");
  showDetails_->setFont(classicFont(kButtonPoints, true));
  place(showDetails_, 240, 5040, 3135, 495);
  dateTime_ = createTextBox("DateTime", "", 480, 5640, 1815, 375);
  description_ =
      named(new QPlainTextEdit(QString::fromLatin1(kDescriptionHint), this), "DescriptionText");
  description_->setTabChangesFocus(true);
  description_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  description_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  place(description_, 4080, 5160, 4095, 975);
  setDescriptionBackColor(kMenuBackgroundColor);
}

void MainWindow::createOptionFields() {
  const QFont bold = classicFont(kButtonPoints, true);
  QLabel* keywordsCaption = createLabel("Label3", "Keyword Delimiters:", 4680, 4560, 2175, 255);
  keywordsCaption->setFont(bold);
  keywords_ = createTextBox("Keywords", "<>", 6960, 4440, 735, 495);
  keywords_->setFont(classicFont(kKeywordsPoints, true));
  QLabel* biasCaption = createLabel("Label6", "TimeZone Hours Bias: ", 240, 6180, 2055, 375);
  biasCaption->setFont(classicFont(kDefaultPoints, true));
  hoursBias_ = createTextBox("HoursBias", "-4", 2520, 6080, 495, 325);
  hoursBias_->setFont(classicFont(kDefaultPoints, true));
  wordWrap_ = named(new QCheckBox(QStringLiteral("Wordwrap Journal Entries"), this), "WordWrap");
  wordWrap_->setFont(bold);
  wordWrap_->setCheckState(Qt::Checked);
  place(wordWrap_, 360, 6480, 3375, 375);
  QLabel* namesCaption = createLabel("Label4", "Name of Journals:", 4080, 6435, 1575, 315);
  journalNames_ = named(new QComboBox(this), "CMBJournalNames");
  journalNames_->setEditable(true);
  journalNames_->setInsertPolicy(QComboBox::NoInsert);
  journalNames_->setEditText(QStringLiteral("English: Daily Journal"));
  place(journalNames_, 5880, 6360, 2295, 315);
  journalOnly_ = {keywordsCaption, keywords_,    biasCaption,  hoursBias_,
                  wordWrap_,       namesCaption, journalNames_};
}

// The one option the classic layout has no place for sits in the strip under the buttons, the
// only free space wide enough for its caption, so that no classic control moves.
void MainWindow::createCalendarOption() {
  alsoCalendar_ =
      named(new QCheckBox(QStringLiteral("&Also export the whole calendar (Datebook.ics)"), this),
            "AlsoCalendar");
  alsoCalendar_->setFont(classicFont(kDefaultPoints, true));
  place(alsoCalendar_, 480, 7575, 6975, 270);
  journalOnly_.push_back(alsoCalendar_);
  // Right under it, in a row the window grew by.
  alsoNotes_ = named(
      new QCheckBox(QStringLiteral("Also write the journal as daily &notes"), this), "AlsoNotes");
  alsoNotes_->setFont(classicFont(kDefaultPoints, true));
  place(alsoNotes_, 480, 7845, 6975, 270);
  journalOnly_.push_back(alsoNotes_);
}

// Under the calendar box, in a row the window grew by for it.
void MainWindow::createEverythingOption() {
  everything_ = named(new QCheckBox(QStringLiteral("Export everything in this &user folder"), this),
                      "Everything");
  everything_->setFont(classicFont(kDefaultPoints, true));
  place(everything_, 480, 7845 + kNotesRowTwips, 6975, 270);
}

void MainWindow::createButtons() {
  const QFont bold = classicFont(kButtonPoints, true);
  exportButton_ = named(new QPushButton(QStringLiteral("&Export"), this), "ReadDate");
  place(exportButton_, 480, 6960, 1935, 615);
  exitButton_ = named(new QPushButton(QStringLiteral("E&xit"), this), "Exit");
  place(exitButton_, 3000, 6960, 1935, 615);
  helpButton_ = named(new QPushButton(QStringLiteral("&Help"), this), "Help");
  place(helpButton_, 5520, 6960, 1935, 615);
  for (QPushButton* button : {exportButton_, exitButton_, helpButton_}) {
    button->setFont(bold);
    button->setAutoDefault(false);
  }
}

// Labels have tab indexes of their own but never take the focus, so the chain holds the
// focusable controls in tab-index order and starts at Export.
void MainWindow::createTabOrder() {
  QWidget* const chain[] = {
      exportButton_, thisRecord_,  totalRecords_, driveList_,    folderList_,    fileList_,
      exitButton_,   wordWrap_,    alsoCalendar_, alsoNotes_, everything_,   keywords_,      helpButton_,
      description_,  showDetails_, dateTime_,     journalNames_, journalsFound_, hoursBias_};
  for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);
  exportButton_->setFocus();
}

}  // namespace vessory::window
