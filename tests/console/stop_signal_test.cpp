// vessory-export as a process: a stop signal mid-export keeps the whole records read before it.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/archive_builder.h"

extern char** environ;

namespace vessory::testing {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<RecordSpec> entries(int count) {
  std::vector<RecordSpec> records;
  for (int n = 1; n <= count; ++n) {
    records.push_back(journalRecord("9:00: entry " + std::to_string(n)));
    records.back().recordId = static_cast<std::uint32_t>(n);
  }
  return records;
}

// The details go to a pipe nobody reads until the tool blocks writing them, mid-export; then
// the signal is sent and the pipe drained. The run stops at the next record, keeps the rows of
// the records read before it, says so, and ends with 128 + the signal.
TEST(StopSignalTest, ASignalMidExportKeepsTheWholeRecordsReadAndEndsWithItsStatus) {
  constexpr int kRecords = 20000;
  const fs::path folder = fs::temp_directory_path() / ("vessory-stop-" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  const fs::path archive = folder / "Datebook.dat";
  std::ofstream(archive, std::ios::binary) << ArchiveBuilder().archive(entries(kRecords)).bytes();
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    const fs::path csv = folder / "out.csv";
    std::ofstream(csv, std::ios::binary) << "earlier";
    int err[2];
    ASSERT_EQ(pipe(err), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    const std::string output = csv.string(), input = archive.string();
    std::vector<std::string> args = {VESSORY_EXPORT_PATH, "-d", "-o", output, input};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, VESSORY_EXPORT_PATH, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(err[1]);

    // Full: the tool is stopped in a write, well inside the export.
    const int capacity = fcntl(err[0], F_GETPIPE_SZ);
    for (int unread = 0; unread < capacity;) ioctl(err[0], FIONREAD, &unread);
    kill(child, signal);
    std::string said;
    char buffer[65536];
    for (ssize_t got; (got = read(err[0], buffer, sizeof buffer)) > 0;) said.append(buffer, got);
    close(err[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    ASSERT_TRUE(WIFEXITED(status)) << said.substr(said.size() - 300);
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    const std::string rows = readAll(csv);
    int kept = 0;
    for (std::size_t at = rows.find("\r\n"); at != std::string::npos; at = rows.find("\r\n", at + 1)) {
      ++kept;
    }
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, kRecords);
    EXPECT_TRUE(rows.ends_with("\"entry " + std::to_string(kept) + "\"\r\n"));
    EXPECT_TRUE(said.ends_with("\nStopped: the " + std::to_string(kept) +
                               " records read before that point have been kept in " + output +
                               "\n"))
        << said.substr(said.size() - 300);
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace vessory::testing
