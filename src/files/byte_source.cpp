#include "files/byte_source.h"

#include <sys/stat.h>

#include <algorithm>
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

bool MemoryBytes::readAt(std::uint64_t offset, std::size_t length,
                         std::vector<unsigned char>& into) {
  into.clear();
  if (offset > bytes_.size() || length > bytes_.size() - offset) return false;
  const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
  into.assign(begin, begin + static_cast<std::ptrdiff_t>(length));
  return true;
}

namespace {

// The size of the open file, or 0 when the system cannot tell it.
std::uint64_t sizeOf(std::FILE* file) {
#ifdef _WIN32
  struct _stat64 info {};
  if (_fstat64(_fileno(file), &info) != 0) return 0;
#else
  struct stat info {};
  if (fstat(fileno(file), &info) != 0) return 0;
#endif
  return info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

bool seekTo(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

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

FileByteSource::FileByteSource(std::FILE* file)
    : file_(file), size_(sizeOf(file)), buffer_(kFileChunkSize) {}

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

// Reads `length` bytes at `offset` into `to`; the count read, short at the end of the file or
// on a failure, which error_ then names.
std::size_t FileByteSource::readRaw(std::uint64_t offset, std::size_t length, unsigned char* to) {
  errno = 0;
  if (!seekTo(file_, offset)) {
    error_ = errno != 0 ? std::strerror(errno) : "cannot seek";
    return 0;
  }
  const std::size_t got = length == 0 ? 0 : std::fread(to, 1, length, file_);
  if (got != length && std::ferror(file_) != 0) {
    error_ = errno != 0 ? std::strerror(errno) : "read error";
  }
  return got;
}

// Reads at an offset come through a window of the file, so that records read in order cost one
// system call a window rather than two a record.
bool FileByteSource::readAt(std::uint64_t offset, std::size_t length,
                            std::vector<unsigned char>& into) {
  into.clear();
  // Past the end is no failure of the disk, and must not size the buffer.
  if (file_ == nullptr || offset > size_ || length > size_ - offset) return false;
  const bool inWindow =
      offset >= windowStart_ && offset - windowStart_ + length <= window_.size();
  if (!inWindow && length <= kFileChunkSize) {
    window_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kFileChunkSize, size_ - offset)));
    window_.resize(readRaw(offset, window_.size(), window_.data()));
    windowStart_ = offset;
  }
  if (offset >= windowStart_ && offset - windowStart_ + length <= window_.size()) {
    const auto from = window_.begin() + static_cast<std::ptrdiff_t>(offset - windowStart_);
    into.assign(from, from + static_cast<std::ptrdiff_t>(length));
    return true;
  }
  if (length <= kFileChunkSize) return false;  // the window came up short
  into.resize(length);
  into.resize(readRaw(offset, length, into.data()));
  return into.size() == length;
}

}  // namespace vessory::files
