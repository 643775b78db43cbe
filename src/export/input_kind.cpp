#include "export/input_kind.h"

#include <memory>

#include "archive/archive_reader.h"
#include "export/handheld_source.h"
#include "handheld/handheld_database.h"

namespace vessory::exporting {

namespace {

// Nothing read while telling the kind is worth a message: the export reports what it finds.
struct Silent : archive::MessageSink {
  void showMessage(const std::string&) override {}
};

}  // namespace

bool readWhole(files::ByteSource& source, std::vector<unsigned char>& bytes,
               std::string& error) {
  for (std::span<const unsigned char> chunk = source.nextChunk(); !chunk.empty();
       chunk = source.nextChunk()) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
  }
  error = source.errorText();
  return error.empty();
}

InputKind identifyInput(files::ExportFiles& files, const std::string& path) {
  InputKind input;
  std::string error;
  if (!files.fileExists(path)) return input;
  std::unique_ptr<files::ByteSource> bytes = files.openArchive(path, error);
  if (!bytes) {
    input.readError = error;
    return input;
  }
  Silent silent;
  archive::ArchiveReader reader(*bytes, silent);
  input.desktop = archive::readArchiveKind(reader);
  if (input.desktop != archive::ArchiveKind::kUnknown) {
    input.records = archive::recordKindOf(input.desktop);
    return input;
  }
  input.readError = bytes->errorText();
  if (!input.readError.empty()) return input;
  // Not a desktop tag: perhaps a handheld database, read again from its start.
  bytes = files.openArchive(path, error);
  if (!bytes) return input;
  const std::unique_ptr<LoadedDatabase> loaded = loadDatabase(*bytes);
  if (!loaded->readError.empty()) {
    input.readError = loaded->readError;
    return input;
  }
  if (!loaded->looksLikeDatabase) return input;
  input.container = Container::kHandheld;
  if (loaded->database) {
    input.records = loaded->database->kind();
    input.laterHandheld = loaded->database->later();
  }
  return input;
}

}  // namespace vessory::exporting
