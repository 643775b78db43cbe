#include "window/start_folder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace vessory::window {
namespace {

// A disk on which exactly the folders in `withFiles` hold an ordinary file; it records every
// folder it is asked about.
class FakeDisk {
 public:
  explicit FakeDisk(std::set<std::string> withFiles = {}) : withFiles(std::move(withFiles)) {}

  HoldsOrdinaryFile predicate() {
    return [this](const std::string& folder) {
      asked.push_back(folder);
      return withFiles.count(folder) > 0;
    };
  }

  std::set<std::string> withFiles;
  std::vector<std::string> asked;
};

TEST(StartFolderOnWindows, PalmWithAFileWinsInLowerCase) {
  FakeDisk disk({"C:\\Palm", "C:\\Pilot"});
  StartFolder start = chooseStartFolder(Platform::kWindows, "C:\\Users\\ann", disk.predicate());
  EXPECT_EQ(start.folder, "c:\\palm");
  EXPECT_EQ(start.drive, "c:");
  EXPECT_EQ(disk.asked, std::vector<std::string>{"C:\\Palm"});
}

TEST(StartFolderOnWindows, PilotIsTriedWhenPalmHoldsNoFile) {
  FakeDisk disk({"C:\\Pilot"});
  StartFolder start = chooseStartFolder(Platform::kWindows, "C:\\Users\\ann", disk.predicate());
  EXPECT_EQ(start.folder, "c:\\pilot");
  EXPECT_EQ(start.drive, "c:");
  EXPECT_EQ(disk.asked, (std::vector<std::string>{"C:\\Palm", "C:\\Pilot"}));
}

TEST(StartFolderOnWindows, RootOfDriveCInUpperCaseWhenNeitherHoldsAFile) {
  FakeDisk disk;
  StartFolder start = chooseStartFolder(Platform::kWindows, "C:\\Users\\ann", disk.predicate());
  EXPECT_EQ(start.folder, "C:\\");
  EXPECT_EQ(start.drive, "C:");
  // The home folder plays no part on Windows.
  EXPECT_EQ(disk.asked, (std::vector<std::string>{"C:\\Palm", "C:\\Pilot"}));
}

TEST(StartFolderElsewhere, PalmUnderHomeWins) {
  FakeDisk disk({"/home/ann/Palm", "/home/ann/Pilot"});
  StartFolder start = chooseStartFolder(Platform::kOther, "/home/ann", disk.predicate());
  EXPECT_EQ(start.folder, "/home/ann/Palm");
  EXPECT_EQ(start.drive, "");
}

TEST(StartFolderElsewhere, PilotWhenPalmHoldsNoFile) {
  FakeDisk disk({"/home/ann/Pilot"});
  StartFolder start = chooseStartFolder(Platform::kOther, "/home/ann", disk.predicate());
  EXPECT_EQ(start.folder, "/home/ann/Pilot");
  EXPECT_EQ(disk.asked, (std::vector<std::string>{"/home/ann/Palm", "/home/ann/Pilot"}));
}

TEST(StartFolderElsewhere, HomeItselfWhenNeitherHoldsAFile) {
  FakeDisk disk({"/home/ann", "/home/ann/Palm/datebook"});
  StartFolder start = chooseStartFolder(Platform::kOther, "/home/ann", disk.predicate());
  EXPECT_EQ(start.folder, "/home/ann");
  EXPECT_EQ(disk.asked, (std::vector<std::string>{"/home/ann/Palm", "/home/ann/Pilot"}));
}

TEST(StartFolderElsewhere, TrailingSeparatorsAndRootHomesJoinCleanly) {
  FakeDisk disk({"/home/ann/Palm", "/Pilot"});
  EXPECT_EQ(chooseStartFolder(Platform::kOther, "/home/ann//", disk.predicate()).folder,
            "/home/ann/Palm");
  EXPECT_EQ(chooseStartFolder(Platform::kOther, "/", disk.predicate()).folder, "/Pilot");
  EXPECT_EQ(chooseStartFolder(Platform::kOther, "", disk.predicate()).folder, "/Pilot");
  FakeDisk empty;
  EXPECT_EQ(chooseStartFolder(Platform::kOther, "", empty.predicate()).folder, "/");
}

}  // namespace
}  // namespace vessory::window
