#ifndef VESSORY_WINDOWS_WINDOW_DISK_LISTS_H_
#define VESSORY_WINDOWS_WINDOW_DISK_LISTS_H_

#include <string>
#include <vector>

// What the location lists read from the machine, through the wide API so that names in any
// script come through.

namespace vessory::windows_window {

// The root of every drive the system has ("C:\", "D:\"): removable, fixed, network and CD
// alike, ready or not.
std::vector<std::wstring> machineDrives();

// The ordinary files directly in `folder` (no folders, no hidden or system files), sorted by
// name as Explorer compares them, without case.
std::vector<std::wstring> ordinaryFiles(const std::wstring& folder);

// The full paths of the folders directly in `folder` that are not hidden or system folders,
// sorted alike.
std::vector<std::wstring> subfolders(const std::wstring& folder);

// True when `path` is a folder that can be read now (a drive without its disk cannot).
bool isReadableFolder(const std::wstring& path);

// `path` made absolute against the current folder, "." and ".." resolved.
std::wstring fullPath(const std::wstring& path);

// `folder` and `name` with one separator between them.
std::wstring joinWide(const std::wstring& folder, const std::wstring& name);

}  // namespace vessory::windows_window

#endif  // VESSORY_WINDOWS_WINDOW_DISK_LISTS_H_
