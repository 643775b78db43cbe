// Output files when the system fails them: every call the file layer makes is made to fail in
// turn through its table of system calls, for a new file and for one replacing an earlier file,
// small (written at close) and larger than the buffer, and whatever the failure, the earlier
// file stays as it was and nothing is left under the target's name or beside it.

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "files/output_file.h"
#include "files/system_calls.h"
#include "faulty_calls.h"

namespace vessory::files {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

enum class End { kClose, kDiscard, kDestroy };

struct Case {
  const char* what;
  bool earlier;       // a file is there before
  std::size_t bytes;  // written: under the buffer's 64 KiB, or over it
  Fault fault;
  bool refusedAtCreate = false;
  End end = End::kClose;
  const char* reason = nullptr;  // when the system gives none
};

constexpr std::size_t kSmall = 100;
constexpr std::size_t kLarge = 200000;

class FileFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder of each test's own: the tests may run side by side.
    folder_ = fs::path(::testing::TempDir()) /
              ("vessory-file-faults-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // The names in the folder: a temporary or a new file left behind shows here.
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      found.push_back(entry.path().filename().string());
    }
    return found;
  }

  fs::path folder_;
};

TEST_F(FileFaultsTest, NoFailureLeavesAPartFileOrLosesTheEarlierOne) {
  const std::vector<Case> cases = {
      {"new, opened in place", false, kSmall, {Call::kOpen, 1, EACCES}, true},
      {"new, no reason", false, kSmall, {Call::kOpen, 1, 0}, true, End::kClose,
       "cannot create file"},
      {"new, write", false, kSmall, {Call::kWrite, 1, ENOSPC}},
      {"new, close", false, kSmall, {Call::kClose, 1, EIO}},
      {"new, discarded", false, kSmall, {}, false, End::kDiscard},
      {"new, destroyed", false, kSmall, {}, false, End::kDestroy},
      {"new large, temporary", false, kLarge, {Call::kOpen, 2, ENOSPC}},
      {"new large, write", false, kLarge, {Call::kWrite, 1, EIO}},
      {"new large, rename", false, kLarge, {Call::kReplace, 1, EXDEV}},
      {"new large, destroyed", false, kLarge, {}, false, End::kDestroy},
      {"new large, write, discarded", false, kLarge, {Call::kWrite, 1, EIO}, false, End::kDiscard},
      {"earlier, refused", true, kSmall, {Call::kInspect, 1, EACCES}, true},
      {"earlier, temporary", true, kSmall, {Call::kOpen, 2, EACCES}, true},
      {"earlier, every name taken", true, kSmall, {Call::kOpen, 2, EEXIST, true}, true},
      {"earlier, permissions", true, kSmall, {Call::kSetPermissions, 1, EPERM}, true},
      {"earlier, write", true, kSmall, {Call::kWrite, 1, ENOSPC}},
      {"earlier, close", true, kSmall, {Call::kClose, 1, EIO}},
      {"earlier, rename", true, kLarge, {Call::kReplace, 1, EACCES}},
      {"earlier, discarded", true, kLarge, {}, false, End::kDiscard},
  };
  const fs::path target = folder_ / "contacts.vcf";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    if (c.earlier) std::ofstream(target, std::ios::binary) << "earlier";
    injected = {c.fault, {}, false};
    ReplacedSystemCalls calls(kFaultyCalls);
    std::string error;
    auto output = FileOutput::create(target.string(), error, "contacts.vcf");
    ASSERT_EQ(output == nullptr, c.refusedAtCreate) << error;
    const std::string reason = c.reason        ? c.reason
                               : c.fault.error ? std::strerror(c.fault.error)
                                               : "given up";
    if (output != nullptr) {
      output->append(std::string(c.bytes, 'x'));
      if (c.end == End::kDiscard) output->discard();
      if (c.end != End::kDestroy) {
        EXPECT_FALSE(output->close());
        // A failure says the earlier file was kept; giving up is the caller's own doing.
        const bool kept = c.earlier && c.end == End::kClose;
        EXPECT_EQ(output->errorText(),
                  kept ? reason + "; the earlier contacts.vcf was left as it was" : reason);
      }
      output.reset();
    } else {
      EXPECT_EQ(error, reason);
    }
    EXPECT_EQ(names(), c.earlier ? std::vector<std::string>{"contacts.vcf"}
                                 : std::vector<std::string>{});
    if (c.earlier) {
      EXPECT_EQ(contents(target), "earlier");
    }
  }
}

// A new file costs one open and no rename unless it outgrows the buffer; writes the system
// takes in part are carried on; a file replacing another is renamed over it.
TEST_F(FileFaultsTest, WholeFilesAreMadeWithTheCallsTheyNeed) {
  struct Count {
    bool earlier;
    std::size_t bytes;
    bool shortCalls;
    int opens, replaces;
  };
  const fs::path target = folder_ / "memo.txt";
  for (const Count& c : std::vector<Count>{{false, kSmall, false, 1, 0},
                                           {false, kSmall, true, 1, 0},
                                           {false, kLarge, false, 2, 1},
                                           {true, kSmall, false, 2, 1}}) {
    SCOPED_TRACE(std::to_string(c.bytes) + (c.earlier ? " earlier" : " new"));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    if (c.earlier) std::ofstream(target, std::ios::binary) << "earlier";
    injected = {{}, {}, c.shortCalls};
    ReplacedSystemCalls calls(kFaultyCalls);
    std::string error;
    auto output = FileOutput::create(target.string(), error);
    ASSERT_NE(output, nullptr) << error;
    output->append(std::string(c.bytes, 'm'));
    EXPECT_TRUE(output->close()) << output->errorText();
    EXPECT_EQ(injected.counts[static_cast<int>(Call::kOpen)], c.opens);
    EXPECT_EQ(injected.counts[static_cast<int>(Call::kReplace)], c.replaces);
    EXPECT_EQ(contents(target), std::string(c.bytes, 'm'));
    EXPECT_EQ(names(), std::vector<std::string>{"memo.txt"});
  }
}

// Standard output is borrowed: written as the bytes come, flushed, never closed; a stream that
// refuses the bytes fails the output with its reason; one given up takes none of what it held
// back. A closed output takes nothing more.
TEST_F(FileFaultsTest, BorrowedStreamsAndClosedFiles) {
  const fs::path path = folder_ / "borrowed.csv";
  {
    std::FILE* stream = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    FileOutput::borrow(stream)->append("kept");  // flushed when the output goes
    auto output = FileOutput::borrow(stream);
    output->append(",all");
    EXPECT_TRUE(output->close());
    auto givenUp = FileOutput::borrow(stream);
    givenUp->append(",dropped");
    givenUp->discard();
    EXPECT_FALSE(givenUp->close());
    EXPECT_EQ(givenUp->errorText(), "given up");
    std::fclose(stream);
    EXPECT_EQ(contents(path), "kept,all");
  }
  std::FILE* reading = std::fopen(path.string().c_str(), "rb");
  ASSERT_NE(reading, nullptr);
  auto refused = FileOutput::borrow(reading);
  refused->append("x");
  EXPECT_FALSE(refused->close());
  EXPECT_FALSE(refused->errorText().empty());
  std::fclose(reading);
#ifndef _WIN32
  std::FILE* full = std::fopen("/dev/full", "wb");
  if (full != nullptr) {
    auto output = FileOutput::borrow(full);
    output->append("x");
    EXPECT_FALSE(output->close());
    EXPECT_EQ(output->errorText(), std::strerror(ENOSPC));
    std::fclose(full);
  }
#endif
  std::string error;
  auto output = FileOutput::create((folder_ / "closed.csv").string(), error);
  ASSERT_NE(output, nullptr) << error;
  EXPECT_TRUE(output->close());
  output->append("late");
  EXPECT_FALSE(output->close());
  EXPECT_EQ(output->errorText(), "the file is closed");
  EXPECT_EQ(contents(folder_ / "closed.csv"), "");
}

#ifndef _WIN32
// A link to nothing yet makes the file where it points; a device that cannot be opened, and a
// bare name in the current folder, go the ways a plain target goes.
TEST_F(FileFaultsTest, LinksDevicesAndBareNames) {
  const fs::path link = folder_ / "link.ics";
  fs::create_symlink(folder_ / "pointed.ics", link);
  std::string error;
  auto output = FileOutput::create(link.string(), error);
  ASSERT_NE(output, nullptr) << error;
  output->append("through");
  EXPECT_TRUE(output->close());
  EXPECT_EQ(contents(folder_ / "pointed.ics"), "through");
  EXPECT_TRUE(fs::is_symlink(link));

  fs::remove(folder_ / "pointed.ics");
  fs::create_symlink(folder_ / "no-folder" / "x.ics", folder_ / "nowhere.ics");
  EXPECT_EQ(FileOutput::create((folder_ / "nowhere.ics").string(), error), nullptr);
  EXPECT_EQ(error, std::strerror(ENOENT));
  {
    injected = {{Call::kOpen, 2, ENXIO}, {}, false};
    ReplacedSystemCalls calls(kFaultyCalls);
    EXPECT_EQ(FileOutput::create("/dev/null", error), nullptr);
    EXPECT_EQ(error, std::strerror(ENXIO));
  }
  const fs::path saved = fs::current_path();
  fs::current_path(folder_);
  std::ofstream("bare.txt") << "earlier";
  output = FileOutput::create("bare.txt", error);
  ASSERT_NE(output, nullptr) << error;
  output->append("bare");
  EXPECT_TRUE(output->close());
  fs::current_path(saved);
  EXPECT_EQ(contents(folder_ / "bare.txt"), "bare");
}
#endif

}  // namespace
}  // namespace vessory::files
