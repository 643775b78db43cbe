// The system calls of the file layer on POSIX systems (system_calls_windows.cpp for Windows).
#include "files/system_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vessory::files {

namespace {

namespace fs = std::filesystem;

#ifdef __EMSCRIPTEN__
// The WebAssembly console tool for Node works on the real file system (NODERAWFS), where
// emscripten answers access() from the mode bits alone, as if nobody were root: a read-only
// file root may replace would be refused. Node asks the system instead (src/web/web_library.js).
extern "C" int vessory_node_write_refusal(const char* path);
#endif

// 0 when `path` may be written, else errno's value for why not.
int writeRefusal(const std::string& path) {
#ifdef __EMSCRIPTEN__
  static constexpr int kReasons[] = {0, EACCES, EROFS, EPERM, ENOENT, ETXTBSY, EIO};
  if (const int refusal = vessory_node_write_refusal(path.c_str()); refusal >= 0)
    return kReasons[refusal];
#endif
  return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

int openToRead(const std::string& path) {
  int file = -1;
  do {
    file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (file < 0 && errno == EINTR);
  return file;
}

long long read(int file, unsigned char* into, std::size_t size, std::uint64_t offset) {
  ssize_t got = -1;
  do {
    got = ::pread(file, into, size, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  return got;
}

long long size(int file) {
  struct stat info {};
  return ::fstat(file, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

PathState inspect(const std::string& path) {
  PathState state;
  state.path = path;
  struct stat info {};
  // Nothing there, or the folder cannot be reached: making the file says why.
  if (::lstat(path.c_str(), &info) != 0) return state;
  if (S_ISLNK(info.st_mode)) {
    if (::stat(path.c_str(), &info) != 0) {
      // A link to nothing yet: the file is made where it points.
      std::error_code error;
      const fs::path to = fs::read_symlink(fs::path(path), error);
      if (!error) state.path = (fs::path(path).parent_path() / to).string();
      return state;
    }
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::path(path), error);
    if (!error) state.path = resolved.string();
  }
  state.exists = true;
  if (S_ISDIR(info.st_mode)) {
    state.refusal = std::strerror(EISDIR);
  } else if (S_ISREG(info.st_mode)) {
    state.ordinary = true;
    state.permissions = info.st_mode & 07777;
    if (const int refusal = writeRefusal(state.path); refusal != 0) {
      state.refusal = std::strerror(refusal);
    }
  }
  return state;
}

int open(const std::string& path, OpenHow how, unsigned permissions) {
  const int flags =
      how == OpenHow::kNew ? O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC : O_WRONLY | O_CLOEXEC;
  int file = -1;
  do {
    file = ::open(path.c_str(), flags, static_cast<mode_t>(permissions));
  } while (file < 0 && errno == EINTR);
  return file;
}

long long write(int file, const char* bytes, std::size_t size) {
  ssize_t written = -1;
  do {
    written = ::write(file, bytes, size);
  } while (written < 0 && errno == EINTR);
  return written;
}

// Not retried on EINTR: the descriptor is gone whatever close() says.
int close(int file) { return ::close(file); }

int setPermissions(int file, unsigned permissions) {
  return ::fchmod(file, static_cast<mode_t>(permissions));
}

bool replace(const std::string& from, const std::string& to, std::string& reason) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  reason = std::strerror(errno);
  return false;
}

int remove(const std::string& path) { return ::unlink(path.c_str()); }

const pid_t kProcess = ::getpid();

constexpr SystemCalls kPlatformCalls{openToRead, read,  size,           inspect, open,
                                     write,      close, setPermissions, replace, remove};

}  // namespace

const SystemCalls& platformCalls() { return kPlatformCalls; }

const SystemCalls* detail::currentCalls = &kPlatformCalls;

// A hidden name (".contacts.vcf.4711-3"), so that a folder listing does not show it meanwhile.
std::string temporaryNameFor(const std::string& target, unsigned long count) {
  const fs::path path(target);
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  // Built piece by piece: g++ 12 warns wrongly (-Wrestrict) of "." + a temporary string.
  std::string name = ".";
  name += path.filename().string();
  name += '.';
  name += std::to_string(kProcess);
  name += '-';
  name += std::to_string(count);
  return (folder / name).string();
}

}  // namespace vessory::files
