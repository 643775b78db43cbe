#include "window/start_folder.h"

namespace vessory::window {

namespace {

StartFolder onWindows(const HoldsOrdinaryFile& holdsFile) {
  // The folder asked about and the folder chosen differ in letter case; both are kept as they
  // have always been written.
  std::string folder;
  if (holdsFile("C:\\Palm")) {
    folder = "c:\\palm";
  } else if (holdsFile("C:\\Pilot")) {
    folder = "c:\\pilot";
  } else {
    folder = "C:\\";
  }
  return {folder, folder.substr(0, 2)};
}

StartFolder elsewhere(std::string home, const HoldsOrdinaryFile& holdsFile) {
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  if (home.empty()) home = "/";
  const std::string prefix = home == "/" ? home : home + "/";
  for (const char* name : {"Palm", "Pilot"}) {
    std::string candidate = prefix + name;
    if (holdsFile(candidate)) return {candidate, ""};
  }
  return {home, ""};
}

}  // namespace

Platform buildPlatform() {
#ifdef _WIN32
  return Platform::kWindows;
#else
  return Platform::kOther;
#endif
}

StartFolder chooseStartFolder(Platform platform, const std::string& home,
                              const HoldsOrdinaryFile& holdsFile) {
  return platform == Platform::kWindows ? onWindows(holdsFile) : elsewhere(home, holdsFile);
}

}  // namespace vessory::window
