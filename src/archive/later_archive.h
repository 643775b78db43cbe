#ifndef VESSORY_ARCHIVE_LATER_ARCHIVE_H_
#define VESSORY_ARCHIVE_LATER_ARCHIVE_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "archive/archive_reader.h"
#include "archive/event_record.h"
#include "archive/message_sink.h"
#include "archive/organiser_archive.h"
#include "archive/organiser_records.h"

namespace vessory::archive {

// What the header of a later-layout file holds, as far as it was read.
struct LaterHeader {
  std::string storedFileName;
  // (index, long name) in file order.
  std::vector<std::pair<std::int64_t, std::string>> categories;
  OrganiserSchema schema;
};

enum class LaterHeaderOutcome {
  kOk,
  // The header is not the layout this reader knows (refusal() says how): nothing is read.
  kRefused,
  // The file ended inside the header (not reported: the caller tells how the file ended).
  kEndedEarly,
  // A sequencing error stopped the reader (reported by the reader).
  kHalted,
};

// Reads a date book or to-do list of the later desktop layout (later_format.h) after its tag:
// the header with every check the layout allows, then the records field by field as the schema
// declares them, then what follows the last record.
//
// The layout rests on a few readers of a few files, so the header is checked before anything
// is read on: the zero runs, the categories, and a schema whose columns this reader uses hold
// the types it needs and whose record id, status and placement columns are columns of their
// own. Any difference is refused with a message naming what differs. In the records, a field
// whose type code is not its column's (or, in a column of unknown meaning, is no code of four
// bytes) stops the reading: the layout cannot be followed past it.
//
// Borrows the reader and the sink, which must outlive it. Call readHeader once; after kOk, call
// readEvent (date book) or readTodo (to-do list) for records 1 to recordCount() until an outcome
// other than kWhole, then checkEnd after a whole last record. Each record read starts from a
// fresh record. Date-book texts read as the classic date book's do (an empty text is its
// marker, as the journal expects); to-do texts and the location read empty as empty.
class LaterArchive {
 public:
  // `kind` is kDatebook or kTodo.
  LaterArchive(ArchiveReader& reader, MessageSink& messages, RecordKind kind);
  LaterArchive(const LaterArchive&) = delete;
  LaterArchive& operator=(const LaterArchive&) = delete;

  LaterHeaderOutcome readHeader();
  // Why the header was refused: "its header has ..." or "its schema ...", to follow the
  // message's opening (see refusalMessage).
  const std::string& refusal() const { return refusal_; }
  const LaterHeader& header() const { return header_; }
  std::int64_t recordCount() const { return header_.schema.recordCount; }

  RecordOutcome readEvent(std::int64_t number, EventRecord& record);
  RecordOutcome readTodo(std::int64_t number, TodoRecord& record);

  // As OrganiserArchive::checkEnd.
  std::uint64_t checkEnd();

 private:
  // Where one field's value goes: at most one pointer is set; none drops the value.
  struct Slot {
    std::int64_t* number = nullptr;
    std::string* text = nullptr;
    RepeatEvent* repeat = nullptr;
    EmptyCString empty = EmptyCString::kEmpty;
  };
  bool zeros(int count);
  bool readCategories();
  bool schemaFits();
  bool refuse(std::string why);
  template <typename SlotOf>
  RecordOutcome readRecord(std::int64_t number, SlotOf slotOf);
  bool readField(int column, const Slot& slot);
  bool refuseField(int column, std::int64_t code);
  std::string fieldPlace(int column) const;

  ArchiveReader& reader_;
  MessageSink& messages_;
  RecordKind kind_;
  LaterHeader header_;
  std::string refusal_;
  std::string scratch_;
  RepeatEvent skipped_repeat_;
  std::int64_t record_number_ = 0;
  std::int64_t record_id_ = 0;
  bool id_read_ = false;
  bool bad_field_ = false;
  int column_ = 0;
  // The record's status and placement, from the columns the schema names.
  std::int64_t status_ = 0;
  std::int64_t placement_ = 0;
};

// "PATH: this date book's layout is not one this tool knows: WHY; nothing was exported".
std::string refusalMessage(const std::string& path, RecordKind kind, const std::string& why);

// The message for a file that is named but not read (namedNotRead(kind)): a later address book,
// memo pad or other later file, or a database of desktop version 6, with what the user can do
// instead. `path` is the file as the user gave it; its name tells a version-6 file's kind.
std::string notReadMessage(const std::string& path, ArchiveKind kind);

// The name of column `column` (counted from 0) in messages, such as "description"; "unknown"
// for a column of unknown meaning.
std::string_view laterColumnName(RecordKind kind, int column);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_LATER_ARCHIVE_H_
