#include "window_model/record_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vessory::window_model {
namespace {

struct GatherCase {
  const char* name;
  std::vector<std::string> messages;
  std::vector<std::string> passed;  // the messages not held
  std::string box;                  // what take() gives after them
};

// One table for the whole rule: which texts are a record's, how a kind is told (values
// aside), one line per kind with its first message whole and the records after it named, how
// many records each kind names, and the order of kinds as first met.
TEST(RecordMessages, HoldsRecordMessagesAndCountsThemByKind) {
  const std::string due = "Record 1 (unique id 10) left out: its due date EBA1 names no day.";
  const std::vector<GatherCase> cases = {
      {"other texts pass",
       {"All Done!", "Recorded 3", "Record x left out"},
       {"All Done!", "Recorded 3", "Record x left out"},
       ""},
      {"one record", {due}, {}, "1 message on single records, by kind:\r\n" + due + "\r\n"},
      {"values aside, the first three named",
       {due, "Record 2 (unique id 11) left out: its due date 0D2F names no day.",
        "Record 3 (unique id 12) left out: its description lacks its closing NUL.",
        "Record 4 (unique id 13) left out: its due date FD21 names no day.",
        "Record 5 (unique id 14) left out: its due date 1D21 names no day."},
       {},
       "5 messages on single records, by kind:\r\n" + due +
           " Likewise Record 2 (unique id 11); Record 4 (unique id 13); and 1 more.\r\n"
           "Record 3 (unique id 12) left out: its description lacks its closing NUL.\r\n"},
      {"a field's place and an event's description",
       {"Record 7, field 3 (Name): the word before the text is 9, not 0",
        "Record 8 (\"Lunch: (team)\"): unknown repeat (kind 9); written as a single event"},
       {},
       "2 messages on single records, by kind:\r\n"
       "Record 7, field 3 (Name): the word before the text is 9, not 0\r\n"
       "Record 8 (\"Lunch: (team)\"): unknown repeat (kind 9); written as a single event\r\n"},
      {"a field's place after the record's id",
       {"Record 2 (id 7340034), field 5 (city): the archive ends here, 3 records were announced",
        "Record 3 (id 7340035), field 2 (first name): the archive ends here, 4 records were "
        "announced"},
       {},
       "2 messages on single records, by kind:\r\n"
       "Record 2 (id 7340034), field 5 (city): the archive ends here, 3 records were announced. "
       "Likewise Record 3 (id 7340035), field 2 (first name).\r\n"},
  };
  for (const GatherCase& c : cases) {
    SCOPED_TRACE(c.name);
    RecordMessages held;
    std::vector<std::string> passed;
    for (const std::string& text : c.messages) {
      if (!held.hold(text)) passed.push_back(text);
    }
    EXPECT_EQ(passed, c.passed);
    EXPECT_EQ(held.empty(), c.box.empty());
    EXPECT_EQ(held.take(), c.box);
    EXPECT_TRUE(held.empty());
  }
}

TEST(RecordMessages, TheRunsOwnMessageComesBelowWhatWasHeld) {
  RecordMessages held;
  EXPECT_EQ(held.above("All Done!"), "All Done!");
  ASSERT_TRUE(
      held.hold("Record 2 (unique id 5) left out: it is shorter than a task's fixed 6 bytes."));
  EXPECT_EQ(held.above("1 unreadable (see the messages above)"),
            "1 message on single records, by kind:\r\n"
            "Record 2 (unique id 5) left out: it is shorter than a task's fixed 6 bytes.\r\n"
            "\r\n1 unreadable (see the messages above)");
  EXPECT_TRUE(held.empty());
}

}  // namespace
}  // namespace vessory::window_model
