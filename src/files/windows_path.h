#ifndef VESSORY_FILES_WINDOWS_PATH_H_
#define VESSORY_FILES_WINDOWS_PATH_H_

#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace vessory::files {

// Paths travel through the program as narrow strings. On Windows they hold UTF-8 (the console
// tool converts its wide command line; the window hands over UTF-8), and the file layer opens
// them through the wide API, so that a name outside the ANSI code page opens as well. A string
// that is not valid UTF-8 is read in the ANSI code page, as the narrow API would read it.
inline std::wstring widePath(const std::string& path) {
  if (path.empty()) return {};
  const int length = static_cast<int>(path.size());
  UINT codePage = CP_UTF8;
  int needed = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), length, nullptr, 0);
  if (needed == 0) {
    codePage = CP_ACP;
    needed = MultiByteToWideChar(codePage, 0, path.data(), length, nullptr, 0);
  }
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(codePage, 0, path.data(), length, wide.data(), needed);
  return wide;
}

}  // namespace vessory::files

#endif  // _WIN32

#endif  // VESSORY_FILES_WINDOWS_PATH_H_
