// libFuzzer target: the whole export run over arbitrary bytes, with invariant checks.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "export_check.h"

namespace {

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "broken invariant: %s\n", what.c_str());
  __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vessory::testing;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const ExportCase exportCase = decodeExportCase(input);
  const ExportRecord whole = runExportCase(exportCase, 0);
  if (std::string broken = brokenInvariant(exportCase, whole); !broken.empty()) fail(broken);
  // Where the source cuts its chunks must not change anything the user sees.
  if (exportCase.chunkSize != 0) {
    const ExportRecord pieces = runExportCase(exportCase, exportCase.chunkSize);
    if (std::string diff = differenceBetween(whole, pieces); !diff.empty()) {
      fail("whole archive and pieces of " + std::to_string(exportCase.chunkSize) + ": " + diff);
    }
  }
  return 0;
}
