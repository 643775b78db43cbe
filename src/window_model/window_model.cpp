#include "window_model/window_model.h"

#include <utility>

#include "archive/archive_reader.h"
#include "export/run_steps.h"
#include "export/user_folder.h"
#include "window_model/journal_hint.h"

namespace vessory::window_model {

namespace {

// Often enough for the window to answer at once to the eye (25 times a second), seldom enough
// that handing the window its events costs the run little.
constexpr std::chrono::milliseconds kEventInterval{40};

constexpr char kSupportAddress[] = "support@vessory.example.com";

// True when Export hands `input` to the address book, to-do list and memo pad export, as the
// console tool does: a desktop archive tagged as one of them (also a to-do list of a later
// desktop version), a file named but not read (a later address book or memo pad, a version-6
// database: that export says what it is), or a handheld database that is not a date book
// (also one of another application, which that export names). Everything else, a file that
// cannot be read included, goes to the date book's exports, which say what is wrong with it.
bool exportsOrganiser(const exporting::InputKind& input) {
  if (input.container == exporting::Container::kHandheld) {
    return input.records != archive::RecordKind::kDatebook;
  }
  switch (input.desktop) {
    case archive::ArchiveKind::kAddress:
    case archive::ArchiveKind::kTodo:
    case archive::ArchiveKind::kLaterTodo:
    case archive::ArchiveKind::kMemo:
      return true;
    default:
      return archive::namedNotRead(input.desktop);
  }
}

}  // namespace

WindowModel::WindowModel(WindowControls& controls, files::ExportFiles& files)
    : controls_(controls), files_(files) {
  // An export that finds no entry leaves an earlier CSV as it was; the message says why.
  run_.keepEarlierWithoutEntries();
}

const std::vector<std::string>& WindowModel::journalNames() {
  static const std::vector<std::string> names = {
      "English: Daily Journal",      "German: Logbuch", "French: Journal quotidien",
      "Italian: Diario Giornaliero", "Spanish: Diario",
  };
  return names;
}

std::string WindowModel::classicHelpText() {
  return std::string(
             "Navigate to the directory that has the Datebook.dat file (normally "
             "c:\\palm\\{HotSyncName}\\datebook - "
             "where {HotSyncName} is the directory that corresponds to your HotSync User Name) "
             "select it and click on export."
             "The Keyword Delimiters (<>, [], {} etc.) can be used to extract text from journal "
             "note to 2nd column of output "
             "for sorting (delete them to avoid generating a blank column if you do not use this "
             "feature)."
             "\r\n\r\n"
             "The First column is the binary category number (0=Unfiled, 1=first user-defined "
             "category, etc.)."
             "\r\n"
             "The output file is placed in same directory with same filename but a .CSV "
             "extension. "
             "If you are usiing a non-English version of Orbisk3, you will need to select the "
             "right language and name of "
             "the Daily Journals."
             "\r\n"
             "If the times/dates do not match up in the CSV file, adjust the 'TimeZone "
             "HoursBias' value to compensate for what timezone you are in"
             "\r\n"
             "If you have any questions on this application, "
             "email Tamsford Software at ") +
         kSupportAddress;
}

// The classic text stays whole and first; what the window does beyond it follows.
std::string WindowModel::helpText() {
  std::string text =
      classicHelpText() +
      "\r\n\r\n"
      "Beyond that, this window also exports more. Check 'Also export the whole calendar' to "
      "write every event of the date book as well, journals and appointments alike, to an "
      "iCalendar file (.ics) in the same directory, with the times of your computer's time "
      "zone. Check 'Also write the journal as daily notes' to write the journal's entries as "
      "well, one Markdown file per day in a folder per year, into the directory of the file's "
      "name with -journal added (Datebook-journal for Datebook.dat) beside it. "
      "Check 'Export everything in this user folder' to export every archive of the user "
      "folder shown (or of the user folder above a datebook, address, todo or memopad "
      "directory) at once, into the directory of its name with -export beside it, as "
      "vessory-export --all does; the journal options apply to its date books. The directory "
      "also gets 'How to import.txt', which tells how to bring each file into other programs. "
      "Address books, to-do lists and memo pads are exported too, whatever the file is "
      "called: select Address.dat, ToDo.dat or MemoPad.dat (or an archive file .aba, "
      ".tda or .mpa, or a handheld AddressDB, ToDoDB or MemoDB .pdb, or a later "
      "handheld's ContactsDB-PAdd, TasksDB-PTod or MemosDB-PMem .pdb) and click on export. "
      "The contacts go to a vCard file (.vcf), the to-dos to an iCalendar file (.ics) and "
      "each memo to a text file in a folder of the file's name, all in the same "
      "directory; an archive file's output gets -archive added to its name. The journal "
      "options do not apply to them and are greyed out while such a file is selected. "
      "A handheld DatebookDB.pdb or CalendarDB-PDat.pdb is exported as Datebook.dat is.";
  if (buildPlatform() != Platform::kWindows) {
    text +=
        " On this system the desktop software's folders are usually a copy of c:\\palm from "
        "the Windows computer (the window opens in ~/Palm or ~/Pilot when one of them holds a "
        "file), or ~/.wine/drive_c/Palm where the desktop software runs under Wine.";
  }
  return text;
}

void WindowModel::startUp() {
  const StartPlaces places = controls_.startPlaces();
  UserFolderQueries queries;
  queries.subfolders = [this](const std::string& folder) { return controls_.subfolders(folder); };
  queries.holdsArchiveInKindFolder = [this](const std::string& folder) {
    return exporting::userFolderArchives(files_, folder).inKindFolder;
  };
  const StartFolder start = chooseStartFolder(
      buildPlatform(), places,
      [this](const std::string& folder) { return controls_.holdsOrdinaryFile(folder); }, queries);
  // A start folder that cannot be opened leaves the lists at the root rather than empty.
  if (!controls_.showFolder(start.folder)) controls_.showFolder(controls_.rootFolder());
  controls_.showFilesOf(controls_.shownFolder());
  const std::string root =
      controls_.driveOf(start.drive.empty() ? controls_.shownFolder() : start.drive);
  if (!root.empty()) controls_.showDrive(root);
  enableEverything();
  for (const std::string& name : journalNames())
    controls_.addListItem(Control::kJournalNames, name);
  controls_.setText(Control::kJournalNames, journalNames().front());
}

void WindowModel::folderChanged(const std::string& folder) {
  controls_.showFilesOf(folder);
  controls_.refillFiles();
  enableEverything();
  enableJournalOptions();
  const std::string drive = controls_.driveOf(folder);
  if (!drive.empty()) driveFolders_[drive] = folder;
}

void WindowModel::driveChanged(const std::string& root) {
  const auto remembered = driveFolders_.find(root);
  if (controls_.showFolder(remembered == driveFolders_.end() ? root : remembered->second)) return;
  if (controls_.showFolder(root)) return;
  // A drive that is not ready: the lists stay where they are, and so does the drive shown.
  const std::string shown = controls_.driveOf(controls_.shownFolder());
  controls_.showDrive(shown);
  controls_.showMessage("Drive " + root +
                        " cannot be read: it may hold no disk or be disconnected. The lists stay "
                        "on " +
                        (shown.empty() ? controls_.shownFolder() : shown) + ".");
}

void WindowModel::openPath(const std::string& path) {
  if (exportRunning() || finished_) return;
  const char* separators = buildPlatform() == Platform::kWindows ? "/\\" : "/";
  const std::size_t last = path.find_last_of(separators);
  bool shown = controls_.showFolder(path);
  if (!shown && last != std::string::npos && last + 1 < path.size() && files_.fileExists(path)) {
    // A root keeps its separator ("/", "C:\\").
    const bool root = last == 0 || (last == 2 && path[1] == ':');
    const std::string folder = path.substr(0, root ? last + 1 : last);
    shown = controls_.showFolder(folder) && controls_.selectFile(path.substr(last + 1));
  }
  if (shown) {
    const std::string drive = controls_.driveOf(controls_.shownFolder());
    if (!drive.empty()) controls_.showDrive(drive);
    selectionChanged();
    return;
  }
  showMessage(path + " cannot be opened: it is neither a folder nor a file in one.");
}

// While a run is under way the options stay as they were when it started: the journal's
// options are live, and the run goes on with the file it started with.
void WindowModel::selectionChanged() {
  if (!exportRunning()) enableJournalOptions();
}

void WindowModel::everythingToggled() {
  if (!exportRunning()) enableJournalOptions();
}

void WindowModel::enableJournalOptions() {
  const exporting::InputKind input = selectedInput();
  const bool everything = everythingChosen();
  controls_.enableControl(Control::kJournalOnly, everything || !exportsOrganiser(input));
  // The whole folder's export always writes the calendar and the daily notes.
  if (everything) {
    controls_.enableControl(Control::kAlsoCalendar, false);
    controls_.enableControl(Control::kAlsoNotes, false);
  }
  showHandheldBias(input.container == exporting::Container::kHandheld &&
                   input.records == archive::RecordKind::kDatebook);
}

// A handheld date book keeps the times its own clock showed: the bias box shows 0 while one is
// selected, which the user may change, and the box's earlier text comes back afterwards unless
// the user changed the 0.
void WindowModel::showHandheldBias(bool handheld) {
  if (handheld == handheldBias_) return;
  handheldBias_ = handheld;
  if (handheld) {
    biasBeforeHandheld_ = controls_.text(Control::kHoursBias);
    controls_.setText(Control::kHoursBias, "0");
  } else if (controls_.text(Control::kHoursBias) == "0") {
    controls_.setText(Control::kHoursBias, biasBeforeHandheld_);
  }
}

// The journal runs get a fresh collector and the folder beside the archive when the daily
// notes are asked for, and none otherwise.
void WindowModel::prepareDailyNotes() {
  notes_.reset();
  std::string error;  // the archives' usual character set is always there
  if (controls_.checkValue(Control::kAlsoNotes) == exporting::kChecked) {
    notes_ = exporting::DailyNotesCollector::open({}, error);
  }
  const std::string folder = journal::dailyNotesFolderBeside(inputPath());
  run_.writeDailyNotes(notes_.get(), folder);
  withCalendar_.writeDailyNotes(notes_.get(), folder);
}

// Decided again at every use: the file may have changed on the disk since it was selected.
exporting::InputKind WindowModel::selectedInput() {
  if (selectedFileName().empty()) return {};
  return exporting::identifyInput(files_, inputPath());
}

void WindowModel::exportPressed() {
  if (exportRunning() || finished_) return;
  const bool hadFocus = controls_.controlHasFocus(Control::kExport);
  controls_.enableControl(Control::kExport, false);
  noEntryShown_ = false;
  pastEndNotice_.clear();
  // Each record as it is read when the details are shown, or when every event is let through.
  pacer_.showEveryText(showDetailsValue() != exporting::kUnchecked || !throttle_);
  readLiveOptions();
  const exporting::InputKind input = selectedInput();
  // A desktop date book's messages are the journal's own, each shown as it comes.
  gathering_ = input.container == exporting::Container::kHandheld || exportsOrganiser(input);
  if (everythingChosen()) {
    exportFolder();
  } else if (exportsOrganiser(input)) {
    organiserRunning_ = true;
    organiser_.run(*this);
    organiserRunning_ = false;
  } else if (controls_.checkValue(Control::kAlsoCalendar) == exporting::kChecked) {
    prepareDailyNotes();
    withCalendar_.run(*this);
  } else {
    prepareDailyNotes();
    run_.run(*this);
  }
  gathering_ = false;
  live_.reset();
  // Messages on records with none after them (the window ended, or the run said nothing more).
  const std::string unshown = recordMessages_.take();
  if (!unshown.empty()) {
    showMessage(unshown);
  } else if (!pastEndNotice_.empty() && !endRequested_) {
    controls_.showMessage(pastEndNotice_);
  }
  pastEndNotice_.clear();
  if (finished_) return;
  pacer_.flush();
  controls_.enableControl(Control::kExport, true);
  enableJournalOptions();
  if (hadFocus) controls_.focusControl(Control::kExport);
}

void WindowModel::helpPressed() { showMessage(helpText()); }

void WindowModel::exitPressed() { endNow(); }

// The selected file's name joined to the folder shown: an empty name gives a path ending in
// the separator, which the run takes for "nothing selected".
std::string WindowModel::inputPath() {
  return exporting::joinPath(currentFolder(), selectedFileName());
}

std::string WindowModel::currentFolder() { return controls_.shownFolder(); }

std::string WindowModel::selectedFileName() { return controls_.selectedFileName(); }

std::string WindowModel::journalNameText() { return controls_.text(Control::kJournalNames); }

int WindowModel::showDetailsValue() {
  return live_ ? live_->details : controls_.checkValue(Control::kShowDetails);
}

std::string WindowModel::keywordsText() {
  return live_ ? live_->keywords : controls_.text(Control::kKeywords);
}

int WindowModel::wordWrapValue() {
  return live_ ? live_->wordWrap : controls_.checkValue(Control::kWordWrap);
}

std::string WindowModel::hoursBiasBoxText() {
  return live_ ? live_->bias : controls_.text(Control::kHoursBias);
}

// Reading a control is dear (a native box answers a message each time) and the runs ask for
// the live options at every record, while the user can change them only when the run lets
// events through or a box is shown: they are read again then, and the details box, which a
// run under way does not follow, is kept as the run found it.
void WindowModel::readLiveOptions() {
  const int details = live_ ? live_->details : controls_.checkValue(Control::kShowDetails);
  live_ = LiveOptions{controls_.text(Control::kKeywords), controls_.checkValue(Control::kWordWrap),
                      controls_.text(Control::kHoursBias), details};
}

void WindowModel::showTotalRecords(const std::string& text) {
  pacer_.show(Control::kTotalRecords, text);
}

void WindowModel::showThisRecord(const std::string& text) {
  pacer_.show(Control::kThisRecord, text);
}

void WindowModel::showJournalsFound(const std::string& text) {
  pacer_.show(Control::kJournalsFound, text);
}

void WindowModel::showDateTime(const std::string& text) {
  controls_.setText(Control::kDateTime, text);
}

void WindowModel::setDescriptionBackColor(std::uint32_t color) {
  controls_.setDescriptionBackColor(color);
}

void WindowModel::showDescription(const std::string& text) {
  controls_.setText(Control::kDescription, text);
}

void WindowModel::processPendingEvents() {
  const auto now = clock_();
  if (throttle_ && lastEvents_ != std::chrono::steady_clock::time_point{} &&
      now - lastEvents_ < kEventInterval) {
    return;
  }
  lastEvents_ = now;
  controls_.processPendingEvents();
  if (live_ && !endRequested_) readLiveOptions();
}

// Once the user has asked to end, nothing more is shown on the way out. A run's messages on
// single records wait for its next message (its final one, as a rule) and go into the same box
// above it. The classic notice of a short read comes before the words that explain it: it waits
// for the next message and goes into the same box below it.
void WindowModel::showMessage(const std::string& text) {
  if (endRequested_) return;
  if (text.rfind(archive::kPastEndNotice, 0) == 0) {
    pastEndNotice_ = text;
    return;
  }
  if (gathering_ && recordMessages_.hold(text)) return;
  pacer_.flush();  // the counts as the message finds them
  const std::string shown = recordMessages_.above(text);
  std::string hinted = withHeldJournals(shown, files_, journalNameText(), inputPath());
  // With the calendar written beside it, the press wrote something and ends as always.
  if (hinted != shown && run_.running()) noEntryShown_ = true;
  if (!pastEndNotice_.empty()) hinted += exporting::kParagraph + std::exchange(pastEndNotice_, {});
  controls_.showMessage(hinted);
  if (live_ && !endRequested_) readLiveOptions();
}

// Files are the run's: when it calls this it has closed them, and when the user ends the
// program during a run, the run sees endRequested() and closes them before control gets back
// to the main loop, which only then stops.
void WindowModel::endProgram() {
  if (noEntryShown_) {
    noEntryShown_ = false;
    return;
  }
  endNow();
}

void WindowModel::endNow() {
  const bool closing = !endRequested_;
  endRequested_ = true;
  if (closing) controls_.closeWindow();
  finish();
}

void WindowModel::windowClosed() {
  endRequested_ = true;
  finish();
}

void WindowModel::finish() {
  endRequested_ = true;
  if (finished_) return;
  finished_ = true;
  controls_.quit();
}

}  // namespace vessory::window_model
