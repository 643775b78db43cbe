// Cut and corrupted address, to-do and memo archives: whatever the damage, the reader stops
// cleanly and the records before the damage read exactly as in the whole archive.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "organiser_fixtures.h"

namespace vessory::testing {
namespace {

// Cuts and flips: the records before the damage read exactly as in the whole archive, and
// nothing crashes or runs on.
template <typename Record, typename Plan>
void checkDamage(
    const std::function<std::string(const OrganiserArchivePlan&, const std::vector<Plan>&)>& build,
    std::vector<Plan> plans, std::function<bool(const Record&, const Record&)> same) {
  OrganiserArchivePlan plan;
  plan.entryCount =
      static_cast<std::uint32_t>(plans.size() * (kindOf<Record>() == RecordKind::kAddress ? 30
                                                 : kindOf<Record>() == RecordKind::kTodo  ? 10
                                                                                          : 6));
  std::vector<std::size_t> ends;  // where each record ends
  for (std::size_t k = 0; k <= plans.size(); ++k) {
    ends.push_back(build(plan, std::vector<Plan>(plans.begin(), plans.begin() + k)).size());
  }
  const std::string bytes = build(plan, plans);
  const ReadResult<Record> whole = readAll<Record>(bytes);
  ASSERT_EQ(whole.records.size(), plans.size());
  auto wholeBefore = [&](std::size_t offset) {
    std::size_t n = 0;
    while (n < plans.size() && ends[n + 1] <= offset) ++n;
    return n;
  };
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    ReadResult<Record> cut = readAll<Record>(bytes.substr(0, length), length % 3);
    const std::size_t expected = length < ends[0] ? 0 : wholeBefore(length);
    ASSERT_EQ(cut.records.size(), expected) << length;
    if (length >= ends[0]) {
      EXPECT_EQ(cut.last, RecordOutcome::kCutShort) << length;
    } else {
      EXPECT_NE(cut.header, HeaderOutcome::kOk) << length;
    }
    for (std::size_t i = 0; i < expected; ++i) EXPECT_TRUE(same(cut.records[i], whole.records[i]));
  }
  for (std::size_t at = 0; at < bytes.size(); ++at) {
    for (int mask : {0xFF, 0x01, 0x80}) {
      std::string flipped = bytes;
      flipped[at] = static_cast<char>(flipped[at] ^ mask);
      ReadResult<Record> read = readAll<Record>(flipped);
      if (at < ends[0]) continue;  // a header flip may change anything that follows
      const std::size_t intact = wholeBefore(at);
      ASSERT_GE(read.records.size(), intact) << at;
      for (std::size_t i = 0; i < intact; ++i) EXPECT_TRUE(same(read.records[i], whole.records[i]));
    }
  }
}

TEST(OrganiserArchiveDamageTest, CutsAndFlipsKeepTheRecordsBeforeThem) {
  checkDamage<ContactRecord, ContactPlan>(
      buildAddressArchive, {fullContact(1), fullContact(2)},
      [](const ContactRecord& a, const ContactRecord& b) {
        return a.recordId == b.recordId && a.lastName == b.lastName && a.custom == b.custom &&
               a.phones[2].value == b.phones[2].value && a.category == b.category;
      });
  checkDamage<TodoRecord, TodoPlan>(buildTodoArchive, someTodos(),
                                    [](const TodoRecord& a, const TodoRecord& b) {
                                      return a.recordId == b.recordId && a.note == b.note &&
                                             a.dueMoment == b.dueMoment && a.priority == b.priority;
                                    });
  checkDamage<MemoRecord, MemoPlan>(
      buildMemoArchive, someMemos(), [](const MemoRecord& a, const MemoRecord& b) {
        return a.recordId == b.recordId && a.text == b.text && a.category == b.category;
      });
}

}  // namespace
}  // namespace vessory::testing
