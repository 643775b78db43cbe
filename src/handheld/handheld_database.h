#ifndef VESSORY_HANDHELD_HANDHELD_DATABASE_H_
#define VESSORY_HANDHELD_HANDHELD_DATABASE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/archive_header.h"
#include "archive/event_record.h"
#include "archive/organiser_records.h"
#include "files/byte_source.h"
#include "handheld/blob_reader.h"

namespace vessory::handheld {

// Whether `bytes` look like a handheld database at all, before a run is chosen: a whole 78-byte
// header whose name ends with a NUL inside its 32 bytes, whose type and creator are printable
// characters, and whose record list fits in the file. Says nothing of which application wrote
// it; open() tells that.
bool looksLikeHandheldDatabase(std::span<const unsigned char> bytes);
// The same, told from the file's first bytes (its header, when it has one) and its size.
bool looksLikeHandheldDatabase(std::span<const unsigned char> front, std::uint64_t fileSize);
// Reads what looksLikeHandheldDatabase needs of `bytes` and tells it; false when it cannot read.
bool looksLikeHandheldDatabase(files::RandomAccessBytes& bytes);

// One record as read: the record when it was read whole; else no record and the message that
// says why it was left out, naming its place in the database and its unique id.
template <typename Record>
struct RecordRead {
  std::optional<Record> record;
  std::string leftOut;
  // What a later handheld's record held besides what was read (it is read all the same).
  RecordRemarks remarks;
  // The system's reason when the record's bytes could not be read from the disk: the file
  // cannot be read further, and no record is given.
  std::string readError;
};

// One of the handheld's own databases of the date book, the address book, the to-do list or the
// memo pad (a DatebookDB.pdb, AddressDB.pdb, ToDoDB.pdb or MemoDB.pdb), or of the applications
// that replaced them on later handhelds (CalendarDB-PDat, ContactsDB-PAdd, TasksDB-PTod,
// MemosDB-PMem: the same kinds of record with more fields). The database keeps its header,
// record list and categories in memory and reads each record's bytes from the file when it is
// asked for, so that memory stays flat however large the records are (pictures among them).
// It borrows the bytes it reads, which must outlive it, and reads only inside them. Records come
// out as the same types the desktop archive reader fills, so that the runs and writers do not
// know which container a record came from. Not for use from two threads at once.
//
// Opening checks the header, the record list and the app-info block. A header or record list
// that cannot be read whole, or a type or creator of another application, fails the opening.
// A missing or short app-info block does not: records are read without category names (and
// without custom labels), a notice says so, and incomplete() is true. Each record is then read
// on its own when asked for; one that cannot be read whole (cut off, or failing to read from
// the disk) is left out with a message, and the others are not affected.
class HandheldDatabase {
 public:
  // The database in `bytes`, or nothing with `error` saying why it cannot be read.
  static std::optional<HandheldDatabase> open(std::span<const unsigned char> bytes,
                                              std::string& error);
  static std::optional<HandheldDatabase> open(files::RandomAccessBytes& bytes,
                                              std::string& error);

  archive::RecordKind kind() const { return catalogue_.kind; }
  // True for the later handhelds' databases.
  bool later() const { return later_; }
  // The unique ids of every record listed, in the list's order.
  std::vector<std::uint32_t> uniqueIds() const;
  // The header's name, up to its first NUL.
  const std::string& name() const { return name_; }
  // Categories from the app-info block, custom labels (address book), and the identity: FNV-1a
  // over the name's bytes, one NUL byte, and the four bytes of the creation time as stored.
  const archive::OrganiserCatalogue& catalogue() const { return catalogue_; }
  // What was lost opening the database, in the order found; for the run to show.
  const std::vector<std::string>& notices() const { return notices_; }
  // True when opening lost something: the run's ending reports an incomplete export.
  bool incomplete() const { return !notices_.empty(); }
  std::int64_t recordCount() const { return static_cast<std::int64_t>(entries_.size()); }

  // The category names in the form the calendar run takes them from a desktop archive's header.
  archive::DatebookHeader datebookHeader() const;

  // Record `index` (0 for the first). Each needs the matching kind(); asked of another kind or
  // past the last record, it yields no record and says why.
  RecordRead<archive::EventRecord> readEvent(std::int64_t index) const;
  RecordRead<archive::ContactRecord> readContact(std::int64_t index) const;
  RecordRead<archive::TodoRecord> readTodo(std::int64_t index) const;
  RecordRead<archive::MemoRecord> readMemo(std::int64_t index) const;

 private:
  struct Entry {
    std::size_t begin = 0;
    std::size_t end = 0;
    unsigned attributes = 0;
    std::uint32_t uniqueId = 0;
    // Why the record's place in the file cannot be right; empty when it can.
    std::string misplaced;
  };

  HandheldDatabase(files::RandomAccessBytes& bytes, std::vector<unsigned char> front,
                   std::string name, archive::RecordKind kind, bool later);
  void readEntries(std::size_t count);
  void readAppInfo();
  void readCategories(std::span<const unsigned char> appInfo);
  void readCustomLabels(std::span<const unsigned char> appInfo, std::size_t labelsOffset,
                        std::size_t count);
  std::string recordLabel(std::int64_t index) const;
  // The entry and its bytes when record `index` of `kind` can be unpacked; else the message.
  const Entry* locate(std::int64_t index, archive::RecordKind wanted, std::string& leftOut) const;
  archive::RecordBasics basics(const Entry& entry) const;
  template <typename Record, typename Unpack>
  RecordRead<Record> readRecord(std::int64_t index, archive::RecordKind wanted,
                                Unpack unpack) const;

  // The bytes when they were given in memory, for bytes_ to read.
  std::unique_ptr<files::RandomAccessBytes> owned_;
  files::RandomAccessBytes* bytes_;
  std::uint64_t size_ = 0;
  // The header and the record list.
  std::vector<unsigned char> front_;
  // The record being read; kept to reuse its storage.
  mutable std::vector<unsigned char> record_;
  std::string name_;
  bool later_ = false;
  archive::OrganiserCatalogue catalogue_;
  std::vector<std::string> notices_;
  std::vector<Entry> entries_;
};

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_HANDHELD_DATABASE_H_
