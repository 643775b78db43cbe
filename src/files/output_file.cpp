#include "files/output_file.h"

#include <cerrno>
#include <cstring>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "files/system_calls.h"

namespace vessory::files {

namespace {

std::string systemReason(const char* fallback) {
  return errno != 0 ? std::strerror(errno) : fallback;
}

// A new file, beside the target, under a name no other file has: the process and a count tell
// the runs apart, exclusive creation whatever else is there. A replaced file's permissions are
// set before a byte is written; a new file gets those this process gives new files.
int openTemporary(const PathState& target, std::string& temporary) {
  static unsigned long count = 0;
  const SystemCalls& calls = systemCalls();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = temporaryNameFor(target.path, ++count);
    errno = 0;
    const int file = calls.open(name, OpenHow::kNew, target.ordinary ? 0600 : 0666);
    if (file < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    if (target.ordinary && calls.setPermissions(file, target.permissions) != 0) {
      const int reason = errno;
      calls.close(file);
      calls.remove(name);
      errno = reason;
      return -1;
    }
    temporary = std::move(name);
    return file;
  }
  errno = EEXIST;
  return -1;
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

bool OutputFile::closeAs(const std::string& path) {
  discard();
  error_.clear();
  fail("cannot be written as " + path + " here");
  return false;
}

std::unique_ptr<FileOutput> FileOutput::made(int file, const std::string& unfinished,
                                             const std::string& target) {
  return std::unique_ptr<FileOutput>(new FileOutput(file, unfinished, target));
}

std::unique_ptr<FileOutput> FileOutput::create(const std::string& path, std::string& error,
                                               const std::string& shownName) {
  const SystemCalls& calls = systemCalls();
  // The common case, a file that is not there yet, costs one call; anything in the way (a
  // file, a folder, a link) makes it fail and is looked at then.
  errno = 0;
  int file = calls.open(path, OpenHow::kNew, 0666);
  if (file >= 0) return made(file, path, {});
  const std::string reason = systemReason("cannot create file");
  const PathState target = calls.inspect(path);
  if (!target.refusal.empty()) {
    error = target.refusal;
    return nullptr;
  }
  errno = 0;
  if (!target.exists) {
    // A link to nothing yet, or a file gone meanwhile.
    file = target.path == path ? -1 : calls.open(target.path, OpenHow::kNew, 0666);
    if (file >= 0) return made(file, target.path, {});
    error = target.path == path ? reason : systemReason("cannot create file");
    return nullptr;
  }
  if (!target.ordinary) {
    file = calls.open(target.path, OpenHow::kExisting, 0);
    if (file < 0) {
      error = systemReason("cannot open");
      return nullptr;
    }
    return made(file, {}, {});
  }
  std::string temporary;
  file = openTemporary(target, temporary);
  if (file < 0) {
    error = systemReason("cannot create file");
    return nullptr;
  }
  std::unique_ptr<FileOutput> output = made(file, temporary, target.path);
  output->keepsEarlier(shownName.empty() ? path : shownName);
  return output;
}

std::unique_ptr<FileOutput> FileOutput::borrow(std::FILE* stream) {
#ifdef _WIN32
  _setmode(_fileno(stream), _O_BINARY);
#endif
  return std::unique_ptr<FileOutput>(new FileOutput(stream));
}

// Not closed: whatever stopped the writer, a part-written file replaces nothing and stays
// under no name. A device or a borrowed stream gets what was buffered.
FileOutput::~FileOutput() {
  if (unfinished_.empty()) {
    FileOutput::close();
  } else {
    abandon();
  }
}

bool FileOutput::write(std::string_view bytes) {
  if (stream_ != nullptr) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size()) return true;
    fail(systemReason("write error"));
    return false;
  }
  if (file_ < 0) {
    fail("the file is closed");
    return false;
  }
  if (inPlace() && !closing_ && !moveToTemporary()) return false;
  const SystemCalls& calls = systemCalls();
  while (!bytes.empty()) {
    errno = 0;
    const long long written = calls.write(file_, bytes.data(), bytes.size());
    if (written <= 0) {
      fail(systemReason("write error"));
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The new file made in place stays empty and goes; a temporary takes the bytes and replaces
// nothing but that name at close().
bool FileOutput::moveToTemporary() {
  std::string temporary;
  PathState target;
  target.path = unfinished_;
  errno = 0;
  const int file = openTemporary(target, temporary);
  if (file < 0) {
    fail(systemReason("cannot create file"));
    return false;
  }
  const SystemCalls& calls = systemCalls();
  calls.close(file_);
  calls.remove(unfinished_);
  file_ = file;
  target_ = std::move(unfinished_);
  unfinished_ = std::move(temporary);
  return true;
}

bool FileOutput::close() {
  closing_ = true;
  if (stream_ != nullptr) {
    OutputFile::close();
    errno = 0;
    if (std::fflush(stream_) != 0) fail(systemReason("write error"));
    stream_ = nullptr;
    return ok();
  }
  return finishInto(target_);
}

// The bytes are whole in the temporary (or the new file made in place) before it takes the
// other name, so that name, too, only ever holds a whole file.
bool FileOutput::closeAs(const std::string& path) {
  if (stream_ != nullptr || unfinished_.empty()) return close();
  closing_ = true;
  return finishInto(path);
}

// Closed before: bytes that came since fail it rather than vanish.
bool FileOutput::finishInto(const std::string& target) {
  if (file_ < 0) return OutputFile::close();
  if (!OutputFile::close() || !closeFile()) {
    abandon();
    return false;
  }
  std::string reason;
  if (!target.empty() && !systemCalls().replace(unfinished_, target, reason)) {
    fail(reason);
    abandon();
    return false;
  }
  unfinished_.clear();
  return true;
}

void FileOutput::discard() {
  OutputFile::discard();
  abandon();
}

bool FileOutput::closeFile() {
  errno = 0;
  if (systemCalls().close(file_) != 0) fail(systemReason("close error"));
  file_ = -1;
  return ok();
}

void FileOutput::abandon() {
  if (stream_ != nullptr) {
    std::fflush(stream_);
    stream_ = nullptr;
  }
  const SystemCalls& calls = systemCalls();
  if (file_ >= 0) calls.close(file_);
  file_ = -1;
  if (!unfinished_.empty()) calls.remove(unfinished_);
  unfinished_.clear();
}

}  // namespace vessory::files
