#include "export/output_file.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>

#include "archive/windows_path.h"
#endif

namespace vessory::exporting {

namespace {
std::string systemReason(const char* fallback) {
  return errno != 0 ? std::strerror(errno) : fallback;
}
}  // namespace

// The buffer grows as bytes come, up to a little over kFlushAt: a short file (a memo) costs no
// more than its bytes.
OutputFile::OutputFile() = default;

bool OutputFile::flush() {
  if (used_ != 0 && ok()) deliver(std::string_view(buffer_.data(), used_));
  used_ = 0;
  return ok();
}

bool OutputFile::close() { return flush(); }

std::unique_ptr<FileOutput> FileOutput::create(const std::string& path, std::string& error) {
  errno = 0;
#ifdef _WIN32
  std::FILE* file = _wfsopen(archive::widePath(path).c_str(), L"wb", _SH_DENYNO);
#else
  std::FILE* file = std::fopen(path.c_str(), "wb");
#endif
  if (file == nullptr) {
    error = systemReason("cannot create file");
    return nullptr;
  }
  std::setvbuf(file, nullptr, _IONBF, 0);
  return std::unique_ptr<FileOutput>(new FileOutput(file, true));
}

std::unique_ptr<FileOutput> FileOutput::borrow(std::FILE* stream) {
#ifdef _WIN32
  _setmode(_fileno(stream), _O_BINARY);
#endif
  return std::unique_ptr<FileOutput>(new FileOutput(stream, false));
}

// The non-virtual closeFile(): close() is virtual, and a destructor should not dispatch.
FileOutput::~FileOutput() { closeFile(); }

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

bool FileOutput::close() { return closeFile(); }

bool FileOutput::closeFile() {
  if (file_ == nullptr) return ok();
  OutputFile::close();
  errno = 0;
  if (owned_) {
    if (std::fclose(file_) != 0) fail(systemReason("close error"));
  } else if (std::fflush(file_) != 0) {
    fail(systemReason("write error"));
  }
  file_ = nullptr;
  return ok();
}

}  // namespace vessory::exporting
