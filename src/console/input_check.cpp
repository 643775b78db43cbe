#include "console/input_check.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include "files/windows_path.h"
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace vessory::console {

namespace fs = std::filesystem;

namespace {

fs::path nativePath(const std::string& path) {
#ifdef _WIN32
  return fs::path(files::widePath(path));
#else
  return fs::path(path);
#endif
}

// The system's text for `code`, without the line break and full stop some systems end it with.
std::string reason(const std::error_code& code) {
  std::string text = code.message();
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

// Whether an ordinary file opens for reading; the system's reason when it does not.
std::optional<std::string> openProblem(const std::string& path) {
#ifdef _WIN32
  std::ifstream file(nativePath(path), std::ios::binary);
  if (!file) return std::string("cannot be opened for reading");
  return std::nullopt;
#else
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return std::string(std::strerror(errno));
  ::close(fd);
  return std::nullopt;
#endif
}

}  // namespace

std::optional<std::string> inputProblem(const std::string& path) {
  std::error_code code;
  const fs::file_status status = fs::status(nativePath(path), code);
  if (code) return reason(code);
  switch (status.type()) {
    case fs::file_type::regular:
      return openProblem(path);
    case fs::file_type::directory:
      return "is a folder; to export every archive in it, use --all " + path;
    case fs::file_type::fifo:
      return std::string("is a named pipe, not a file");
    case fs::file_type::socket:
      return std::string("is a socket, not a file");
    case fs::file_type::block:
    case fs::file_type::character:
      return std::string("is a device, not a file");
    default:
      return std::string("is not an ordinary file");
  }
}

bool isOrdinaryFile(const std::string& path) {
  std::error_code code;
  return fs::is_regular_file(nativePath(path), code);
}

bool isFolder(const std::string& path) {
  std::error_code code;
  return fs::is_directory(nativePath(path), code);
}

}  // namespace vessory::console
