#include "export/export_view.h"

namespace vessory::exporting {

char pathSeparator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

std::string replaceExtension(std::string_view path, std::string_view extension) {
  const std::size_t nameStart = path.find_last_of("\\/") + 1;  // npos + 1 is 0
  const std::size_t dot = path.rfind('.');
  std::string stem(dot == std::string_view::npos || dot <= nameStart ? path : path.substr(0, dot));
  return stem.append(extension);
}

std::string joinPath(const std::string& folder, const std::string& fileName) {
  return folder + pathSeparator() + fileName;
}

}  // namespace vessory::exporting
