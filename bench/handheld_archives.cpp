#include "handheld_archives.h"

#include <vector>

#include "bench_sequence.h"
#include "support/handheld_builder.h"

namespace vessory::testing {

namespace {

PdbBytes eventData(Sequence& random, std::uint32_t i) {
  EventSpec event;
  event.date = packDate(2002 + static_cast<int>(i % 28), 1 + static_cast<int>(i % 12),
                        1 + static_cast<int>(i % 28));
  event.start = static_cast<std::uint16_t>((7 + random.next(12)) << 8);
  event.end = static_cast<std::uint16_t>(event.start + 0x0100);
  if (random.next(4) == 0) {
    event.description = "Daily Journal";
    event.note = "9:15 am: Woke up early.\n12:30 pm: Lunch with <Anna> at the deli.\n"
                 "6:00 pm: Long walk by the lake.";
  } else {
    event.description = "Meeting " + std::to_string(i);
    if (random.next(5) == 0) {
      RepeatSpec repeat;
      repeat.kind = static_cast<std::uint8_t>(1 + random.next(5));
      repeat.on = static_cast<std::uint8_t>(repeat.kind == 2 ? 0x2A : 0);
      event.repeat = repeat;
    }
  }
  return eventRecord(event);
}

PdbBytes contactData(Sequence& random, std::uint32_t i) {
  PdbContactSpec contact;
  contact.fields[0] = "Person " + std::to_string(i);
  contact.fields[1] = random.next(2) == 0 ? "Anna" : "Tom";
  contact.fields[3] = "+1 555 " + std::to_string(1000000 + random.next(9000000));
  contact.fields[4] = "555-" + std::to_string(1000 + random.next(9000));
  if (random.next(3) == 0) contact.fields[7] = "person" + std::to_string(i) + "@example.org";
  contact.fields[8] = std::to_string(1 + random.next(300)) + " Lake Street";
  contact.fields[9] = "Springfield";
  return contactRecord(contact);
}

PdbBytes recordData(std::string_view kind, Sequence& random, std::uint32_t i) {
  if (kind == "datebook") return eventData(random, i);
  if (kind == "address") return contactData(random, i);
  if (kind == "todo") {
    const std::uint16_t due =
        random.next(2) == 0 ? 0xFFFF : packDate(2003, 1 + static_cast<int>(i % 12), 15);
    return todoRecord(due, static_cast<std::uint8_t>(1 + random.next(5)),
                      "Task " + std::to_string(i), random.next(4) == 0 ? "A note" : "");
  }
  return memoRecord("Memo " + std::to_string(i) + "\nTwo lines of text, and a third one.\n");
}

}  // namespace

std::string benchmarkHandheldDatabase(std::string_view kind, std::uint32_t records) {
  static const char* const kCreators[][3] = {{"datebook", "DatebookDB", "date"},
                                             {"address", "AddressDB", "addr"},
                                             {"todo", "ToDoDB", "todo"},
                                             {"memo", "MemoDB", "memo"}};
  PdbSpec plan;
  bool known = false;
  for (const auto& entry : kCreators) {
    if (kind != entry[0]) continue;
    plan.name = entry[1];
    plan.creator = entry[2];
    known = true;
  }
  if (!known) return {};
  plan.appInfo = kind == "address"    ? addressAppInfo({"Unfiled", "Business"}, {})
                 : kind == "datebook" ? categoryAppInfo({"Unfiled", "Business"}, 280)
                                      : categoryAppInfo({"Unfiled", "Business"}, 282);
  Sequence random;
  plan.records.reserve(records);
  for (std::uint32_t i = 0; i < records; ++i) {
    plan.records.push_back({recordData(kind, random, i), 0x40, i + 1, std::nullopt});
  }
  const PdbBytes bytes = buildPdb(plan);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace vessory::testing
