#include "support/fake_export.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <set>

#include "files/byte_source.h"
#include "files/output_file.h"

namespace vessory::testing {

namespace {

// An output that keeps its bytes in a shared record, so that the test can read them after the
// run has destroyed the output; the bytes take the place of the earlier ones only on a close
// without failure.
class SharedOutput : public files::OutputFile {
 public:
  using Lookup = std::function<std::shared_ptr<MemoryFiles::Output>(const std::string&)>;
  SharedOutput(std::shared_ptr<MemoryFiles::Output> file, long long failAfter,
               const std::string& path, Lookup lookup)
      : file_(std::move(file)), failAfter_(failAfter), lookup_(std::move(lookup)) {
    file_->written.clear();
    file_->open = true;
    file_->closed = false;
    if (file_->exists) keepsEarlier(path);
  }
  ~SharedOutput() override { file_->open = false; }

  bool close() override {
    const bool ok = files::OutputFile::close();
    if (ok && file_->open) {
      file_->bytes = file_->written;
      file_->exists = true;
    }
    file_->closed = true;
    file_->open = false;
    return ok;
  }
  void discard() override {
    files::OutputFile::discard();
    file_->open = false;
  }
  // The bytes go to the other name; this one keeps what it had.
  bool closeAs(const std::string& path) override {
    const bool ok = files::OutputFile::close();
    file_->open = false;
    if (!ok) return false;
    std::shared_ptr<MemoryFiles::Output> other = lookup_(path);
    other->bytes = file_->written;
    other->exists = true;
    other->closed = true;
    return true;
  }

 protected:
  bool write(std::string_view bytes) override {
    if (failAfter_ >= 0 &&
        static_cast<long long>(file_->written.size() + bytes.size()) > failAfter_) {
      fail("No space left on device");
      return false;
    }
    file_->written.append(bytes);
    return true;
  }

 private:
  std::shared_ptr<MemoryFiles::Output> file_;
  long long failAfter_;
  Lookup lookup_;
};

// An archive source that owns a copy of the bytes, read forward or at any offset; given a
// reason, it fails as a disk does once the bytes it holds are used up, the file being `size`
// bytes long.
class OwnedSource : public files::ByteSource, public files::RandomAccessBytes {
 public:
  explicit OwnedSource(std::string bytes, std::string failure = {}, std::size_t size = 0)
      : bytes_(std::move(bytes)),
        failure_(std::move(failure)),
        size_(failure_.empty() ? bytes_.size() : size) {}
  std::span<const unsigned char> nextChunk() override {
    if (done_) {
      error_ = failure_;
      return {};
    }
    done_ = true;
    return {reinterpret_cast<const unsigned char*>(bytes_.data()), bytes_.size()};
  }
  std::string errorText() const override { return error_; }
  files::RandomAccessBytes* randomAccess() override { return this; }
  std::uint64_t size() const override { return size_; }
  bool readAt(std::uint64_t offset, std::size_t length,
              std::vector<unsigned char>& into) override {
    into.clear();
    if (offset <= bytes_.size() && length <= bytes_.size() - offset) {
      into.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(offset + length));
      return true;
    }
    error_ = failure_;
    return false;
  }

 private:
  std::string bytes_;
  std::string failure_;
  std::uint64_t size_;
  std::string error_;
  bool done_ = false;
};

std::string colorName(std::uint32_t color) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(color));
  return text;
}

}  // namespace

void RecordingView::setDescriptionBackColor(std::uint32_t color) {
  events.push_back("color: " + colorName(color));
}

void RecordingView::processPendingEvents() {
  ++pendingEventCalls;
  if (onEvents) onEvents(*this);
}

void RecordingView::showMessage(const std::string& text) {
  events.push_back("message: " + text);
  messages.push_back(text);
}

void RecordingView::endProgram() {
  events.push_back("end");
  ended = true;
}

std::string MemoryFiles::canonical(const std::string& path) const {
  auto alias = aliases.find(path);
  return alias == aliases.end() ? path : alias->second;
}

bool MemoryFiles::fileExists(const std::string& path) {
  return archives.count(canonical(path)) != 0 || created(canonical(path));
}

std::unique_ptr<files::ByteSource> MemoryFiles::openArchive(const std::string& path,
                                                              std::string& error) {
  auto found = archives.find(canonical(path));
  if (found == archives.end()) {
    error = "No such file or directory";
    return nullptr;
  }
  if (auto refused = unreadable.find(path); refused != unreadable.end()) {
    error = refused->second;
    return nullptr;
  }
  if (auto failing = failReadsAfter.find(path); failing != failReadsAfter.end()) {
    return std::make_unique<OwnedSource>(found->second.substr(0, failing->second),
                                         "Input/output error", found->second.size());
  }
  return std::make_unique<OwnedSource>(found->second);
}

bool MemoryFiles::sameFile(const std::string& a, const std::string& b) {
  return (fileExists(a) || folderExists(a)) && canonical(a) == canonical(b);
}

std::unique_ptr<files::OutputFile> MemoryFiles::createCsv(const std::string& path,
                                                           std::string& error) {
  auto refused = uncreatable.find(path);
  if (refused != uncreatable.end()) {
    error = refused->second;
    return nullptr;
  }
  std::shared_ptr<Output>& file = outputs_[path];
  if (!file) file = std::make_shared<Output>();
  return std::make_unique<SharedOutput>(file, failWritesAfter, path, [this](const std::string& to) {
    std::shared_ptr<Output>& other = outputs_[to];
    if (!other) other = std::make_shared<Output>();
    return other;
  });
}

void MemoryFiles::earlier(const std::string& path, const std::string& bytes) {
  std::shared_ptr<Output>& file = outputs_[path];
  if (!file) file = std::make_shared<Output>();
  file->bytes = bytes;
  file->exists = true;
}

bool MemoryFiles::makeFolder(const std::string& path, std::string& error) {
  auto refused = uncreatable.find(path);
  if (refused != uncreatable.end()) {
    error = refused->second;
    return false;
  }
  folders.push_back(path);
  return true;
}

bool MemoryFiles::removeFolder(const std::string& path, std::string& error) {
  std::vector<files::FolderEntry> entries;
  if (!listFolder(path, entries, error)) return false;
  if (!entries.empty()) {
    error = "Directory not empty";
    return false;
  }
  folders.erase(std::remove(folders.begin(), folders.end(), path), folders.end());
  return true;
}

bool MemoryFiles::listFolder(const std::string& path, std::vector<files::FolderEntry>& entries,
                             std::string& error) {
  if (auto refused = unreadable.find(path); refused != unreadable.end()) {
    error = refused->second;
    return false;
  }
  const std::string prefix = path + exporting::pathSeparator();
  std::set<std::string> files, subfolders;
  auto consider = [&](const std::string& item, bool isFile) {
    if (item.rfind(prefix, 0) != 0) return;
    const std::string rest = item.substr(prefix.size());
    const std::size_t separator = rest.find(exporting::pathSeparator());
    if (separator != std::string::npos) {
      subfolders.insert(rest.substr(0, separator));
    } else {
      (isFile ? files : subfolders).insert(rest);
    }
  };
  for (const auto& archive : archives) consider(archive.first, true);
  for (const auto& output : outputs_) {
    if (output.second->exists) consider(output.first, true);
  }
  for (const std::string& folder : folders) consider(folder, false);
  if (files.empty() && subfolders.empty() &&
      std::find(folders.begin(), folders.end(), path) == folders.end()) {
    error = "No such file or directory";
    return false;
  }
  for (const std::string& name : subfolders) entries.push_back({name, true});
  for (const std::string& name : files) entries.push_back({name, false});
  return true;
}

std::vector<std::string> MemoryFiles::outputPaths() const {
  std::vector<std::string> paths;
  for (const auto& entry : outputs_) {
    if (entry.second->exists) paths.push_back(entry.first);
  }
  return paths;
}

std::string MemoryFiles::csv(const std::string& path) const {
  auto found = outputs_.find(path);
  return found == outputs_.end() ? std::string() : found->second->bytes;
}

bool MemoryFiles::created(const std::string& path) const {
  auto found = outputs_.find(path);
  return found != outputs_.end() && found->second->exists;
}

bool MemoryFiles::closed(const std::string& path) const {
  auto found = outputs_.find(path);
  return found != outputs_.end() && found->second->closed;
}

bool MemoryFiles::pending(const std::string& path) const {
  auto found = outputs_.find(path);
  return found != outputs_.end() && found->second->open;
}

}  // namespace vessory::testing
