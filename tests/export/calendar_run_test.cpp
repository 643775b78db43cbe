#include "export/calendar_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar/calendar_reading.h"
#include "calendar/civil_days.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/later_builder.h"

namespace vessory::testing {
namespace {

using exporting::ExportOutcome;

const std::string kEndedEarly = "Datebook file ended early - it may be damaged or incomplete.";
const std::string kPastEnd = "Just read char past EOF";

// The VEVENT blocks of a calendar text, each as written.
std::vector<std::string> eventBlocks(const std::string& text) {
  std::vector<std::string> blocks;
  for (std::size_t at = text.find("BEGIN:VEVENT\r\n"); at != std::string::npos;
       at = text.find("BEGIN:VEVENT\r\n", at + 1)) {
    const std::size_t end = text.find("END:VEVENT\r\n", at);
    blocks.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end + 12 - at));
  }
  return blocks;
}

long countContaining(const std::vector<std::string>& messages, const std::string& part) {
  return std::count_if(messages.begin(), messages.end(),
                       [&](const std::string& m) { return m.find(part) != std::string::npos; });
}

std::vector<RecordPlan> mixedRecords() {
  RecordPlan weekly;
  weekly.recordId = 1;
  weekly.description = "Team";
  weekly.startTime = utcSeconds({2024, 1, 2}, 9);
  weekly.endTime = weekly.startTime + 1800;
  weekly.repeatFlag = 0xFFFF;
  weekly.brand = 2;
  weekly.daysMask = 4;
  weekly.exceptions = {utcSeconds({2024, 1, 9}, 9), utcSeconds({2024, 1, 16}, 9)};
  RecordPlan allDay = journalRecord("a note\r\nof two lines", utcSeconds({2024, 2, 1}));
  allDay.recordId = 2;
  allDay.untimed = 1;
  RecordPlan yearly;
  yearly.recordId = 3;
  yearly.description = std::string(300, 'y');  // the long string form
  yearly.repeatFlag = 1;                       // repeat data without the class entry
  yearly.brand = 5;
  yearly.dayNumber = 7;
  yearly.monthIndex = 3;
  RecordPlan plain;
  plain.recordId = 4;
  plain.alarmSet = 1;
  plain.alarmAdvanceUnits = 10;
  return {weekly, allDay, yearly, plain};
}

TEST(CalendarDamageTest, ArchiveCutAtEveryLengthGivesWholeEventsOfWholeRecords) {
  const std::vector<RecordPlan> records = mixedRecords();
  HeaderPlan header = HeaderPlan::forRecords(static_cast<std::uint32_t>(records.size()));
  ArchiveBuilder built;
  built.tag().header(header);
  std::vector<std::size_t> recordEnds;
  for (const RecordPlan& r : records) recordEnds.push_back(built.record(r).size());
  const CalendarExport whole = exportCalendar(built.bytes(), testSettings());
  ASSERT_EQ(whole.outcome, ExportOutcome::kComplete);
  const std::vector<std::string> wholeEvents = eventBlocks(whole.text);
  ASSERT_EQ(wholeEvents.size(), records.size());

  for (std::size_t length = 0; length < built.size(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    const CalendarExport cut = exportCalendar(built.truncated(length), testSettings());
    if (length < 4) {
      EXPECT_EQ(cut.outcome, ExportOutcome::kNotDatebook);
      EXPECT_EQ(cut.text, "");
      continue;
    }
    const auto wholeRecords = std::count_if(recordEnds.begin(), recordEnds.end(),
                                            [&](std::size_t end) { return end <= length; });
    if (wholeRecords == 0) {  // no record whole: no calendar to take the place of another
      EXPECT_EQ(cut.outcome, ExportOutcome::kNothingRead);
      EXPECT_EQ(cut.text, "");
      EXPECT_EQ(cut.messages.back(), kEndedEarly + "\r\n\r\n" + exporting::kNothingReadText);
      EXPECT_TRUE(cut.ended);
      continue;
    }
    ASSERT_EQ(cut.outcome, ExportOutcome::kEndedEarly);
    ReadCalendar calendar(cut.text);
    EXPECT_TRUE(calendar.clean());
    const std::vector<std::string> events = eventBlocks(cut.text);
    EXPECT_EQ(calendar.size(), events.size());
    EXPECT_EQ(events,
              std::vector<std::string>(wholeEvents.begin(), wholeEvents.begin() + wholeRecords));
    EXPECT_LE(countContaining(cut.messages, kPastEnd), 1);
    EXPECT_LE(cut.tally.cutShortLeftOut, 1);
    ASSERT_FALSE(cut.messages.empty());
    EXPECT_EQ(cut.messages.back().rfind(kEndedEarly, 0), 0u);
    EXPECT_TRUE(cut.ended);
  }
}

TEST(CalendarDamageTest, EndedEarlyMessageCountsDeletedAndCutShortRecords) {
  std::vector<RecordPlan> records = mixedRecords();
  records[0].status = 4;
  records[1].status = 0x0D;
  const std::string bytes = ArchiveBuilder().archive(records).bytes();
  const CalendarExport out = exportCalendar(bytes.substr(0, bytes.size() - 1), testSettings());
  EXPECT_EQ(out.messages.back(),
            kEndedEarly +
                "\r\n\r\nThe events found before that point have been kept.\r\n\r\n"
                "The calendar has been placed in:\r\n" +
                kCalendarPath +
                "\r\n\r\n1 event written (1 repeating, 0 all-day), times as the clock showed "
                "them in UTC.\r\n3 records left out: 2 deleted on the desktop, 1 cut short by "
                "the damage; the archive ended after record 3 of 4. Of the 4 records the archive announced, 1 was "
                "written, 3 left out and 0 not reached.");
}

TEST(CalendarDamageTest, SequencingErrorKeepsTheEventsBeforeIt) {
  std::vector<RecordPlan> records = mixedRecords();
  records[2].rawNote = std::string("\xFF\x00\x00\x01\x00", 5);
  const CalendarExport out =
      exportCalendar(ArchiveBuilder().archive(records).bytes(), testSettings());
  EXPECT_EQ(out.outcome, ExportOutcome::kSequencingError);
  ReadCalendar calendar(out.text);
  EXPECT_TRUE(calendar.clean());
  EXPECT_EQ(calendar.size(), 2u);
  EXPECT_EQ(countContaining(out.messages, "sequencing error"), 1);
  EXPECT_EQ(out.messages.back().rfind(exporting::kEventsBeforeDamage, 0), 0u);
  EXPECT_NE(out.messages.back().find("could not be read after record 2 of "), std::string::npos);
  EXPECT_EQ(out.tally.cutShortLeftOut, 1);
  EXPECT_TRUE(out.ended);
}

TEST(CalendarDamageTest, DataAfterTheLastRecordKeepsEveryEventAndSaysSo) {
  const CalendarExport out =
      exportCalendar(ArchiveBuilder().archive(mixedRecords()).bytes() + "X", testSettings());
  EXPECT_EQ(out.outcome, ExportOutcome::kDataAfterEnd);
  EXPECT_EQ(ReadCalendar(out.text).size(), 4u);
  ASSERT_GE(out.messages.size(), 2u);
  EXPECT_EQ(out.messages[out.messages.size() - 2], exporting::kDataAfterEndMessage);
}

TEST(CalendarDamageTest, ByteFlipsNeverLeaveAFileLibicalCannotRead) {
  const std::string bytes = ArchiveBuilder().archive(mixedRecords()).bytes();
  for (std::size_t at = 4; at < bytes.size(); ++at) {
    for (unsigned char flip : {0x01, 0x80, 0xFF}) {
      std::string damaged = bytes;
      damaged[at] = static_cast<char>(damaged[at] ^ flip);
      const CalendarExport out = exportCalendar(damaged, testSettings());
      // Damage before the first whole record leaves no file at all.
      if (out.outcome == ExportOutcome::kNothingRead && out.text.empty()) continue;
      ReadCalendar calendar(out.text);
      ASSERT_TRUE(calendar.clean()) << "byte " << at << " ^ " << int(flip) << "\n" << out.text;
      EXPECT_LE(calendar.size(), 4u);
    }
  }
}

// A run over `records` whose files and view the test keeps.
class CalendarRunTest : public ::testing::Test {
 protected:
  ExportOutcome runOver(const std::string& bytes, bool endsProgram = true) {
    files.archives[kCalendarArchivePath] = bytes;
    view.fileName = "Datebook.dat";
    exporting::CalendarRun run(files, settings, endsProgram);
    const ExportOutcome outcome = run.run(view);
    tally = run.tally();
    return outcome;
  }
  ExportOutcome runOver(const std::vector<RecordPlan>& records, bool endsProgram = true) {
    return runOver(ArchiveBuilder().archive(records).bytes(), endsProgram);
  }

  MemoryFiles files;
  RecordingView view;
  exporting::CalendarSettings settings = testSettings();
  exporting::CalendarTally tally;
};

TEST_F(CalendarRunTest, WriteFailureIsReportedWithItsReason) {
  files.failWritesAfter = 0;
  EXPECT_EQ(runOver(mixedRecords()), ExportOutcome::kCannotWrite);
  EXPECT_EQ(view.messages.back(), "Cannot write " + kCalendarPath + ": No space left on device");
  EXPECT_TRUE(files.closed(kCalendarPath));
  EXPECT_TRUE(view.ended);
}

TEST_F(CalendarRunTest, WriteFailurePartWayStopsReadingAndLeavesTheEarlierCalendar) {
  std::vector<RecordPlan> records(1500, journalRecord(std::string(400, 'n')));
  files.failWritesAfter = 150000;
  files.earlier(kCalendarPath, "BEGIN:VCALENDAR earlier");
  EXPECT_EQ(runOver(records), ExportOutcome::kCannotWrite);
  EXPECT_EQ(files.csv(kCalendarPath), "BEGIN:VCALENDAR earlier");  // left as it was
  EXPECT_EQ(view.messages.back(), "Cannot write " + kCalendarPath +
                                      ": No space left on device; the earlier " + kCalendarPath +
                                      " was left as it was");
  EXPECT_LT(tally.events, 1500);
}

TEST_F(CalendarRunTest, OutputOverTheArchiveIsRefusedUnderAnyName) {
  const std::string bytes = ArchiveBuilder().archive(mixedRecords()).bytes();
  for (const std::string& output : {kCalendarArchivePath, std::string("D:\\elsewhere.ics")}) {
    files.aliases["D:\\elsewhere.ics"] = kCalendarArchivePath;
    settings.outputPath = output;
    EXPECT_EQ(runOver(bytes), ExportOutcome::kOutputIsArchive);
    EXPECT_EQ(files.archives[kCalendarArchivePath], bytes);
    EXPECT_FALSE(files.created(output));
    EXPECT_EQ(view.messages.back(),
              "Cannot export: the calendar file " + output + " is the Datebook file itself");
  }
}

TEST_F(CalendarRunTest, EndAskedForMidRunLeavesACalendarOfTheEventsSoFar) {
  view.onEvents = [](RecordingView& v) {
    if (std::find(v.events.begin(), v.events.end(), "record: 3") != v.events.end()) {
      v.endWanted = true;
    }
  };
  EXPECT_EQ(runOver(mixedRecords()), ExportOutcome::kEndRequested);
  ReadCalendar calendar(files.csv(kCalendarPath));
  EXPECT_TRUE(calendar.clean());
  EXPECT_EQ(calendar.size(), 2u);
  EXPECT_TRUE(files.closed(kCalendarPath));
  EXPECT_FALSE(view.ended);
}

TEST_F(CalendarRunTest, UnknownZoneOrCharacterSetStopsBeforeAnythingIsOpened) {
  settings.zoneName = "Mars/Olympus_Mons";
  EXPECT_EQ(runOver(mixedRecords()), ExportOutcome::kBadOption);
  EXPECT_EQ(view.messages.back(), "Unknown time zone Mars/Olympus_Mons");
  settings = testSettings();
  settings.charset = "no-such-charset";
  EXPECT_EQ(runOver(mixedRecords()), ExportOutcome::kBadOption);
  EXPECT_EQ(view.messages.back().rfind("Unknown character set no-such-charset", 0), 0u);
  EXPECT_FALSE(files.created(kCalendarPath));
  EXPECT_FALSE(view.ended);
  EXPECT_TRUE(exporting::checkCalendarSettings(settings).has_value());
  EXPECT_FALSE(exporting::checkCalendarSettings(testSettings("Asia/Kolkata")).has_value());
}

#ifndef _WIN32
// TZ naming a zone this system has no rules for: the system's zone cannot be told. (Windows
// tells its zone through its own interface, not TZ.)
TEST_F(CalendarRunTest, ASystemZoneThatCannotBeToldGivesUtcAndSaysSo) {
  const char* saved = std::getenv("TZ");
  const std::string earlier = saved ? saved : "";
  setenv("TZ", "/nowhere/zoneinfo/No_Such/Zone", 1);
  settings.zoneName.clear();
  const ExportOutcome outcome = runOver(mixedRecords());
  if (saved) {
    setenv("TZ", earlier.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  EXPECT_EQ(outcome, ExportOutcome::kComplete);
  EXPECT_TRUE(tally.zoneFallback);
  EXPECT_TRUE(view.messages.back().ends_with(
      "\r\nThe system's time zone could not be told; the times are those of UTC."))
      << view.messages.back();
}
#endif

TEST_F(CalendarRunTest, UncreatableCalendarNamesThePathAndTheReason) {
  files.uncreatable[kCalendarPath] = "Permission denied";
  EXPECT_EQ(runOver(mixedRecords()), ExportOutcome::kCannotCreate);
  EXPECT_EQ(view.messages.back(), "Cannot create " + kCalendarPath + ": Permission denied");
}

TEST_F(CalendarRunTest, CallerThatKeepsTheEndGetsNoFinalMessage) {
  EXPECT_EQ(runOver(mixedRecords(), false), ExportOutcome::kComplete);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(view.ended);
  EXPECT_EQ(tally.events, 4);
  EXPECT_EQ(tally.repeating, 2);
  EXPECT_EQ(tally.allDay, 1);
}

// The description as the journal run hands it: the archive's bytes, which the front end reads.
TEST_F(CalendarRunTest, DetailsShowTheZonesWallTimeAndTheArchivesDescription) {
  std::vector<RecordPlan> records = mixedRecords();
  records[0].description = "Caf\xE9";
  settings.zoneName = "Asia/Kolkata";
  view.details = exporting::kChecked;
  EXPECT_EQ(runOver(records), ExportOutcome::kComplete);
  EXPECT_NE(std::find(view.events.begin(), view.events.end(), "datetime: 2024-01-02 14:30:00"),
            view.events.end());
  EXPECT_NE(std::find(view.events.begin(), view.events.end(), "description: Caf\xE9"),
            view.events.end());
}

// The calendar's components in order: a VTIMEZONE as its TZID, a VEVENT as "e"; and every TZID
// a property names before the VTIMEZONE of that TZID has been read.
std::string componentOrder(const std::string& text, std::vector<std::string>& namedEarly) {
  std::string order;
  std::vector<std::string> read;
  for (std::size_t at = 0, end = 0; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    const std::string line = text.substr(at, end - at);
    const std::size_t tzid = line.find(";TZID=");
    if (line == "BEGIN:VEVENT") order += "e ";
    if (line.rfind("TZID:", 0) == 0) {
      read.push_back(line.substr(5));
      order += read.back() + " ";
    } else if (tzid != std::string::npos) {
      const std::string name = line.substr(tzid + 6, line.find(':', tzid) - tzid - 6);
      if (std::find(read.begin(), read.end(), name) == read.end()) namedEarly.push_back(name);
    }
  }
  return order;
}

// Each zone's VTIMEZONE goes once, just before the first event that names it.
TEST(CalendarZoneOrderTest, EachZoneIsWrittenBeforeTheFirstEventThatNamesIt) {
  ZonePlan tokyo;
  tokyo.offset = 540;
  tokyo.adjustment = 0;
  tokyo.name = "Tokyo";
  const struct {
    std::vector<std::optional<ZonePlan>> zones;  // one record each
    std::string order;
  } cases[] = {
      {{ZonePlan{}, tokyo, ZonePlan{}, std::nullopt, tokyo}, "Berlin e Tokyo e e e e "},
      {{std::nullopt, std::nullopt, tokyo, tokyo}, "e e Tokyo e e "},
      {{std::nullopt}, "e "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.order);
    std::vector<PdbRecordPlan> records;
    EventPlan repeating;
    repeating.repeat = RepeatPlan{};
    repeating.exceptions = std::vector<std::uint16_t>{packDate(2021, 2, 27)};
    for (std::uint32_t k = 0; k < c.zones.size(); ++k) {
      records.push_back({calendarRecord(repeating, std::nullopt,
                                        c.zones[k] ? zoneBlob(*c.zones[k]) : PdbBytes{}),
                         0x40, k + 1, std::nullopt});
    }
    const PdbBytes bytes = buildPdb(laterPdb("PDat", records));
    const CalendarExport out =
        exportCalendar(std::string(bytes.begin(), bytes.end()), testSettings());
    ASSERT_EQ(out.outcome, ExportOutcome::kComplete) << out.text;
    std::vector<std::string> namedEarly;
    EXPECT_EQ(componentOrder(out.text, namedEarly), c.order);
    EXPECT_TRUE(namedEarly.empty()) << namedEarly.front();
  }
}

TEST(CalendarPathForTest, ExtensionOfTheNameIsReplacedOrAdded) {
  EXPECT_EQ(exporting::calendarPathFor("C:\\Palm\\Datebook.dat"), "C:\\Palm\\Datebook.ics");
  EXPECT_EQ(exporting::calendarPathFor("/home/me/Datebook"), "/home/me/Datebook.ics");
  EXPECT_EQ(exporting::calendarPathFor("/home/me.old/Datebook"), "/home/me.old/Datebook.ics");
  EXPECT_EQ(exporting::calendarPathFor("C:\\a.b\\Datebook"), "C:\\a.b\\Datebook.ics");
  EXPECT_EQ(exporting::calendarPathFor("/home/me/.datebook"), "/home/me/.datebook.ics");
  EXPECT_EQ(exporting::calendarPathFor(".datebook"), ".datebook.ics");
  EXPECT_EQ(exporting::calendarPathFor("/home/me/.datebook.dat"), "/home/me/.datebook.ics");
  EXPECT_EQ(exporting::calendarPathFor("Datebook.DAT.bak"), "Datebook.DAT.ics");
  // The archive file of removed events never takes the live date book's calendar.
  EXPECT_EQ(exporting::calendarPathFor("C:\\Palm\\Datebook.dba"), "C:\\Palm\\Datebook-archive.ics");
  EXPECT_EQ(exporting::calendarPathFor("/home/me/DATEBOOK.DBA"), "/home/me/DATEBOOK-archive.ics");
  EXPECT_EQ(exporting::calendarPathFor("/home/me/.dba"), "/home/me/.dba.ics");
}

}  // namespace
}  // namespace vessory::testing
