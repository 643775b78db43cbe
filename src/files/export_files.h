#ifndef VESSORY_FILES_EXPORT_FILES_H_
#define VESSORY_FILES_EXPORT_FILES_H_

#include <memory>
#include <string>
#include <vector>

#include "files/byte_source.h"
#include "files/output_file.h"

namespace vessory::files {

// One entry of a folder: its name (no path) and whether it is a folder itself.
struct FolderEntry {
  std::string name;
  bool isFolder = false;
};

// The file operations of an export run. DiskFiles is the real thing; tests and the fuzz target
// hand the run files held in memory instead.
class ExportFiles {
 public:
  virtual ~ExportFiles() = default;

  // True when `path` names an ordinary file: not a folder, and on Windows neither hidden nor a
  // system file.
  virtual bool fileExists(const std::string& path) = 0;
  // Opens the archive read-only; null with the system's reason in `error` on failure.
  virtual std::unique_ptr<ByteSource> openArchive(const std::string& path,
                                                           std::string& error) = 0;
  // True when both paths name the same existing file (however they are spelled).
  virtual bool sameFile(const std::string& a, const std::string& b) = 0;
  // Starts the CSV file, which takes the place of one of that name only once it is whole and
  // closed (see FileOutput); null with the system's reason in `error` on failure.
  virtual std::unique_ptr<OutputFile> createCsv(const std::string& path,
                                                        std::string& error) = 0;
  // Starts the calendar file; by default the same kind of file as the CSV.
  virtual std::unique_ptr<OutputFile> createCalendar(const std::string& path,
                                                             std::string& error) {
    return createCsv(path, error);
  }
  // Starts any other output file (a contacts file, a memo); by default as the CSV.
  virtual std::unique_ptr<OutputFile> createFile(const std::string& path, std::string& error) {
    return createCsv(path, error);
  }
  // Makes the folder `path` and the folders above it that are missing; false with the system's
  // reason in `error` when it cannot (a file of that name, no permission). An existing folder
  // is fine and is left as it is.
  virtual bool makeFolder(const std::string& path, std::string& error) {
    (void)path;
    error = "folders cannot be made here";
    return false;
  }
  // Removes the folder `path`, which must be empty; false with the system's reason in `error`
  // when it cannot (something in it, gone, no permission). A link to a folder is no folder here.
  virtual bool removeFolder(const std::string& path, std::string& error) {
    (void)path;
    error = "folders cannot be removed here";
    return false;
  }
  // How an output path is named in messages.
  virtual std::string displayName(const std::string& path) { return path; }

  // The folders and ordinary files directly in the folder `path` (never "." or ".."), in no
  // particular order; false with the system's reason in `error` when it is no folder or cannot
  // be read. What fileExists() leaves out is left out here too.
  virtual bool listFolder(const std::string& path, std::vector<FolderEntry>& entries,
                          std::string& error) {
    (void)path;
    (void)entries;
    error = "folders cannot be listed here";
    return false;
  }
  // True when `path` names an existing folder.
  virtual bool folderExists(const std::string& path) {
    std::vector<FolderEntry> entries;
    std::string error;
    return listFolder(path, entries, error);
  }
  // `path` made absolute and rid of "." and ".." parts, spelled as it is given elsewhere; the
  // path as it is where there is no current folder.
  virtual std::string absolutePath(const std::string& path) { return path; }
};

// The real file system; outputs are FileOutputs, named in their reasons by displayName().
class DiskFiles : public ExportFiles {
 public:
  bool fileExists(const std::string& path) override;
  std::unique_ptr<ByteSource> openArchive(const std::string& path,
                                                   std::string& error) override;
  bool sameFile(const std::string& a, const std::string& b) override;
  std::unique_ptr<OutputFile> createCsv(const std::string& path,
                                                std::string& error) override;
  bool makeFolder(const std::string& path, std::string& error) override;
  bool removeFolder(const std::string& path, std::string& error) override;
  bool listFolder(const std::string& path, std::vector<FolderEntry>& entries,
                  std::string& error) override;
  bool folderExists(const std::string& path) override;
  std::string absolutePath(const std::string& path) override;
};

}  // namespace vessory::files

#endif  // VESSORY_FILES_EXPORT_FILES_H_
