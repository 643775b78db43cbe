#ifndef VESSORY_EXPORT_DATEBOOK_SOURCE_H_
#define VESSORY_EXPORT_DATEBOOK_SOURCE_H_

#include <cstdint>
#include <optional>
#include <string>

#include "archive/archive_header.h"
#include "archive/archive_reader.h"
#include "archive/byte_source.h"
#include "archive/event_record.h"
#include "archive/message_sink.h"
#include "export/record_loop.h"

namespace vessory::exporting {

// The event records of a desktop date-book archive, read strictly forward: the tag, the header,
// then one record at a time, with the reader's exact messages. A record the archive ran out in
// is handed on as read (fields it did not reach keep what the record held before).
//
// Borrows the byte source, the message sink and the observer, which must outlive it.
class DatebookSource : public RecordSource<archive::EventRecord> {
 public:
  DatebookSource(archive::ByteSource& bytes, archive::MessageSink& messages)
      : bytes_(bytes), messages_(messages), reader_(bytes, messages) {}

  // Reads the tag: true for a date book.
  bool readTag();
  // Shown the start time and description of each record as they are read; null for none.
  void setObserver(archive::RecordObserver* observer) { observer_ = observer; }
  // The header, once read.
  const archive::DatebookHeader& header() const { return header_; }

  std::optional<std::int64_t> readHeader() override;
  bool exhausted() const override { return reader_.atEnd(); }
  RecordRead read(std::int64_t number, archive::EventRecord& record) override;
  ExportOutcome stopOutcome() const override { return ExportOutcome::kSequencingError; }
  ExportOutcome ending() override;
  std::string readError() const override { return bytes_.errorText(); }

 private:
  archive::ByteSource& bytes_;
  archive::MessageSink& messages_;
  archive::ArchiveReader reader_;
  archive::RecordObserver* observer_ = nullptr;
  archive::DatebookHeader header_;
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_DATEBOOK_SOURCE_H_
