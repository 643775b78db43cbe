// libFuzzer target: the handheld database reader over arbitrary bytes, the later handhelds'
// four databases among them. Opening must succeed or
// say why; every record must then be read whole or left out with a message; nothing may read
// outside the bytes (the sanitizers watch that).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "handheld/handheld_database.h"

namespace {

using vessory::archive::RecordKind;
using vessory::handheld::HandheldDatabase;

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "handheld fuzz: %s\n", what.c_str());
  std::abort();
}

template <typename Read>
void check(const Read& read, std::int64_t index) {
  if (!read.record && read.leftOut.empty()) {
    fail("record " + std::to_string(index) + " left out without a message");
  }
  if (read.record && !read.leftOut.empty()) fail("a record read whole with a message");
}

// What a later Calendar's blobs give must lie in the ranges the calendar writer relies on.
void checkLater(const vessory::handheld::RecordRead<vessory::archive::EventRecord>& read) {
  if (!read.record || !read.record->zone) return;
  const vessory::archive::EventZone& zone = *read.record->zone;
  if (zone.offset <= -1440 || zone.offset >= 1440) fail("zone offset out of range");
  if (zone.adjustment != 0 && (zone.daylightStart.month < 1 || zone.daylightStart.month > 12 ||
                               zone.daylightEnd.week > 4 || zone.daylightStart.weekday > 6)) {
    fail("zone rule out of range");
  }
  if (read.record->untimed != 0) fail("an untimed event in a zone");
}

void readAll(const HandheldDatabase& database) {
  for (std::int64_t i = 0; i < database.recordCount(); ++i) {
    switch (database.kind()) {
      case RecordKind::kDatebook: {
        const auto read = database.readEvent(i);
        check(read, i);
        checkLater(read);
        break;
      }
      case RecordKind::kAddress:
        check(database.readContact(i), i);
        break;
      case RecordKind::kTodo:
        check(database.readTodo(i), i);
        break;
      case RecordKind::kMemo:
        check(database.readMemo(i), i);
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const unsigned char> bytes(data, size);
  const bool looksLike = vessory::handheld::looksLikeHandheldDatabase(bytes);
  std::string error;
  const std::optional<HandheldDatabase> database = HandheldDatabase::open(bytes, error);
  if (!database) {
    if (error.empty()) fail("an opening failed without a message");
    return 0;
  }
  // A database that opens has a whole header, a known type and creator and a whole list; only
  // a name without its NUL keeps the quick look from taking it.
  if (!looksLike && std::memchr(data, 0, 32) != nullptr) fail("opened, yet not recognised");
  if (database->catalogue().identity.size() != 8) fail("identity is not eight hex digits");
  const vessory::archive::DatebookHeader header = database->datebookHeader();
  if (header.categoryIndexes.size() != header.categoryLongNames.size()) fail("category lists");
  readAll(*database);
  return 0;
}
