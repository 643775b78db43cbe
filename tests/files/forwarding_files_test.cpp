// The file operations' defaults make every output as the CSV and refuse folders; files that
// change a few operations hand every other, and its answer, to the files they borrow.

#include "files/forwarding_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vessory::files {
namespace {

// Files that note each call ("name path") and answer true or a made output.
class NotingFiles : public ExportFiles {
 public:
  std::vector<std::string> calls;

  bool fileExists(const std::string& path) override { return note("fileExists " + path); }
  std::unique_ptr<ByteSource> openArchive(const std::string& path, std::string&) override {
    note("openArchive " + path);
    return nullptr;
  }
  bool sameFile(const std::string& a, const std::string& b) override {
    return note("sameFile " + a + " " + b);
  }
  std::unique_ptr<OutputFile> createCsv(const std::string& path, std::string&) override {
    note("createCsv " + path);
    return std::make_unique<StringOutput>();
  }

 protected:
  bool note(std::string call) {
    calls.push_back(std::move(call));
    return true;
  }
};

// The same, for every operation there is.
class NotingAllFiles : public NotingFiles {
 public:
  std::unique_ptr<OutputFile> createCalendar(const std::string& path, std::string&) override {
    note("createCalendar " + path);
    return std::make_unique<StringOutput>();
  }
  std::unique_ptr<OutputFile> createFile(const std::string& path, std::string&) override {
    note("createFile " + path);
    return std::make_unique<StringOutput>();
  }
  bool makeFolder(const std::string& path, std::string&) override { return note("make " + path); }
  bool removeFolder(const std::string& path, std::string&) override {
    return note("remove " + path);
  }
  std::string displayName(const std::string& path) override { return "shown " + path; }
  bool listFolder(const std::string& path, std::vector<FolderEntry>&, std::string&) override {
    return note("list " + path);
  }
  bool folderExists(const std::string& path) override { return note("folderExists " + path); }
  std::string absolutePath(const std::string& path) override { return "/" + path; }
};

TEST(ExportFilesTest, TheDefaultsMakeEveryOutputAsTheCsvAndRefuseFolders) {
  NotingFiles files;
  std::string error;
  std::vector<FolderEntry> entries;
  EXPECT_NE(files.createCalendar("a.ics", error), nullptr);
  EXPECT_NE(files.createFile("a.vcf", error), nullptr);
  EXPECT_EQ(files.calls, (std::vector<std::string>{"createCsv a.ics", "createCsv a.vcf"}));
  const struct {
    std::function<bool(std::string&)> call;
    const char* reason;
  } refusals[] = {
      {[&](std::string& e) { return files.makeFolder("f", e); }, "folders cannot be made here"},
      {[&](std::string& e) { return files.removeFolder("f", e); },
       "folders cannot be removed here"},
      {[&](std::string& e) { return files.listFolder("f", entries, e); },
       "folders cannot be listed here"},
  };
  for (const auto& refusal : refusals) {
    error.clear();
    EXPECT_FALSE(refusal.call(error));
    EXPECT_EQ(error, refusal.reason);
  }
  EXPECT_FALSE(files.folderExists("f"));
  EXPECT_EQ(files.displayName("a/../b"), "a/../b");
  EXPECT_EQ(files.absolutePath("a/../b"), "a/../b");
}

TEST(ForwardingFilesTest, EveryOperationAndItsAnswerComeFromTheFilesBorrowed) {
  NotingAllFiles borrowed;
  ForwardingFiles files(borrowed);
  std::string error;
  std::vector<FolderEntry> entries;
  EXPECT_TRUE(files.fileExists("a") && files.sameFile("b", "c") && files.makeFolder("d", error) &&
              files.removeFolder("e", error) && files.listFolder("f", entries, error) &&
              files.folderExists("g"));
  EXPECT_EQ(files.openArchive("h", error), nullptr);
  EXPECT_NE(files.createCsv("i", error), nullptr);
  EXPECT_NE(files.createCalendar("j", error), nullptr);
  EXPECT_NE(files.createFile("k", error), nullptr);
  EXPECT_EQ(files.displayName("l"), "shown l");
  EXPECT_EQ(files.absolutePath("m"), "/m");
  EXPECT_EQ(borrowed.calls,
            (std::vector<std::string>{"fileExists a", "sameFile b c", "make d", "remove e",
                                      "list f", "folderExists g", "openArchive h", "createCsv i",
                                      "createCalendar j", "createFile k"}));
}

}  // namespace
}  // namespace vessory::files
