#include "window_model/start_folder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace vessory::window_model {
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

// The search for a user folder when no start folder holds a file: a tree of folders, of which
// those in `users` hold an archive in a kind folder.
struct UserTree {
  std::map<std::string, std::vector<std::string>> below;
  std::set<std::string> users;
  std::vector<std::string> tried;
  UserFolderQueries queries() {
    UserFolderQueries q;
    q.subfolders = [this](const std::string& folder) {
      auto found = below.find(folder);
      return found == below.end() ? std::vector<std::string>{} : found->second;
    };
    q.holdsArchiveInKindFolder = [this](const std::string& folder) {
      tried.push_back(folder);
      return users.count(folder) != 0;
    };
    return q;
  }
};

TEST(StartFolderSearch, TheFirstUserFolderOfTheUsualPlacesWhenNoStartFolderHoldsAFile) {
  StartPlaces places;
  places.home = "/home/ann";
  places.programFiles = "C:\\Program Files";
  places.programFilesX86 = "C:\\Program Files (x86)\\";
  places.documents = "D:\\Users\\ann\\Documents";
  EXPECT_EQ(userFolderRoots(Platform::kWindows, places),
            (std::vector<std::string>{
                "C:\\Palm", "C:\\Pilot", "C:\\Program Files\\Palm", "C:\\Program Files\\palmOne",
                "C:\\Program Files\\Handspring", "C:\\Program Files (x86)\\Palm",
                "C:\\Program Files (x86)\\palmOne", "C:\\Program Files (x86)\\Handspring",
                "D:\\Users\\ann\\Documents\\Palm OS Desktop"}));
  // A 32-bit system names one Program Files folder in both variables.
  places.programFilesX86 = places.programFiles;
  places.documents.clear();
  EXPECT_EQ(userFolderRoots(Platform::kWindows, places).size(), 5u);
  EXPECT_EQ(userFolderRoots(Platform::kOther, places), std::vector<std::string>{"/home/ann/Palm"});

  struct Case {
    const char* name;
    Platform platform;
    std::set<std::string> withFiles;
    std::map<std::string, std::vector<std::string>> below;
    std::set<std::string> users;
    StartFolder expected;
  };
  places.documents = "D:\\Users\\ann\\Documents";
  const std::vector<Case> cases = {
      {"a subfolder of Palm, the first that is a user folder",
       Platform::kOther,
       {},
       {{"/home/ann/Palm", {"/home/ann/Palm/Aa", "/home/ann/Palm/Bob", "/home/ann/Palm/Cy"}}},
       {"/home/ann/Palm/Bob", "/home/ann/Palm/Cy"},
       {"/home/ann/Palm/Bob", ""}},
      {"Palm itself a user folder",
       Platform::kOther,
       {},
       {{"/home/ann/Palm", {"/home/ann/Palm/Bob"}}},
       {"/home/ann/Palm", "/home/ann/Palm/Bob"},
       {"/home/ann/Palm", ""}},
      {"a start folder with a file wins as before",
       Platform::kOther,
       {"/home/ann/Pilot"},
       {{"/home/ann/Palm", {"/home/ann/Palm/Bob"}}},
       {"/home/ann/Palm/Bob"},
       {"/home/ann/Pilot", ""}},
      {"no user folder: home as before",
       Platform::kOther,
       {},
       {{"/home/ann/Palm", {"/home/ann/Palm/Bob"}}},
       {},
       {"/home/ann", ""}},
      {"Windows: Program Files before Documents, the drive from the folder",
       Platform::kWindows,
       {},
       {{"C:\\Program Files\\palmOne", {"C:\\Program Files\\palmOne\\SmithJ"}}},
       {"C:\\Program Files\\palmOne\\SmithJ", "D:\\Users\\ann\\Documents\\Palm OS Desktop"},
       {"C:\\Program Files\\palmOne\\SmithJ", "C:"}},
      {"Windows: Documents on another drive",
       Platform::kWindows,
       {},
       {{"D:\\Users\\ann\\Documents\\Palm OS Desktop",
         {"D:\\Users\\ann\\Documents\\Palm OS Desktop\\SmithJ"}}},
       {"D:\\Users\\ann\\Documents\\Palm OS Desktop\\SmithJ"},
       {"D:\\Users\\ann\\Documents\\Palm OS Desktop\\SmithJ", "D:"}},
      {"Windows: nothing found, the root of C: as before",
       Platform::kWindows,
       {},
       {},
       {},
       {"C:\\", "C:"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDisk disk(c.withFiles);
    UserTree tree{c.below, c.users, {}};
    const StartFolder start =
        chooseStartFolder(c.platform, places, disk.predicate(), tree.queries());
    EXPECT_EQ(start.folder, c.expected.folder);
    EXPECT_EQ(start.drive, c.expected.drive);
  }
}

}  // namespace
}  // namespace vessory::window_model
