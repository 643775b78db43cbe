#include "export/datebook_source.h"

#include "archive/archive_identity.h"
#include "archive/organiser_archive.h"

namespace vessory::exporting {

std::string notDatebookMessage(const std::string& path, const EventSource& source) {
  const std::string refusal = source.refusal(path);
  return refusal.empty() ? path + " is Not a Datebook DB file" : refusal;
}

ExportOutcome refuseAtTag(ExportView& view, const std::string& path, const EventSource& source) {
  const std::string failure = source.readError();
  if (!failure.empty()) {
    view.showMessage("Cannot read " + path + ": " + failure);
    return ExportOutcome::kCannotRead;
  }
  view.showMessage(notDatebookMessage(path, source));
  return ExportOutcome::kNotDatebook;
}

bool DatebookSource::readTag() {
  gate_.hold();
  kind_ = archive::readArchiveKind(reader_);
  gate_.release(false);
  if (kind_ != archive::ArchiveKind::kLaterDatebook) return kind_ == archive::ArchiveKind::kDatebook;
  later_.emplace(reader_, messages_, archive::RecordKind::kDatebook);
  gate_.hold();
  laterHeader_ = later_->readHeader();
  gate_.release(laterHeader_ != archive::LaterHeaderOutcome::kRefused);
  if (laterHeader_ == archive::LaterHeaderOutcome::kRefused) return false;
  const archive::LaterHeader& later = later_->header();
  header_.storedFileName = later.storedFileName;
  header_.categoryCount = static_cast<std::int64_t>(later.categories.size());
  for (const auto& [index, name] : later.categories) {
    header_.categoryIndexes.push_back(index);
    header_.categoryLongNames.push_back(name);
  }
  header_.entryCount = later.schema.entryCount;
  header_.recordCount = later.schema.recordCount;
  return true;
}

std::string DatebookSource::refusal(const std::string& path) const {
  if (archive::namedNotRead(kind_)) return archive::notReadMessage(path, kind_);
  if (later_ && laterHeader_ == archive::LaterHeaderOutcome::kRefused) {
    return archive::refusalMessage(path, archive::RecordKind::kDatebook, later_->refusal());
  }
  return {};
}

std::uint32_t DatebookSource::identity() const {
  return archive::desktopArchiveIdentity(header_.storedFileName);
}

std::optional<std::int64_t> DatebookSource::readHeader() {
  if (later_) {
    if (laterHeader_ == archive::LaterHeaderOutcome::kHalted) return std::nullopt;
    return header_.recordCount;
  }
  archive::TraceSink trace;
  header_ = archive::readArchiveHeader(reader_, trace);
  if (reader_.halted()) return std::nullopt;
  return header_.recordCount;
}

RecordRead DatebookSource::read(std::int64_t number, archive::EventRecord& record) {
  if (later_) return readLater(number, record);
  archive::readEventRecord(reader_, number, record, messages_, observer_);
  if (reader_.halted()) return RecordRead::kStopped;
  if (reader_.atEnd()) return RecordRead::kCutShort;
  return RecordRead::kWhole;
}

// The later record is read whole into a fresh record, then shown at both display points.
RecordRead DatebookSource::readLater(std::int64_t number, archive::EventRecord& record) {
  switch (later_->readEvent(number, record)) {
    case archive::RecordOutcome::kWhole:
      break;
    case archive::RecordOutcome::kCutShort:
      return RecordRead::kCutShort;
    case archive::RecordOutcome::kBadField:
      stop_ = ExportOutcome::kDamagedRecords;
      return RecordRead::kStopped;
    default:
      return RecordRead::kStopped;
  }
  if (observer_ != nullptr) {
    observer_->startTimeRead(record);
    observer_->descriptionRead(record);
  }
  return RecordRead::kWhole;
}

ExportOutcome DatebookSource::ending() {
  if (!bytes_.errorText().empty()) return ExportOutcome::kCannotRead;
  return endOfArchive(reader_);
}

}  // namespace vessory::exporting
