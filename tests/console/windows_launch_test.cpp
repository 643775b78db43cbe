#include "console/windows_launch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/captured_stream.h"

namespace vessory::testing {
namespace {

// A system as a launch sees it, recording the waits.
struct FakeHost : console::LaunchHost {
  bool own = false;
  bool input = false;
  std::set<std::string> folders;
  int waits = 0;
  bool ownConsole() override { return own; }
  bool inputIsConsole() override { return input; }
  bool isFolder(const std::string& path) override { return folders.count(path) != 0; }
  void waitForEnter() override { ++waits; }
};

TEST(WindowsLaunchTest, AFolderAloneIsExportedWholeAndTheOwnConsoleWaitsForEnter) {
  using Args = std::vector<std::string>;
  const std::string helpStart = "vessory-export turns";
  struct Case {
    const char* name;
    Args args;
    bool own, input;
    Args ran;  // empty with `helped`: the tool did not run
    bool helped, waited;
  };
  const std::vector<Case> cases = {
      {"a folder dropped in Explorer",
       {"C:\\Palm\\SmithJ"},
       true,
       true,
       {"--all", "C:\\Palm\\SmithJ"},
       false,
       true},
      {"the same from a shell: no pause",
       {"C:\\Palm\\SmithJ"},
       false,
       true,
       {"--all", "C:\\Palm\\SmithJ"},
       false,
       false},
      {"input not a console: no pause",
       {"C:\\Palm\\SmithJ"},
       true,
       false,
       {"--all", "C:\\Palm\\SmithJ"},
       false,
       false},
      {"a file dropped stays a single export",
       {"C:\\Palm\\Datebook.dat"},
       true,
       true,
       {"C:\\Palm\\Datebook.dat"},
       false,
       true},
      {"a folder with options stays as given",
       {"-q", "C:\\Palm\\SmithJ"},
       false,
       false,
       {"-q", "C:\\Palm\\SmithJ"},
       false,
       false},
      {"an option alone stays as given", {"--help"}, false, false, {"--help"}, false, false},
      {"a double click explains and waits", {}, true, true, {}, true, true},
      {"no argument from a shell runs the tool as ever", {}, false, true, {"<ran>"}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHost host;
    host.own = c.own;
    host.input = c.input;
    host.folders = {"C:\\Palm\\SmithJ"};
    CapturedStream err;
    Args ran;
    bool called = false;
    const int status = console::runLaunched(c.args, host, err.get(), [&](const Args& args) {
      called = true;
      ran = args;
      return 3;
    });
    if (c.helped) {
      EXPECT_FALSE(called);
      EXPECT_EQ(status, 0);
      EXPECT_EQ(err.text().rfind(helpStart, 0), 0u) << err.text();
    } else {
      EXPECT_TRUE(called);
      EXPECT_EQ(status, 3);
      if (c.ran != Args{"<ran>"}) {
        EXPECT_EQ(ran, c.ran);
      }
    }
    EXPECT_EQ(host.waits, c.waited ? 1 : 0);
    const bool asked = err.text().find(console::kPressEnter) != std::string::npos;
    EXPECT_EQ(asked, c.waited) << err.text();
  }
}

TEST(WindowsLaunchTest, TheHelpSaysToDropTheUserFolderInAFewLines) {
  const std::string help = console::launchHelpText();
  EXPECT_NE(help.find("drag the user's folder"), std::string::npos);
  EXPECT_NE(help.find("vessory-export.exe"), std::string::npos);
  EXPECT_NE(help.find("How to import.txt"), std::string::npos);
  std::size_t lines = 0;
  for (char c : help) lines += c == '\n';
  EXPECT_LE(lines, 12u);
}

// Wine's console breaks words at the 80th column: every line of the text and of the request
// for Enter keeps to 79.
TEST(WindowsLaunchTest, EveryLineFitsSeventyNineColumns) {
  for (const std::string& text : {console::launchHelpText(), std::string(console::kPressEnter)}) {
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      EXPECT_LE(end - start, 79u) << text.substr(start, end - start);
      start = end + 1;
    }
  }
}

}  // namespace
}  // namespace vessory::testing
