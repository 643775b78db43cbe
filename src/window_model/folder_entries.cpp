#include "window_model/folder_entries.h"

#include <cstddef>

namespace vessory::window_model {

namespace {

bool isSeparator(Platform platform, char c) {
  return c == '/' || (platform == Platform::kWindows && c == '\\');
}

// The length of the root at the start of `path`: "C:\" or "C:", "\\server\share\", "/".
std::size_t rootLength(Platform platform, const std::string& path) {
  if (platform == Platform::kWindows) {
    if (path.size() >= 2 && path[1] == ':') {
      return path.size() > 2 && isSeparator(platform, path[2]) ? 3 : 2;
    }
    if (path.size() >= 2 && isSeparator(platform, path[0]) && isSeparator(platform, path[1])) {
      // A share: its server and share name belong to the root.
      std::size_t at = 2;
      for (int part = 0; part < 2 && at < path.size(); ++part) {
        while (at < path.size() && !isSeparator(platform, path[at])) ++at;
        if (at < path.size()) ++at;
      }
      return at;
    }
  }
  return !path.empty() && isSeparator(platform, path[0]) ? 1 : 0;
}

// The last part of `path`: what follows its last separator.
std::string lastName(Platform platform, const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && isSeparator(platform, path[end - 1])) --end;
  std::size_t start = end;
  while (start > 0 && !isSeparator(platform, path[start - 1])) --start;
  return path.substr(start, end - start);
}

bool sameText(Platform platform, char a, char b) {
  if (platform != Platform::kWindows) return a == b;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return lower(a) == lower(b);
}

// Whether `path` starts with `start`, letter case aside on Windows.
bool startsWith(Platform platform, const std::string& path, const std::string& start) {
  if (path.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i) {
    if (!sameText(platform, path[i], start[i])) return false;
  }
  return true;
}

}  // namespace

std::string driveHolding(Platform platform, const std::string& path,
                         const std::vector<std::string>& roots) {
  std::string best;
  for (const std::string& root : roots) {
    if (root.empty()) continue;
    const bool endsInSeparator = isSeparator(platform, root.back());
    const bool bare = endsInSeparator && path.size() == root.size() - 1 &&
                      startsWith(platform, root, path);
    // "/media/usb" holds "/media/usb/a" but not "/media/usbx".
    const bool within = startsWith(platform, path, root) &&
                        (endsInSeparator || path.size() == root.size() ||
                         isSeparator(platform, path[root.size()]));
    if ((within || bare) && root.size() > best.size()) best = root;
  }
  return best;
}

std::vector<FolderEntry> folderEntries(Platform platform, const std::string& folder,
                                       const std::vector<std::string>& subfolders) {
  std::vector<FolderEntry> entries;
  const std::size_t root = rootLength(platform, folder);
  if (root > 0) entries.push_back({folder.substr(0, root), folder.substr(0, root), 0, true});
  std::size_t at = root;
  while (at < folder.size()) {
    std::size_t end = at;
    while (end < folder.size() && !isSeparator(platform, folder[end])) ++end;
    if (end > at) {
      entries.push_back({folder.substr(0, end), folder.substr(at, end - at),
                         static_cast<int>(entries.size()), true});
    }
    at = end + 1;
  }
  const int depth = static_cast<int>(entries.size());
  for (const std::string& sub : subfolders) {
    entries.push_back({sub, lastName(platform, sub), depth, false});
  }
  return entries;
}

}  // namespace vessory::window_model
