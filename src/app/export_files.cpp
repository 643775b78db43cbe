#include "app/export_files.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vessory::app {

namespace fs = std::filesystem;

bool DiskFiles::fileExists(const std::string& path) {
  std::error_code error;
  if (!fs::is_regular_file(fs::path(path), error)) return false;
#ifdef _WIN32
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return false;
#endif
  return true;
}

std::unique_ptr<archive::ByteSource> DiskFiles::openArchive(const std::string& path,
                                                            std::string& error) {
  return archive::FileByteSource::open(path, error);
}

bool DiskFiles::sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(fs::path(a), fs::path(b), error) && !error;
}

std::unique_ptr<journal::CsvOutput> DiskFiles::createCsv(const std::string& path,
                                                         std::string& error) {
  return journal::FileCsvOutput::create(path, error);
}

}  // namespace vessory::app
