// The real later databases in tests/data/later (see its NOTICE): the blanks' app-info, and every
// field of the Tasks records, with the offsets read from the files' own bytes.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <tuple>

#include "handheld/handheld_database.h"

namespace vessory::handheld {
namespace {

using archive::CalendarDate;
using archive::RecordKind;

std::vector<unsigned char> loadLater(const std::string& name) {
  std::ifstream in(std::string(VESSORY_LATER_SAMPLES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using Categories = std::vector<std::pair<std::int64_t, std::string>>;

TEST(LaterSamples, BlanksAreRecognisedWithTheirCategories) {
  const Categories three = {{0, "Unfiled"}, {1, "Business"}, {2, "Personal"}};
  Categories contacts = three;
  contacts.emplace_back(3, "QuickList");
  const struct {
    const char* file;
    RecordKind kind;
    Categories categories;
  } cases[] = {{"CalendarDB-PDat.pdb", RecordKind::kDatebook, three},
               {"ContactsDB-PAdd.pdb", RecordKind::kAddress, contacts},
               {"TasksDB-PTod.pdb", RecordKind::kTodo, three},
               {"MemosDB-PMem.pdb", RecordKind::kMemo, three}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::vector<unsigned char> bytes = loadLater(c.file);
    std::string error;
    const std::optional<HandheldDatabase> database = HandheldDatabase::open(bytes, error);
    ASSERT_TRUE(database) << error;
    EXPECT_EQ(database->kind(), c.kind);
    EXPECT_TRUE(database->later());
    EXPECT_EQ(database->recordCount(), 0);
    EXPECT_FALSE(database->incomplete());
    EXPECT_EQ(database->catalogue().categories, c.categories);
  }
}

// The blank's custom labels 14-22 (at 304 + 16 * 14 on) read "Custom 1" to "Custom 9".
TEST(LaterSamples, ContactsBlankCustomLabels) {
  const std::vector<unsigned char> bytes = loadLater("ContactsDB-PAdd.pdb");
  std::string error;
  const std::optional<HandheldDatabase> database = HandheldDatabase::open(bytes, error);
  ASSERT_TRUE(database) << error;
  for (int i = 0; i < archive::kMaxCustomFieldCount; ++i) {
    EXPECT_EQ(database->catalogue().customLabels[i], "Custom " + std::to_string(i + 1));
  }
}

struct TaskRow {
  std::uint32_t uniqueId;
  std::int64_t category;
  std::int64_t priority;
  std::optional<CalendarDate> due;
  std::optional<archive::TodoRecord::Alarm> alarm;
  std::int64_t repeatKind;  // 0 none
  std::int64_t interval;
  int daysMask;
  std::int64_t repeatEnd;  // seconds of the end day's midnight, -1 forever
  const char* description;
  const char* note;
};

// TasksDB-PTod-psd.pdb, records at 412, 454, 497 and 534 (the list at 78, app-info at 112):
//   412: BC00 0000 0002 F129 | 10 2D 0005 | F129 01 00 F12F 01 00 00 00 | "Test task" "Test note"
//   454: 9800 0000 0005 F15D | F15D 02 00 FFFF 02 04 00 00 | "Repeat every other week" ""
//   497: 9800 0000 0005 F15D | F15D 02 00 FFFF 01 04 00 00 | "Repeat every week" ""
//   534: 0800 0000 0001 | "Just a header" ""
// Unique ids 4CC05E 4CC10F 4CC110 4CC10E; the last in category 2.
TEST(LaterSamples, TasksRecordsEveryField) {
  const std::vector<unsigned char> bytes = loadLater("TasksDB-PTod-psd.pdb");
  std::string error;
  const std::optional<HandheldDatabase> database = HandheldDatabase::open(bytes, error);
  ASSERT_TRUE(database) << error;
  const archive::TodoRecord::Alarm alarm{16, 45, 5};
  const TaskRow rows[] = {
      {0x4CC05E, 0, 2, CalendarDate{2024, 9, 9}, alarm, 1, 1, 0, 1726358400, "Test task",
       "Test note"},
      {0x4CC10F, 0, 5, CalendarDate{2024, 10, 29}, std::nullopt, 2, 2, 0x04, -1,
       "Repeat every other week", ""},
      {0x4CC110, 0, 5, CalendarDate{2024, 10, 29}, std::nullopt, 2, 1, 0x04, -1,
       "Repeat every week", ""},
      {0x4CC10E, 2, 1, std::nullopt, std::nullopt, 0, 0, 0, 0, "Just a header", ""},
  };
  ASSERT_EQ(database->recordCount(), 4);
  for (std::int64_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const TaskRow& row = rows[i];
    const RecordRead<archive::TodoRecord> read = database->readTodo(i);
    ASSERT_TRUE(read.record) << read.leftOut;
    const archive::TodoRecord& t = *read.record;
    EXPECT_FALSE(read.remarks.junkTail);
    EXPECT_EQ(t.recordId, row.uniqueId);
    EXPECT_EQ(t.category, row.category);
    EXPECT_EQ(t.priority, row.priority);
    EXPECT_FALSE(t.completed);
    EXPECT_FALSE(t.completionDate);
    ASSERT_EQ(t.dueDate.has_value(), row.due.has_value());
    if (row.due) {
      EXPECT_EQ(std::tie(t.dueDate->year, t.dueDate->month, t.dueDate->day),
                std::tie(row.due->year, row.due->month, row.due->day));
    }
    ASSERT_EQ(t.alarm.has_value(), row.alarm.has_value());
    if (row.alarm) {
      EXPECT_EQ(std::tie(t.alarm->hour, t.alarm->minute, t.alarm->daysBefore),
                std::tie(row.alarm->hour, row.alarm->minute, row.alarm->daysBefore));
    }
    EXPECT_EQ(t.repeat.brand, row.repeatKind);
    if (row.repeatKind != 0) {
      ASSERT_TRUE(t.repeatStart);
      EXPECT_EQ(t.repeatStart->day, row.due->day);  // the samples start on the due day
      EXPECT_EQ(t.repeat.interval, row.interval);
      EXPECT_EQ(t.repeat.brandDaysMask, row.daysMask);
      EXPECT_EQ(t.repeat.endDate, row.repeatEnd);
    }
    EXPECT_EQ(t.description, row.description);
    EXPECT_EQ(t.note, row.note);
  }
}

// The classic To Do database the same device kept holds the same items under the same ids.
TEST(LaterSamples, ClassicMirrorSharesTheUniqueIds) {
  const std::vector<unsigned char> later = loadLater("TasksDB-PTod-psd.pdb");
  const std::vector<unsigned char> classic = loadLater("ToDoDB-psd.pdb");
  std::string error;
  const std::optional<HandheldDatabase> a = HandheldDatabase::open(later, error);
  const std::optional<HandheldDatabase> b = HandheldDatabase::open(classic, error);
  ASSERT_TRUE(a && b) << error;
  EXPECT_FALSE(b->later());
  std::vector<std::uint32_t> laterIds = a->uniqueIds();
  std::vector<std::uint32_t> classicIds = b->uniqueIds();
  std::sort(laterIds.begin(), laterIds.end());
  std::sort(classicIds.begin(), classicIds.end());
  EXPECT_EQ(laterIds, classicIds);
}

}  // namespace
}  // namespace vessory::handheld
