#ifndef VESSORY_TESTS_SUPPORT_LATER_BUILDER_H_
#define VESSORY_TESTS_SUPPORT_LATER_BUILDER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/handheld_builder.h"

namespace vessory::testing {

// Writes the later handhelds' databases (CalendarDB-PDat, ContactsDB-PAdd, TasksDB-PTod,
// MemosDB-PMem) byte by byte, from the layout written down in the format note; like the
// classic builder it shares no constant with the reader.

// A database of one of the four ("PDat", "PAdd", "PTod", "PMem") with its name, version 1 and
// the records given; the app-info is the application's own size unless `appInfo` is given.
PdbPlan laterPdb(const std::string& creator, std::vector<PdbRecordPlan> records,
                 std::optional<PdbBytes> appInfo = std::nullopt);

// The Contacts app-info of `size` bytes (1092 or 1156): categories, then `labels` from 304.
PdbBytes contactsAppInfo(const std::vector<std::string>& categories,
                         const std::vector<std::string>& labels, std::size_t size = 1092);

// One blob: its id, a 2-byte size, its content.
PdbBytes blob(const std::string& id, const PdbBytes& content);

struct ZonePlan {
  std::int16_t offset = 60;
  std::array<std::uint8_t, 4> start = {2, 0, 4, 3};  // hour, weekday, week, month
  std::array<std::uint8_t, 4> end = {3, 0, 4, 10};
  std::int16_t adjustment = 60;
  std::string name = "Berlin";
};
PdbBytes zoneBlob(const ZonePlan& zone);

struct AttendeePlan {
  std::uint8_t role = 1;
  std::string name;
  std::string email;
};
PdbBytes meetingBlob(std::uint8_t status, std::uint8_t showAs,
                     const std::vector<AttendeePlan>& attendees);

// The date book record of `event`, then the location (flag 0x0200) and the tail bytes.
PdbBytes calendarRecord(const EventPlan& event, const std::optional<std::string>& location,
                        const PdbBytes& tail = {});

struct LaterContactPlan {
  std::array<std::uint8_t, 7> phoneLabels = {0, 1, 2, 3, 4, 5, 7};
  std::array<std::uint8_t, 3> addressLabels = {0, 1, 2};
  std::array<std::uint8_t, 2> imLabels = {1, 2};
  // Or-ed into the label words: the reserved bits real records carry.
  std::uint16_t addressReserved = 0;
  std::uint16_t imReserved = 0;
  std::array<std::optional<std::string>, 39> fields;
  std::optional<std::uint16_t> birthday;
  std::optional<std::uint16_t> birthdayFlags;
  std::optional<std::uint8_t> reminderDays;
  std::uint8_t companyOffset = 0;  // written as is
  PdbBytes tail;                   // blobs, or junk
};
PdbBytes laterContactRecord(const LaterContactPlan& layout);

struct TaskPlan {
  std::uint16_t recordFlags = 0;
  std::uint16_t priority = 1;
  std::optional<std::uint16_t> due;
  std::optional<std::uint16_t> completion;
  std::optional<std::array<std::uint8_t, 4>> alarm;  // hour, minute, days (2)
  std::optional<std::uint16_t> repeatStart;
  std::optional<RepeatPlan> repeat;
  std::string description;
  std::string note;
  PdbBytes tail;
};
PdbBytes taskRecord(const TaskPlan& layout);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_SUPPORT_LATER_BUILDER_H_
