#include "export/export_view.h"

namespace vessory::exporting {

char pathSeparator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

std::string ExportView::inputPath() {
  return currentFolder() + pathSeparator() + selectedFileName();
}

}  // namespace vessory::exporting
