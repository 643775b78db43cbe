#include "export/export_view.h"

namespace vessory::exporting {

char pathSeparator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

std::string joinPath(const std::string& folder, const std::string& fileName) {
  return folder + pathSeparator() + fileName;
}

}  // namespace vessory::exporting
