// The system calls of the file layer on Windows (system_calls.cpp for POSIX systems).
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/system_calls.h"
#include "files/windows_path.h"

namespace vessory::files {

namespace {

namespace fs = std::filesystem;

// Shared for reading and writing: another program may hold the archive open meanwhile.
int openToRead(const std::string& path) {
  int file = -1;
  errno = 0;
  if (_wsopen_s(&file, widePath(path).c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0) {
    return -1;
  }
  return file;
}

// Only this layer moves the file's position, so a seek before each read stands in for pread.
long long read(int file, unsigned char* into, std::size_t size, std::uint64_t offset) {
  if (_lseeki64(file, static_cast<__int64>(offset), SEEK_SET) < 0) return -1;
  const unsigned count = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
  return _read(file, into, count);
}

long long size(int file) {
  struct _stat64 info {};
  return _fstat64(file, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

PathState inspect(const std::string& path) {
  PathState state;
  state.path = path;
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(widePath(path)), error);
  if (!fs::exists(status)) return state;
  state.exists = true;
  if (fs::is_directory(status)) {
    state.refusal = std::strerror(EISDIR);
  } else if (fs::is_regular_file(status)) {
    state.ordinary = true;
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      state.refusal = std::strerror(EACCES);
    }
  }
  return state;
}

// _O_EXCL makes the file anew (CREATE_NEW) or fails with EEXIST. Shared for reading and
// writing, as other programs expect of a file being written.
int open(const std::string& path, OpenHow how, unsigned permissions) {
  const int flags = how == OpenHow::kNew ? _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY
                                         : _O_WRONLY | _O_BINARY;
  int file = -1;
  errno = 0;
  const int mode = (permissions & 0200) != 0 ? _S_IREAD | _S_IWRITE : _S_IREAD;
  if (_wsopen_s(&file, widePath(path).c_str(), flags, _SH_DENYNO, mode) != 0) return -1;
  return file;
}

long long write(int file, const char* bytes, std::size_t size) {
  const unsigned count = size > INT_MAX ? INT_MAX : static_cast<unsigned>(size);
  return _write(file, bytes, count);
}

int close(int file) { return _close(file); }

// A new file's permissions come from the mode it was opened with; a replaced file's read-only
// mark refuses the export before anything is written.
int setPermissions(int, unsigned) { return 0; }

// MoveFileExW replaces an existing file, which rename() on Windows refuses to do.
bool replace(const std::string& from, const std::string& to, std::string& reason) {
  if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  reason = std::system_category().message(static_cast<int>(GetLastError()));
  return false;
}

int remove(const std::string& path) { return _wremove(widePath(path).c_str()); }

constexpr SystemCalls kPlatformCalls{openToRead, read,    size,           inspect,
                                      open, write, close, setPermissions, replace, remove};

}  // namespace

const SystemCalls& platformCalls() { return kPlatformCalls; }

const SystemCalls* detail::currentCalls = &kPlatformCalls;

std::string temporaryNameFor(const std::string& target, unsigned long count) {
  return target + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(count) +
         ".tmp";
}

}  // namespace vessory::files
