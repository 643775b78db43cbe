// Writes the benchmark archive, or a whole user folder of benchmark archives:
//
//   make_bench_archive RECORDS PATH
//   make_bench_archive --folder RECORDS FOLDER   FOLDER/datebook/Datebook.dat, address/Address.dat,
//                                                todo/ToDo.dat, memopad/MemoPad.dat

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "bench_archive.h"
#include "support/archive_builder.h"

namespace {

void writeFolder(std::uint32_t records, const std::filesystem::path& folder) {
  using namespace vessory::testing;
  const std::pair<const char*, std::string (*)(std::uint32_t)> archives[] = {
      {"datebook/Datebook.dat", benchmarkArchive},
      {"address/Address.dat", benchmarkAddressArchive},
      {"todo/ToDo.dat", benchmarkTodoArchive},
      {"memopad/MemoPad.dat", benchmarkMemoArchive}};
  for (const auto& [name, make] : archives) {
    const std::filesystem::path path = folder / name;
    std::filesystem::create_directories(path.parent_path());
    writeFile(path.string(), make(records));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool folder = argc == 4 && std::strcmp(argv[1], "--folder") == 0;
  if (argc != 3 && !folder) {
    std::fprintf(stderr, "usage: make_bench_archive [--folder] RECORDS PATH\n");
    return 2;
  }
  const char* count = argv[argc - 2];
  char* end = nullptr;
  unsigned long records = std::strtoul(count, &end, 10);
  // The header stores the entries (up to thirty per record) in four bytes.
  if (*end != '\0' || records == 0 || records > 0xFFFFFFFFul / 30) {
    std::fprintf(stderr, "make_bench_archive: bad record count %s\n", count);
    return 2;
  }
  try {
    if (folder) {
      writeFolder(static_cast<std::uint32_t>(records), argv[argc - 1]);
    } else {
      vessory::testing::writeFile(
          argv[2], vessory::testing::benchmarkArchive(static_cast<std::uint32_t>(records)));
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_bench_archive: %s\n", e.what());
    return 1;
  }
  return 0;
}
