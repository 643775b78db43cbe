#ifndef VESSORY_FILES_BYTE_SOURCE_H_
#define VESSORY_FILES_BYTE_SOURCE_H_

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vessory::files {

// Bytes that can be read at any offset. A handheld database's record list says where each
// record lies, so that it can be read a record at a time instead of whole.
class RandomAccessBytes {
 public:
  virtual ~RandomAccessBytes() = default;

  virtual std::uint64_t size() const = 0;
  // The `length` bytes from `offset` into `into`, replacing what it held. False when they cannot
  // all be read: past the end, or failing for a reason errorText() gives.
  virtual bool readAt(std::uint64_t offset, std::size_t length,
                      std::vector<unsigned char>& into) = 0;
  virtual std::string errorText() const { return {}; }
};

// Bytes held in memory by the caller, who keeps them alive while they are in use.
class MemoryBytes : public RandomAccessBytes {
 public:
  explicit MemoryBytes(std::span<const unsigned char> bytes) : bytes_(bytes) {}

  std::uint64_t size() const override { return bytes_.size(); }
  bool readAt(std::uint64_t offset, std::size_t length,
              std::vector<unsigned char>& into) override;

 private:
  std::span<const unsigned char> bytes_;
};

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

  // The same bytes read at any offset, when the source can do that; null when it cannot. Valid
  // as long as the source. A source is read one way or the other, not both.
  virtual RandomAccessBytes* randomAccess() { return nullptr; }
};

// Bytes held in memory by the caller, who keeps them alive while the source is in use.
class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const unsigned char> bytes) : bytes_(bytes), whole_(bytes) {}
  explicit MemoryByteSource(const std::string& bytes)
      : MemoryByteSource(std::span<const unsigned char>(
            reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size())) {}

  std::span<const unsigned char> nextChunk() override {
    std::span<const unsigned char> chunk = bytes_;
    bytes_ = {};
    return chunk;
  }
  RandomAccessBytes* randomAccess() override { return &whole_; }

 private:
  std::span<const unsigned char> bytes_;
  MemoryBytes whole_;
};

// A file opened read-only, read forward through one buffer or at any offset, through the file
// layer's system calls (system_calls.h). The file is closed by the destructor or by close(),
// whichever comes first.
class FileByteSource : public ByteSource, public RandomAccessBytes {
 public:
  // Opens `path`; on failure returns null and puts the system's reason into `error`.
  static std::unique_ptr<FileByteSource> open(const std::string& path, std::string& error);
  ~FileByteSource() override;

  std::span<const unsigned char> nextChunk() override;
  std::string errorText() const override { return error_; }
  RandomAccessBytes* randomAccess() override { return this; }
  // The size when the file was opened.
  std::uint64_t size() const override { return size_; }
  bool readAt(std::uint64_t offset, std::size_t length,
              std::vector<unsigned char>& into) override;
  void close();

 private:
  explicit FileByteSource(int file);
  std::size_t readRaw(std::uint64_t offset, std::size_t length, unsigned char* to);

  int file_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;  // of the forward reading
  std::vector<unsigned char> buffer_;
  // The part of the file read at an offset last, from windowStart_.
  std::vector<unsigned char> window_;
  std::uint64_t windowStart_ = 0;
  std::string error_;
};

}  // namespace vessory::files

#endif  // VESSORY_FILES_BYTE_SOURCE_H_
