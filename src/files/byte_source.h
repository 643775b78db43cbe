#ifndef VESSORY_FILES_BYTE_SOURCE_H_
#define VESSORY_FILES_BYTE_SOURCE_H_

#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vessory::files {

// A strictly forward stream of bytes handed out in chunks. The reader asks for the next chunk
// only when it has used up the previous one, so a chunk stays valid until the next call.
// An empty chunk means the data has ended (or could not be read further: see errorText()).
class ByteSource {
 public:
  ByteSource() = default;
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;
  virtual ~ByteSource() = default;

  virtual std::span<const unsigned char> nextChunk() = 0;

  // Empty unless reading failed for a reason other than the end of the data.
  virtual std::string errorText() const { return {}; }
};

// Bytes held in memory by the caller, who keeps them alive while the source is in use.
class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const unsigned char> bytes) : bytes_(bytes) {}
  explicit MemoryByteSource(const std::string& bytes)
      : bytes_(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) {}

  std::span<const unsigned char> nextChunk() override {
    std::span<const unsigned char> chunk = bytes_;
    bytes_ = {};
    return chunk;
  }

 private:
  std::span<const unsigned char> bytes_;
};

// A file opened read-only, read through one buffer. The file is closed by the destructor or
// by close(), whichever comes first.
class FileByteSource : public ByteSource {
 public:
  // Opens `path`; on failure returns null and puts the system's reason into `error`.
  static std::unique_ptr<FileByteSource> open(const std::string& path, std::string& error);
  ~FileByteSource() override;

  std::span<const unsigned char> nextChunk() override;
  std::string errorText() const override { return error_; }
  void close();

 private:
  explicit FileByteSource(std::FILE* file);

  std::FILE* file_;
  std::vector<unsigned char> buffer_;
  std::string error_;
};

}  // namespace vessory::files

#endif  // VESSORY_FILES_BYTE_SOURCE_H_
