#include "handheld/calendar_record.h"

#include "handheld/byte_cursor.h"
#include "handheld/datebook_record.h"
#include "handheld/later_format.h"

namespace vessory::handheld {

namespace {

using archive::EventZone;
using archive::Meeting;
using archive::ZoneRule;
using Bytes = std::span<const unsigned char>;

constexpr int kLastWeek = 4;
constexpr int kLastRole = 2;
constexpr std::int64_t kMinutesPerDay = std::int64_t{24} * 60;

std::int64_t signedWord(Bytes bytes, std::size_t at) {
  const std::int64_t word = bigEndianAt(bytes, at, 2).value_or(0);
  return word >= 0x8000 ? word - 0x10000 : word;
}

// Hour, weekday, week of the month, month; nothing when one is out of range.
std::optional<ZoneRule> zoneRule(Bytes bytes, std::size_t at) {
  const ZoneRule rule{bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
  if (rule.hour > 23 || rule.weekday > 6 || rule.week > kLastWeek || rule.month < 1 ||
      rule.month > 12) {
    return std::nullopt;
  }
  return rule;
}

// The name is the rest of the blob, its NUL the blob's last byte.
std::optional<EventZone> readZone(Bytes content) {
  if (content.size() <= kZoneFixedSize || content.back() != 0) return std::nullopt;
  EventZone zone;
  zone.offset = signedWord(content, 0);
  zone.adjustment = signedWord(content, 10);
  if (zone.offset <= -kMinutesPerDay || zone.offset >= kMinutesPerDay ||
      zone.adjustment <= -kMinutesPerDay || zone.adjustment >= kMinutesPerDay) {
    return std::nullopt;
  }
  ByteCursor name(content.subspan(kZoneFixedSize));
  std::optional<std::string> text = name.text();
  if (!text || name.remaining() != 0) return std::nullopt;
  zone.name = std::move(*text);
  // A zone without daylight saving may keep any rules; they are not used.
  if (zone.adjustment != 0) {
    const std::optional<ZoneRule> start = zoneRule(content, 2);
    const std::optional<ZoneRule> end = zoneRule(content, 6);
    if (!start || !end) return std::nullopt;
    zone.daylightStart = *start;
    zone.daylightEnd = *end;
  }
  return zone;
}

std::optional<Meeting> readMeeting(Bytes content) {
  if (content.size() < kMeetingFixedSize) return std::nullopt;
  Meeting meeting;
  meeting.status = content[0];
  meeting.showAs = content[1];
  const std::uint32_t count = *bigEndianAt(content, 2, 2);
  ByteCursor cursor(content.subspan(kMeetingFixedSize));
  for (std::uint32_t i = 0; i < count; ++i) {
    archive::Attendee attendee;
    const std::optional<std::uint8_t> role = cursor.byte();
    std::optional<std::string> name = cursor.text();
    std::optional<std::string> email = cursor.text();
    if (!role || *role > kLastRole || !name || !email) return std::nullopt;
    attendee.role = *role;
    attendee.name = std::move(*name);
    attendee.email = std::move(*email);
    meeting.attendees.push_back(std::move(attendee));
  }
  if (cursor.remaining() != 0) return std::nullopt;
  return meeting;
}

}  // namespace

std::optional<std::string> unpackCalendarEvent(Bytes bytes, archive::EventRecord& out,
                                               RecordRemarks& remarks) {
  std::size_t used = 0;
  if (std::optional<std::string> problem = unpackEventParts(bytes, true, out, used)) {
    return problem;
  }
  for (const Blob& blob : readBlobs(bytes.subspan(used), remarks)) {
    if (blob.id == kBlobZoneOrPicture) {
      out.zone = readZone(blob.content);
      remarks.badBlob = remarks.badBlob || !out.zone;
    } else if (blob.id == kBlobMeetingOrAnniversary) {
      out.meeting = readMeeting(blob.content);
      remarks.badBlob = remarks.badBlob || !out.meeting;
    }
  }
  // An untimed event is a day, in no zone.
  if (out.untimed != 0) out.zone.reset();
  return std::nullopt;
}

}  // namespace vessory::handheld
