#include "export/handheld_source.h"

#include "archive/organiser_archive.h"
#include "export/input_kind.h"

namespace vessory::exporting {

std::unique_ptr<LoadedDatabase> loadDatabase(files::ByteSource& source) {
  auto loaded = std::make_unique<LoadedDatabase>();
  files::RandomAccessBytes* bytes = source.randomAccess();
  if (bytes == nullptr) {
    if (!readWhole(source, loaded->whole, loaded->readError)) {
      loaded->error = loaded->readError;
      return loaded;
    }
    bytes = &loaded->memory.emplace(loaded->whole);
  }
  loaded->looksLikeDatabase = handheld::looksLikeHandheldDatabase(*bytes);
  loaded->database = handheld::HandheldDatabase::open(*bytes, loaded->error);
  if (!loaded->database) loaded->readError = bytes->errorText();
  return loaded;
}

bool HandheldEvents::readTag() {
  loaded_ = loadDatabase(bytes_);
  if (!loaded_->database) {
    refusal_ = loaded_->error;
    return false;
  }
  if (loaded_->database->kind() != archive::RecordKind::kDatebook) {
    refusal_ = "a handheld database of the " +
               std::string(archive::recordKindName(loaded_->database->kind())) +
               ", not of the date book";
    return false;
  }
  header_ = loaded_->database->datebookHeader();
  records_.emplace(*loaded_->database, messages_);
  return true;
}

// The database gives a record whole: it is shown at the two display points after it is read.
RecordRead HandheldEvents::read(std::int64_t number, archive::EventRecord& record) {
  const RecordRead how = records_->read(number, record);
  if (how == RecordRead::kWhole && observer_ != nullptr) {
    observer_->startTimeRead(record);
    observer_->descriptionRead(record);
  }
  return how;
}

std::unique_ptr<EventSource> openEventSource(files::ExportFiles& files, const std::string& path,
                                             files::ByteSource& bytes,
                                             archive::MessageSink& messages) {
  const InputKind input = identifyInput(files, path);
  // A file that could not be read far enough to tell its kind is opened as a handheld database,
  // whose opening reads it again and gives the system's reason.
  if (input.container == Container::kHandheld ||
      (input.desktop == archive::ArchiveKind::kUnknown && !input.readError.empty())) {
    return std::make_unique<HandheldEvents>(bytes, messages);
  }
  return std::make_unique<DatebookSource>(bytes, messages);
}

}  // namespace vessory::exporting
