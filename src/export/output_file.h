#ifndef VESSORY_EXPORT_OUTPUT_FILE_H_
#define VESSORY_EXPORT_OUTPUT_FILE_H_

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vessory::exporting {

// An output file of an export (the CSV, the calendar, a contacts file, a memo): bytes are collected in a buffer and handed on in large pieces. After the
// first failure the output stays failed, drops everything and keeps the system's reason.
class OutputFile {
 public:
  OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  virtual ~OutputFile() = default;

  void append(std::string_view bytes) {
    if (used_ + bytes.size() > kFlushAt) {
      flush();
      if (bytes.size() > kFlushAt) {
        if (ok()) deliver(bytes);
        return;
      }
    }
    put(bytes);
  }
  // A row built in place, in pieces: beginRow makes room for at most `mostBytes` (handing on the
  // rows before it when they would not fit), appendToRow adds a piece, and endRow hands on a row
  // that did not fit at all. The pieces of one row must not add up to more than `mostBytes`.
  // Flushes fall between rows only, so a failed write never leaves part of a row as the last
  // thing written.
  void beginRow(std::size_t mostBytes) {
    if (used_ + mostBytes > kFlushAt) flush();
    if (mostBytes > buffer_.size() - used_) buffer_.resize(used_ + mostBytes);
  }
  void appendToRow(std::string_view bytes) { put(bytes); }
  void endRow() {
    if (used_ > kFlushAt) flush();
  }

  // Hands on everything buffered; false once anything has failed.
  bool flush();
  // Flushes and releases the destination; false once anything has failed.
  virtual bool close();

  bool ok() const { return error_.empty(); }
  const std::string& errorText() const { return error_; }

 protected:
  // Writes all of `bytes` or returns false with the reason in error_.
  virtual bool write(std::string_view bytes) = 0;
  void fail(std::string reason) {
    if (error_.empty()) error_ = std::move(reason);
  }

 private:
  static constexpr std::size_t kFlushAt = std::size_t{64} * 1024;
  void deliver(std::string_view bytes) {
    if (!write(bytes) && error_.empty()) error_ = "write error";
  }
  // Normally into room that append or beginRow has made sure of; a row that outgrows what
  // beginRow was told still lands whole.
  void put(std::string_view bytes) {
    if (bytes.size() > buffer_.size() - used_) buffer_.resize(used_ + bytes.size());
    std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }

  // A plain byte array filled up to used_: appending a short piece is a copy and an addition.
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  std::string error_;
};

// A file created (or emptied) for writing, or standard output.
class FileOutput : public OutputFile {
 public:
  // Creates `path`; on failure returns null with the system's reason in `error`.
  static std::unique_ptr<FileOutput> create(const std::string& path, std::string& error);
  // Writes to `stream` (standard output, say), which the caller keeps open; close() flushes it.
  static std::unique_ptr<FileOutput> borrow(std::FILE* stream);
  ~FileOutput() override;

  bool close() override;

 protected:
  bool write(std::string_view bytes) override;

 private:
  FileOutput(std::FILE* file, bool owned) : file_(file), owned_(owned) {}
  bool closeFile();

  std::FILE* file_;
  bool owned_;
};

// Rows kept in memory, for tests and fuzzing.
class StringOutput : public OutputFile {
 public:
  const std::string& contents() const { return contents_; }

 protected:
  bool write(std::string_view bytes) override {
    contents_.append(bytes);
    return true;
  }

 private:
  std::string contents_;
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_OUTPUT_FILE_H_
