// The web page's core module (vessory-core.js and .wasm): the functions CONTRACT.md names,
// over one WebCore on the module's own file system. The strings returned stay valid until the
// next call of the same function.

#include <emscripten.h>

#include <string>

#include "console/console_view.h"
#include "web/web_core.h"

// Module.onVessoryProgress(done, total, text), when the page has set it (web_library.js).
extern "C" void vessory_tell_page(double done, double total, const char* text);

namespace {

// Told at most twenty times a second: the page is told, then the worker gets its turn (a
// Stop message among others) while the run waits, so that the run stays as fast as it can.
void progress(std::int64_t done, std::int64_t total, const std::string& text) {
  vessory_tell_page(static_cast<double>(done), static_cast<double>(total), text.c_str());
  emscripten_sleep(0);
}

vessory::web::WebCore& core() {
  // Files as the console tool has them: the module's file system is its disk.
  static vessory::console::ConsoleFiles files(stdout);
  static vessory::web::WebCore instance(files, progress);
  return instance;
}

std::string scanned, summary, outputs;

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* vessory_scan(const char* folder) {
  scanned = core().scan(folder);
  return scanned.c_str();
}

EMSCRIPTEN_KEEPALIVE int vessory_export(const char* folder, const char* outFolder,
                                        const char* optionsJson) {
  return core().exportFolder(folder, outFolder, optionsJson);
}

EMSCRIPTEN_KEEPALIVE const char* vessory_summary() {
  summary = core().summary();
  return summary.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* vessory_outputs() {
  outputs = core().outputsJson();
  return outputs.c_str();
}

EMSCRIPTEN_KEEPALIVE void vessory_request_stop() { vessory::web::WebCore::requestStop(); }

}  // extern "C"
