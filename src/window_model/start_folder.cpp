#include "window_model/start_folder.h"

namespace vessory::window_model {

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

std::string withoutTrailing(std::string path, char separator) {
  while (path.size() > 1 && path.back() == separator) path.pop_back();
  return path;
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

std::vector<std::string> userFolderRoots(Platform platform, const StartPlaces& places) {
  if (platform != Platform::kWindows) {
    std::string home = places.home;
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return {(home.empty() || home == "/" ? "/" : home + "/") + "Palm"};
  }
  std::vector<std::string> roots = {"C:\\Palm", "C:\\Pilot"};
  for (const std::string* programs : {&places.programFiles, &places.programFilesX86}) {
    if (programs->empty() ||
        (programs == &places.programFilesX86 && places.programFilesX86 == places.programFiles)) {
      continue;
    }
    for (const char* vendor : {"Palm", "palmOne", "Handspring"}) {
      roots.push_back(withoutTrailing(*programs, '\\') + "\\" + vendor);
    }
  }
  if (!places.documents.empty()) {
    roots.push_back(withoutTrailing(places.documents, '\\') + "\\Palm OS Desktop");
  }
  return roots;
}

StartFolder chooseStartFolder(Platform platform, const StartPlaces& places,
                              const HoldsOrdinaryFile& holdsFile,
                              const UserFolderQueries& queries) {
  bool held = false;
  const HoldsOrdinaryFile noting = [&](const std::string& folder) {
    const bool holds = holdsFile(folder);
    held = held || holds;
    return holds;
  };
  StartFolder today = chooseStartFolder(platform, places.home, noting);
  if (held) return today;
  for (const std::string& root : userFolderRoots(platform, places)) {
    std::vector<std::string> candidates = {root};
    const std::vector<std::string> below = queries.subfolders(root);
    candidates.insert(candidates.end(), below.begin(), below.end());
    for (const std::string& candidate : candidates) {
      if (!queries.holdsArchiveInKindFolder(candidate)) continue;
      return {candidate, platform == Platform::kWindows ? candidate.substr(0, 2) : ""};
    }
  }
  return today;
}

}  // namespace vessory::window_model
