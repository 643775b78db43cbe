#include "files/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "files/windows_path.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vessory::files {

namespace fs = std::filesystem;

namespace {

std::string systemReason(const char* fallback) {
  return errno != 0 ? std::strerror(errno) : fallback;
}

fs::path nativePath(const std::string& path) {
#ifdef _WIN32
  return fs::path(widePath(path));
#else
  return fs::path(path);
#endif
}

// What is at the path an output is to replace: looked at once, with as few calls to the
// system as the answer needs, since a memo folder makes one output per memo.
struct Target {
  std::string path;     // where the file goes: a symbolic link is followed, and the link stays
  bool exists = false;  // something is there
  bool ordinary = false;  // and it is an ordinary file, which the output replaces
  std::string refusal;  // why it may not be replaced (a folder, a file that may not be written)
#ifndef _WIN32
  mode_t mode = 0;  // an ordinary file's permissions, which the file replacing it keeps
#endif
};

#ifndef _WIN32
Target inspectTarget(const std::string& path) {
  Target target;
  target.path = path;
  struct stat info;
  // Nothing there, or the folder cannot be reached: making the temporary says why.
  if (::lstat(path.c_str(), &info) != 0) return target;
  if (S_ISLNK(info.st_mode)) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(fs::path(path), error);
    if (!error) target.path = resolved.string();
    if (::stat(target.path.c_str(), &info) != 0) return target;  // made where the link points
  }
  target.exists = true;
  if (S_ISDIR(info.st_mode)) {
    target.refusal = std::strerror(EISDIR);
  } else if (S_ISREG(info.st_mode)) {
    target.ordinary = true;
    target.mode = info.st_mode & 07777;
    if (::access(target.path.c_str(), W_OK) != 0) target.refusal = std::strerror(errno);
  }
  return target;
}

// Opens a new, hidden temporary beside the target under a name no other file has: the
// process and a count tell the runs apart, O_EXCL whatever else is there. It gets the
// permissions the replaced file has, or those a new file gets from this process.
std::FILE* openTemporary(const Target& target, std::string& temporary) {
  static unsigned long count = 0;
  const fs::path path(target.path);
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  // Built piece by piece: g++ 12 warns wrongly (-Wrestrict) of "." + a temporary string.
  std::string stem = ".";
  stem += path.filename().string();
  stem += '.';
  static const pid_t process = ::getpid();
  stem += std::to_string(process);
  stem += '-';
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = (folder / (stem + std::to_string(++count))).string();
    errno = 0;
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          target.ordinary ? 0600 : 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    if (target.ordinary) ::fchmod(fd, target.mode);
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
      ::close(fd);
      ::unlink(name.c_str());
      return nullptr;
    }
    temporary = name;
    return file;
  }
  errno = EEXIST;
  return nullptr;
}

bool renameOver(const std::string& from, const std::string& to, std::string& error) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  error = systemReason("cannot rename");
  return false;
}
#else
Target inspectTarget(const std::string& path) {
  Target target;
  target.path = path;
  std::error_code error;
  const fs::file_status status = fs::status(nativePath(path), error);
  if (!fs::exists(status)) return target;
  target.exists = true;
  if (fs::is_directory(status)) {
    target.refusal = std::strerror(EISDIR);
  } else if (fs::is_regular_file(status)) {
    target.ordinary = true;
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      target.refusal = std::strerror(EACCES);
    }
  }
  return target;
}

// Opens a new temporary beside the target under a name no other file has.
std::FILE* openTemporary(const Target& target, std::string& temporary) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = target.path + "." + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++counter) + ".tmp";
    int fd = -1;
    errno = 0;
    if (_wsopen_s(&fd, widePath(name).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                  _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    std::FILE* file = _wfdopen(fd, L"wb");
    if (file == nullptr) {
      _close(fd);
      _wremove(widePath(name).c_str());
      return nullptr;
    }
    temporary = name;
    return file;
  }
  errno = EEXIST;
  return nullptr;
}

// MoveFileExW replaces an existing file, which rename() on Windows refuses to do.
bool renameOver(const std::string& from, const std::string& to, std::string& error) {
  if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  error = std::system_category().message(static_cast<int>(GetLastError()));
  return false;
}
#endif

void removeTemporary(const std::string& temporary) {
  std::error_code ignored;
  fs::remove(nativePath(temporary), ignored);
}

// A device or a pipe named as the output (/dev/null, say) cannot be replaced: it is written
// as it stands, as the bytes come.
std::FILE* openDevice(const std::string& target) {
  errno = 0;
#ifdef _WIN32
  return _wfsopen(widePath(target).c_str(), L"wb", _SH_DENYNO);
#else
  return std::fopen(target.c_str(), "wb");
#endif
}

}  // namespace

// The buffer grows as bytes come, up to a little over kFlushAt: a short file (a memo) costs no
// more than its bytes.
OutputFile::OutputFile() = default;

void OutputFile::fail(std::string reason) {
  if (!error_.empty()) return;
  error_ = std::move(reason);
  if (!earlier_.empty()) error_ += "; the earlier " + earlier_ + " was left as it was";
}

bool OutputFile::flush() {
  if (used_ != 0 && ok()) deliver(std::string_view(buffer_.data(), used_));
  used_ = 0;
  return ok();
}

bool OutputFile::close() { return flush(); }

void OutputFile::discard() {
  used_ = 0;
  if (error_.empty()) error_ = "given up";
}

std::unique_ptr<FileOutput> FileOutput::create(const std::string& path, std::string& error,
                                               const std::string& shownName) {
  const Target target = inspectTarget(path);
  if (!target.refusal.empty()) {
    error = target.refusal;
    return nullptr;
  }
  if (target.exists && !target.ordinary) {
    std::FILE* device = openDevice(target.path);
    if (device == nullptr) {
      error = systemReason("cannot open");
      return nullptr;
    }
    std::setvbuf(device, nullptr, _IONBF, 0);
    return std::unique_ptr<FileOutput>(new FileOutput(device, {}, {}, true));
  }
  std::string temporary;
  std::FILE* file = openTemporary(target, temporary);
  if (file == nullptr) {
    error = systemReason("cannot create file");
    return nullptr;
  }
  std::setvbuf(file, nullptr, _IONBF, 0);
  std::unique_ptr<FileOutput> output(new FileOutput(file, temporary, target.path, true));
  if (target.exists) output->keepsEarlier(shownName.empty() ? path : shownName);
  return output;
}

std::unique_ptr<FileOutput> FileOutput::borrow(std::FILE* stream) {
#ifdef _WIN32
  _setmode(_fileno(stream), _O_BINARY);
#endif
  return std::unique_ptr<FileOutput>(new FileOutput(stream, {}, {}, false));
}

// Not closed: whatever stopped the writer, a part-written file replaces nothing.
FileOutput::~FileOutput() {
  if (temporary_.empty()) {
    closeFile();
  } else {
    abandon();
  }
}

bool FileOutput::write(std::string_view bytes) {
  if (file_ == nullptr) {
    fail("the file is closed");
    return false;
  }
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    fail(systemReason("write error"));
    return false;
  }
  return true;
}

bool FileOutput::close() {
  if (temporary_.empty()) return closeFile();
  if (file_ == nullptr) return ok();
  OutputFile::close();
  if (!closeFile()) {
    abandon();
    return false;
  }
  std::string error;
  if (!ok() || !renameOver(temporary_, target_, error)) {
    fail(error);
    abandon();
    return false;
  }
  temporary_.clear();
  return true;
}

void FileOutput::discard() {
  OutputFile::discard();
  if (temporary_.empty()) {
    closeFile();
  } else {
    abandon();
  }
}

bool FileOutput::closeFile() {
  if (file_ == nullptr) return ok();
  if (temporary_.empty()) OutputFile::close();
  errno = 0;
  if (owned_) {
    if (std::fclose(file_) != 0) fail(systemReason("close error"));
  } else if (std::fflush(file_) != 0) {
    fail(systemReason("write error"));
  }
  file_ = nullptr;
  return ok();
}

void FileOutput::abandon() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temporary_.empty()) removeTemporary(temporary_);
  temporary_.clear();
}

}  // namespace vessory::files
