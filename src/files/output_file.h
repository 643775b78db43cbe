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
  // As close(), but the bytes go under `path` (a file in the same folder, replaced when there)
  // and the file of the name the output was started for is left as it was: an export of a
  // damaged archive put beside a good earlier one. Outputs that cannot do so fail, and the
  // earlier file still stays.
  virtual bool closeAs(const std::string& path);

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

// A file written whole, only there under its name once every byte is written. A file that
// replaces one already there is written to a temporary beside it (same folder, so that the
// rename stays on one file system) and renamed over it by close(). A new file is made in place
// at once, exclusively (so that nothing that appears meanwhile is overwritten and create()
// reports what stands in the way); its bytes go in when close() comes while they are all still
// in the buffer (a memo: no rename). One that outgrows the buffer first moves to a temporary
// and the empty file goes. On any failure, on discard(), and when the output is destroyed
// without close(), what was written is removed and a file already at the target is left as it
// was. Only a process killed outright can leave a new file under its name: empty, or in the
// rare case of a kill within the one write, short. A device or pipe named as the target, and
// standard output (borrowed), are written as the bytes come.
class FileOutput : public OutputFile {
 public:
  // Prepares the file for `path`; `shownName` names the target in the reasons of later
  // failures. A target that exists but is no ordinary file, or that may not be written, is
  // refused here. On failure returns null with the system's reason in `error`.
  static std::unique_ptr<FileOutput> create(const std::string& path, std::string& error,
                                            const std::string& shownName = {});
  // Writes to `stream` (standard output, say), which the caller keeps open; close() flushes it.
  static std::unique_ptr<FileOutput> borrow(std::FILE* stream);
  ~FileOutput() override;

  bool close() override;
  void discard() override;
  bool closeAs(const std::string& path) override;

 protected:
  bool write(std::string_view bytes) override;

 private:
  FileOutput(int file, const std::string& unfinished, const std::string& target)
      : file_(file), unfinished_(unfinished), target_(target) {}
  explicit FileOutput(std::FILE* stream) noexcept : stream_(stream) {}
  static std::unique_ptr<FileOutput> made(int file, const std::string& unfinished,
                                          const std::string& target);
  // A new file made in place still waiting for its bytes.
  bool inPlace() const { return !unfinished_.empty() && target_.empty(); }
  // Moves a new file's bytes to a temporary, for a file larger than the buffer.
  bool moveToTemporary();
  // Flushes, closes and gives the unfinished file the name `target` (none: it has its name).
  bool finishInto(const std::string& target);
  // Closes the descriptor; false (with the reason) when that fails.
  bool closeFile();
  // Closes and removes the unfinished file; a file already at the target is not touched.
  void abandon();

  int file_ = -1;                 // written here and closed here, unless borrowing
  std::FILE* stream_ = nullptr;   // a borrowed stream, only flushed
  std::string unfinished_;  // removed unless close() succeeds: the temporary or the new file
  std::string target_;      // what the temporary replaces; empty for a file made in place
  bool closing_ = false;    // close() has begun: a new file's bytes go in place
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
