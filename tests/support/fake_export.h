#ifndef VESSORY_TESTS_SUPPORT_FAKE_EXPORT_H_
#define VESSORY_TESTS_SUPPORT_FAKE_EXPORT_H_

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "files/export_files.h"
#include "export/export_view.h"

namespace vessory::testing {

// An ExportView that records everything the run shows, in order, and answers with options the
// test sets. `onEvents` runs inside processPendingEvents, so a test can act "during" a run.
class RecordingView : public exporting::JournalView {
 public:
  std::string folder = "C:\\Palm\\User\\datebook";
  std::string fileName = "datebook.dat";
  std::string journal = "English: Daily Journal";
  int details = exporting::kUnchecked;
  std::string keywords = "<>";
  int wrap = exporting::kChecked;
  std::string bias = "-4";

  // Every call that shows something, as "kind: text" (e.g. "message: All Done!...").
  std::vector<std::string> events;
  std::vector<std::string> messages;
  int pendingEventCalls = 0;
  bool ended = false;
  bool endWanted = false;
  std::function<void(RecordingView&)> onEvents;

  std::string inputPath() override { return exporting::joinPath(folder, fileName); }
  std::string journalNameText() override { return journal; }
  int showDetailsValue() override { return details; }
  std::string keywordsText() override { return keywords; }
  int wordWrapValue() override { return wrap; }
  std::string hoursBiasBoxText() override { return bias; }

  void showTotalRecords(const std::string& t) override { events.push_back("total: " + t); }
  void showThisRecord(const std::string& t) override { events.push_back("record: " + t); }
  void showJournalsFound(const std::string& t) override { events.push_back("journals: " + t); }
  void showDateTime(const std::string& t) override { events.push_back("datetime: " + t); }
  void setDescriptionBackColor(std::uint32_t color) override;
  void showDescription(const std::string& t) override { events.push_back("description: " + t); }
  void processPendingEvents() override;
  void showMessage(const std::string& text) override;
  void endProgram() override;
  bool endRequested() override { return endWanted; }
};

// Files held in memory: archives by path, outputs kept after the run closes them. As on disk,
// an output takes the place of the file of its name only when it is closed whole; until then,
// and when it fails or is given up, an earlier file (see `earlier`) stays as it was.
class MemoryFiles : public files::ExportFiles {
 public:
  std::map<std::string, std::string> archives;
  // Paths whose creation fails, with the reason given.
  std::map<std::string, std::string> uncreatable;
  // Files and folders that cannot be read (opened or listed), with the reason given.
  std::map<std::string, std::string> unreadable;
  // Paths that name the same file as another (path -> canonical path).
  std::map<std::string, std::string> aliases;
  // Archives whose reading fails ("Input/output error") after this many bytes, by path.
  std::map<std::string, std::size_t> failReadsAfter;
  // Fail writing after this many bytes (none when negative).
  long long failWritesAfter = -1;

  // An archive, or a file in place (an output closed whole, or an earlier one).
  bool fileExists(const std::string& path) override;
  std::unique_ptr<files::ByteSource> openArchive(const std::string& path,
                                                   std::string& error) override;
  bool sameFile(const std::string& a, const std::string& b) override;
  std::unique_ptr<files::OutputFile> createCsv(const std::string& path,
                                                std::string& error) override;
  bool makeFolder(const std::string& path, std::string& error) override;
  // Takes a folder made out of `folders` again when nothing is in it.
  bool removeFolder(const std::string& path, std::string& error) override;
  // A folder exists when it was made or holds an archive or an output.
  bool listFolder(const std::string& path, std::vector<files::FolderEntry>& entries,
                  std::string& error) override;
  // Puts a file at `path` as an earlier export would have left it.
  void earlier(const std::string& path, const std::string& bytes);
  // Folders made, in order.
  std::vector<std::string> folders;
  // Every file in place (closed whole, or put there by earlier()), by path.
  std::vector<std::string> outputPaths() const;

  // What the file at `path` holds (empty when there is none).
  std::string csv(const std::string& path) const;
  // True when a file is at `path`; an output not yet closed whole is not there yet.
  bool created(const std::string& path) const;
  bool closed(const std::string& path) const;
  // True while an output of `path` is started and neither closed nor given up.
  bool pending(const std::string& path) const;

  struct Output {
    std::string bytes;     // what is in place under the name
    std::string written;   // what the output being written holds so far
    bool exists = false;   // a file is in place under the name
    bool closed = false;   // the last output of this name was closed
    bool open = false;     // an output of this name is being written
  };

 private:
  std::string canonical(const std::string& path) const;
  std::map<std::string, std::shared_ptr<Output>> outputs_;
};

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_SUPPORT_FAKE_EXPORT_H_
