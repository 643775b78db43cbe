#ifndef VESSORY_EXPORT_DATEBOOK_SOURCE_H_
#define VESSORY_EXPORT_DATEBOOK_SOURCE_H_

#include <cstdint>
#include <optional>
#include <string>

#include "archive/archive_header.h"
#include "archive/archive_reader.h"
#include "files/byte_source.h"
#include "archive/event_record.h"
#include "archive/later_archive.h"
#include "archive/organiser_archive.h"
#include "archive/message_sink.h"
#include "export/export_view.h"
#include "export/record_loop.h"

namespace vessory::exporting {

// The event records of a date book, whichever container holds them, as the date book's runs
// read them: the runs also need to check the kind, to see each record as it is read, and the
// header's category names.
class EventSource : public RecordSource<archive::EventRecord> {
 public:
  // Checks that the container holds a date book; false otherwise, with refusal() saying what
  // it holds instead (or why its layout is not read) where there is more to say than that it
  // is no date book.
  virtual bool readTag() = 0;
  // The whole message for the file at `path`, or empty.
  virtual std::string refusal(const std::string& path) const {
    (void)path;
    return {};
  }
  // Shown the start time and description of each record as they are read; null for none.
  virtual void setObserver(archive::RecordObserver* observer) = 0;
  // The header's category names, once the header is read.
  virtual const archive::DatebookHeader& header() const = 0;
  // True when the times are the wall clock the user saw (a handheld database), so that no zone
  // and, unless asked for, no hours bias applies; false for the desktop's seconds since 1970.
  virtual bool wallClockTimes() const { return false; }
  // What tells this date book's events from another's in UIDs, once the header is read.
  virtual std::uint32_t identity() const = 0;
};

// The one message of a run whose archive holds no date book: the desktop's own wording, or what
// the source found instead.
std::string notDatebookMessage(const std::string& path, const EventSource& source);
// Shows why a date book run stops at the tag and says how it ended: with the system's reason
// when the file could not be read (kCannotRead), else with what the file is (kNotDatebook).
ExportOutcome refuseAtTag(ExportView& view, const std::string& path, const EventSource& source);

// The event records of a desktop date-book archive, read strictly forward: the tag, the header,
// then one record at a time, with the reader's exact messages. A record the archive ran out in
// is handed on as read (fields it did not reach keep what the record held before).
//
// The later desktop layout (versions 4.1.4 to 4.2) is read here too: its header is read and
// checked with the tag, so that a layout this tool does not know is refused before any output
// exists; its records are read whole before they are shown, each from a fresh record; a field
// that does not fit the schema stops the reading as damage. A file named but not read (a later
// address book, a version-6 database, ...) is refused with its own message.
//
// Borrows the byte source, the message sink and the observer, which must outlive it.
class DatebookSource : public EventSource {
 public:
  DatebookSource(files::ByteSource& bytes, archive::MessageSink& messages)
      : bytes_(bytes), messages_(messages), gate_(messages), reader_(bytes, gate_) {}

  // Reads the tag (after the wrapper of later desktop versions): true for a date book.
  bool readTag() override;
  std::string refusal(const std::string& path) const override;
  void setObserver(archive::RecordObserver* observer) override { observer_ = observer; }
  const archive::DatebookHeader& header() const override { return header_; }
  std::uint32_t identity() const override;

  std::optional<std::int64_t> readHeader() override;
  bool exhausted() const override { return reader_.atEnd(); }
  RecordRead read(std::int64_t number, archive::EventRecord& record) override;
  ExportOutcome stopOutcome() const override { return stop_; }
  ExportOutcome ending() override;
  std::string readError() const override { return bytes_.errorText(); }

 private:
  RecordRead readLater(std::int64_t number, archive::EventRecord& record);

  files::ByteSource& bytes_;
  archive::MessageSink& messages_;
  // Passes the reader's notes on, except while the tag is read (a file too short for the wrapper
  // of later desktop versions is simply no date book, with the run's one message) and while a
  // later layout's header is read: a refused one is told by its refusal alone.
  archive::HeldMessages gate_;
  archive::ArchiveReader reader_;
  archive::RecordObserver* observer_ = nullptr;
  archive::DatebookHeader header_;
  archive::ArchiveKind kind_ = archive::ArchiveKind::kUnknown;
  // The later layout's reader, once its tag is read, and how its header was read.
  std::optional<archive::LaterArchive> later_;
  archive::LaterHeaderOutcome laterHeader_ = archive::LaterHeaderOutcome::kOk;
  ExportOutcome stop_ = ExportOutcome::kSequencingError;
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_DATEBOOK_SOURCE_H_
