#include "files/byte_source.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <share.h>

#include "files/windows_path.h"
#endif

namespace vessory::files {

namespace {
// Large enough that a whole export makes few system calls, small enough to keep memory flat.
constexpr std::size_t kFileChunkSize = std::size_t{256} * 1024;
}  // namespace

std::unique_ptr<FileByteSource> FileByteSource::open(const std::string& path, std::string& error) {
  errno = 0;
#ifdef _WIN32
  // Shared for reading and writing: another program may hold the archive open meanwhile.
  std::FILE* file = _wfsopen(widePath(path).c_str(), L"rb", _SH_DENYNO);
#else
  std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
  if (file == nullptr) {
    error = errno != 0 ? std::strerror(errno) : "cannot open file";
    return nullptr;
  }
  // Our own buffer does the buffering; stdio's would only copy everything twice.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return std::unique_ptr<FileByteSource>(new FileByteSource(file));
}

FileByteSource::FileByteSource(std::FILE* file) : file_(file), buffer_(kFileChunkSize) {}

FileByteSource::~FileByteSource() { close(); }

void FileByteSource::close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

std::span<const unsigned char> FileByteSource::nextChunk() {
  if (file_ == nullptr) return {};
  errno = 0;
  std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (got == 0 && std::ferror(file_) != 0 && error_.empty()) {
    error_ = errno != 0 ? std::strerror(errno) : "read error";
  }
  return {buffer_.data(), got};
}

}  // namespace vessory::files
