#ifndef VESSORY_TESTS_APP_WINDOWS_TEST_FOLDER_H_
#define VESSORY_TESTS_APP_WINDOWS_TEST_FOLDER_H_

// Real files on a Windows file system for the Windows tests: a private folder under the temp
// folder, and file access through the wide API so that any name can be set up and checked
// independently of the code under test.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "files/windows_path.h"

namespace vessory::testing {

inline std::string utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), needed,
                      nullptr, nullptr);
  return text;
}

inline bool writeWide(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  return CloseHandle(file) && ok;
}

inline std::optional<std::string> readWide(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

inline bool existsWide(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Makes `path` read-only. False when writing to it is still allowed: Windows refuses that even to
// administrators, but Wine lets root write to any file.
inline bool makeReadOnly(const std::wstring& path) {
  if (!SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY)) return false;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return true;
  CloseHandle(file);
  return false;
}

inline constexpr char kReadOnlyIgnored[] =
    "read-only files stay writable here (Wine run as root); run the tests as a plain user";

// Another program's handle on a file, with the access and share mode that program chose.
// Share modes are checked per open handle, so a handle of this process stands for it.
class HeldFile {
 public:
  HeldFile(const std::wstring& path, DWORD access, DWORD share)
      : handle_(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() {
    if (held()) CloseHandle(handle_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// A fresh folder, removed with everything in it (read-only and hidden files too) at the end.
// `name` may hold any characters; it becomes part of the folder's name.
class TestFolder {
 public:
  explicit TestFolder(const std::wstring& name = L"vessory") {
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, length);
    static int serial = 0;
    wide_ = base + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++serial);
    CreateDirectoryW(wide_.c_str(), nullptr);
  }
  ~TestFolder() {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(wide_, error)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(wide_, error);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // The folder without a trailing separator, wide and as the program's UTF-8 path.
  const std::wstring& wide() const { return wide_; }
  std::string path() const { return utf8(wide_); }
  std::wstring wide(const std::wstring& name) const { return wide_ + L"\\" + name; }
  std::string path(const std::wstring& name) const { return utf8(wide(name)); }

 private:
  std::wstring wide_;
};

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_APP_WINDOWS_TEST_FOLDER_H_
