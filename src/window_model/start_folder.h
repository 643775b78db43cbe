#ifndef VESSORY_WINDOW_MODEL_START_FOLDER_H_
#define VESSORY_WINDOW_MODEL_START_FOLDER_H_

#include <functional>
#include <string>
#include <vector>

namespace vessory::window_model {

enum class Platform { kWindows, kOther };

// The platform this program was built for.
Platform buildPlatform();

// Where the drive, folder and file lists open.
struct StartFolder {
  std::string folder;
  // The drive the drive list selects: the first two characters of `folder` on Windows ("c:" or
  // "C:"). Empty elsewhere, where there are no drive letters and the window selects the mounted
  // volume that holds `folder`.
  std::string drive;
};

// Tells whether at least one ordinary file (not a folder, not hidden, not a system file) lies
// directly in the folder; files deeper down do not count.
using HoldsOrdinaryFile = std::function<bool(const std::string& folder)>;

// Chooses the first candidate folder that holds an ordinary file, else the last one. On Windows
// the candidates are "c:\palm" and "c:\pilot", asked about as "C:\Palm" and "C:\Pilot", and
// then "C:\", each kept in exactly that letter case. Elsewhere they are `home`/Palm,
// `home`/Pilot and `home` itself, since that is where a user's files live; an empty `home`
// stands for "/". `holdsFile` is asked about the first two candidates only, in order.
StartFolder chooseStartFolder(Platform platform, const std::string& home,
                              const HoldsOrdinaryFile& holdsFile);

// Where the desktop software keeps its users' folders on this machine, as the system names
// them. Only `home` is used off Windows; an empty entry is left out.
struct StartPlaces {
  std::string home;
  std::string programFiles;     // %ProgramFiles%
  std::string programFilesX86;  // %ProgramFiles(x86)%
  std::string documents;        // the user's Documents folder
};

// What the search for a user folder asks of the disk.
struct UserFolderQueries {
  // The folders directly in a folder, as full paths, in the order they are tried; none when it
  // is no folder.
  std::function<std::vector<std::string>(const std::string& folder)> subfolders;
  // Whether a folder is a user folder: one of its kind folders holds an archive this tool reads.
  std::function<bool(const std::string& folder)> holdsArchiveInKindFolder;
};

// The folders that may hold users' folders, in the order they are searched. Windows: C:\Palm,
// C:\Pilot, then Palm, palmOne and Handspring under each Program Files folder, then "Palm OS
// Desktop" in Documents. Elsewhere: `home`/Palm.
std::vector<std::string> userFolderRoots(Platform platform, const StartPlaces& places);

// chooseStartFolder, and when none of its folders holds a file, the first user folder among the
// roots (each root itself, then its subfolders) instead of the last candidate.
StartFolder chooseStartFolder(Platform platform, const StartPlaces& places,
                              const HoldsOrdinaryFile& holdsFile, const UserFolderQueries& queries);

}  // namespace vessory::window_model

#endif  // VESSORY_WINDOW_MODEL_START_FOLDER_H_
