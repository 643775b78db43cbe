// Points libical at the zone data shipped beside the program.
//
// libical on Windows reads every zone from NAME.ics files in a "zoneinfo" folder. Left alone
// it looks for that folder in the folders above the program's and then at a path fixed when
// libical was built, neither of which is where this program ships it: beside the .exe. This
// runs before main in every program that links the calendar library (windows.cmake links the
// object in directly), so no caller has to remember it.

#include <libical/ical.h>
#include <windows.h>

#include <string>

namespace vessory::calendar {
namespace {

// `wide` in the ANSI code page, or empty when that code page cannot spell it.
std::string ansi(const std::wstring& wide) {
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (size <= 1 || lossy) return {};
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow.data(), size, nullptr, nullptr);
  narrow.pop_back();  // the terminator the size counted
  return narrow;
}

// libical opens its files with the narrow C functions, so the folder must be spelled in the
// ANSI code page; a path that code page cannot spell is taken in its short 8.3 form.
std::string ansiPath(const std::wstring& path) {
  if (std::string narrow = ansi(path); !narrow.empty()) return narrow;
  WCHAR shortPath[MAX_PATH];
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return ansi(std::wstring(shortPath, length));
}

// The "zoneinfo" folder beside the running program, or empty when there is none.
std::wstring zoneFolderBesideProgram() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  path.resize(slash + 1);
  path += L"zoneinfo";
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return path;
}

// Set up once, while the program starts, and never undone: libical keeps the folder's name for
// the life of the process. Before main nothing has asked libical for a zone yet, which is what
// makes the setting take hold; a program without the folder beside it keeps libical's search.
struct ZoneDataBesideProgram {
  ZoneDataBesideProgram() {
    const std::wstring folder = zoneFolderBesideProgram();
    if (folder.empty()) return;
    const std::string narrow = ansiPath(folder);
    if (!narrow.empty()) set_zone_directory(narrow.c_str());
  }
};

const ZoneDataBesideProgram kZoneDataBesideProgram;

}  // namespace
}  // namespace vessory::calendar
