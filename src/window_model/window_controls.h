#ifndef VESSORY_WINDOW_MODEL_WINDOW_CONTROLS_H_
#define VESSORY_WINDOW_MODEL_WINDOW_CONTROLS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "window_model/start_folder.h"

namespace vessory::window_model {

// The controls the window model reads and sets, each a control of the classic window (or the
// row it grew by) whatever the toolkit calls it.
enum class Control {
  kThisRecord,
  kTotalRecords,
  kJournalsFound,
  kDateTime,
  kDescription,
  kKeywords,
  kHoursBias,
  kJournalNames,
  kShowDetails,
  kWordWrap,
  kAlsoCalendar,
  kAlsoNotes,
  kEverything,
  kJournalOnly,  // the options only the journal reads, with their captions, as one
  kExport,
};

// What a window offers its model: its controls, its location lists, and the few things only a
// window can do (show a message, let the user act, close, end the program). Texts of boxes are
// in the archives' character set as the window shows it; paths, file names and messages in the
// system's encoding of file names, with its separators. Called on the window's thread only, by
// the model that the window owns.
class WindowControls {
 public:
  virtual ~WindowControls() = default;

  virtual std::string text(Control control) = 0;
  virtual void setText(Control control, const std::string& text) = 0;
  // A text in the system's encoding (a path) rather than the archives' character set.
  virtual void setSystemText(Control control, const std::string& text) = 0;
  // exporting::kChecked, kUnchecked or kGreyed.
  virtual int checkValue(Control control) = 0;
  virtual bool controlEnabled(Control control) = 0;
  virtual void enableControl(Control control, bool on) = 0;
  virtual bool controlHasFocus(Control control) = 0;
  virtual void focusControl(Control control) = 0;
  virtual void addListItem(Control control, const std::string& text) = 0;
  // A colour 0x00BBGGRR, or one of the system colour references of export_view.h.
  virtual void setDescriptionBackColor(std::uint32_t color) = 0;

  // The location lists. Showing a folder that exists tells the model (folderChanged) when it
  // differs from the one shown; choosing a drive tells it too (driveChanged).
  virtual std::string shownFolder() = 0;
  virtual std::string selectedFileName() = 0;
  // False, and nothing changes, when `folder` is no folder.
  virtual bool showFolder(const std::string& folder) = 0;
  virtual void refillFiles() = 0;
  // Selects the file of that name in the file list; false, and nothing selected, when the list
  // does not show it.
  virtual bool selectFile(const std::string& name) = 0;
  virtual void showFilesOf(const std::string& folder) = 0;
  // The drive (mounted volume) that holds `path`; empty when none.
  virtual std::string driveOf(const std::string& path) = 0;
  virtual void showDrive(const std::string& root) = 0;
  // The folder the lists show when the start folder cannot be opened.
  virtual std::string rootFolder() = 0;

  // What the start-up search asks of the machine.
  virtual StartPlaces startPlaces() = 0;
  virtual bool holdsOrdinaryFile(const std::string& folder) = 0;
  virtual std::vector<std::string> subfolders(const std::string& folder) = 0;

  // A modal box with `text` and one OK button; returns once the user has closed it.
  virtual void showMessage(const std::string& text) = 0;
  // The same for a text of one line per archive, in a box that scrolls.
  virtual void showSummary(const std::string& text) = 0;
  // Lets the user act (repaint, click, type) and returns.
  virtual void processPendingEvents() = 0;
  // Closes the window; the model calls it once.
  virtual void closeWindow() = 0;
  // Ends the program once control is back in the main loop.
  virtual void quit() = 0;
};

}  // namespace vessory::window_model

#endif  // VESSORY_WINDOW_MODEL_WINDOW_CONTROLS_H_
