#ifndef VESSORY_TESTS_SUPPORT_LATER_DESKTOP_BUILDER_H_
#define VESSORY_TESTS_SUPPORT_LATER_DESKTOP_BUILDER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/archive_builder.h"
#include "support/organiser_builder.h"

namespace vessory::testing {

// Writes files of the later desktop layout (versions 4.1.4 to 4.2): the wrapper, the later
// header and records column by column, with hooks for every fault their reader checks. Used by
// the tests, the benchmarks and the fuzz corpus. The date book's and to-do list's records are
// written from the same recordPlans as the classic files, so that a test can hold the two layouts'
// exports against each other.

// One field: its type code and the bytes of its value.
struct LaterField {
  std::uint32_t code = 1;
  std::string value;
};
using LaterRecord = std::vector<LaterField>;

struct LaterPlan {
  std::string tag{
      "\x00\x02"
      "BD",
      4};
  bool wrapped = true;
  std::string fileName = "C:\\Program Files\\palmOne\\User\\datebook\\datebook.dat";
  // The three zero runs (12, 8 and 43 bytes), written as given.
  std::array<std::string, 3> zeroRuns = {std::string(12, '\0'), std::string(8, '\0'),
                                         std::string(43, '\0')};
  std::vector<CategoryPlan> categories;
  std::optional<std::uint32_t> categoryCount;
  std::uint32_t resourceId = 43;
  // Record id, status and placement columns, counted from 0.
  std::array<std::uint32_t, 3> positions = {0, 2, 4};
  std::vector<std::uint16_t> fieldTypes;
  // Written instead of the field types' count when set.
  std::optional<std::uint32_t> fieldsPerRow;
  std::optional<std::uint16_t> fieldCount;
  std::optional<std::uint32_t> entryCount;
  std::string trailing;
};

// The schemas of the files described: 27 columns for the date book, 25 for the to-do list.
std::vector<std::uint16_t> laterDatebookTypes();
std::vector<std::uint16_t> laterTodoTypes();
LaterPlan laterDatebookPlan();
LaterPlan laterTodoPlan();

// Field values.
LaterField laterInteger(std::uint32_t value, std::uint32_t code = 1);
LaterField laterText(const std::string& text, std::uint32_t zeroWord = 0);
// The repeat block of `record`, as the classic builder writes it.
LaterField laterRepeat(const RecordPlan& record);

// The later record of a classic date-book record, with a location, in the columns of `plan`
// (the record id, status and placement where its positions say; 0 in the other columns of
// unknown meaning, of whatever type the schema gives them).
LaterRecord laterEvent(const RecordPlan& record, const std::string& location,
                       const LaterPlan& plan);

// A later to-do: the classic fields and the later ones.
struct LaterTodoPlan : TodoPlan {
  std::uint32_t repeatAfterCompletion = 0;
  std::uint32_t completionDate = kNoDueDate;
  std::uint32_t alarmSet = 0;
  std::uint32_t alarmTime = 0xFFFFFFFF;
  std::uint32_t alarmDaysBefore = 0xFFFFFFFF;
  // Written when repeatFlag is not 0 (see RecordPlan).
  RecordPlan repeat;
};
LaterRecord laterTodo(const LaterTodoPlan& record, const LaterPlan& plan);

// The whole file: wrapper, tag, header for `records.size()` records, the records, the trailing
// bytes.
std::string buildLaterFile(const LaterPlan& plan, const std::vector<LaterRecord>& records);

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_SUPPORT_LATER_DESKTOP_BUILDER_H_
