// Exports driven through the Windows window, each compared file by file with what the console
// tool wrote on Linux for the same archive and options (VESSORY_WINDOW_CASES/NAME/given, the
// files before, and NAME/expected, the files after): the journal byte for byte, calendars and
// to-dos but for DTSTAMP, the import guide but for its CR LF line ends and separators.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "window_fixture.h"
#include "windows_window/disk_lists.h"
#include "windows_window/wide_text.h"

namespace vessory::windows_window {
namespace {

// What the user does in the window before pressing Export.
struct ExportCase {
  const char* name;
  const wchar_t* open;  // in the case's folder: the archive, or the user folder
  bool noWrap = false;
  const wchar_t* keywords = nullptr;
  const wchar_t* bias = nullptr;
  const wchar_t* journal = nullptr;
  bool calendar = false;
  bool notes = false;
  bool everything = false;
};

std::ostream& operator<<(std::ostream& out, const ExportCase& c) { return out << c.name; }

// The bytes as they must be equal: calendars without DTSTAMP, the guide without its CRs and
// with the separators of the folder's names as on Linux.
std::string comparable(const std::wstring& name, const std::string& bytes) {
  std::istringstream lines(bytes);
  std::string out;
  const bool calendar = name.size() > 4 && name.substr(name.size() - 4) == L".ics";
  const bool guide = name.find(L"How to import.txt") != std::wstring::npos;
  if (!calendar && !guide) return bytes;
  for (std::string line; std::getline(lines, line);) {
    if (calendar && line.rfind("DTSTAMP", 0) == 0) continue;
    if (guide && !line.empty() && line.back() == '\r') line.pop_back();
    if (guide) std::replace(line.begin(), line.end(), '\\', '/');
    out += line + "\n";
  }
  return out;
}

class WindowExportTest : public WindowTest, public ::testing::WithParamInterface<ExportCase> {
 protected:
  // The case's given files in a folder of the test's own.
  std::wstring prepare(const char* name) {
    const std::wstring cases = casesFolder();
    if (cases.empty()) ADD_FAILURE() << "VESSORY_WINDOW_CASES names no folder";
    const std::wstring folder = joinWide(work_, fromSystem(name));
    copyTree(joinWide(joinWide(cases, fromSystem(name)), L"given"), folder);
    return folder;
  }
  std::wstring expected(const char* name) {
    return joinWide(joinWide(casesFolder(), fromSystem(name)), L"expected");
  }
};

TEST_P(WindowExportTest, WritesWhatTheConsoleToolWrites) {
  const ExportCase& c = GetParam();
  const std::wstring folder = prepare(c.name);
  open(joinWide(folder, c.open));
  if (c.noWrap) click("WordWrap");
  if (c.keywords != nullptr) type("Keywords", c.keywords);
  if (c.bias != nullptr) type("HoursBias", c.bias);
  if (c.journal != nullptr) type("CMBJournalNames", c.journal);
  if (c.calendar) click("AlsoCalendar");
  if (c.notes) click("AlsoNotes");
  if (c.everything) click("Everything");
  click("ReadDate");
  EXPECT_EQ(quits_, 1) << "the program ends after the final message";
  EXPECT_EQ(messages_.size() + summaries_.size(), 1U);
  const std::vector<std::wstring> written = filesBelow(folder);
  ASSERT_EQ(written, filesBelow(expected(c.name)));
  for (const std::wstring& file : written) {
    SCOPED_TRACE(toSystem(file));
    EXPECT_EQ(comparable(file, readFile(joinWide(folder, file))),
              comparable(file, readFile(joinWide(expected(c.name), file))));
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, WindowExportTest,
    ::testing::Values(
        ExportCase{"journal", L"Datebook.dat"},
        ExportCase{"journal-options", L"Datebook.dat", true, L"[]", L"0", L"German: Logbuch"},
        ExportCase{"journal-calendar-notes", L"Datebook.dat", false, nullptr, nullptr, nullptr,
                   true, true},
        ExportCase{"contacts", L"Address.dat"}, ExportCase{"todos", L"ToDo.dat"},
        ExportCase{"memos", L"MemoPad.dat"},
        ExportCase{"folder", L"M\u00fcller", false, nullptr, nullptr, nullptr, false, false,
                   true}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name) ch = ch == '-' ? '_' : ch;
      return name;
    });

// Exit pressed, or the window closed, during a run: the CSV holds the records before it, each
// whole, and nothing else.
TEST_F(WindowExportTest, ExitOrClosingDuringARunKeepsWholeRecords) {
  const std::string whole = readFile(joinWide(expected("exit-during-run"), L"Datebook.csv"));
  for (const bool byExit : {true, false}) {
    SCOPED_TRACE(byExit ? "Exit" : "closing");
    const std::wstring folder = prepare("exit-during-run");
    quits_ = 0;
    open(joinWide(folder, L"Datebook.dat"));
    // Handled at the run's first pause.
    if (byExit) PostMessageW(control("Exit"), BM_CLICK, 0, 0);
    if (!byExit) PostMessageW(window_->handle(), WM_CLOSE, 0, 0);
    click("ReadDate");
    EXPECT_EQ(quits_, 1);
    const std::string kept = readFile(joinWide(folder, L"Datebook.csv"));
    EXPECT_LT(kept.size(), whole.size());
    EXPECT_EQ(whole.compare(0, kept.size(), kept), 0) << "not the start of the whole export";
    EXPECT_TRUE(kept.empty() || kept.substr(kept.size() - 2) == "\r\n");
    window_.reset();
    removeTree(folder);
  }
}

}  // namespace
}  // namespace vessory::windows_window
