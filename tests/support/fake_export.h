#ifndef VESSORY_TESTS_SUPPORT_FAKE_EXPORT_H_
#define VESSORY_TESTS_SUPPORT_FAKE_EXPORT_H_

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "export/export_files.h"
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

// Files held in memory: archives by path, CSV outputs kept after the run closes them.
class MemoryFiles : public exporting::ExportFiles {
 public:
  std::map<std::string, std::string> archives;
  // Paths whose creation fails, with the reason given.
  std::map<std::string, std::string> uncreatable;
  // Paths that name the same file as another (path -> canonical path).
  std::map<std::string, std::string> aliases;
  // Fail writing after this many bytes (none when negative).
  long long failWritesAfter = -1;

  bool fileExists(const std::string& path) override;
  std::unique_ptr<archive::ByteSource> openArchive(const std::string& path,
                                                   std::string& error) override;
  bool sameFile(const std::string& a, const std::string& b) override;
  std::unique_ptr<exporting::OutputFile> createCsv(const std::string& path,
                                                std::string& error) override;
  bool makeFolder(const std::string& path, std::string& error) override;
  // A folder exists when it was made or holds an archive or an output.
  bool listFolder(const std::string& path, std::vector<exporting::FolderEntry>& entries,
                  std::string& error) override;
  bool replaceFile(const std::string& from, const std::string& to, std::string& error) override;
  bool removeFile(const std::string& path) override;
  // Folders made, in order.
  std::vector<std::string> folders;
  // Every output created, by path.
  std::vector<std::string> outputPaths() const;

  // What was written to `path` (empty when nothing was created there).
  std::string csv(const std::string& path) const;
  bool created(const std::string& path) const { return outputs_.count(path) != 0; }
  bool closed(const std::string& path) const;

 private:
  struct Output {
    std::shared_ptr<std::string> bytes;
    std::shared_ptr<bool> closed;
  };
  std::string canonical(const std::string& path) const;
  std::map<std::string, Output> outputs_;
};

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_SUPPORT_FAKE_EXPORT_H_
