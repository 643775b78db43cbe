#include "export/export_files.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include "archive/windows_path.h"
#endif

namespace vessory::exporting {

namespace fs = std::filesystem;

namespace {
fs::path nativePath(const std::string& path) {
#ifdef _WIN32
  return fs::path(archive::widePath(path));
#else
  return fs::path(path);
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
  DWORD attributes = GetFileAttributesW(archive::widePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
#endif
}

std::unique_ptr<archive::ByteSource> DiskFiles::openArchive(const std::string& path,
                                                            std::string& error) {
  return archive::FileByteSource::open(path, error);
}

bool DiskFiles::sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(nativePath(a), nativePath(b), error) && !error;
}

std::unique_ptr<exporting::OutputFile> DiskFiles::createCsv(const std::string& path,
                                                         std::string& error) {
  return exporting::FileOutput::create(path, error);
}

bool DiskFiles::makeFolder(const std::string& path, std::string& error) {
  std::error_code code;
  const fs::path folder = nativePath(path);
  fs::create_directories(folder, code);
  if (fs::is_directory(folder)) return true;
  error = code ? code.message() : "a file of that name is in the way";
  return false;
}

}  // namespace vessory::exporting
