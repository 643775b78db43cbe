#ifndef VESSORY_FILES_FORWARDING_FILES_H_
#define VESSORY_FILES_FORWARDING_FILES_H_

#include <memory>
#include <string>
#include <vector>

#include "files/export_files.h"

namespace vessory::files {

// Files that hand every operation to the files they borrow, which must outlive them: the base
// of files that change only a few operations (an output kept in memory, a folder made first),
// so that each says only what it changes and a new operation reaches them all.
class ForwardingFiles : public ExportFiles {
 public:
  explicit ForwardingFiles(ExportFiles& files) : files_(files) {}

  bool fileExists(const std::string& path) override { return files_.fileExists(path); }
  std::unique_ptr<ByteSource> openArchive(const std::string& path, std::string& error) override {
    return files_.openArchive(path, error);
  }
  bool sameFile(const std::string& a, const std::string& b) override {
    return files_.sameFile(a, b);
  }
  std::unique_ptr<OutputFile> createCsv(const std::string& path, std::string& error) override {
    return files_.createCsv(path, error);
  }
  std::unique_ptr<OutputFile> createCalendar(const std::string& path, std::string& error) override {
    return files_.createCalendar(path, error);
  }
  std::unique_ptr<OutputFile> createFile(const std::string& path, std::string& error) override {
    return files_.createFile(path, error);
  }
  bool makeFolder(const std::string& path, std::string& error) override {
    return files_.makeFolder(path, error);
  }
  bool removeFolder(const std::string& path, std::string& error) override {
    return files_.removeFolder(path, error);
  }
  std::string displayName(const std::string& path) override { return files_.displayName(path); }
  bool listFolder(const std::string& path, std::vector<FolderEntry>& entries,
                  std::string& error) override {
    return files_.listFolder(path, entries, error);
  }
  bool folderExists(const std::string& path) override { return files_.folderExists(path); }
  std::string absolutePath(const std::string& path) override { return files_.absolutePath(path); }

 private:
  ExportFiles& files_;
};

}  // namespace vessory::files

#endif  // VESSORY_FILES_FORWARDING_FILES_H_
