#ifndef VESSORY_EXPORT_INPUT_KIND_H_
#define VESSORY_EXPORT_INPUT_KIND_H_

#include <optional>
#include <string>
#include <vector>

#include "files/byte_source.h"
#include "archive/organiser_archive.h"
#include "archive/organiser_records.h"
#include "files/export_files.h"

namespace vessory::exporting {

// The two containers the organiser's data comes in.
enum class Container {
  kDesktop,   // the desktop's archives (Datebook.dat, Address.aba, ...), read strictly forward
  kHandheld,  // the handheld's own databases (DatebookDB.pdb, ...), read whole from memory
};

// What an input file holds, as its content tells: which container, and which kind of records.
struct InputKind {
  Container container = Container::kDesktop;
  // For the desktop: what the tag says (kUnknown also for a file that cannot be read).
  archive::ArchiveKind desktop = archive::ArchiveKind::kUnknown;
  // The records it holds; none for an unknown tag, a later version, or a database of another
  // application (whose export then says what it is).
  std::optional<archive::RecordKind> records;
  // A handheld database of the later handhelds' applications (CalendarDB-PDat.pdb, ...).
  bool laterHandheld = false;
  // The system's reason when the file could not be opened or read; empty otherwise.
  std::string readError;
};

// Tells what the file at `path` holds. A file that starts with a desktop tag (or the wrapper of
// later desktop versions) is a desktop archive; any other file that looks like a handheld
// database is one. Reads the whole file only for a handheld database.
InputKind identifyInput(files::ExportFiles& files, const std::string& path);

// Every byte `source` still holds; false with the reason when reading failed part-way.
bool readWhole(files::ByteSource& source, std::vector<unsigned char>& bytes,
               std::string& error);

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_INPUT_KIND_H_
