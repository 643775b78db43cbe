// Writes the benchmark archive: make_bench_archive RECORDS PATH.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "bench_archive.h"
#include "support/archive_builder.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_bench_archive RECORDS PATH\n");
    return 2;
  }
  char* end = nullptr;
  unsigned long records = std::strtoul(argv[1], &end, 10);
  // The header stores fifteen entries per record in four bytes.
  if (*end != '\0' || records == 0 || records > 0xFFFFFFFFul / 15) {
    std::fprintf(stderr, "make_bench_archive: bad record count %s\n", argv[1]);
    return 2;
  }
  try {
    vessory::testing::writeFile(
        argv[2], vessory::testing::benchmarkArchive(static_cast<std::uint32_t>(records)));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_bench_archive: %s\n", e.what());
    return 1;
  }
  return 0;
}
