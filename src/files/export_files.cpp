#include "files/export_files.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "files/windows_path.h"
#endif

namespace vessory::files {

namespace fs = std::filesystem;

namespace {
fs::path nativePath(const std::string& path) {
#ifdef _WIN32
  return fs::path(widePath(path));
#else
  return fs::path(path);
#endif
}
// A path of the file system as the program spells paths: UTF-8 on Windows.
std::string spelled(const fs::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

}  // namespace

bool DiskFiles::fileExists(const std::string& path) {
  std::error_code error;
#ifndef _WIN32
  return fs::is_regular_file(nativePath(path), error);
#else
  if (!fs::is_regular_file(nativePath(path), error)) return false;
  // The file list leaves hidden and system files out; so does the test for a selected file.
  DWORD attributes = GetFileAttributesW(widePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
#endif
}

std::unique_ptr<ByteSource> DiskFiles::openArchive(const std::string& path,
                                                            std::string& error) {
  return FileByteSource::open(path, error);
}

bool DiskFiles::sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(nativePath(a), nativePath(b), error) && !error;
}

std::unique_ptr<OutputFile> DiskFiles::createCsv(const std::string& path,
                                                         std::string& error) {
  return FileOutput::create(path, error);
}

bool DiskFiles::makeFolder(const std::string& path, std::string& error) {
  std::error_code code;
  const fs::path folder = nativePath(path);
  fs::create_directories(folder, code);
  if (fs::is_directory(folder)) return true;
  error = code ? code.message() : "a file of that name is in the way";
  return false;
}

bool DiskFiles::removeFolder(const std::string& path, std::string& error) {
  std::error_code code;
  const fs::path folder = nativePath(path);
  // Removing a link would leave the folder it names; only a folder itself goes.
  if (!fs::is_directory(fs::symlink_status(folder, code))) {
    error = code ? code.message() : "not a folder";
    return false;
  }
  if (fs::remove(folder, code)) return true;
  error = code ? code.message() : "No such file or directory";
  return false;
}

bool DiskFiles::listFolder(const std::string& path, std::vector<FolderEntry>& entries,
                           std::string& error) {
  std::error_code code;
  fs::directory_iterator it(nativePath(path), code);
  if (code) {
    error = code.message();
    return false;
  }
  for (; it != fs::directory_iterator(); it.increment(code)) {
    std::error_code kind;
    const std::string name = spelled(it->path().filename());
    if (it->is_directory(kind)) {
      entries.push_back({name, true});
    } else if (fileExists(spelled(it->path()))) {
      entries.push_back({name, false});
    }
  }
  if (code) {
    error = code.message();
    return false;
  }
  return true;
}

bool DiskFiles::folderExists(const std::string& path) {
  std::error_code error;
  return fs::is_directory(nativePath(path), error);
}

std::string DiskFiles::absolutePath(const std::string& path) {
  std::error_code error;
  const fs::path absolute = fs::absolute(nativePath(path), error);
  return error ? path : spelled(absolute.lexically_normal());
}

}  // namespace vessory::files
