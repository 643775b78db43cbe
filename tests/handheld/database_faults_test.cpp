// A database whose bytes fail to read from some offset on, as a failing disk or a file cut while
// it is read: the header or record list fails the opening, the app-info block costs only the
// names, a record is left out alone; each says the system's reason, or where the file ended.

#include <gtest/gtest.h>

#include "files/byte_source.h"
#include "handheld/handheld_database.h"
#include "support/handheld_builder.h"

namespace vessory::handheld {
namespace {

using testing::PdbBytes;

// The bytes as given, except that a read reaching past `failFrom` fails with `reason`.
class FailingBytes : public files::RandomAccessBytes {
 public:
  FailingBytes(const PdbBytes& bytes, std::size_t failFrom, std::string reason)
      : memory_(bytes), fail_from_(failFrom), reason_(std::move(reason)) {}
  std::uint64_t size() const override { return memory_.size(); }
  bool readAt(std::uint64_t offset, std::size_t length,
              std::vector<unsigned char>& into) override {
    return offset + length <= fail_from_ && memory_.readAt(offset, length, into);
  }
  std::string errorText() const override { return reason_; }

 private:
  files::MemoryBytes memory_;
  std::size_t fail_from_;
  std::string reason_;
};

TEST(DatabaseFaults, AReadThatFailsCostsOnlyWhatItReads) {
  testing::PdbPlan plan;
  plan.appInfo = testing::categoryAppInfo({"Unfiled", "Work"}, 280);
  plan.records = {{testing::eventRecord(testing::EventPlan{}), 0x40, 7, std::nullopt}};
  const PdbBytes bytes = testing::buildPdb(plan);
  const std::size_t appInfo = 78 + 8 + 2;
  for (const std::string reason : {"Input/output error", ""}) {
    const std::string said =
        reason.empty() ? "the file ended before its " + std::to_string(bytes.size()) + " bytes"
                       : reason;
    for (const std::size_t failFrom : {std::size_t{10}, std::size_t{80}}) {
      FailingBytes failing(bytes, failFrom, reason);
      std::string error;
      EXPECT_FALSE(HandheldDatabase::open(failing, error));
      EXPECT_EQ(error, said);
      EXPECT_EQ(looksLikeHandheldDatabase(failing), failFrom > 78);
    }
    FailingBytes noAppInfo(bytes, appInfo + 1, reason);
    std::string error;
    const std::optional<HandheldDatabase> named = HandheldDatabase::open(noAppInfo, error);
    ASSERT_TRUE(named) << error;
    ASSERT_EQ(named->notices().size(), 1u);
    EXPECT_EQ(named->notices()[0], "The database \"DatebookDB\" has an app-info block that cannot "
                                   "be read (" + said + "): records are read without category names.");

    FailingBytes noRecord(bytes, bytes.size() - 1, reason);
    const std::optional<HandheldDatabase> database = HandheldDatabase::open(noRecord, error);
    ASSERT_TRUE(database) << error;
    EXPECT_TRUE(database->notices().empty());
    const RecordRead<archive::EventRecord> read = database->readEvent(0);
    EXPECT_FALSE(read.record);
    EXPECT_EQ(read.leftOut, "Record 1 (unique id 7) left out: it cannot be read (" + said + ").");
    EXPECT_EQ(read.readError, reason);
  }
}

}  // namespace
}  // namespace vessory::handheld
