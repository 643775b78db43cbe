// Whole exports on a Windows file system, through the run and through vessory-export.exe: the
// "\" separator, drive roots, the letter case of ".dat", names outside the ANSI code page, files
// held or locked by other programs, and a read-only CSV file. The CSV bytes are compared with
// the same export run over files held in memory.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/export_files.h"
#include "export/export_run.h"
#include "journal/csv_writer.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/windows_test_folder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

std::string journalArchive() {
  RecordPlan appointment;
  appointment.description = "Dentist";
  appointment.note = "";
  ArchiveBuilder builder;
  builder.archive({
      journalRecord("7:05 am <Home> Woke to \"rain\"\r\nstill raining\r\n9:40 pm Bed"),
      appointment,
      journalRecord("8:00 am Caf\xe9 au lait\n12:15 pm <Work> Lunch", 1018224000),
  });
  return builder.bytes();
}

// The CSV that the same run writes when the archive and the CSV file are held in memory.
std::string csvFromMemory(const std::string& archive) {
  RecordingView view;
  MemoryFiles files;
  files.archives[view.inputPath()] = archive;
  exporting::ExportRun run(files);
  EXPECT_EQ(run.run(view), ExportOutcome::kComplete);
  return files.csv(journal::csvPathFor(view.inputPath()));
}

std::string completionMessage(const std::string& csvPath) {
  return "All Done!\r\n\r\nExtracted journals have been placed in:\r\n" + csvPath;
}

class WindowsExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    expected_ = csvFromMemory(archive_);
    ASSERT_NE(expected_.find("\r\n"), std::string::npos);
  }

  ExportOutcome exportFrom(const std::string& folder, const std::string& fileName) {
    view_.folder = folder;
    view_.fileName = fileName;
    exporting::ExportRun run(files_);
    return run.run(view_);
  }

  const std::string archive_ = journalArchive();
  std::string expected_;
  TestFolder folder_;
  RecordingView view_;
  files::DiskFiles files_;
};

TEST_F(WindowsExportTest, FolderAndFileAreJoinedWithBackslash) {
  ASSERT_TRUE(writeWide(folder_.wide(L"Datebook.dat"), archive_));
  EXPECT_EQ(exportFrom(folder_.path(), "Datebook.dat"), ExportOutcome::kComplete);
  EXPECT_EQ(exporting::pathSeparator(), '\\');
  EXPECT_EQ(view_.inputPath(), folder_.path() + "\\Datebook.dat");
  EXPECT_EQ(readWide(folder_.wide(L"Datebook.csv")), expected_);
  EXPECT_EQ(view_.messages.back(), completionMessage(folder_.path() + "\\Datebook.csv"));
  EXPECT_TRUE(view_.ended);
}

TEST_F(WindowsExportTest, DoubleBackslashInsideThePathOpensNormally) {
  ASSERT_TRUE(writeWide(folder_.wide(L"Datebook.dat"), archive_));
  EXPECT_EQ(exportFrom(folder_.path() + "\\", "Datebook.dat"), ExportOutcome::kComplete);
  EXPECT_EQ(readWide(folder_.wide(L"Datebook.csv")), expected_);
}

TEST_F(WindowsExportTest, DoubleBackslashAfterDriveRootOpensNormally) {
  const std::string root = folder_.path().substr(0, 3);  // "C:\"
  ASSERT_EQ(root.substr(1), ":\\");
  const std::string name = "vessory-root-" + std::to_string(GetCurrentProcessId());
  const std::wstring archive = files::widePath(root + name + ".dat");
  const std::wstring csv = files::widePath(root + name + ".csv");
  if (!writeWide(archive, archive_)) GTEST_SKIP() << "no right to create files at " << root;

  ExportOutcome outcome = exportFrom(root, name + ".dat");
  EXPECT_EQ(view_.inputPath(), root + "\\" + name + ".dat");
  std::optional<std::string> rows = readWide(csv);
  DeleteFileW(archive.c_str());
  DeleteFileW(csv.c_str());
  EXPECT_EQ(outcome, ExportOutcome::kComplete);
  EXPECT_EQ(rows, expected_);
}

TEST_F(WindowsExportTest, UpperCaseDatIsNotReplaced) {
  EXPECT_EQ(journal::csvPathFor("D:\\Backup\\Datebook.DAT"), "D:\\Backup\\Datebook.DAT.csv");
  ASSERT_TRUE(CreateDirectoryW(folder_.wide(L"Backup").c_str(), nullptr));
  ASSERT_TRUE(writeWide(folder_.wide(L"Backup\\Datebook.DAT"), archive_));
  EXPECT_EQ(exportFrom(folder_.path(L"Backup"), "Datebook.DAT"), ExportOutcome::kComplete);
  EXPECT_EQ(readWide(folder_.wide(L"Backup\\Datebook.DAT.csv")), expected_);
  EXPECT_FALSE(existsWide(folder_.wide(L"Backup\\Datebook.csv")));
}

TEST_F(WindowsExportTest, NonAsciiPathsOpenAndAppearInMessagesAsGiven) {
  TestFolder folder(L"Journ\u00e4l \u65e5\u8a18 \u2603");
  ASSERT_TRUE(writeWide(folder.wide(L"Datebook.dat"), archive_));
  EXPECT_EQ(exportFrom(folder.path(), "Datebook.dat"), ExportOutcome::kComplete);
  EXPECT_EQ(readWide(folder.wide(L"Datebook.csv")), expected_);
  EXPECT_EQ(view_.messages.back(), completionMessage(folder.path(L"Datebook.csv")));

  RecordingView second;
  const std::string name = utf8(L"\u00dcbung \u0416.dat");
  ASSERT_TRUE(writeWide(folder.wide(L"\u00dcbung \u0416.dat"), "no tag here"));
  second.folder = folder.path();
  second.fileName = name;
  exporting::ExportRun run(files_);
  EXPECT_EQ(run.run(second), ExportOutcome::kNotDatebook);
  ASSERT_EQ(second.messages.size(), 1u);
  EXPECT_EQ(second.messages[0], folder.path() + "\\" + name + " is Not a Datebook DB file");
}

TEST_F(WindowsExportTest, HiddenOrSystemArchiveIsNotExported) {
  for (DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    TestFolder folder;
    const std::wstring archive = folder.wide(L"Datebook.dat");
    ASSERT_TRUE(writeWide(archive, archive_));
    ASSERT_TRUE(SetFileAttributesW(archive.c_str(), attribute));
    RecordingView view;
    view.folder = folder.path();
    view.fileName = "Datebook.dat";
    exporting::ExportRun run(files_);
    EXPECT_EQ(run.run(view), ExportOutcome::kNoArchive);
    EXPECT_FALSE(existsWide(folder.wide(L"Datebook.csv")));
  }
}

TEST_F(WindowsExportTest, ArchiveHeldOpenByAnotherProgramExports) {
  const std::wstring archive = folder_.wide(L"Datebook.dat");
  ASSERT_TRUE(writeWide(archive, archive_));
  HeldFile other(archive, GENERIC_READ, FILE_SHARE_READ);
  ASSERT_TRUE(other.held());
  EXPECT_EQ(exportFrom(folder_.path(), "Datebook.dat"), ExportOutcome::kComplete);
  EXPECT_EQ(readWide(folder_.wide(L"Datebook.csv")), expected_);
}

TEST_F(WindowsExportTest, ArchiveLockedByAnotherProgramIsReportedAndNothingCreated) {
  const std::wstring archive = folder_.wide(L"Datebook.dat");
  ASSERT_TRUE(writeWide(archive, archive_));
  HeldFile locker(archive, GENERIC_READ, 0);
  ASSERT_TRUE(locker.held());
  EXPECT_EQ(exportFrom(folder_.path(), "Datebook.dat"), ExportOutcome::kCannotOpen);
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0],
            "Cannot open " + folder_.path() + "\\Datebook.dat: " + std::strerror(EACCES));
  EXPECT_FALSE(existsWide(folder_.wide(L"Datebook.csv")));
  EXPECT_FALSE(view_.ended);
}

TEST_F(WindowsExportTest, ReadOnlyCsvIsReportedAndTheArchiveReleased) {
  const std::wstring archive = folder_.wide(L"Datebook.dat");
  const std::wstring csv = folder_.wide(L"Datebook.csv");
  ASSERT_TRUE(writeWide(archive, archive_));
  ASSERT_TRUE(writeWide(csv, "earlier rows\r\n"));
  if (!makeReadOnly(csv)) GTEST_SKIP() << kReadOnlyIgnored;

  EXPECT_EQ(exportFrom(folder_.path(), "Datebook.dat"), ExportOutcome::kCannotCreate);
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0],
            "Cannot create " + utf8(csv) + ": " + std::string(std::strerror(EACCES)));
  EXPECT_EQ(readWide(csv), "earlier rows\r\n");
  EXPECT_FALSE(view_.ended);
  // Windows refuses to delete a file that is still open.
  EXPECT_TRUE(DeleteFileW(archive.c_str()));
}

}  // namespace
}  // namespace vessory::testing
