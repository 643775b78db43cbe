#include "bench_archive.h"

#include <array>
#include <string_view>
#include <vector>

#include "bench_sequence.h"
#include "support/archive_builder.h"
#include "support/later_desktop_builder.h"
#include "support/organiser_builder.h"

namespace vessory::testing {

namespace {

constexpr std::array<std::string_view, 12> kSentences = {
    "Woke up before the alarm and watched the rain on the window for a while.",
    "Long call with <work> about the quarterly figures; they want it all by Friday.",
    "Anna said \"we should have left an hour ago\" and she was right.",
    "Walked the dog around the lake, met Mr. Hoffmann with his new bicycle.",
    "Read two chapters of the novel. The ending of chapter 12 surprised me.",
    "<garden> Planted the tomatoes, 14 of them, and watered the beans.",
    "Lunch at the corner cafe: soup, bread, far too much coffee.",
    "Paid the bills, 3 of 4 done; the phone company can wait till Monday.",
    "Dinner with the neighbours. Tom told the story about the canoe again.",
    "Fixed the squeaking door at last, 10 minutes with the oil can.",
    "Train was 25 min. late, so I wrote letters on the platform.",
    "Quiet evening, radio on, wrote this journal and went to bed early.",
};

constexpr std::array<std::string_view, 8> kAppointments = {
    "Dentist",    "Staff meeting", "Call Mother",  "Pick up laundry",
    "Team lunch", "Budget review", "Piano lesson", "Car service",
};

std::string timeLabel(int minutes) {
  int hour = minutes / 60 % 24;
  int minute = minutes % 60;
  std::string label = std::to_string(hour % 12 == 0 ? 12 : hour % 12) + ":";
  label += static_cast<char>('0' + minute / 10);
  label += static_cast<char>('0' + minute % 10);
  label += hour < 12 ? " am" : " pm";
  return label;
}

std::string journalNote(Sequence& random, int entries) {
  std::string note;
  if (random.next(10) == 0) note = "##  B Travel\r\n";
  int minutes = 6 * 60 + static_cast<int>(random.next(90));
  for (int e = 0; e < entries; ++e) {
    if (e > 0) note += "\r\n";
    note += timeLabel(minutes);
    note += ": ";
    note += kSentences[random.next(kSentences.size())];
    if (random.next(8) == 0) {
      note += "\r\n";  // a second line of the same entry
      note += kSentences[random.next(kSentences.size())];
    }
    minutes += 60 + static_cast<int>(random.next(120));
  }
  return note;
}

RecordPlan appointment(Sequence& random, std::uint32_t day) {
  RecordPlan event;
  event.startTime = day + 8 * 3600 + random.next(10) * 1800;
  event.endTime = event.startTime + 3600;
  event.description = kAppointments[random.next(kAppointments.size())];
  event.note = random.next(3) == 0 ? "Bring the papers" : "";
  event.category = random.next(4);
  event.alarmSet = random.next(2);
  event.alarmAdvanceUnits = 10;
  return event;
}

RecordPlan repeatingEvent(Sequence& random, std::uint32_t day, bool firstRepeat) {
  RecordPlan event = appointment(random, day);
  event.description = "Weekly review";
  // The class entry comes with the first repeating event; later ones refer back to it.
  event.repeatFlag = firstRepeat ? 0xFFFF : 0x8001;
  event.brand = 1 + random.next(5);
  event.interval = 1 + random.next(2);
  event.dayIndex = random.next(7);
  event.daysMask = static_cast<std::uint8_t>(1u << random.next(7));
  event.dayNumber = 1 + random.next(28);
  event.monthIndex = random.next(12);
  if (random.next(4) == 0) event.exceptions = {day + 7 * 86400, day + 14 * 86400};
  return event;
}

const std::vector<CategoryPlan> kCategories = {
    {1, 1, 0, "Business", "Busi"}, {2, 2, 0, "Personal", "Pers"}, {3, 3, 0, "Travel", "Trav"}};

// Hands each of the benchmark's records to `take`, in order.
template <typename Take>
void benchmarkRecords(std::uint32_t records, Take take) {
  Sequence random;
  constexpr std::uint32_t kFirstDay = 1018137600;  // 2002-04-07
  bool firstRepeat = true;
  for (std::uint32_t i = 0; i < records; ++i) {
    std::uint32_t day = kFirstDay + (i / 3) * 86400;
    RecordPlan event;
    switch (i % 3) {
      case 0:
        event = journalRecord(journalNote(random, 5 + static_cast<int>(random.next(2))),
                              day + 21 * 3600);
        break;
      case 1:
        event = appointment(random, day);
        break;
      default:
        event = repeatingEvent(random, day, firstRepeat);
        firstRepeat = false;
        break;
    }
    event.recordId = i + 1;
    take(event, i);
  }
}

// A location for some of the later layout's events, so that the column is not always empty.
constexpr std::array<std::string_view, 4> kLocations = {"", "Room 101", "", "Caf\xE9 Central"};

}  // namespace

std::string benchmarkArchive(std::uint32_t records) {
  HeaderPlan header = HeaderPlan::forRecords(records);
  header.categories = kCategories;
  ArchiveBuilder builder;
  builder.tag().header(header);
  benchmarkRecords(records, [&](const RecordPlan& event, std::uint32_t) { builder.record(event); });
  return builder.bytes();
}

std::string benchmarkLaterArchive(std::uint32_t records) {
  LaterPlan plan = laterDatebookPlan();
  plan.categories = kCategories;
  // Built in one piece: the file's bytes, without the records held apart.
  std::string bytes = buildLaterFile(plan, {});
  const std::size_t countAt = bytes.size() - 4;
  const std::uint32_t entries = records * static_cast<std::uint32_t>(plan.fieldTypes.size());
  for (int k = 0; k < 4; ++k) bytes[countAt + k] = static_cast<char>(entries >> (8 * k));
  benchmarkRecords(records, [&](const RecordPlan& event, std::uint32_t i) {
    for (const LaterField& field : laterEvent(event, std::string(kLocations[i % 4]), plan)) {
      for (int k = 0; k < 4; ++k) bytes += static_cast<char>(field.code >> (8 * k));
      bytes += field.value;
    }
  });
  return bytes;
}

std::string benchmarkNote(int entries) {
  Sequence random;
  return journalNote(random, entries);
}

}  // namespace vessory::testing
