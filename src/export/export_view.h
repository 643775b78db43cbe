#ifndef VESSORY_EXPORT_EXPORT_VIEW_H_
#define VESSORY_EXPORT_EXPORT_VIEW_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vessory::exporting {

// System colour references, as the description box is switched between them.
inline constexpr std::uint32_t kMenuBackgroundColor = 0x80000004;
inline constexpr std::uint32_t kWindowBackgroundColor = 0x80000005;

// Check box values.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGreyed = 2;

// Everything every export run needs of its front end: the archive chosen, the fields it fills,
// and the three things only a front end may do (let the user act, show a message, end the
// program). The window implements it over its controls; the console tool over its arguments
// and standard error. The run calls it on the caller's thread only. The options that only the
// journal export reads are in JournalOptions.
class ExportView {
 public:
  virtual ~ExportView() = default;

  // Options.
  // The archive path of the run.
  virtual std::string inputPath() = 0;
  virtual int showDetailsValue() = 0;

  // Progress and details.
  virtual void showTotalRecords(const std::string& text) = 0;
  virtual void showThisRecord(const std::string& text) = 0;
  virtual void showJournalsFound(const std::string& text) = 0;
  // The calendar export's count of events written so far; front ends may leave it unshown.
  virtual void showEventsWritten(const std::string& text) { (void)text; }
  virtual void showDateTime(const std::string& text) = 0;
  virtual void setDescriptionBackColor(std::uint32_t color) = 0;
  // A record's description as the archive holds it, in the archive's character set: every run
  // hands the same bytes for the same record, and the front end shows them as it always has.
  virtual void showDescription(const std::string& text) = 0;

  // Lets the user act (repaint, click, type) and returns. Nested reactions may change the live
  // options, show help, or request the end of the program.
  virtual void processPendingEvents() = 0;
  // Shows `text` and returns once the user has seen it.
  virtual void showMessage(const std::string& text) = 0;
  // Ends the program. Called by the run after it has closed its files.
  virtual void endProgram() = 0;
  // True once the user has asked the program to end (Exit, closing the window) while a run was
  // under way. The run then closes its files, keeping every row written, and returns.
  virtual bool endRequested() { return false; }
};

// The options only the journal export reads, as the front end holds them. Three are live: the
// run asks again at every use, so that an edit made while the run lets the user act takes effect.
class JournalOptions {
 public:
  virtual ~JournalOptions() = default;
  virtual std::string journalNameText() = 0;
  virtual std::string keywordsText() = 0;
  virtual int wordWrapValue() = 0;
  virtual std::string hoursBiasBoxText() = 0;
};

// A front end that offers the journal export: the view of every run and the journal's options.
class JournalView : public ExportView, public JournalOptions {};

// `View` with progress and details shown nowhere, the user never asked to act and messages
// dropped: the base of a view for a caller that wants only a run's outcome (the journals of an
// archive before its export, a benchmark). It still answers none of the run's options.
template <class View>
class UnshownView : public View {
 public:
  void showTotalRecords(const std::string&) override {}
  void showThisRecord(const std::string&) override {}
  void showJournalsFound(const std::string&) override {}
  void showDateTime(const std::string&) override {}
  void setDescriptionBackColor(std::uint32_t) override {}
  void showDescription(const std::string&) override {}
  void processPendingEvents() override {}
  void showMessage(const std::string&) override {}
  void endProgram() override {}
};

// The platform's folder separator: "\" on Windows, "/" elsewhere.
char pathSeparator();

// `path` with the extension of its file name replaced by `extension` (".csv"), or `extension`
// added when the name has none (a dot that opens the name starts none).
std::string replaceExtension(std::string_view path, std::string_view extension);

// A file name in a folder, joined by the platform's separator.
std::string joinPath(const std::string& folder, const std::string& fileName);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_EXPORT_VIEW_H_
