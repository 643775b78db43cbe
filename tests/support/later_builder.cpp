#include "support/later_builder.h"

#include <algorithm>

namespace vessory::testing {

namespace {

void put(PdbBytes& out, std::uint64_t value, int width) {
  for (int shift = (width - 1) * 8; shift >= 0; shift -= 8) {
    out.push_back(static_cast<unsigned char>(value >> shift));
  }
}

void putText(PdbBytes& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

void append(PdbBytes& out, const PdbBytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}

void putRepeat(PdbBytes& out, const RepeatPlan& r) {
  out.insert(out.end(), {r.kind, r.pad1});
  put(out, r.end, 2);
  out.insert(out.end(), {r.frequency, r.on, r.startOfWeek, r.pad2});
}

}  // namespace

PdbPlan laterPdb(const std::string& creator, std::vector<PdbRecordPlan> records,
                 std::optional<PdbBytes> appInfo) {
  PdbPlan plan;
  plan.creator = creator;
  plan.version = 1;
  std::size_t size = 300;
  if (creator == "PDat") {
    plan.name = "CalendarDB-PDat";
    size = 298;
  } else if (creator == "PAdd") {
    plan.name = "ContactsDB-PAdd";
  } else if (creator == "PTod") {
    plan.name = "TasksDB-PTod";
  } else {
    plan.name = "MemosDB-PMem";
  }
  if (appInfo) {
    plan.appInfo = std::move(appInfo);
  } else if (creator == "PAdd") {
    plan.appInfo = contactsAppInfo({"Unfiled", "Business", "Personal"}, {});
  } else {
    plan.appInfo = categoryAppInfo({"Unfiled", "Business", "Personal"}, size);
  }
  plan.records = std::move(records);
  return plan;
}

PdbBytes contactsAppInfo(const std::vector<std::string>& categories,
                         const std::vector<std::string>& labels, std::size_t size) {
  PdbBytes out = categoryAppInfo(categories, size);
  for (std::size_t i = 0; i < labels.size() && 304 + 16 * (i + 1) <= size; ++i) {
    std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(304 + 16 * i), 16, 0);
    std::copy_n(labels[i].begin(), std::min<std::size_t>(labels[i].size(), 15),
                out.begin() + static_cast<std::ptrdiff_t>(304 + 16 * i));
  }
  return out;
}

PdbBytes blob(const std::string& id, const PdbBytes& content) {
  PdbBytes out(id.begin(), id.end());
  put(out, content.size(), 2);
  append(out, content);
  return out;
}

PdbBytes zoneBlob(const ZonePlan& zone) {
  PdbBytes out;
  put(out, static_cast<std::uint16_t>(zone.offset), 2);
  out.insert(out.end(), zone.start.begin(), zone.start.end());
  out.insert(out.end(), zone.end.begin(), zone.end.end());
  put(out, static_cast<std::uint16_t>(zone.adjustment), 2);
  out.insert(out.end(), {23, 0x80});
  putText(out, zone.name);
  return blob("Bd00", out);
}

PdbBytes meetingBlob(std::uint8_t status, std::uint8_t showAs,
                     const std::vector<AttendeePlan>& attendees) {
  PdbBytes out{status, showAs};
  put(out, attendees.size(), 2);
  for (const AttendeePlan& a : attendees) {
    out.push_back(a.role);
    putText(out, a.name);
    putText(out, a.email);
  }
  return blob("Bd01", out);
}

PdbBytes calendarRecord(const EventPlan& event, const std::optional<std::string>& location,
                        const PdbBytes& tail) {
  PdbBytes out = eventRecord(event);
  if (location) {
    out[6] |= 0x02;
    putText(out, *location);
  }
  append(out, tail);
  return out;
}

PdbBytes laterContactRecord(const LaterContactPlan& layout) {
  PdbBytes out;
  std::uint32_t phones = 0;
  for (int i = 0; i < 7; ++i) phones |= std::uint32_t{layout.phoneLabels[i]} << (4 * i);
  put(out, phones, 4);
  std::uint32_t addresses = layout.addressReserved;
  for (int i = 0; i < 3; ++i) addresses |= std::uint32_t{layout.addressLabels[i]} << (4 * i);
  put(out, addresses, 2);
  put(out, layout.imReserved | layout.imLabels[0] | layout.imLabels[1] << 4, 2);
  std::uint64_t present = 0;
  for (int i = 0; i < 39; ++i) {
    if (layout.fields[i]) present |= std::uint64_t{1} << i;
  }
  std::uint32_t wordTwo = static_cast<std::uint32_t>(present >> 28);
  if (layout.birthday) wordTwo |= 1u << 11;
  if (layout.birthdayFlags) wordTwo |= 1u << 12;
  if (layout.reminderDays) wordTwo |= 1u << 13;
  put(out, present & 0x0FFFFFFF, 4);
  put(out, wordTwo, 4);
  put(out, layout.companyOffset, 1);
  for (const std::optional<std::string>& field : layout.fields) {
    if (field) putText(out, *field);
  }
  if (layout.birthday) put(out, *layout.birthday, 2);
  if (layout.birthdayFlags) put(out, *layout.birthdayFlags, 2);
  if (layout.reminderDays) put(out, *layout.reminderDays, 1);
  append(out, layout.tail);
  return out;
}

PdbBytes taskRecord(const TaskPlan& layout) {
  PdbBytes out;
  std::uint16_t data = 0;
  if (layout.due) data |= 0x8000;
  if (layout.completion) data |= 0x4000;
  if (layout.alarm) data |= 0x2000;
  if (layout.repeat) data |= 0x1000;
  if (!layout.description.empty()) data |= 0x0800;
  if (!layout.note.empty()) data |= 0x0400;
  put(out, data, 2);
  put(out, layout.recordFlags, 2);
  put(out, layout.priority, 2);
  if (layout.due) put(out, *layout.due, 2);
  if (layout.completion) put(out, *layout.completion, 2);
  if (layout.alarm) out.insert(out.end(), layout.alarm->begin(), layout.alarm->end());
  if (layout.repeat) {
    put(out, layout.repeatStart.value_or(0xFFFF), 2);
    putRepeat(out, *layout.repeat);
  }
  putText(out, layout.description);
  putText(out, layout.note);
  append(out, layout.tail);
  return out;
}

}  // namespace vessory::testing
