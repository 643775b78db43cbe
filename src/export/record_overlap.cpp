#include "export/record_overlap.h"

#include <algorithm>
#include <memory>
#include <string>

#include "archive/archive_reader.h"
#include "archive/message_sink.h"
#include "archive/organiser_archive.h"
#include "export/calendar_run.h"
#include "export/handheld_source.h"
#include "export/organiser_source.h"

namespace vessory::exporting {

namespace {

// The export reports the file's anomalies; this second reading keeps quiet.
class Silent : public archive::MessageSink {
 public:
  void showMessage(const std::string&) override {}
};

bool deleted(const archive::EventRecord& record) {
  return (record.status & kDeletedStatusBit) != 0;
}
bool deleted(const archive::RecordBasics& record) { return record.deleted; }

// Reads `source` as the runs' loop does and keeps the ids of the records it would write.
template <class Record>
std::optional<std::vector<std::int64_t>> idsOf(RecordSource<Record>& source, bool includeDeleted) {
  const std::optional<std::int64_t> count = source.readHeader();
  if (!count) return std::nullopt;
  std::vector<std::int64_t> ids;
  for (std::int64_t number = 1; number <= *count && !source.exhausted(); ++number) {
    Record record{};
    const RecordRead how = source.read(number, record);
    if (how == RecordRead::kLeftOut) continue;
    if (how != RecordRead::kWhole) break;
    if (includeDeleted || !deleted(record)) ids.push_back(record.recordId);
  }
  return ids;
}

template <class Record>
std::optional<std::vector<std::int64_t>> desktopIds(files::ByteSource& bytes,
                                                    archive::ArchiveReader& reader,
                                                    archive::MessageSink& messages,
                                                    archive::RecordKind kind, bool includeDeleted) {
  archive::OrganiserCatalogue catalogue;
  DesktopRecords<Record> source(bytes, reader, messages, kind, catalogue);
  return idsOf(source, includeDeleted);
}

template <class Record>
std::optional<std::vector<std::int64_t>> handheldIds(const handheld::HandheldDatabase& database,
                                                     archive::MessageSink& messages,
                                                     bool includeDeleted) {
  HandheldRecords<Record> source(database, messages);
  return idsOf(source, includeDeleted);
}

std::optional<std::vector<std::int64_t>> organiserIds(files::ByteSource& bytes,
                                                      const FoundArchive& found,
                                                      archive::MessageSink& messages,
                                                      bool includeDeleted) {
  const archive::RecordKind kind = *found.input.records;
  if (found.input.container == Container::kHandheld) {
    const std::unique_ptr<LoadedDatabase> loaded = loadDatabase(bytes);
    if (!loaded->database) return std::nullopt;
    if (kind == archive::RecordKind::kAddress) {
      return handheldIds<archive::ContactRecord>(*loaded->database, messages, includeDeleted);
    }
    if (kind == archive::RecordKind::kTodo) {
      return handheldIds<archive::TodoRecord>(*loaded->database, messages, includeDeleted);
    }
    return handheldIds<archive::MemoRecord>(*loaded->database, messages, includeDeleted);
  }
  archive::ArchiveReader reader(bytes, messages);
  const archive::ArchiveKind tag = archive::readArchiveKind(reader);
  if (tag == archive::ArchiveKind::kLaterTodo) {
    archive::OrganiserCatalogue catalogue;
    LaterTodoRecords source(bytes, reader, messages, catalogue);
    return idsOf(source, includeDeleted);
  }
  if (archive::recordKindOf(tag) != kind) return std::nullopt;
  if (kind == archive::RecordKind::kAddress) {
    return desktopIds<archive::ContactRecord>(bytes, reader, messages, kind, includeDeleted);
  }
  if (kind == archive::RecordKind::kTodo) {
    return desktopIds<archive::TodoRecord>(bytes, reader, messages, kind, includeDeleted);
  }
  return desktopIds<archive::MemoRecord>(bytes, reader, messages, kind, includeDeleted);
}

}  // namespace

std::optional<std::vector<std::int64_t>> exportedRecordIds(files::ExportFiles& files,
                                                           const FoundArchive& found,
                                                           bool includeDeleted) {
  if (!found.input.records) return std::nullopt;
  std::string error;
  const std::unique_ptr<files::ByteSource> bytes = files.openArchive(found.path, error);
  if (!bytes) return std::nullopt;
  Silent silent;
  if (*found.input.records != archive::RecordKind::kDatebook) {
    return organiserIds(*bytes, found, silent, includeDeleted);
  }
  const std::unique_ptr<EventSource> events = openEventSource(files, found.path, *bytes, silent);
  if (!events || !events->readTag()) return std::nullopt;
  return idsOf(*events, includeDeleted);
}

std::int64_t idsMissingFrom(const std::vector<std::int64_t>& desktop,
                            const std::vector<std::int64_t>& handheld) {
  std::vector<std::int64_t> sorted = desktop;
  std::sort(sorted.begin(), sorted.end());
  return std::count_if(handheld.begin(), handheld.end(), [&](std::int64_t id) {
    return !std::binary_search(sorted.begin(), sorted.end(), id);
  });
}

}  // namespace vessory::exporting
