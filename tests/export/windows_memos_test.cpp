// Memo files on a Windows file system: titles made of the names and characters Windows forbids
// become files that Windows creates and opens, each holding its memo, inside the output folder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/export_files.h"
#include "export/organiser_run.h"
#include "support/fake_export.h"
#include "support/organiser_builder.h"
#include "support/windows_test_folder.h"

namespace vessory::testing {
namespace {

TEST(WindowsMemosTest, ForbiddenNamesBecomeFilesWindowsOpens) {
  struct Case {
    std::string title;          // the memo's first line, as the archive holds it
    std::wstring file;          // the file it must become, in Unfiled
  };
  const std::vector<Case> cases = {
      {"CON", L"CON_.txt"},
      {"aux.txt", L"aux_.txt.txt"},
      {"lpt1.log", L"lpt1_.log.txt"},
      {"a:b?c*d", L"a_b_c_d.txt"},
      {"say \"hi\" <now> | later", L"say _hi_ _now_ _ later.txt"},
      {"trailing dots...", L"trailing dots.txt"},
      {"..\\..\\up", L"_.._up.txt"},
      {"Caf\xE9 cr\xE8me", L"Caf\u00E9 cr\u00E8me.txt"},
  };
  std::vector<MemoPlan> memos;
  for (const Case& c : cases) {
    MemoPlan memo;
    memo.recordId = static_cast<std::uint32_t>(memos.size() + 1);
    memo.text = c.title + "\r\nbody";
    memos.push_back(memo);
  }
  TestFolder folder;
  ASSERT_TRUE(writeWide(folder.wide(L"MemoPad.dat"), buildMemoArchive({}, memos)));
  RecordingView view;
  view.folder = folder.path();
  view.fileName = "MemoPad.dat";
  files::DiskFiles files;
  exporting::OrganiserSettings settings;
  settings.zoneName = "UTC";
  exporting::OrganiserRun run(files, settings);
  ASSERT_EQ(run.run(view), exporting::ExportOutcome::kComplete) << view.messages.back();
  EXPECT_EQ(run.tally().written, static_cast<std::int64_t>(cases.size()));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    const std::optional<std::string> text = readWide(folder.wide(L"MemoPad\\Unfiled\\" + c.file));
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->substr(text->size() - 5), "body\n");
  }
}

}  // namespace
}  // namespace vessory::testing
