// vessory-export.exe started as Windows starts it: from a wide command line, with standard
// output and standard error going to files.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/archive_builder.h"
#include "support/windows_test_folder.h"

namespace vessory::testing {
namespace {

struct ToolRun {
  DWORD status = 0;
  std::string out;
  std::string err;
};

std::wstring toolPath() {
  wchar_t self[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  return (std::filesystem::path(std::wstring(self, length)).parent_path() / L"vessory-export.exe")
      .wstring();
}

// Runs the tool with `args`, each quoted; none of them may hold a quotation mark or end in "\".
ToolRun runTool(const TestFolder& folder, const std::vector<std::wstring>& args) {
  const std::wstring tool = toolPath();
  std::wstring command = L"\"" + tool + L"\"";
  for (const std::wstring& arg : args) command += L" \"" + arg + L"\"";

  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const std::wstring outPath = folder.wide(L"stdout.bin");
  const std::wstring errPath = folder.wide(L"stderr.bin");
  HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(tool.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                nullptr, &startup, &process);
  CloseHandle(out);
  CloseHandle(err);
  ToolRun run;
  EXPECT_TRUE(started) << "cannot start " << utf8(tool) << ": error " << GetLastError();
  if (!started) return run;
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  GetExitCodeProcess(process.hProcess, &run.status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  run.out = readWide(outPath).value_or("");
  run.err = readWide(errPath).value_or("");
  return run;
}

class WindowsConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!existsWide(toolPath())) GTEST_SKIP() << "vessory-export.exe is not beside the tests";
    ArchiveBuilder builder;
    builder.archive({journalRecord("6:30 am <Garden> Frost \"again\"\r\n7:00 pm Soup"),
                     journalRecord("9:00 am Caf\xe9", 1018224000)});
    archive_ = builder.bytes();
  }

  std::string archive_;
  TestFolder folder_{L"Ausf\u00fchrung \u65e5\u8a18"};
};

TEST_F(WindowsConsoleTest, NonAsciiArchivePathFromTheCommandLineExports) {
  const std::wstring archive = folder_.wide(L"D\u00e4tebook.dat");
  ASSERT_TRUE(writeWide(archive, archive_));
  ToolRun run = runTool(folder_, {L"-q", archive});
  EXPECT_EQ(run.status, 0u) << run.err;
  const std::wstring csv = folder_.wide(L"D\u00e4tebook.csv");
  EXPECT_NE(run.err.find("\r\n" + utf8(csv) + "\n"), std::string::npos) << run.err;

  ToolRun toStdout = runTool(folder_, {L"-q", L"-o", L"-", archive});
  EXPECT_EQ(toStdout.status, 0u) << toStdout.err;
  EXPECT_EQ(std::optional<std::string>(toStdout.out), readWide(csv));
}

TEST_F(WindowsConsoleTest, MessagesShowTheNonAsciiPathAsGiven) {
  const std::wstring notArchive = folder_.wide(L"\u00dcbung \u0416.dat");
  ASSERT_TRUE(writeWide(notArchive, "plain text, no tag"));
  ToolRun run = runTool(folder_, {notArchive});
  EXPECT_EQ(run.status, 3u);
  EXPECT_EQ(run.err, utf8(notArchive) + " is Not a Datebook DB file\nvessory-export: " +
                        utf8(notArchive) + ": a text file\n");
}

TEST_F(WindowsConsoleTest, ReadOnlyOutputGivesCannotCreate) {
  const std::wstring archive = folder_.wide(L"Datebook.dat");
  const std::wstring csv = folder_.wide(L"Datebook.csv");
  ASSERT_TRUE(writeWide(archive, archive_));
  ASSERT_TRUE(writeWide(csv, ""));
  if (!makeReadOnly(csv)) GTEST_SKIP() << kReadOnlyIgnored;
  ToolRun run = runTool(folder_, {L"-q", archive});
  EXPECT_EQ(run.status, 3u);
  EXPECT_EQ(run.err.rfind("Cannot create " + utf8(csv) + ": ", 0), 0u) << run.err;
}

}  // namespace
}  // namespace vessory::testing
