#ifndef VESSORY_TESTS_SUPPORT_HANDHELD_BUILDER_H_
#define VESSORY_TESTS_SUPPORT_HANDHELD_BUILDER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vessory::testing {

// Writes handheld databases (.pdb) byte by byte for the tests, with every field, pad byte and
// offset under the test's control. It shares no constant with the reader, so that a wrong
// offset on either side shows.

using PdbBytes = std::vector<unsigned char>;

struct PdbRecordPlan {
  PdbBytes data;
  std::uint8_t attributes = 0x40;
  std::uint32_t uniqueId = 1;
  // Written instead of the record's real offset when set.
  std::optional<std::uint32_t> offset;
};

struct PdbPlan {
  std::string name = "DatebookDB";
  std::string type = "DATA";
  std::string creator = "date";
  std::uint32_t creationTime = 0xDC52D18E;
  std::uint32_t nextRecordList = 0;
  // 1 for the later handhelds' databases.
  std::uint16_t version = 0;
  // None: an app-info offset of 0.
  std::optional<PdbBytes> appInfo;
  std::vector<PdbRecordPlan> records;
  // Bytes between the record list and the first block; 2 in every real file.
  std::size_t gap = 2;
};

PdbBytes buildPdb(const PdbPlan& layout);

// An app-info block of `size` bytes with category labels 0, 1, ... (each cut to 15 bytes).
PdbBytes categoryAppInfo(const std::vector<std::string>& labels, std::size_t size);
// The address book's 638-byte app-info: categories and the 22 field labels.
PdbBytes addressAppInfo(const std::vector<std::string>& categories,
                        const std::vector<std::string>& fieldLabels);

std::uint16_t packDate(int year, int month, int day);

struct RepeatPlan {
  std::uint8_t kind = 1;
  std::uint16_t end = 0xFFFF;
  std::uint8_t frequency = 1;
  std::uint8_t on = 0;
  std::uint8_t startOfWeek = 0;
  std::uint8_t pad1 = 0;
  std::uint8_t pad2 = 0;
};

struct EventPlan {
  // FF FF in both for an untimed event.
  std::uint16_t start = 0x0900;
  std::uint16_t end = 0x0A00;
  std::uint16_t date = packDate(2021, 2, 20);
  // Or-ed into the flags: the junk real files carry in the low bits.
  std::uint16_t otherFlags = 0;
  std::optional<std::array<std::uint8_t, 2>> alarm;  // advance byte, unit
  std::optional<RepeatPlan> repeat;
  std::optional<std::vector<std::uint16_t>> exceptions;
  std::optional<std::string> description = "Meeting";
  std::optional<std::string> note;
};

PdbBytes eventRecord(const EventPlan& layout);

struct PdbContactPlan {
  std::array<std::uint8_t, 5> phoneLabels = {0, 1, 2, 3, 4};
  std::uint8_t displayedPhone = 0;
  // Field i stored when set; bit i of the presence word follows.
  std::array<std::optional<std::string>, 19> fields;
  // Or-ed into the presence word (bits that promise texts the record may not hold).
  std::uint32_t extraPresence = 0;
};

PdbBytes contactRecord(const PdbContactPlan& layout);
PdbBytes todoRecord(std::uint16_t due, std::uint8_t priority, const std::string& description,
                    const std::string& note);
PdbBytes memoRecord(const std::string& text);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_SUPPORT_HANDHELD_BUILDER_H_
