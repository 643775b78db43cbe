#ifndef VESSORY_FILES_OUTPUT_FILE_H_
#define VESSORY_FILES_OUTPUT_FILE_H_

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vessory::files {

// An output file of an export (the CSV, the calendar, a contacts file, a memo): bytes are
// collected in a buffer and handed on in large pieces. After the first failure the output stays
// failed, drops everything and keeps the system's reason. An output that stands for a file
// written whole (see FileOutput) is only there under its name once close() has succeeded;
// discard() gives it up and leaves what was there before.
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
  // Drops everything not yet handed on and releases the destination without putting anything
  // in place of what was there before. The output counts as failed afterwards.
  virtual void discard();

  bool ok() const { return error_.empty(); }
  // The first failure's reason, followed by what became of the earlier file when there is one
  // ("No space left on device; the earlier contacts.vcf was left as it was").
  const std::string& errorText() const { return error_; }

 protected:
  // Writes all of `bytes` or returns false with the reason in error_.
  virtual bool write(std::string_view bytes) = 0;
  void fail(std::string reason);
  // After any failure, the reason goes on to say that the earlier file named `shownName` was
  // left as it was: for outputs that replace a file only once they are whole.
  void keepsEarlier(std::string shownName) { earlier_ = std::move(shownName); }

 private:
  static constexpr std::size_t kFlushAt = std::size_t{64} * 1024;
  void deliver(std::string_view bytes) {
    if (!write(bytes)) fail("write error");
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
  std::string earlier_;
};

// A file written whole: the bytes go to a temporary file beside the target (same folder, so
// that the rename stays on one file system), and close() renames it over the target once every
// byte is written and the temporary closed. On any failure, on discard(), and when the output
// is destroyed without close(), the temporary is removed and a file already at the target is
// left as it was. A device or pipe named as the target, and standard output (borrowed), are
// written as the bytes come.
class FileOutput : public OutputFile {
 public:
  // Opens a temporary for `path`; `shownName` names the target in the reasons of later
  // failures. A target that exists but is no ordinary file, or that may not be written, is
  // refused here. On failure returns null with the system's reason in `error`.
  static std::unique_ptr<FileOutput> create(const std::string& path, std::string& error,
                                            const std::string& shownName = {});
  // Writes to `stream` (standard output, say), which the caller keeps open; close() flushes it.
  static std::unique_ptr<FileOutput> borrow(std::FILE* stream);
  ~FileOutput() override;

  bool close() override;
  void discard() override;

 protected:
  bool write(std::string_view bytes) override;

 private:
  FileOutput(std::FILE* file, std::string temporary, std::string target, bool owned)
      : file_(file), temporary_(std::move(temporary)), target_(std::move(target)), owned_(owned) {}
  // Closes the file; false (with the reason) when that fails.
  bool closeFile();
  // Closes and removes the temporary; the target is not touched.
  void abandon();

  std::FILE* file_;
  std::string temporary_;  // empty for a borrowed stream or a device written as it stands
  std::string target_;
  bool owned_;  // closed here (a file), or only flushed (a borrowed stream)
};

// Rows kept in memory, for tests and fuzzing.
class StringOutput : public OutputFile {
 public:
  const std::string& contents() const { return contents_; }
  void discard() override {
    OutputFile::discard();
    contents_.clear();
  }

 protected:
  bool write(std::string_view bytes) override {
    contents_.append(bytes);
    return true;
  }

 private:
  std::string contents_;
};

}  // namespace vessory::files

#endif  // VESSORY_FILES_OUTPUT_FILE_H_
