// The record ids a desktop file's export writes, which the handheld's are held against: every
// record read whole, the deleted ones only when they are exported; none for a file that is not
// read to its records.

#include "export/record_overlap.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "export/input_kind.h"
#include "support/archive_builder.h"
#include "support/fake_export.h"
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
  const LaterPlan later = laterTodoPlan();
  const struct {
    const char* name;
    std::string bytes;
    std::optional<std::vector<std::int64_t>> ids, withDeleted;
  } rows[] = {
      {"date book", datebook, {{11}}, {{11, 12}}},
      {"date book cut in its second record", datebook.substr(0, datebook.size() - 2), {{11}},
       {{11}}},
      {"address book",
       buildAddressArchive({}, {withId<ContactPlan>(5, true), withId<ContactPlan>(6, false)}),
       {{6}}, {{5, 6}}},
      {"later to-do list",
       buildLaterFile(later, {laterTodo(withId<LaterTodoPlan>(7, false), later),
                              laterTodo(withId<LaterTodoPlan>(8, true), later)}),
       {{7}}, {{7, 8}}},
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
