// The record ids a desktop file's or a handheld database's export writes, which are held against
// each other: every record read whole, the deleted ones only when they are exported; none for a
// file that is not read to its records.

#include "export/record_overlap.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "export/input_kind.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
#include "support/handheld_builder.h"
#include "support/later_desktop_builder.h"

namespace vessory::testing {
namespace {

template <class Plan>
Plan withId(std::uint32_t id, bool deleted) {
  Plan plan;
  plan.recordId = id;
  plan.status = deleted ? 0x04 : 0;
  return plan;
}

TEST(RecordOverlapTest, TheIdsAreThoseTheExportWrites) {
  RecordPlan event = journalRecord("9:00: one");
  event.recordId = 11;
  RecordPlan gone = journalRecord("9:00: two");
  gone.recordId = 12;
  gone.status = 0x04;
  const std::string datebook = ArchiveBuilder().archive({event, gone}).bytes();
  const std::string addressBook =
      buildAddressArchive({}, {withId<ContactPlan>(5, true), withId<ContactPlan>(6, false)});
  const LaterPlan later = laterTodoPlan();
  // The handheld's: a to-do list with a deleted record and one left out, an address book.
  const auto pdb = [](const char* name, const char* creator, const PdbBytes& appInfo,
                      std::vector<PdbRecordPlan> records) {
    PdbPlan plan;
    plan.name = name;
    plan.creator = creator;
    plan.appInfo = appInfo;
    plan.records = std::move(records);
    const PdbBytes bytes = buildPdb(plan);
    return std::string(bytes.begin(), bytes.end());
  };
  const PdbBytes task = todoRecord(0xFFFF, 1, "task", "");
  const std::string todos = pdb("ToDoDB", "todo", categoryAppInfo({"Unfiled"}, 282),
                                {{task, 0x40, 3, {}}, {{0x00}, 0x40, 5, {}}, {task, 0xC0, 4, {}}});
  const std::string addresses =
      pdb("AddressDB", "addr", addressAppInfo({"Unfiled"}, {}), {{contactRecord({}), 0x40, 6, {}}});
  const struct {
    const char* name;
    std::string bytes;
    std::optional<std::vector<std::int64_t>> ids, withDeleted;
  } rows[] = {
      {"date book", datebook, {{11}}, {{11, 12}}},
      {"date book cut in its second record", datebook.substr(0, datebook.size() - 2), {{11}},
       {{11}}},
      {"address book", addressBook, {{6}}, {{5, 6}}},
      {"address book cut in its header", addressBook.substr(0, 40), std::nullopt, std::nullopt},
      {"later to-do list",
       buildLaterFile(later, {laterTodo(withId<LaterTodoPlan>(7, false), later),
                              laterTodo(withId<LaterTodoPlan>(8, true), later)}),
       {{7}}, {{7, 8}}},
      {"desktop to-do list",
       buildTodoArchive({}, {withId<TodoPlan>(9, false), withId<TodoPlan>(10, true)}), {{9}},
       {{9, 10}}},
      {"handheld to-do list", todos, {{3}}, {{3, 4}}},
      {"handheld address book", addresses, {{6}}, {{6}}},
      {"no archive", "not an archive", std::nullopt, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryFiles files;
    exporting::FoundArchive found;
    found.path = "/p/file.dat";
    files.archives[found.path] = row.bytes;
    found.input = exporting::identifyInput(files, found.path);
    EXPECT_EQ(exporting::exportedRecordIds(files, found, false), row.ids);
    EXPECT_EQ(exporting::exportedRecordIds(files, found, true), row.withDeleted);
  }
}

}  // namespace
}  // namespace vessory::testing
