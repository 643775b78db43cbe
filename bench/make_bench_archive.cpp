// Writes a benchmark archive: make_bench_archive RECORDS PATH [KIND], where KIND is datebook
// (the default), address, todo, memo or memo-one-title (every other memo titled alike), or
// folder: a user folder PATH with the four desktop archives in their kind folders, or pdb-KIND:
// the handheld database of KIND (datebook, address, todo, memo), or later-KIND: a later
// handheld's database of KIND (calendar, contacts, contacts-photo, tasks, memos).

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <utility>
#include <string>
#include <string_view>

#include "bench_archive.h"
#include "handheld_archives.h"
#include "organiser_archives.h"
#include "support/archive_builder.h"

namespace {

// The archive of `kind`, or nothing when the kind is unknown.
bool buildArchive(std::string_view kind, std::uint32_t records, std::string& bytes) {
  using namespace vessory::testing;
  if (kind == "datebook") {
    bytes = benchmarkArchive(records);
  } else if (kind == "address") {
    bytes = benchmarkAddressArchive(records);
  } else if (kind == "todo") {
    bytes = benchmarkTodoArchive(records);
  } else if (kind == "memo" || kind == "memo-one-title") {
    bytes = benchmarkMemoArchive(records, kind == "memo-one-title");
  } else if (kind.rfind("pdb-", 0) == 0) {
    bytes = benchmarkHandheldDatabase(kind.substr(4), records);
    return !bytes.empty();
  } else if (kind.rfind("later-", 0) == 0) {
    bytes = benchmarkLaterDatabase(kind.substr(6), records);
    return !bytes.empty();
  } else {
    return false;
  }
  return true;
}

}  // namespace

// The four desktop archives of `records` records each in the kind folders of `folder`.
void writeFolder(std::uint32_t records, const std::filesystem::path& folder) {
  const std::pair<const char*, const char*> archives[] = {{"datebook/Datebook.dat", "datebook"},
                                                          {"address/Address.dat", "address"},
                                                          {"todo/ToDo.dat", "todo"},
                                                          {"memopad/MemoPad.dat", "memo"}};
  for (const auto& [name, kind] : archives) {
    std::string bytes;
    buildArchive(kind, records, bytes);
    const std::filesystem::path path = folder / name;
    std::filesystem::create_directories(path.parent_path());
    vessory::testing::writeFile(path.string(), bytes);
  }
}

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr,
                 "usage: make_bench_archive RECORDS PATH "
                 "[datebook|address|todo|memo|memo-one-title|folder|pdb-KIND|later-KIND]\n");
    return 2;
  }
  char* end = nullptr;
  unsigned long records = std::strtoul(argv[1], &end, 10);
  // The header stores fifteen (datebook) to thirty (address) entries per record in four bytes.
  if (*end != '\0' || records == 0 || records > 0xFFFFFFFFul / 30) {
    std::fprintf(stderr, "make_bench_archive: bad record count %s\n", argv[1]);
    return 2;
  }
  const std::string_view kind = argc == 4 ? argv[3] : "datebook";
  try {
    if (kind == "folder") {
      writeFolder(static_cast<std::uint32_t>(records), argv[2]);
      return 0;
    }
    std::string bytes;
    if (!buildArchive(kind, static_cast<std::uint32_t>(records), bytes)) {
      std::fprintf(stderr, "make_bench_archive: unknown kind %s\n", argv[3]);
      return 2;
    }
    vessory::testing::writeFile(argv[2], bytes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_bench_archive: %s\n", e.what());
    return 1;
  }
  return 0;
}
