#ifndef VESSORY_WINDOW_START_FOLDER_H_
#define VESSORY_WINDOW_START_FOLDER_H_

#include <functional>
#include <string>

namespace vessory::window {

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

}  // namespace vessory::window

#endif  // VESSORY_WINDOW_START_FOLDER_H_
