#include "support/handheld_builder.h"

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

// `text` in a field of `size` bytes, cut to leave room for its NUL.
void putField(PdbBytes& out, std::size_t at, const std::string& text, std::size_t size) {
  const std::size_t length = std::min(text.size(), size - 1);
  std::copy_n(text.begin(), length, out.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

PdbBytes buildPdb(const PdbPlan& layout) {
  PdbBytes out(32, 0);
  putField(out, 0, layout.name, 32);
  put(out, 0x0008, 2);  // attributes: back up
  put(out, layout.version, 2);
  put(out, layout.creationTime, 4);
  put(out, layout.creationTime + 60, 4);
  put(out, 0, 4);
  put(out, 7, 4);
  const std::size_t listEnd = 78 + 8 * layout.records.size() + layout.gap;
  put(out, layout.appInfo ? listEnd : 0, 4);
  put(out, 0, 4);
  out.insert(out.end(), layout.type.begin(), layout.type.begin() + 4);
  out.insert(out.end(), layout.creator.begin(), layout.creator.begin() + 4);
  put(out, 0, 4);
  put(out, layout.nextRecordList, 4);
  put(out, layout.records.size(), 2);
  std::size_t offset = listEnd + (layout.appInfo ? layout.appInfo->size() : 0);
  for (const PdbRecordPlan& record : layout.records) {
    put(out, record.offset.value_or(static_cast<std::uint32_t>(offset)), 4);
    put(out, record.attributes, 1);
    put(out, record.uniqueId, 3);
    offset += record.data.size();
  }
  out.resize(out.size() + layout.gap, 0);
  if (layout.appInfo) out.insert(out.end(), layout.appInfo->begin(), layout.appInfo->end());
  for (const PdbRecordPlan& record : layout.records) {
    out.insert(out.end(), record.data.begin(), record.data.end());
  }
  return out;
}

PdbBytes categoryAppInfo(const std::vector<std::string>& labels, std::size_t size) {
  PdbBytes out(std::max<std::size_t>(size, 278), 0);
  for (std::size_t i = 0; i < labels.size() && i < 16; ++i) {
    putField(out, 2 + 16 * i, labels[i], 16);
    out[258 + i] = static_cast<unsigned char>(i);
  }
  out.resize(size);
  return out;
}

PdbBytes addressAppInfo(const std::vector<std::string>& categories,
                        const std::vector<std::string>& fieldLabels) {
  PdbBytes out = categoryAppInfo(categories, 638);
  out[278 + 3] = 0xFF;  // renamed-label bits
  for (std::size_t i = 0; i < fieldLabels.size() && i < 22; ++i) {
    putField(out, 282 + 16 * i, fieldLabels[i], 16);
  }
  out[634] = 23;
  return out;
}

std::uint16_t packDate(int year, int month, int day) {
  return static_cast<std::uint16_t>(((year - 1904) << 9) | (month << 5) | day);
}

PdbBytes eventRecord(const EventPlan& layout) {
  PdbBytes out;
  put(out, layout.start, 2);
  put(out, layout.end, 2);
  put(out, layout.date, 2);
  std::uint16_t flags = layout.otherFlags;
  if (layout.alarm) flags |= 0x4000;
  if (layout.repeat) flags |= 0x2000;
  if (layout.note) flags |= 0x1000;
  if (layout.exceptions) flags |= 0x0800;
  if (layout.description) flags |= 0x0400;
  put(out, flags, 2);
  if (layout.alarm) out.insert(out.end(), layout.alarm->begin(), layout.alarm->end());
  if (const std::optional<RepeatPlan>& r = layout.repeat) {
    out.insert(out.end(), {r->kind, r->pad1});
    put(out, r->end, 2);
    out.insert(out.end(), {r->frequency, r->on, r->startOfWeek, r->pad2});
  }
  if (layout.exceptions) {
    put(out, layout.exceptions->size(), 2);
    for (std::uint16_t date : *layout.exceptions) put(out, date, 2);
  }
  if (layout.description) putText(out, *layout.description);
  if (layout.note) putText(out, *layout.note);
  return out;
}

PdbBytes contactRecord(const PdbContactPlan& layout) {
  PdbBytes out;
  std::uint32_t labels = std::uint32_t{layout.displayedPhone} << 20;
  for (int i = 0; i < 5; ++i) labels |= std::uint32_t{layout.phoneLabels[i]} << (4 * i);
  std::uint32_t present = layout.extraPresence;
  for (int i = 0; i < 19; ++i) {
    if (layout.fields[i]) present |= 1u << i;
  }
  put(out, labels, 4);
  put(out, present, 4);
  // The company offset: 1 + where the company starts after this byte.
  std::size_t before = 0;
  for (int i = 0; i < 2; ++i) before += layout.fields[i] ? layout.fields[i]->size() + 1 : 0;
  put(out, layout.fields[2] ? before + 1 : 0, 1);
  for (const std::optional<std::string>& field : layout.fields) {
    if (field) putText(out, *field);
  }
  return out;
}

PdbBytes todoRecord(std::uint16_t due, std::uint8_t priority, const std::string& description,
                    const std::string& note) {
  PdbBytes out;
  put(out, due, 2);
  put(out, priority, 1);
  putText(out, description);
  putText(out, note);
  return out;
}

PdbBytes memoRecord(const std::string& text) {
  PdbBytes out;
  putText(out, text);
  return out;
}

}  // namespace vessory::testing
