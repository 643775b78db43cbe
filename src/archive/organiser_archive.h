#ifndef VESSORY_ARCHIVE_ORGANISER_ARCHIVE_H_
#define VESSORY_ARCHIVE_ORGANISER_ARCHIVE_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_kind.h"
#include "archive/archive_reader.h"
#include "archive/message_sink.h"
#include "archive/organiser_format.h"
#include "archive/organiser_records.h"

namespace vessory::archive {

// Clears `record` in place for the next record, keeping its strings' storage.
void resetTodo(TodoRecord& record);

// The schema as the archive states it.
struct OrganiserSchema {
  std::int64_t resourceId = 0;
  std::int64_t fieldsPerRow = 0;
  std::int64_t recordIdPosition = 0;
  std::int64_t statusPosition = 0;
  std::int64_t placementPosition = 0;
  std::int64_t fieldCount = 0;
  // As many codes as the archive held of the field count.
  std::vector<std::int64_t> fieldTypes;
  // As read (-1 for four FF bytes); 0 when the archive ended before it.
  std::int64_t entryCount = 0;
  // entryCount / fieldsPerRow, truncated toward zero; 0 when fieldsPerRow is not positive.
  std::int64_t recordCount = 0;
};

// Reads the schema block at the reader's place, as the classic and the later desktop layouts
// both store it: five four-byte numbers, the field count, a two-byte code per field and the
// entry count. What the archive ends before is left at its default.
OrganiserSchema readOrganiserSchema(ArchiveReader& reader);

enum class HeaderOutcome {
  kOk,
  // The archive ended inside the header: the run ends with exit status 1.
  kEndedEarly,
  // The schema is not the kind's (reported): the run reads no record and exits with status 4.
  kSchemaMisfit,
  // A sequencing error stopped the reader (reported by the reader).
  kHalted,
};

enum class RecordOutcome {
  kWhole,
  // The archive ended inside the record: earlier records stand, this one holds what was read.
  kCutShort,
  // A field's type code is not the schema's (reported): the archive cannot be read further.
  kBadField,
  // A sequencing error stopped the reader (reported by the reader).
  kHalted,
};

// Reads an address book, to-do list or memo pad archive after its tag: the header, then the
// records one by one, then what follows the last record.
//
// Borrows the reader and the sink, which must outlive it. Call readHeader once, then (only
// after kOk) readContact, readTodo or readMemo, whichever matches the kind, for record numbers
// 1 to recordCount() until an outcome other than kWhole, then checkEnd after a whole last
// record. Every anomaly is reported through the sink; the outcomes say how the run goes on.
// Each record read starts from a fresh record: nothing of an earlier record carries over, and
// the strings keep their storage, so one record object can serve a whole archive.
class OrganiserArchive {
 public:
  // `kind` is kAddress, kTodo or kMemo.
  OrganiserArchive(ArchiveReader& reader, MessageSink& messages, RecordKind kind);
  OrganiserArchive(const OrganiserArchive&) = delete;
  OrganiserArchive& operator=(const OrganiserArchive&) = delete;

  // Fills kind, categories (index, long name) and identity (from the stored file name) as far
  // as the archive holds them, whatever the outcome.
  HeaderOutcome readHeader(OrganiserCatalogue& catalogue);

  RecordOutcome readContact(std::int64_t number, ContactRecord& record);
  RecordOutcome readTodo(std::int64_t number, TodoRecord& record);
  RecordOutcome readMemo(std::int64_t number, MemoRecord& record);

  // Reads whatever follows the last record and reports it when there is anything; returns the
  // number of bytes found. A whole archive gives 0.
  std::uint64_t checkEnd();

  const OrganiserSchema& schema() const { return schema_; }
  std::int64_t recordCount() const { return schema_.recordCount; }
  // The path the desktop stored in the header, and the table string (for the address book it
  // also holds the custom field names, in a layout nobody has described: kept raw).
  const std::string& storedFileName() const { return file_name_; }
  const std::string& tableString() const { return table_string_; }
  // The id of the record last read, once its first field was read whole.
  std::optional<std::int64_t> currentRecordId() const { return record_id_; }

 private:
  void readCategories(std::int64_t count, OrganiserCatalogue& catalogue);
  bool schemaFits();
  void reportMisfit(const std::string& what);

  // Where one field's value goes: at most one pointer is set; none drops the value.
  struct FieldSlot {
    std::int64_t* number = nullptr;
    bool* flag = nullptr;
    std::string* text = nullptr;
  };
  void startRecord(std::int64_t number);
  bool readField(int column, const FieldSlot& slot);
  // Report a field that stops the record or the reading, and tell the caller to stop.
  bool refuseField(int column, std::int64_t code);
  void reportZeroWord(int column, std::int64_t word);
  FieldSlot basicSlot(RecordBasics& record, int column);
  // Reads the columns in order, each into slotOf(column), until one fails.
  template <typename Record, typename SlotOf>
  RecordOutcome readRecord(std::int64_t number, Record& record, SlotOf slotOf);
  RecordOutcome finishRecord();
  std::string fieldPlace(int column) const;

  ArchiveReader& reader_;
  MessageSink& messages_;
  RecordKind kind_;
  std::span<const FieldColumn> columns_;
  OrganiserSchema schema_;
  std::string file_name_;
  std::string table_string_;
  std::string scratch_;
  // The record being read: its number, its id once read, and whether a field was refused.
  std::int64_t record_number_ = 0;
  std::optional<std::int64_t> record_id_;
  bool bad_field_ = false;
  // The column being read, or where the record stopped.
  int column_ = 0;
  std::int64_t status_ = 0;
};

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_ORGANISER_ARCHIVE_H_
