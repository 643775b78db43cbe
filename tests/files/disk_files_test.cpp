// The real file system under the export runs: folders made, listed and refused, files told
// apart, and archives that fail while they are read.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "files/export_files.h"
#include "files/system_calls.h"
#include "faulty_calls.h"

namespace vessory::files {
namespace {

namespace fs = std::filesystem;

class DiskFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder of each test's own: the tests may run side by side.
    folder_ = fs::path(::testing::TempDir()) /
              ("vessory-disk-files-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "sub");
    std::ofstream(folder_ / "a.dat", std::ios::binary) << std::string(600000, 'a');
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string at(const char* name) const { return (folder_ / name).string(); }

  fs::path folder_;
  DiskFiles files_;
};

TEST_F(DiskFilesTest, FoldersAreMadeListedAndRefused) {
  std::string error;
  EXPECT_TRUE(files_.makeFolder(at("new/deeper"), error)) << error;
  EXPECT_TRUE(files_.makeFolder(at("new/deeper"), error)) << error;  // there already
  EXPECT_FALSE(files_.makeFolder(at("a.dat"), error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(files_.makeFolder(at("a.dat/below"), error));
  EXPECT_FALSE(error.empty());

  std::vector<FolderEntry> entries;
#ifndef _WIN32
  fs::create_symlink(folder_ / "missing", folder_ / "dangling");  // neither file nor folder
#endif
  ASSERT_TRUE(files_.listFolder(folder_.string(), entries, error)) << error;
  std::vector<std::string> seen;
  for (const FolderEntry& entry : entries) seen.push_back(entry.name + (entry.isFolder ? "/" : ""));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"a.dat", "new/", "sub/"}));
  for (const char* notFolder : {"a.dat", "missing"}) {
    error.clear();
    EXPECT_FALSE(files_.listFolder(at(notFolder), entries, error)) << notFolder;
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(files_.folderExists(at(notFolder)));
  }
  EXPECT_TRUE(files_.folderExists(at("sub")));
}

TEST_F(DiskFilesTest, OnlyAnEmptyFolderIsRemoved) {
  std::string error;
  ASSERT_TRUE(files_.makeFolder(at("full/empty"), error)) << error;
#ifndef _WIN32
  fs::create_directory_symlink(folder_ / "sub", folder_ / "link");  // the link would go, not sub
#endif
  for (const auto& [name, removed] : std::vector<std::pair<const char*, bool>>{
           {"full", false}, {"a.dat", false}, {"missing", false}, {"link", false},
           {"full/empty", true}, {"full", true}}) {
    error.clear();
    EXPECT_EQ(files_.removeFolder(at(name), error), removed) << name;
    EXPECT_EQ(error.empty(), removed) << name << ": " << error;
  }
  EXPECT_TRUE(files_.folderExists(at("sub")));
  EXPECT_FALSE(files_.folderExists(at("full")));
}

TEST_F(DiskFilesTest, FilesAreToldApartHoweverSpelled) {
  EXPECT_TRUE(files_.fileExists(at("a.dat")));
  EXPECT_FALSE(files_.fileExists(at("sub")));
  EXPECT_FALSE(files_.fileExists(at("missing")));
  EXPECT_TRUE(files_.sameFile(at("a.dat"), at("sub/../a.dat")));
  EXPECT_FALSE(files_.sameFile(at("a.dat"), at("sub")));
  EXPECT_FALSE(files_.sameFile(at("a.dat"), at("missing")));
  EXPECT_EQ(files_.absolutePath(at("sub/../a.dat")), at("a.dat"));
  EXPECT_EQ(files_.absolutePath(""), "");  // no path names no folder, the current one neither

  std::string error;
  EXPECT_EQ(files_.openArchive(at("missing"), error), nullptr);
  EXPECT_EQ(error, std::strerror(ENOENT));
  auto csv = files_.createCsv(at("sub/out.csv"), error);
  ASSERT_NE(csv, nullptr) << error;
  csv->append("1,2\r\n");
  EXPECT_TRUE(csv->close());
  EXPECT_EQ(fs::file_size(at("sub/out.csv")), 5u);
  std::string reason;
  EXPECT_FALSE(platformCalls().replace(at("missing"), at("sub/out.csv"), reason));
  EXPECT_FALSE(reason.empty());
#ifndef _WIN32  // Windows' runtime ends the program on a descriptor it never gave out
  EXPECT_EQ(platformCalls().size(-1), -1);  // no file, no size
#endif
}

// An archive cut short after it was opened: what lies past the new end is missing, which is
// no failure of the disk but reads nothing, forward or at an offset, in a window or not.
TEST_F(DiskFilesTest, AnArchiveCutWhileOpenReadsShort) {
  std::string error;
  auto archive = FileByteSource::open(at("a.dat"), error);
  ASSERT_NE(archive, nullptr) << error;
  fs::resize_file(at("a.dat"), 10);
  std::vector<unsigned char> into;
  EXPECT_FALSE(archive->readAt(100, 10, into));
  EXPECT_FALSE(archive->readAt(0, 300000, into));
  EXPECT_TRUE(archive->readAt(0, 10, into));
  EXPECT_EQ(archive->errorText(), "");
}

// An archive the system fails to open or read: its reason (or a word of our own when it gives
// none), the first one kept; what was read before stands. Reads the system takes in part go on.
TEST_F(DiskFilesTest, ArchivesFailWithTheSystemsReason) {
  struct Case {
    Fault fault;
    bool shortCalls;
    const char* error;          // at the open, or while reading
    std::size_t forward;        // bytes read forward before the end or the failure (64 KiB a read)
    bool atOffset;              // 10 bytes at 300000 read
  };
  const std::string eio = std::strerror(EIO);
  const std::vector<Case> cases = {
      {{}, true, "", 600000, true},
      {{Call::kOpenToRead, 1, EACCES}, false, std::strerror(EACCES), 0, false},
      {{Call::kOpenToRead, 1, 0}, false, "cannot open file", 0, false},
      {{Call::kSize, 1, EIO}, false, "", 600000, false},
      {{Call::kRead, 1, EIO}, false, eio.c_str(), 0, true},
      {{Call::kRead, 2, 0}, false, "read error", 65536, true},
      {{Call::kRead, 2, EIO, true}, false, eio.c_str(), 65536, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    injected = {c.fault, {}, c.shortCalls};
    ReplacedSystemCalls calls(kFaultyCalls);
    std::string error;
    auto archive = FileByteSource::open(at("a.dat"), error);
    if (archive == nullptr) {
      EXPECT_EQ(error, c.error);
      continue;
    }
    std::size_t forward = 0;
    for (auto chunk = archive->nextChunk(); !chunk.empty(); chunk = archive->nextChunk()) {
      forward += chunk.size();
    }
    EXPECT_EQ(forward, c.forward);
    std::vector<unsigned char> into;
    EXPECT_EQ(archive->readAt(300000, 10, into), c.atOffset);
    EXPECT_EQ(archive->errorText(), c.error);
  }
}

#ifndef _WIN32
// A folder opens as a file here, and fails when read: the system's reason, not the end.
TEST_F(DiskFilesTest, AFolderReadAsAnArchiveFailsWithTheReason) {
  std::string error;
  auto folder = FileByteSource::open(at("sub"), error);
  if (folder == nullptr) GTEST_SKIP() << error;
  EXPECT_TRUE(folder->nextChunk().empty());
  EXPECT_TRUE(folder->nextChunk().empty());
  EXPECT_EQ(folder->errorText(), std::strerror(EISDIR));
  std::vector<unsigned char> into;
  EXPECT_FALSE(folder->readAt(0, 1, into));
}
#endif

}  // namespace
}  // namespace vessory::files
