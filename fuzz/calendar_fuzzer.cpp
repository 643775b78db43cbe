// libFuzzer target: the calendar export over arbitrary bytes. The run must end, the file must be
// a calendar that libical reads back with one VEVENT per event counted, every line must be as
// RFC 5545 wants it, and where the source cuts its chunks must change nothing.
//
// Input: two option bytes, then the archive.
//   byte 0: the zone (five, with and without daylight saving, whole and part hours), whether
//           deleted records are kept, and the character set, as digits of a mixed-radix number.
//   byte 1: the chunk size the archive is handed out in.

#include <libical/ical.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "export/calendar_run.h"
#include "line_shape.h"
#include "piece_source.h"
#include "support/fake_export.h"

namespace {

using vessory::exporting::CalendarRun;
using vessory::exporting::CalendarSettings;
using vessory::exporting::ExportOutcome;
using vessory::testing::PieceFiles;

constexpr std::array<const char*, 5> kZones = {"UTC", "America/New_York", "Europe/Berlin",
                                               "Asia/Kolkata", "Australia/Lord_Howe"};
constexpr std::array<const char*, 2> kCharsets = {"windows-1252", "UTF-8"};
constexpr std::array<std::size_t, 6> kChunkSizes = {0, 1, 3, 7, 64, 4096};
constexpr char kArchive[] = "fuzz/datebook.dat";
constexpr char kCalendar[] = "fuzz/datebook.ics";

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "broken invariant: %s\n", what.c_str());
  __builtin_trap();
}

struct Result {
  ExportOutcome outcome;
  std::string calendar;
  std::int64_t events;
  std::vector<std::string> messages;
};

Result runCase(std::string_view archive, const CalendarSettings& settings, std::size_t piece) {
  PieceFiles files(piece);
  files.archives[kArchive] = std::string(archive);
  vessory::testing::RecordingView view;
  view.folder = "fuzz";
  view.fileName = "datebook.dat";
  CalendarRun run(files, settings);
  Result result{run.run(view), files.csv(kCalendar), run.tally().events, view.messages};
  return result;
}

std::int64_t countEvents(const std::string& calendar) {
  icalcomponent* parsed = icalparser_parse_string(calendar.c_str());
  if (parsed == nullptr) fail("libical cannot read the calendar back");
  std::int64_t events = 0;
  for (icalcomponent* c = icalcomponent_get_first_component(parsed, ICAL_VEVENT_COMPONENT);
       c != nullptr; c = icalcomponent_get_next_component(parsed, ICAL_VEVENT_COMPONENT)) {
    ++events;
  }
  icalcomponent_free(parsed);
  return events;
}

void checkCalendar(const Result& result) {
  if (vessory::exporting::nothingExported(result.outcome)) {
    if (!result.calendar.empty()) fail("a calendar written by a run that exported nothing");
    return;
  }
  if (result.calendar.find('\0') != std::string::npos) fail("a NUL byte in the calendar");
  if (std::string fault = vessory::testing::lineShapeFault(result.calendar); !fault.empty()) {
    fail("the calendar: " + fault);
  }
  if (countEvents(result.calendar) != result.events) fail("events written and counted differ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int options = size > 0 ? data[0] : 0;
  const int chunk = size > 1 ? data[1] : 0;
  const std::string_view archive(
      reinterpret_cast<const char*>(data) + std::min<std::size_t>(size, 2),
      size - std::min<std::size_t>(size, 2));
  CalendarSettings settings;
  settings.zoneName = kZones[options % kZones.size()];
  settings.includeDeleted = (options / kZones.size()) % 2 == 1;
  settings.charset = kCharsets[(options / kZones.size() / 2) % kCharsets.size()];
  settings.stampTime = 1000000000;
  const Result whole = runCase(archive, settings, 0);
  checkCalendar(whole);
  const std::size_t piece = kChunkSizes[chunk % kChunkSizes.size()];
  if (piece != 0) {
    const Result pieces = runCase(archive, settings, piece);
    if (pieces.calendar != whole.calendar || pieces.messages != whole.messages ||
        pieces.outcome != whole.outcome) {
      fail("the whole archive and pieces of " + std::to_string(piece) + " differ");
    }
  }
  return 0;
}
