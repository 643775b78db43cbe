#ifndef VESSORY_TESTS_SUPPORT_ORGANISER_BUILDER_H_
#define VESSORY_TESTS_SUPPORT_ORGANISER_BUILDER_H_

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/archive_builder.h"

namespace vessory::testing {

// Writes address book, to-do list and memo pad archives the way the desktop software lays them
// out, with hooks for every fault their reader has to cope with. Used by the tests, the sample
// generator and the benchmarks. Strings of 255 bytes and more take the long form (FF, Integer 2).

// The header, schema and what surrounds the records.
struct OrganiserArchivePlan {
  // Empty: the kind's usual path (C:\Palm\User\address\address.dat and so on).
  std::string fileName;
  std::string tableString;
  std::uint32_t nextFreeCategoryId = 129;
  std::vector<CategoryPlan> categories;
  // Written instead of categories.size() when set.
  std::optional<std::uint32_t> categoryCount;
  std::uint32_t resourceId = 0;
  std::array<std::uint32_t, 3> positions = {0, 1, 2};
  // Schema faults: written instead of the kind's own values when set. The field count follows
  // fieldTypes unless set itself.
  std::optional<std::uint32_t> fieldsPerRow;
  std::optional<std::uint16_t> fieldCount;
  std::optional<std::vector<std::uint16_t>> fieldTypes;
  // Written instead of records × fields per row when set.
  std::optional<std::uint32_t> entryCount;
  // The wrapper of newer desktop versions before the tag.
  bool wrapped = false;
  std::string wrapperName = "PalmSG Database";
  std::string wrapperRevision = "00RV";
  // Four bytes written instead of the kind's tag (the later to-do tag, say).
  std::optional<std::string> tag;
  // Bytes after the last record.
  std::string trailing;
};

// Faults inside one record, by column (0 is the record id).
struct FieldFaults {
  // A type code written instead of the column's own; the value follows as usual.
  std::map<int, std::uint32_t> typeCodes;
  // Exact bytes written after the type code instead of the value.
  std::map<int, std::string> rawValues;
  // A non-zero word before a string's CString.
  std::map<int, std::uint32_t> zeroWords;
};

struct OrganiserRecordPlan {
  std::uint32_t recordId = 1;
  std::uint32_t status = 0;
  std::uint32_t placement = 0x7FFFFFFF;
  std::uint32_t isPrivate = 0;
  std::uint32_t category = 0;
  FieldFaults faults;
};

struct ContactPlan : OrganiserRecordPlan {
  std::string lastName;
  std::string firstName;
  std::string title;
  std::string company;
  // (label code, number) five times.
  std::array<std::pair<std::uint32_t, std::string>, 5> phones = {
      {{0, ""}, {1, ""}, {2, ""}, {3, ""}, {4, ""}}};
  std::string address;
  std::string city;
  std::string state;
  std::string zipCode;
  std::string country;
  std::string note;
  std::array<std::string, 4> custom;
  std::uint32_t displayedPhone = 0;
};

// 2031-12-31 23:59:59 UTC: where the desktop puts a to-do without a due date.
inline constexpr std::uint32_t kNoDueDate = 1956527999;

struct TodoPlan : OrganiserRecordPlan {
  std::string description;
  std::uint32_t dueDate = kNoDueDate;
  std::uint32_t completed = 0;
  std::uint32_t priority = 1;
  std::string note;
};

struct MemoPlan : OrganiserRecordPlan {
  std::string text;
};

std::string buildAddressArchive(const OrganiserArchivePlan& archive,
                                const std::vector<ContactPlan>& records);
std::string buildTodoArchive(const OrganiserArchivePlan& archive,
                             const std::vector<TodoPlan>& records);
std::string buildMemoArchive(const OrganiserArchivePlan& archive,
                             const std::vector<MemoPlan>& records);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_SUPPORT_ORGANISER_BUILDER_H_
