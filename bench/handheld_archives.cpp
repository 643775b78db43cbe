#include "handheld_archives.h"

#include <vector>

#include "bench_sequence.h"
#include "support/handheld_builder.h"
#include "support/later_builder.h"

namespace vessory::testing {

namespace {

PdbBytes eventData(Sequence& random, std::uint32_t i) {
  EventPlan event;
  event.date = packDate(2002 + static_cast<int>(i % 28), 1 + static_cast<int>(i % 12),
                        1 + static_cast<int>(i % 28));
  event.start = static_cast<std::uint16_t>((7 + random.next(12)) << 8);
  event.end = static_cast<std::uint16_t>(event.start + 0x0100);
  if (random.next(4) == 0) {
    event.description = "Daily Journal";
    event.note =
        "9:15 am: Woke up early.\n12:30 pm: Lunch with <Anna> at the deli.\n"
        "6:00 pm: Long walk by the lake.";
  } else {
    event.description = "Meeting " + std::to_string(i);
    if (random.next(5) == 0) {
      RepeatPlan repeat;
      repeat.kind = static_cast<std::uint8_t>(1 + random.next(5));
      repeat.on = static_cast<std::uint8_t>(repeat.kind == 2 ? 0x2A : 0);
      event.repeat = repeat;
    }
  }
  return eventRecord(event);
}

PdbBytes contactData(Sequence& random, std::uint32_t i) {
  PdbContactPlan contact;
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
  PdbPlan plan;
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

namespace {

PdbBytes joined(PdbBytes a, const PdbBytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

PdbBytes laterEvent(Sequence& random, std::uint32_t i) {
  static const ZonePlan kZones[] = {ZonePlan{},
                                    ZonePlan{-300, {2, 0, 1, 3}, {2, 0, 0, 11}, 60, "New York"},
                                    ZonePlan{600, {2, 0, 0, 10}, {3, 0, 0, 4}, 60, "Sydney"}};
  EventPlan event;
  event.date = packDate(2005 + static_cast<int>(i % 20), 1 + static_cast<int>(i % 12),
                        1 + static_cast<int>(i % 28));
  event.start = static_cast<std::uint16_t>((7 + random.next(12)) << 8);
  event.end = static_cast<std::uint16_t>(event.start + 0x0100);
  event.description = "Meeting " + std::to_string(i);
  if (random.next(4) == 0) {
    event.description = "Daily Journal";
    event.note = "9:15 am: Woke up early.\n12:30 pm: Lunch with <Anna> at the deli.";
  } else if (random.next(5) == 0) {
    RepeatPlan repeat;
    repeat.kind = 2;
    repeat.on = 0x2A;
    event.repeat = repeat;
  }
  PdbBytes tail;
  if (random.next(4) == 0) tail = zoneBlob(kZones[random.next(3)]);
  if (random.next(8) == 0) {
    tail = joined(
        tail,
        meetingBlob(0, 0,
                    {{0, "Ann", "ann@example.org"}, {1, "Bob", "bob@example.org"}, {2, "Cy", ""}}));
  }
  return calendarRecord(event, "Room " + std::to_string(random.next(40)), tail);
}

PdbBytes laterContact(Sequence& random, std::uint32_t i, bool photo) {
  LaterContactPlan contact;
  contact.fields[0] = "Person " + std::to_string(i);
  contact.fields[1] = random.next(2) == 0 ? "Anna" : "Tom";
  contact.fields[4] = "+1 555 " + std::to_string(1000000 + random.next(9000000));
  contact.fields[5] = "555-" + std::to_string(1000 + random.next(9000));
  contact.fields[8] = "person" + std::to_string(i) + "@example.org";
  contact.fields[11] = "chat" + std::to_string(i);
  contact.fields[13] = "http://example.org/~p" + std::to_string(i);
  contact.fields[23] = std::to_string(1 + random.next(300)) + " Lake Street";
  contact.fields[24] = "Springfield";
  contact.fields[28] = "2 Home Road";
  contact.fields[38] = "A note";
  contact.birthday = packDate(1950 + static_cast<int>(i % 50), 1 + static_cast<int>(i % 12), 3);
  contact.birthdayFlags = 0;
  if (photo) {
    PdbBytes picture{0, 0, 0xFF, 0xD8};
    for (int k = 0; k < 3000; ++k) picture.push_back(static_cast<unsigned char>(random.next(256)));
    contact.tail = blob("Bd00", picture);
  }
  return laterContactRecord(contact);
}

PdbBytes laterTask(Sequence& random, std::uint32_t i) {
  TaskPlan task;
  task.priority = static_cast<std::uint16_t>(1 + random.next(5));
  task.description = "Task " + std::to_string(i);
  if (random.next(2) == 0) {
    task.due = packDate(2006, 1 + static_cast<int>(i % 12), 15);
    if (random.next(3) == 0) task.alarm = std::array<std::uint8_t, 4>{9, 30, 0, 1};
    if (random.next(4) == 0) {
      task.repeatStart = task.due;
      task.repeat = RepeatPlan{2, 0xFFFF, 1, 0x04, 0, 0, 0};
    }
  }
  if (random.next(4) == 0) {
    task.recordFlags = 1;
    task.completion = packDate(2006, 1, 2);
  }
  return taskRecord(task);
}

}  // namespace

std::string benchmarkLaterDatabase(std::string_view kind, std::uint32_t records) {
  const std::string creator = kind == "calendar"                               ? "PDat"
                              : kind == "contacts" || kind == "contacts-photo" ? "PAdd"
                              : kind == "tasks"                                ? "PTod"
                              : kind == "memos"                                ? "PMem"
                                                                               : "";
  if (creator.empty()) return {};
  Sequence random;
  std::vector<PdbRecordPlan> recordPlans;
  recordPlans.reserve(records);
  for (std::uint32_t i = 0; i < records; ++i) {
    PdbBytes data = creator == "PDat"   ? laterEvent(random, i)
                    : creator == "PAdd" ? laterContact(random, i, kind == "contacts-photo")
                    : creator == "PTod"
                        ? laterTask(random, i)
                        : memoRecord("Memo " + std::to_string(i) + "\nTwo lines of text.\n");
    recordPlans.push_back({std::move(data), 0x40, i + 1, std::nullopt});
  }
  const PdbBytes bytes = buildPdb(laterPdb(creator, std::move(recordPlans)));
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace vessory::testing
