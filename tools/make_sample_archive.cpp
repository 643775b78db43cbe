// Writes the sample archives shipped in samples/: the date book at OUTPUT (a fortnight of an
// English daily journal, a few days of a German one, ordinary appointments, repeating and
// all-day events, alarms, and a record deleted on the desktop), and beside it the same
// person's Address.dat, ToDo.dat and MemoPad.dat (organiser_samples.h). Records are only ever
// added at the end, so that the journal CSV of the sample stays what it was.
//
//   make_sample_archive OUTPUT

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/archive_builder.h"
#include "tools/organiser_samples.h"

namespace {

using vessory::testing::ArchiveBuilder;
using vessory::testing::CategoryPlan;
using vessory::testing::HeaderPlan;
using vessory::testing::journalRecord;
using vessory::testing::RecordPlan;

// Noon on 2002-04-01 (UTC); with the default bias of -4 hours it is still the same day.
constexpr std::uint32_t kFirstDay = 1017662400;
constexpr std::uint32_t kDay = 86400;

// One day's journal: entries joined by CR LF as the handheld writes them.
const char* const kEnglishDays[] = {
    "7:05 am: Up early, coffee on the porch.\r\n12:30 pm: Lunch with <Anna> at the deli.\r\n"
    "9:40 pm: Read two chapters before bed.",
    "##xyB\n6:50 am: Run, 5 km <exercise>\r\n8:15 am: Team meeting ran long.\r\nWe agreed on "
    "the new schedule\r\nand the budget.\r\n5:45 pm: Groceries.",
    "7:20 am: Rain all morning.\r\n1:10 pm: Called Mom. She said \"don't forget Sunday\".",
    "8:00 am: Dentist at 9 - nothing to fix <health>\r\n3:30 pm: Finished the report draft.",
    "7:15 am: Slept badly.\r\n10:45 am: Coffee with <Ben>; talked about the trip.\r\n"
    "11:30 pm: Late movie.",
    "9:00 am: Saturday! Long breakfast.\r\n2:00 pm: Garden: planted tomatoes,\r\nbasil and "
    "two rows of beans.",
    "10:30 am: Church, then lunch at <Anna>'s.\r\n6:00 pm: Quiet evening.",
    "7:00 am: Back to work.\r\n4:20 pm: Printer jammed again. Told IT \"this is the third "
    "time\".",
    "##xyB\n6:45 am: Run, 6 km <exercise>\r\n12:00 pm: Lunch at desk.\r\n8:30 pm: Wrote "
    "letters.",
    "7:30 am: Sunny.\r\n11:15 am: Budget review <work>\r\n 9:05 pm: Early night.",
    "8:10 am: Car to the garage <car>\r\n5:00 pm: Picked it up; new brakes.",
    "9:30 am: Farmers market.\r\n3:00 pm: Bike ride along the river,\r\nabout 30 km.",
    "11:00 am: Brunch with <Ben> and Carla.\r\n7:45 pm: Packed for the trip.",
    "6:00 am: Airport. Flight delayed an hour.\r\n2:15 pm: Landed. \"Welcome to Denver\"\r\n"
    "10:00 pm: Hotel.",
};

const char* const kGermanDays[] = {
    "7:30: Aufgestanden, Kaffee.\r\n18:00: Einkaufen <Markt>",
    "8:15: Besprechung im B\xFCro.\r\n20:00: Konzert mit <Klara>",
    "9:00: Fr\374hst\374ck im Garten.\r\n15:30: Spaziergang am Flu\xDF.",
};

RecordPlan appointment(std::uint32_t start, const std::string& what, const std::string& note) {
  RecordPlan layout;
  layout.startTime = start;
  layout.endTime = start + 3600;
  layout.description = what;
  layout.note = note;
  layout.category = 1;
  return layout;
}

RecordPlan repeating(RecordPlan layout, std::uint32_t kind) {
  layout.repeatFlag = 0xFFFF;
  layout.brand = kind;
  return layout;
}

// Events that show what the calendar export makes of the date book's other features.
template <typename Add>
void addCalendarRecords(Add& add) {
  RecordPlan trip = appointment(kFirstDay + 13 * kDay, "Trip to Denver", "Conference, 3 days");
  trip.untimed = 1;
  trip.category = 3;
  add(trip);
  RecordPlan flight = appointment(kFirstDay + 13 * kDay - 3600 * 4, "Flight UA 291", "Gate B7");
  flight.category = 3;
  flight.alarmSet = 1;
  flight.alarmAdvanceUnits = 2;
  flight.alarmAdvanceType = 1;  // hours
  add(flight);
  RecordPlan club = repeating(appointment(kFirstDay + 17 * kDay + 3600 * 7, "Book club", ""), 3);
  club.dayIndex = 4;   // Thursday
  club.weekIndex = 2;  // the third one of the month
  club.category = 2;
  club.alarmSet = 1;
  club.alarmAdvanceUnits = 15;  // minutes
  add(club);
  RecordPlan review =
      repeating(appointment(kFirstDay + 25 * kDay + 3600 * 4, "Month-end review", ""), 3);
  review.dayIndex = 5;   // Friday
  review.weekIndex = 4;  // the last one of the month
  review.endDate = kFirstDay + 365 * kDay;
  add(review);
  RecordPlan plants =
      repeating(appointment(kFirstDay + 6 * kDay - 3600 * 3, "Water the plants", ""), 2);
  plants.interval = 2;
  plants.daysMask = 0x41;  // Sunday and Saturday, every other week
  plants.untimed = 1;
  plants.isPrivate = 1;
  plants.category = 2;
  add(plants);
  RecordPlan rent = repeating(appointment(kFirstDay, "Pay the rent", "Standing order?"), 4);
  rent.dayNumber = 1;
  rent.alarmSet = 1;
  rent.alarmAdvanceUnits = 1;
  rent.alarmAdvanceType = 2;  // days
  rent.untimed = 1;
  rent.category = 2;
  add(rent);
  RecordPlan cancelled = appointment(kFirstDay + 8 * kDay + 3600, "Lunch with Carla", "");
  cancelled.status = 0x04;  // deleted on the desktop, still in the archive
  add(cancelled);
}

std::vector<RecordPlan> sampleRecords() {
  std::vector<RecordPlan> records;
  std::uint32_t id = 1;
  auto add = [&](RecordPlan layout) {
    layout.recordId = id++;
    records.push_back(layout);
  };
  for (std::uint32_t day = 0; day < 14; ++day) {
    add(journalRecord(kEnglishDays[day], kFirstDay + day * kDay));
    if (day % 3 == 1) add(appointment(kFirstDay + day * kDay + 7200, "Call plumber", ""));
  }
  for (std::uint32_t day = 0; day < 3; ++day) {
    add(journalRecord(kGermanDays[day], kFirstDay + (day + 2) * kDay, "Logbuch"));
  }
  RecordPlan weekly = appointment(kFirstDay + 3600 * 5, "Team meeting", "Room 4");
  weekly.repeatFlag = 0xFFFF;
  weekly.brand = 2;
  weekly.daysMask = 0x02;
  weekly.exceptions = {kFirstDay + 7 * kDay};
  add(weekly);
  RecordPlan birthday = appointment(kFirstDay + 9 * kDay, "Anna's birthday", "");
  birthday.repeatFlag = 0xFFFF;
  birthday.brand = 5;
  birthday.dayNumber = 10;
  birthday.monthIndex = 3;
  add(birthday);
  // A repeating event that happens to be called like the journal is not a journal.
  RecordPlan repeating = journalRecord("8:00 am: not a journal entry", kFirstDay);
  repeating.repeatFlag = 0x8001;
  repeating.brand = 1;
  add(repeating);
  add(appointment(kFirstDay + 4 * kDay + 3600 * 3, "Dentist", "Bring the insurance card"));
  addCalendarRecords(add);
  return records;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_archive OUTPUT\n");
    return 2;
  }
  HeaderPlan header;
  header.categories = {CategoryPlan{1, 1, 0, "Business", "Busi"},
                       CategoryPlan{2, 2, 0, "Personal", "Pers"},
                       CategoryPlan{3, 3, 0, "Travel", "Trav"}};
  std::vector<RecordPlan> records = sampleRecords();
  try {
    vessory::testing::writeFile(argv[1], ArchiveBuilder().archive(records, header).bytes());
    const std::filesystem::path folder = std::filesystem::path(argv[1]).parent_path();
    vessory::testing::writeFile((folder / "Address.dat").string(),
                                vessory::tools::sampleAddressArchive());
    vessory::testing::writeFile((folder / "ToDo.dat").string(),
                                vessory::tools::sampleTodoArchive());
    vessory::testing::writeFile((folder / "MemoPad.dat").string(),
                                vessory::tools::sampleMemoArchive());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_sample_archive: %s\n", e.what());
    return 1;
  }
  return 0;
}
