#include "export/datebook_source.h"

#include "archive/archive_identity.h"
#include "archive/organiser_archive.h"

namespace vessory::exporting {

std::string notDatebookMessage(const std::string& path, const EventSource& source) {
  const std::string refusal = source.refusal();
  return refusal.empty() ? path + " is Not a Datebook DB file" : path + ": " + refusal;
}

bool DatebookSource::readTag() {
  gate_.open = false;
  const bool datebook = archive::readArchiveKind(reader_) == archive::ArchiveKind::kDatebook;
  gate_.open = true;
  return datebook;
}

std::uint32_t DatebookSource::identity() const {
  return archive::desktopArchiveIdentity(header_.storedFileName);
}

std::optional<std::int64_t> DatebookSource::readHeader() {
  archive::TraceSink trace;
  header_ = archive::readArchiveHeader(reader_, trace);
  if (reader_.halted()) return std::nullopt;
  return header_.recordCount;
}

RecordRead DatebookSource::read(std::int64_t number, archive::EventRecord& record) {
  archive::readEventRecord(reader_, number, record, messages_, observer_);
  if (reader_.halted()) return RecordRead::kStopped;
  if (reader_.atEnd()) return RecordRead::kCutShort;
  return RecordRead::kWhole;
}

ExportOutcome DatebookSource::ending() {
  if (!bytes_.errorText().empty()) return ExportOutcome::kCannotRead;
  return endOfArchive(reader_);
}

}  // namespace vessory::exporting
