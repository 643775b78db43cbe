#ifndef VESSORY_ARCHIVE_EVENT_RECORD_H_
#define VESSORY_ARCHIVE_EVENT_RECORD_H_

#include <cstdint>
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
  // The later desktop layout's location; empty where the container has none.
  std::string location;
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

// Reads a repeat block's value (what follows its type word) into `repeat`; the class constant
// other than 1 is reported to `messages`. Shared by every layout that carries the block.
void readRepeatValue(ArchiveReader& reader, MessageSink& messages, RepeatEvent& repeat);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_EVENT_RECORD_H_
