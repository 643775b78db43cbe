#include "export/organiser_source.h"

#include "archive/archive_identity.h"

namespace vessory::exporting {

std::optional<std::int64_t> LaterTodoRecords::readHeader() {
  if (!header_) {
    header_ = archive_.readHeader();
    const archive::LaterHeader& header = archive_.header();
    catalogue_.kind = archive::RecordKind::kTodo;
    catalogue_.categories = header.categories;
    catalogue_.identity = archive::identityHex(archive::desktopArchiveIdentity(header.storedFileName));
    if (*header_ == archive::LaterHeaderOutcome::kEndedEarly && !reader_.sourceFailed()) {
      messages_.showMessage("The to-do list archive ends inside its header");
    }
  }
  switch (*header_) {
    case archive::LaterHeaderOutcome::kOk:
      return archive_.recordCount();
    case archive::LaterHeaderOutcome::kRefused:
      stop_ = ExportOutcome::kLaterVersion;
      return std::nullopt;
    case archive::LaterHeaderOutcome::kEndedEarly:
      stop_ = ExportOutcome::kEndedEarly;
      return std::nullopt;
    default:
      stop_ = ExportOutcome::kSequencingError;
      return std::nullopt;
  }
}

RecordRead LaterTodoRecords::read(std::int64_t number, archive::TodoRecord& record) {
  switch (archive_.readTodo(number, record)) {
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

ExportOutcome LaterTodoRecords::ending() {
  if (!bytes_.errorText().empty()) return ExportOutcome::kCannotRead;
  if (reader_.atEnd()) return ExportOutcome::kEndedEarly;
  const std::uint64_t extra = archive_.checkEnd();
  if (extra == 0) return ExportOutcome::kComplete;
  messages_.showMessage(std::to_string(extra) + " bytes follow the last of the " +
                        std::to_string(archive_.recordCount()) + " records the header announces");
  return ExportOutcome::kDataAfterEnd;
}

}  // namespace vessory::exporting
