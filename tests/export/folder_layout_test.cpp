// Where a whole folder's exports go, for the path spellings users type: Windows drives and
// backslashes, trailing separators, roots, relative names and links.

#include "export/folder_layout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/fake_export.h"

namespace vessory::testing {
namespace {

TEST(FolderLayoutTest, TheDefaultOutputFolderSitsBesideTheFolderExported) {
  const struct {
    std::string folder, output;
  } rows[] = {
      {"C:\\Palm\\JSmith\\", "C:\\Palm\\JSmith-export"},
      {"C:\\Palm\\JSmith", "C:\\Palm\\JSmith-export"},
      {"/home/u/Palm//", "/home/u/Palm-export"},
      {"JSmith/", "JSmith-export"},
  };
  for (const auto& row : rows) {
    MemoryFiles files;
    EXPECT_EQ(exporting::defaultOutputFolder(files, row.folder), row.output) << row.folder;
  }
}

TEST(FolderLayoutTest, AnOutputFolderInTheFolderItselfOrAKindFolderIsRefused) {
  const std::string user = "C:\\Palm\\JSmith";
  const std::string refusedItself = "is the folder exported; name another with -o";
  const std::string refusedKind = "where the desktop keeps its archives; name another with -o";
  const struct {
    const char* name;
    std::string output;
    std::string refusalEnd;  // empty: accepted
  } rows[] = {
      {"the folder, with a separator", "C:\\Palm\\JSmith\\", refusedItself},
      {"the folder through a link", "E:\\link", refusedItself},
      {"deep in a kind folder", "C:\\Palm\\JSmith\\datebook\\x\\y", refusedKind},
      {"a kind folder of its own spelling", "/p/memopad/out", refusedKind},
      {"beside it", "C:\\Palm\\JSmith-export", ""},
      {"another drive", "D:\\out", ""},
      {"the root of another drive", "D:\\", ""},
      {"elsewhere, from the root", "/srv/out", ""},
      {"a relative name", "out", ""},
  };
  MemoryFiles files;
  files.aliases["E:\\link"] = user;
  files.folders.push_back("E:\\link");  // a folder that is there
  exporting::FolderLayout layout;
  layout.kindFolders = {"C:\\Palm\\JSmith\\datebook", "/p/memopad"};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<std::string> refusal =
        exporting::refuseOutputFolder(files, user, row.output, layout);
    if (row.refusalEnd.empty()) {
      EXPECT_FALSE(refusal.has_value()) << *refusal;
      continue;
    }
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->rfind("the output folder " + row.output + " ", 0), 0u) << *refusal;
    EXPECT_TRUE(refusal->ends_with(row.refusalEnd)) << *refusal;
  }
}

}  // namespace
}  // namespace vessory::testing
