#include "windows_window/disk_lists.h"

#include <algorithm>

#include "windows_window/win_handles.h"

namespace vessory::windows_window {

namespace {

constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool byName(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
}

// The entries of `folder` whose attributes say they are folders (`folders`) or files.
std::vector<std::wstring> entries(const std::wstring& folder, bool folders) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const FindHandle search(FindFirstFileExW(joinWide(folder, L"*").c_str(), FindExInfoBasic,
                                           &found, FindExSearchNameMatch, nullptr, 0));
  if (!search.valid()) return names;
  do {
    const std::wstring name = found.cFileName;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (name == L"." || name == L".." || isFolder != folders) continue;
    if ((found.dwFileAttributes & kLeftOut) != 0) continue;
    names.push_back(name);
  } while (FindNextFileW(search.get(), &found));
  std::sort(names.begin(), names.end(), byName);
  return names;
}

}  // namespace

std::vector<std::wstring> machineDrives() {
  std::vector<std::wstring> roots;
  wchar_t buffer[512];
  const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(buffer)), buffer);
  if (length == 0 || length > std::size(buffer)) return roots;
  for (const wchar_t* root = buffer; *root != L'\0'; root += wcslen(root) + 1) {
    roots.emplace_back(root);
  }
  return roots;
}

std::vector<std::wstring> ordinaryFiles(const std::wstring& folder) {
  return entries(folder, false);
}

std::vector<std::wstring> subfolders(const std::wstring& folder) {
  std::vector<std::wstring> paths = entries(folder, true);
  for (std::wstring& name : paths) name = joinWide(folder, name);
  return paths;
}

bool isReadableFolder(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return false;
  }
  WIN32_FIND_DATAW found;
  const FindHandle search(FindFirstFileExW(joinWide(path, L"*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0));
  return search.valid() || GetLastError() == ERROR_FILE_NOT_FOUND;
}

std::wstring fullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  full.resize(written);
  return full;
}

std::wstring joinWide(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/') return folder + name;
  return folder + L'\\' + name;
}

}  // namespace vessory::windows_window
