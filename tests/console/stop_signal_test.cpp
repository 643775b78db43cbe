// vessory-export as a process: a stop signal mid-export keeps the whole records read before it.

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/archive_builder.h"
#include "support/organiser_builder.h"

extern char** environ;

namespace vessory::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 20000;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<RecordPlan> entries(int count) {
  std::vector<RecordPlan> records;
  for (int n = 1; n <= count; ++n) {
    records.push_back(journalRecord("9:00: entry " + std::to_string(n)));
    records.back().recordId = static_cast<std::uint32_t>(n);
  }
  return records;
}

// A folder of its own with a date book big enough to be stopped in.
struct StopFolder {
  fs::path folder = fs::temp_directory_path() / ("vessory-stop-" + std::to_string(getpid()));
  StopFolder() {
    fs::remove_all(folder);
    fs::create_directories(folder / "user" / "datebook");
    std::ofstream(folder / "user" / "datebook" / "Datebook.dat", std::ios::binary)
        << ArchiveBuilder().archive(entries(kRecords)).bytes();
  }
  ~StopFolder() { fs::remove_all(folder); }
};

struct Stopped {
  int status = 0;     // as waitpid gives it
  std::string said;   // everything on standard error
};

// Runs the tool with `args`, its details going to a pipe nobody reads until the tool blocks
// writing them, mid-export; then sends `signal` and drains the pipe.
Stopped runAndStop(std::vector<std::string> args, int signal) {
  Stopped stopped;
  int err[2];
  if (pipe(err) != 0) return stopped;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  args.insert(args.begin(), VESSORY_EXPORT_PATH);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, VESSORY_EXPORT_PATH, &actions, nullptr, argv.data(),
                                  environ);
  posix_spawn_file_actions_destroy(&actions);
  close(err[1]);
  if (spawned != 0) {
    close(err[0]);
    return stopped;
  }
  // Full: the tool is stopped in a write, well inside the export.
  const int capacity = fcntl(err[0], F_GETPIPE_SZ);
  for (int unread = 0; unread < capacity;) ioctl(err[0], FIONREAD, &unread);
  kill(child, signal);
  char buffer[65536];
  for (ssize_t got; (got = read(err[0], buffer, sizeof buffer)) > 0;) stopped.said.append(buffer, got);
  close(err[0]);
  waitpid(child, &stopped.status, 0);
  return stopped;
}

// The rows of a journal CSV, which must end with the last one whole.
int rowsKept(const std::string& rows) {
  int kept = 0;
  for (std::size_t at = rows.find("\r\n"); at != std::string::npos; at = rows.find("\r\n", at + 1)) {
    ++kept;
  }
  EXPECT_TRUE(rows.ends_with("\"entry " + std::to_string(kept) + "\"\r\n")) << rows.size();
  return kept;
}

// The run stops at the next record, keeps the rows of the records read before it, says so, and
// ends with 128 + the signal; an earlier CSV of that name is left as it was instead.
TEST(StopSignalTest, ASignalMidExportKeepsTheWholeRecordsReadAndEndsWithItsStatus) {
  const StopFolder files;
  const fs::path archive = files.folder / "user" / "datebook" / "Datebook.dat";
  const struct {
    int signal;
    bool earlier;
  } cases[] = {{SIGINT, false}, {SIGTERM, false}, {SIGHUP, false}, {SIGINT, true}, {SIGTERM, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.signal) + (c.earlier ? " earlier" : ""));
    const fs::path csv = files.folder / "out.csv";
    fs::remove(csv);
    if (c.earlier) std::ofstream(csv, std::ios::binary) << "earlier";
    const std::string output = csv.string();
    const Stopped stopped = runAndStop({"-d", "-o", output, archive.string()}, c.signal);
    const std::string& said = stopped.said;

    ASSERT_TRUE(WIFEXITED(stopped.status)) << said.substr(said.size() - 300);
    EXPECT_EQ(WEXITSTATUS(stopped.status), 128 + c.signal);
    if (c.earlier) {
      EXPECT_EQ(readAll(csv), "earlier");
      EXPECT_NE(said.find("records read: the earlier " + output +
                          " was left as it was, and the part exported was not kept\n"),
                std::string::npos)
          << said.substr(said.size() - 300);
      continue;
    }
    const int kept = rowsKept(readAll(csv));
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, kRecords);
    EXPECT_TRUE(said.ends_with("\nStopped: the " + std::to_string(kept) +
                               " records read before that point have been kept in " + output +
                               "\n"))
        << said.substr(said.size() - 300);
  }
}

// A whole user folder: the date book being exported stops at its next record with its journal
// whole and in place, its calendar and the memo pad after it are not started, and the summary
// says what was kept, where, and what was not started.
TEST(StopSignalTest, ASignalDuringAWholeFolderStopsItsArchiveAndStartsNoOther) {
  const StopFolder files;
  const fs::path user = files.folder / "user";
  fs::create_directories(user / "memopad");
  MemoPlan memo;
  memo.text = "Not started";
  std::ofstream(user / "memopad" / "MemoPad.dat", std::ios::binary) << buildMemoArchive({}, {memo});
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    const fs::path out = files.folder / ("out-" + std::to_string(signal));
    const Stopped stopped =
        runAndStop({"--all", user.string(), "-d", "-o", out.string()}, signal);
    const std::string& said = stopped.said;

    ASSERT_TRUE(WIFEXITED(stopped.status)) << said.substr(said.size() - 300);
    EXPECT_EQ(WEXITSTATUS(stopped.status), 128 + signal);
    std::vector<std::string> made;
    for (const fs::directory_entry& entry : fs::directory_iterator(out)) {
      made.push_back(entry.path().filename().string());
    }
    std::sort(made.begin(), made.end());
    // No temporary left either; the daily notes of the records kept go with their rows, and
    // the guide tells that the export stopped.
    EXPECT_EQ(made, (std::vector<std::string>{"How to import.txt", "journal", "journal.csv"}));
    EXPECT_NE(readAll(out / "How to import.txt").find("THIS EXPORT WAS STOPPED"), std::string::npos);
    const int kept = rowsKept(readAll(out / "journal.csv"));
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, kRecords);
    const std::string entriesKept = std::to_string(kept) + (kept == 1 ? " entry" : " entries") +
                                    ", daily notes: 1 day in journal/";
    EXPECT_TRUE(said.ends_with(
        "\ndatebook/Datebook.dat (date book): calendar.ics not started, journal.csv (" +
        entriesKept + "); stopped\n" + fs::absolute(out / "How to import.txt").string() +
        " tells how to bring these files into other programs.\nStopped in "
        "datebook/Datebook.dat: " + fs::absolute(out / "journal.csv").string() +
        " holds only the " + std::to_string(kept) + (kept == 1 ? " record" : " records") +
        " read before that point; not started: memopad/MemoPad.dat (files of their exports "
        "from an earlier run are left as they were)\n"))
        << said.substr(said.size() - 400);
  }
}

}  // namespace
}  // namespace vessory::testing
