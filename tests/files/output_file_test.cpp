#include "files/output_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace vessory::files {
namespace {

// Records every piece handed on; fails from the `failAt`-th write (1-based) on, with
// `reason` when it is not empty.
class RecordingOutput : public OutputFile {
 public:
  explicit RecordingOutput(int failAt = 0, std::string reason = {})
      : failAt_(failAt), reason_(std::move(reason)) {}

  std::vector<std::string> pieces;
  int writes = 0;

  // Reports a second failure at close; the first reason must win.
  bool close() override {
    bool result = OutputFile::close();
    if (!result) fail("second reason");
    return result;
  }

 protected:
  bool write(std::string_view bytes) override {
    ++writes;
    if (failAt_ != 0 && writes >= failAt_) {
      if (!reason_.empty()) fail(reason_);
      return false;
    }
    pieces.emplace_back(bytes);
    return true;
  }

 private:
  int failAt_;
  std::string reason_;
};

std::string joined(const std::vector<std::string>& pieces) {
  std::string all;
  for (const std::string& piece : pieces) all += piece;
  return all;
}

std::string row(int n) { return std::to_string(n) + ",,4/07/2002,9:15 AM,\"entry text\"\r\n"; }

TEST(CsvOutputTest, ManyRowsArriveInOrderInFewWrites) {
  RecordingOutput output;
  std::string expected;
  for (int n = 0; n < 20000; ++n) {
    output.append(row(n));
    expected += row(n);
  }
  EXPECT_TRUE(output.flush());
  EXPECT_EQ(joined(output.pieces), expected);
  EXPECT_LT(output.writes, 200);
  EXPECT_TRUE(output.close());
  EXPECT_EQ(joined(output.pieces), expected);
}

TEST(CsvOutputTest, RowsLargerThanTheBufferKeepTheirPlace) {
  RecordingOutput output;
  const std::string big(300000, 'x');
  const std::string bigger(1 << 20, 'y');
  output.append("head\r\n");
  output.append(big);
  output.append("middle\r\n");
  output.append(bigger);
  output.append(bigger);
  output.append("tail\r\n");
  EXPECT_TRUE(output.close());
  EXPECT_EQ(joined(output.pieces), "head\r\n" + big + "middle\r\n" + bigger + bigger + "tail\r\n");
}

TEST(CsvOutputTest, EmptyOutputClosesWithoutWriting) {
  RecordingOutput output;
  EXPECT_TRUE(output.flush());
  EXPECT_TRUE(output.close());
  EXPECT_EQ(output.writes, 0);
  EXPECT_TRUE(output.ok());
}

// An output in memory given up holds nothing, not even what it had handed on, and stays failed.
TEST(CsvOutputTest, AStringOutputGivenUpHoldsNothing) {
  StringOutput output;
  output.append("handed on");
  ASSERT_TRUE(output.flush());
  output.append(" and buffered");
  output.discard();
  EXPECT_EQ(output.contents(), "");
  EXPECT_FALSE(output.close());
  EXPECT_EQ(output.errorText(), "given up");
}

TEST(CsvOutputTest, FailureIsReportedAtFlushAndKeepsFirstReason) {
  RecordingOutput output(1, "No space left on device");
  output.append(row(1));
  output.append(row(2));
  EXPECT_FALSE(output.flush());
  EXPECT_FALSE(output.ok());
  EXPECT_EQ(output.errorText(), "No space left on device");

  // Once failed, nothing more is handed on and every later result is a failure.
  output.append(std::string(200000, 'z'));
  output.append(row(3));
  EXPECT_FALSE(output.flush());
  EXPECT_FALSE(output.close());
  EXPECT_EQ(output.writes, 1);
  EXPECT_EQ(output.errorText(), "No space left on device");
}

TEST(CsvOutputTest, FailureOfALargeRowIsSeenAtOnce) {
  RecordingOutput output(2, "Input/output error");
  output.append(std::string(200000, 'a'));
  EXPECT_TRUE(output.ok());
  output.append(std::string(200000, 'b'));
  EXPECT_FALSE(output.ok());
  EXPECT_EQ(output.errorText(), "Input/output error");
  EXPECT_FALSE(output.close());
  EXPECT_EQ(joined(output.pieces), std::string(200000, 'a'));
}

TEST(CsvOutputTest, FailureWithoutReasonStillFails) {
  RecordingOutput output(1);
  output.append(row(1));
  EXPECT_FALSE(output.close());
  EXPECT_FALSE(output.errorText().empty());
  EXPECT_NE(output.errorText(), "second reason");
}

std::string fileContents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string scratchPath(const char* name) {
  return (std::filesystem::path(::testing::TempDir()) / name).string();
}

TEST(FileOutputTest, WritesBytesAsGivenAndReplacesEarlierFile) {
  using namespace std::string_literals;
  const std::string path = scratchPath("vessory_csv_output_test.csv");
  { std::ofstream(path, std::ios::binary) << "an older and much longer file\r\n\r\n"; }
  std::string error;
  auto output = FileOutput::create(path, error);
  ASSERT_NE(output, nullptr) << error;
  const std::string bytes = "1,\x00,\xAB\xFF,\"a\r\nb\n\"\r\n"s;
  output->append(bytes);
  EXPECT_TRUE(output->close());
  EXPECT_TRUE(output->close());
  EXPECT_EQ(fileContents(path), bytes);
  std::filesystem::remove(path);
}

// The names in the folder of `path` other than its own: temporaries left behind show here.
std::vector<std::string> othersBeside(const std::string& path) {
  std::vector<std::string> names;
  const std::filesystem::path target(path);
  for (const auto& entry : std::filesystem::directory_iterator(target.parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name != target.filename().string() && name.find(target.filename().string()) != std::string::npos) {
      names.push_back(name);
    }
  }
  return names;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// However the writing ends short of a whole close, the earlier file stays as it was and no
// temporary is left; a whole close replaces it and keeps its permissions.
TEST(FileOutputTest, TheEarlierFileIsReplacedOnlyByAWholeClose) {
  const std::string path = scratchPath("vessory_whole_output.csv");
  enum class End { kDestroyed, kDiscarded, kClosed };
  for (End end : {End::kDestroyed, End::kDiscarded, End::kClosed}) {
    SCOPED_TRACE(static_cast<int>(end));
    writeFile(path, "earlier");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    {
      std::string error;
      auto output = FileOutput::create(path, error);
      ASSERT_NE(output, nullptr) << error;
      for (int n = 0; n < 3000; ++n) output->append(row(n));
      ASSERT_TRUE(output->flush());
      EXPECT_EQ(fileContents(path), "earlier");  // the rows are in the temporary meanwhile
      EXPECT_EQ(othersBeside(path).size(), 1u);
      if (end == End::kDiscarded) output->discard();
      if (end == End::kClosed) {
        EXPECT_TRUE(output->close());
      }
    }
    EXPECT_EQ(fileContents(path) == "earlier", end != End::kClosed);
    EXPECT_TRUE(othersBeside(path).empty());
#ifndef _WIN32
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
#endif
  }
  std::filesystem::remove(path);
  std::string error;
  FileOutput::create(path, error)->discard();
  EXPECT_FALSE(std::filesystem::exists(path));  // none was made
#ifndef _WIN32
  // A new file gets the permissions the process gives new files, not the temporary's own.
  for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{002}}) {
    const mode_t saved = ::umask(mask);
    auto output = FileOutput::create(path, error);
    ASSERT_NE(output, nullptr) << error;
    output->append("new");
    EXPECT_TRUE(output->close());
    ::umask(saved);
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms(0666 & ~mask)) << std::oct << mask;
    std::filesystem::remove(path);
  }
#endif
}

// Closed as another name, the whole bytes go there (replacing a file there) and the file of the
// output's own name is left as it was, or never made; nothing is left beside them.
TEST(FileOutputTest, CloseAsPutsTheBytesUnderTheOtherNameOnly) {
  const std::string path = scratchPath("vessory_close_as.csv");
  const std::string beside = scratchPath("vessory_close_as (damaged archive).csv");
  const struct {
    bool earlier, besideThere;
    int rows;  // past the buffer, a new file moves to a temporary
  } cases[] = {{true, false, 3}, {true, true, 3000}, {false, false, 3}, {false, true, 3000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.earlier) + std::to_string(c.besideThere) +
                 std::to_string(c.rows));
    std::filesystem::remove(path);
    if (c.earlier) writeFile(path, "earlier");
    if (c.besideThere) writeFile(beside, "an earlier damaged one");
    std::string error;
    auto output = FileOutput::create(path, error);
    ASSERT_NE(output, nullptr) << error;
    std::string bytes;
    for (int n = 0; n < c.rows; ++n) {
      output->append(row(n));
      bytes += row(n);
    }
    EXPECT_TRUE(output->closeAs(beside)) << output->errorText();
    EXPECT_EQ(fileContents(beside), bytes);
    EXPECT_EQ(std::filesystem::exists(path), c.earlier);
    if (c.earlier) EXPECT_EQ(fileContents(path), "earlier");
    EXPECT_TRUE(othersBeside(path).empty());  // no temporary left
    std::filesystem::remove(beside);
  }
  std::filesystem::remove(path);
}

#ifndef _WIN32
// A write refused part-way (a file size limit stands in for a full disk): the reason says the
// earlier file was kept, and it was.
TEST(FileOutputTest, FailedWriteLeavesTheEarlierFileAndSaysSo) {
  const std::string path = scratchPath("vessory_failed_output.vcf");
  writeFile(path, "earlier");
  std::string error;
  auto output = FileOutput::create(path, error, "contacts.vcf");
  ASSERT_NE(output, nullptr) << error;
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  for (int n = 0; n < 3000; ++n) output->append(row(n));
  const bool closed = output->close();
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(closed);
  EXPECT_EQ(output->errorText(), std::string(std::strerror(EFBIG)) +
                                     "; the earlier contacts.vcf was left as it was");
  EXPECT_EQ(fileContents(path), "earlier");
  EXPECT_TRUE(othersBeside(path).empty());
  std::filesystem::remove(path);
}

// A link is followed: the file it names is replaced and the link stays. A folder in the way is
// refused before anything is written.
TEST(FileOutputTest, LinksAreFollowedAndFoldersRefused) {
  const std::string target = scratchPath("vessory_link_target.ics");
  const std::string link = scratchPath("vessory_link.ics");
  writeFile(target, "earlier");
  std::filesystem::remove(link);
  std::filesystem::create_symlink(target, link);
  std::string error;
  auto output = FileOutput::create(link, error);
  ASSERT_NE(output, nullptr) << error;
  output->append("new");
  EXPECT_TRUE(output->close());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(fileContents(target), "new");
  std::filesystem::remove(link);
  std::filesystem::remove(target);

  const std::string folder = scratchPath("vessory_folder_in_the_way.csv");
  std::filesystem::create_directories(folder);
  EXPECT_EQ(FileOutput::create(folder, error), nullptr);
  EXPECT_EQ(error, std::strerror(EISDIR));
  std::filesystem::remove(folder);
}
#endif

TEST(FileOutputTest, CreateInMissingFolderGivesSystemReason) {
  std::string error;
  auto output = FileOutput::create(scratchPath("no_such_folder/x.csv"), error);
  EXPECT_EQ(output, nullptr);
  EXPECT_EQ(error, std::strerror(ENOENT));
}

// A device is written as it stands: no temporary can be renamed over it.
TEST(FileOutputTest, FullDeviceFailsAtCloseWithSystemReason) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::string error;
  auto output = FileOutput::create("/dev/full", error);
  ASSERT_NE(output, nullptr) << error;
  output->append(row(1));
  EXPECT_TRUE(output->ok());
  EXPECT_FALSE(output->close());
  EXPECT_EQ(output->errorText(), std::strerror(ENOSPC));
}

// Rows built in pieces: every write hands on whole rows only, so whatever reaches the disk
// before a failure ends at a row's end.
TEST(CsvOutputTest, RowsBuiltInPiecesAreNeverSplitByAFlush) {
  RecordingOutput output;
  std::string expected;
  for (int n = 0; n < 5000; ++n) {
    std::string piece(static_cast<std::size_t>(n % 97) * 7, 'x');
    output.beginRow(piece.size() + 8);
    output.appendToRow(std::to_string(n % 10));
    output.appendToRow(",\"");
    output.appendToRow(piece);
    output.appendToRow("\"\r\n");
    output.endRow();
    expected += std::to_string(n % 10) + ",\"" + piece + "\"\r\n";
  }
  output.appendToRow("");
  EXPECT_TRUE(output.close());
  EXPECT_EQ(joined(output.pieces), expected);
  EXPECT_GT(output.pieces.size(), 1u);
  for (const std::string& piece : output.pieces) {
    ASSERT_GE(piece.size(), 2u);
    EXPECT_EQ(piece.substr(piece.size() - 2), "\r\n");
  }
}

TEST(CsvOutputTest, RowLargerThanTheBufferOrThanAnnouncedLandsWhole) {
  RecordingOutput output;
  const std::string huge(300000, 'h');
  output.beginRow(10);  // announces less than it writes
  output.appendToRow("1,\"");
  output.appendToRow(huge);
  output.appendToRow("\"\r\n");
  output.endRow();
  output.beginRow(6);
  output.appendToRow("2,x\r\n");
  output.endRow();
  EXPECT_TRUE(output.close());
  EXPECT_EQ(joined(output.pieces), "1,\"" + huge + "\"\r\n2,x\r\n");
}

}  // namespace
}  // namespace vessory::files
