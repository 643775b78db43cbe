#include "app/export_view.h"

namespace vessory::app {

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

}  // namespace vessory::app
