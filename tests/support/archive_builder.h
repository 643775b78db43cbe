#ifndef VESSORY_TESTS_SUPPORT_ARCHIVE_BUILDER_H_
#define VESSORY_TESTS_SUPPORT_ARCHIVE_BUILDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vessory::testing {

struct CategoryPlan {
  std::uint32_t index = 1;
  std::uint32_t id = 1;
  std::uint32_t nameDirty = 0;
  std::string longName = "Business";
  std::string shortName = "Busi";
};

struct HeaderPlan {
  std::string fileName = "C:\\Palm\\User\\datebook\\datebook.dat";
  std::string showHeader = "Datebook";
  std::uint32_t nextFreeCategoryId = 129;
  std::vector<CategoryPlan> categories;
  // Written instead of categories.size() when set (a count that lies).
  std::optional<std::uint32_t> categoryCount;
  std::uint32_t schemaResourceId = 0;
  std::uint32_t fieldsPerRow = 15;
  std::uint32_t recordIdPosition = 0;
  std::uint32_t recordStatusPosition = 1;
  std::uint32_t placementPosition = 2;
  std::uint16_t fieldCount = 15;
  std::vector<std::uint16_t> fieldEntries = {1, 1, 1, 3, 1, 5, 1, 5, 6, 6, 1, 6, 1, 1, 8};
  // Number of field entries; 15 per record.
  std::uint32_t entryCount = 0;

  static HeaderPlan forRecords(std::uint32_t records) {
    HeaderPlan layout;
    layout.entryCount = records * 15;
    return layout;
  }
};

struct RecordPlan {
  std::uint32_t recordId = 1;
  std::uint32_t status = 0;
  std::uint32_t position = 0;
  std::uint32_t startTime = 1018137600;  // 2002-04-07 00:00:00
  std::uint32_t endTime = 1018141200;
  std::string description = "Daily Journal";
  std::uint32_t duration = 3600;
  std::string note = "9:15 am: Woke up";
  std::uint32_t untimed = 0;
  std::uint32_t isPrivate = 0;
  std::uint32_t category = 0;
  std::uint32_t alarmSet = 0;
  std::uint32_t alarmAdvanceUnits = 0;
  std::uint32_t alarmAdvanceType = 0;

  // Fault injection: zero words that are not zero, and exact bytes in place of the CString
  // encoding of the description or note (stray groups, sequencing errors, odd length forms).
  std::uint32_t descriptionZeroWord = 0;
  std::uint32_t noteZeroWord = 0;
  std::optional<std::string> rawDescription;
  std::optional<std::string> rawNote;

  std::vector<std::uint32_t> exceptions;
  // Written instead of exceptions.size() when set.
  std::optional<std::uint16_t> exceptionCount;
  // 0: no repeat; 0xFFFF: class entry and repeat data; anything else: repeat data only.
  std::uint16_t repeatFlag = 0;
  std::uint16_t classConstant = 1;
  std::string className = "CDayName";
  std::uint32_t brand = 1;
  std::uint32_t interval = 1;
  std::uint32_t endDate = 0xFFFFFFFF;
  std::uint32_t firstDayOfWeek = 0;
  std::uint32_t dayIndex = 0;
  std::uint8_t daysMask = 0;
  std::uint32_t weekIndex = 0;
  std::uint32_t dayNumber = 0;
  std::uint32_t monthIndex = 0;
};

// A journal record: the given note under the given description, not repeating.
RecordPlan journalRecord(std::string note, std::uint32_t startTime = 1018137600,
                         std::string description = "Daily Journal");

// Writes date-book archives field by field, the way the handheld's desktop software lays them
// out, with hooks for every fault the reader has to cope with.
class ArchiveBuilder {
 public:
  // Primitive items.
  ArchiveBuilder& integer(int width, std::uint32_t value);
  // The short form below 255 characters, the long form (FF, Integer 2) from 255 on, and the
  // single byte 00 for empty text.
  ArchiveBuilder& cstring(std::string_view text);
  // Always the long form, whatever the length.
  ArchiveBuilder& longCString(std::string_view text);
  ArchiveBuilder& raw(std::string_view bytes);
  // FF 00 00 00 00: a group the reader skips with a notice.
  ArchiveBuilder& strayGroup();
  // FF 00 00 xx xx with xx xx not zero: the reader stops the export.
  ArchiveBuilder& sequencingError(std::uint16_t check = 1);

  // Archive structure.
  ArchiveBuilder& tag();
  ArchiveBuilder& header(const HeaderPlan& layout);
  ArchiveBuilder& record(const RecordPlan& layout);
  // Tag, header for `records.size()` records, and the records.
  ArchiveBuilder& archive(const std::vector<RecordPlan>& records, HeaderPlan layout = {});

  // The repeat field of `layout`: its type code and the block.
  void repeatBlock(const RecordPlan& layout);

  const std::string& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }
  // The first `length` bytes: an archive cut short.
  std::string truncated(std::size_t length) const { return bytes_.substr(0, length); }

 private:
  void textField(std::uint32_t zeroWord, const std::optional<std::string>& raw,
                 const std::string& text);

  std::string bytes_;
};

// Writes `bytes` to `path`; throws on failure.
void writeFile(const std::string& path, const std::string& bytes);
// The whole file, or nullopt when it cannot be read.
std::optional<std::string> readFile(const std::string& path);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_SUPPORT_ARCHIVE_BUILDER_H_
