#ifndef VESSORY_EXPORT_HANDHELD_SOURCE_H_
#define VESSORY_EXPORT_HANDHELD_SOURCE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "files/byte_source.h"
#include "archive/event_record.h"
#include "archive/message_sink.h"
#include "export/datebook_source.h"
#include "files/export_files.h"
#include "export/record_loop.h"
#include "handheld/handheld_database.h"

namespace vessory::exporting {

// The records of one of the handheld's own databases, as the runs read them. The database reads
// each record on its own: one that cannot be read whole is left out with its message, the
// others are exported, and the ending then tells of the damage. What opening the database lost
// (its app-info block) is shown with the header. Borrows the database and the sink.
template <class Record>
class HandheldRecords : public RecordSource<Record> {
 public:
  HandheldRecords(const handheld::HandheldDatabase& database, archive::MessageSink& messages)
      : database_(database), messages_(messages) {}

  std::optional<std::int64_t> readHeader() override {
    if (!headerShown_) {
      for (const std::string& notice : database_.notices()) messages_.showMessage(notice);
      headerShown_ = true;
    }
    return database_.recordCount();
  }
  bool exhausted() const override { return false; }
  RecordRead read(std::int64_t number, Record& record) override {
    handheld::RecordRead<Record> read = readOne(number - 1);
    if (!read.readError.empty()) {
      readError_ = read.readError;
      return RecordRead::kStopped;
    }
    if (!read.record) {
      messages_.showMessage(read.leftOut);
      ++leftOut_;
      return RecordRead::kLeftOut;
    }
    record = std::move(*read.record);
    if (read.remarks.junkTail) ++junkTails_;
    if (read.remarks.badBlob) ++badBlobs_;
    return RecordRead::kWhole;
  }
  ExportOutcome stopOutcome() const override {
    return readError_.empty() ? ExportOutcome::kDamagedRecords : ExportOutcome::kCannotRead;
  }
  // What the records held besides what was read is told once, with how many records.
  ExportOutcome ending() override {
    if (junkTails_ > 0) {
      messages_.showMessage(countText(junkTails_) + " of \"" + database_.name() + "\"" +
                            (junkTails_ == 1 ? " ends" : " end") +
                            " in bytes that are no whole part (an interrupted edit on the "
                            "handheld leaves them): exported with what comes before them.");
    }
    if (badBlobs_ > 0) {
      messages_.showMessage(countText(badBlobs_) + " of \"" + database_.name() + "\"" +
                            (badBlobs_ == 1 ? " holds" : " hold") +
                            " a time zone or meeting that cannot be read: exported without it.");
    }
    if (database_.incomplete() || leftOut_ > 0) return ExportOutcome::kDamagedRecords;
    if (junkTails_ > 0 || badBlobs_ > 0) return ExportOutcome::kUnreadTails;
    return ExportOutcome::kComplete;
  }
  std::string readError() const override { return readError_; }
  std::int64_t leftOutCount() const override { return leftOut_; }

 private:
  handheld::RecordRead<Record> readOne(std::int64_t index) {
    if constexpr (std::is_same_v<Record, archive::EventRecord>) return database_.readEvent(index);
    if constexpr (std::is_same_v<Record, archive::ContactRecord>) {
      return database_.readContact(index);
    }
    if constexpr (std::is_same_v<Record, archive::TodoRecord>) return database_.readTodo(index);
    if constexpr (std::is_same_v<Record, archive::MemoRecord>) return database_.readMemo(index);
  }

  static std::string countText(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " record" : " records");
  }

  const handheld::HandheldDatabase& database_;
  archive::MessageSink& messages_;
  bool headerShown_ = false;
  std::int64_t leftOut_ = 0;
  std::int64_t junkTails_ = 0;
  std::int64_t badBlobs_ = 0;
  std::string readError_;
};

// A handheld database opened on its file: the database, and its bytes when they had to be read
// whole.
struct LoadedDatabase {
  // A source that reads only forward, read whole, and what the database reads it through.
  std::vector<unsigned char> whole;
  std::optional<files::MemoryBytes> memory;
  bool looksLikeDatabase = false;  // as handheld::looksLikeHandheldDatabase tells
  std::optional<handheld::HandheldDatabase> database;
  std::string error;      // why it could not be opened; empty when `database` is set
  std::string readError;  // why its bytes could not be read, when that is why
};

// Opens the database in `source`, which must outlive the result. A source that can read at any
// offset is read a record at a time; any other is first read whole.
std::unique_ptr<LoadedDatabase> loadDatabase(files::ByteSource& source);

// The events of a handheld date book, for the date book's runs. Opens the database when the run
// checks the tag. Times are the handheld's wall clock, held as seconds since 1970 of that
// wall time read as UTC.
class HandheldEvents : public EventSource {
 public:
  HandheldEvents(files::ByteSource& bytes, archive::MessageSink& messages)
      : bytes_(bytes), messages_(messages) {}

  bool readTag() override;
  std::string refusal(const std::string& path) const override {
    return refusal_.empty() ? std::string() : path + ": " + refusal_;
  }
  void setObserver(archive::RecordObserver* observer) override { observer_ = observer; }
  const archive::DatebookHeader& header() const override { return header_; }
  bool wallClockTimes() const override { return true; }
  std::uint32_t identity() const override {
    return static_cast<std::uint32_t>(std::stoul(loaded_->database->catalogue().identity, nullptr, 16));
  }

  std::optional<std::int64_t> readHeader() override { return records_->readHeader(); }
  bool exhausted() const override { return false; }
  RecordRead read(std::int64_t number, archive::EventRecord& record) override;
  ExportOutcome stopOutcome() const override { return records_->stopOutcome(); }
  ExportOutcome ending() override { return records_->ending(); }
  std::string readError() const override {
    if (records_) return records_->readError();
    return loaded_ ? loaded_->readError : std::string();
  }
  std::int64_t leftOutCount() const override { return records_->leftOutCount(); }

 private:
  files::ByteSource& bytes_;
  archive::MessageSink& messages_;
  archive::RecordObserver* observer_ = nullptr;
  std::unique_ptr<LoadedDatabase> loaded_;
  std::optional<HandheldRecords<archive::EventRecord>> records_;
  archive::DatebookHeader header_;
  std::string refusal_;
};

// The events of the date book at `path`, opened as `bytes`: the handheld's database when the
// file is one, else the desktop archive. Borrows `bytes` and `messages`.
std::unique_ptr<EventSource> openEventSource(files::ExportFiles& files, const std::string& path,
                                             files::ByteSource& bytes,
                                             archive::MessageSink& messages);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_HANDHELD_SOURCE_H_
