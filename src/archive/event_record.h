#ifndef VESSORY_ARCHIVE_EVENT_RECORD_H_
#define VESSORY_ARCHIVE_EVENT_RECORD_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/archive_reader.h"
#include "archive/message_sink.h"

namespace vessory::archive {

// Four-byte values are held in 64 bits so that every value an archive can carry (-1 and 0 to
// 4294967294) is kept exactly as read.
struct RepeatEvent {
  // As read. It may exceed exceptions.size() when the archive ended inside the dates.
  std::int64_t exceptionCount = 0;
  // exceptions[j - 1] holds the j-th exception date. The vector only grows: slots beyond the
  // current record's count keep an earlier record's dates.
  std::vector<std::int64_t> exceptions;
  bool isRepeating = false;
  std::int64_t brand = 0;
  std::int64_t interval = 0;
  std::int64_t endDate = 0;
  std::int64_t firstDayOfWeek = 0;
  std::int64_t brandDayIndex = 0;
  int brandDaysMask = 0;
  std::int64_t brandWeekIndex = 0;
  std::int64_t brandDayNumber = 0;
  std::int64_t brandMonthIndex = 0;
};

// The time zone a later handheld's Calendar gives an event: its times are that zone's wall
// clock. Offsets in minutes east of UTC; a daylight-saving rule says when the clock goes
// forward (start) and back (end), each at an hour of the wall clock before the change.
struct ZoneRule {
  int hour = 0;
  int weekday = 0;  // 0 Sunday to 6 Saturday
  int week = 0;     // 0 to 3 the first to fourth, 4 the last of the month
  int month = 1;    // 1 to 12

  bool operator==(const ZoneRule&) const = default;
};
struct EventZone {
  std::int64_t offset = 0;
  std::int64_t adjustment = 0;  // 0: no daylight saving
  ZoneRule daylightStart;
  ZoneRule daylightEnd;
  std::string name;  // as the record's bytes

  bool operator==(const EventZone&) const = default;
};

// A later handheld's meeting: who takes part and how the event stands.
struct Attendee {
  int role = 0;  // 0 organiser, 1 required, 2 optional
  std::string name;
  std::string email;
};
struct Meeting {
  int status = 0;  // 0 unanswered, 1 tentative, 2 declined, 3 accepted, 4 cancelled
  int showAs = 0;  // 0 busy, 1 free, 2 tentative, 3 out of office
  std::vector<Attendee> attendees;
};

// One event record as read. An export keeps a single instance for its whole length and reads
// every record into it: a field that a record does not carry keeps the earlier record's value.
struct EventRecord {
  std::int64_t recordId = 0;
  std::int64_t status = 0;
  std::int64_t position = 0;
  std::int64_t startTime = 0;
  std::int64_t endTime = 0;
  std::string description;
  std::int64_t duration = 0;
  std::string note;
  std::int64_t untimed = 0;
  std::int64_t isPrivate = 0;
  std::int64_t category = 0;
  std::int64_t alarmSet = 0;
  std::int64_t alarmAdvanceUnits = 0;
  std::int64_t alarmAdvanceType = 0;
  RepeatEvent repeat;
  // What only a later handheld's Calendar holds; the other containers leave it empty.
  std::string location;
  std::optional<EventZone> zone;
  std::optional<Meeting> meeting;
};

// The two moments inside a record at which the caller may show what has been read so far.
class RecordObserver {
 public:
  virtual ~RecordObserver() = default;
  // Right after the start time is stored.
  virtual void startTimeRead(const EventRecord& record) = 0;
  // Right after the description is stored.
  virtual void descriptionRead(const EventRecord& record) = 0;
};

// Reads one whole record into `record`. `ordinal` (1 for the first record) is used in messages
// only. `observer` may be null. Reports a non-zero zero word and a class constant other than 1
// to `messages` and reads on. Returns early, leaving the rest untouched, when the reader halts.
void readEventRecord(ArchiveReader& reader, std::int64_t ordinal, EventRecord& record,
                     MessageSink& messages, RecordObserver* observer);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_EVENT_RECORD_H_
