#ifndef VESSORY_EXPORT_ORGANISER_SOURCE_H_
#define VESSORY_EXPORT_ORGANISER_SOURCE_H_

#include <cstdint>
#include <optional>
#include <string>

#include "archive/archive_reader.h"
#include "files/byte_source.h"
#include "archive/message_sink.h"
#include "archive/organiser_archive.h"
#include "archive/organiser_records.h"
#include "export/record_loop.h"

namespace vessory::exporting {

// The records of a desktop address book, to-do list or memo pad archive, as the runs read them.
// The header is read once, however often it is asked for, so that a run can check it before it
// creates its output. Borrows the bytes, the message sink and the catalogue it fills, which must
// outlive it; the reader must stand just after the tag.
template <class Record>
class DesktopRecords : public RecordSource<Record> {
 public:
  DesktopRecords(files::ByteSource& bytes, archive::ArchiveReader& reader,
                 archive::MessageSink& messages, archive::RecordKind kind,
                 archive::OrganiserCatalogue& catalogue)
      : bytes_(bytes), reader_(reader), archive_(reader, messages, kind), catalogue_(catalogue) {}

  std::optional<std::int64_t> readHeader() override {
    if (!header_) header_ = archive_.readHeader(catalogue_);
    switch (*header_) {
      case archive::HeaderOutcome::kOk:
        return archive_.recordCount();
      case archive::HeaderOutcome::kEndedEarly:
        stop_ = ExportOutcome::kEndedEarly;
        return std::nullopt;
      case archive::HeaderOutcome::kSchemaMisfit:
        stop_ = ExportOutcome::kDamagedRecords;
        return std::nullopt;
      default:
        stop_ = ExportOutcome::kSequencingError;
        return std::nullopt;
    }
  }
  bool exhausted() const override { return reader_.atEnd(); }
  RecordRead read(std::int64_t number, Record& record) override {
    switch (readOne(number, record)) {
      case archive::RecordOutcome::kWhole:
        return RecordRead::kWhole;
      case archive::RecordOutcome::kCutShort:
        return RecordRead::kCutShort;
      case archive::RecordOutcome::kBadField:
        stop_ = ExportOutcome::kDamagedRecords;
        return RecordRead::kStopped;
      default:
        stop_ = ExportOutcome::kSequencingError;
        return RecordRead::kStopped;
    }
  }
  ExportOutcome stopOutcome() const override { return stop_; }
  ExportOutcome ending() override {
    if (!bytes_.errorText().empty()) return ExportOutcome::kCannotRead;
    if (reader_.atEnd()) return ExportOutcome::kEndedEarly;
    return archive_.checkEnd() == 0 ? ExportOutcome::kComplete : ExportOutcome::kDataAfterEnd;
  }
  std::string readError() const override { return bytes_.errorText(); }

 private:
  archive::RecordOutcome readOne(std::int64_t number, archive::ContactRecord& record) {
    return archive_.readContact(number, record);
  }
  archive::RecordOutcome readOne(std::int64_t number, archive::TodoRecord& record) {
    return archive_.readTodo(number, record);
  }
  archive::RecordOutcome readOne(std::int64_t number, archive::MemoRecord& record) {
    return archive_.readMemo(number, record);
  }

  files::ByteSource& bytes_;
  archive::ArchiveReader& reader_;
  archive::OrganiserArchive archive_;
  archive::OrganiserCatalogue& catalogue_;
  std::optional<archive::HeaderOutcome> header_;
  ExportOutcome stop_ = ExportOutcome::kSequencingError;
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_ORGANISER_SOURCE_H_
