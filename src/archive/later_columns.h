#ifndef VESSORY_ARCHIVE_LATER_COLUMNS_H_
#define VESSORY_ARCHIVE_LATER_COLUMNS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "archive/organiser_records.h"

// What the later layout's reader (later_archive.cpp) knows of the columns it uses and of the
// type codes, and how its messages name them. Internal to that reader: the header check and the
// record reading both draw on it.
namespace vessory::archive::later {

inline constexpr std::int64_t kNoOtherType = -1;

// A column this reader uses: the type codes that can hold what it reads there, and its name.
struct UsedColumn {
  int column;
  std::int64_t type;
  std::int64_t otherType;  // kNoOtherType when one type alone can hold it
  std::string_view name;

  bool holds(std::int64_t code) const { return code == type || code == otherType; }
};

// The columns `kind` (kDatebook or kTodo) uses, and the fewest columns its schema can have.
std::span<const UsedColumn> usedColumns(RecordKind kind);
int minimumColumns(RecordKind kind);

// The codes of four unknown bytes; the codes whose value is one Integer 4; the codes whose
// value's size is known.
bool isUnknownFour(std::int64_t code);
bool isFourBytes(std::int64_t code);
bool hasKnownSize(std::int64_t code);

// "type 1 (Integer)", "type 9 (of no known size)".
std::string codeText(std::int64_t code);
// The code or codes `used` needs, as codeText names them.
std::string neededText(const UsedColumn& used);
// "column 16 (description)": counted from 1, named when its meaning is known.
std::string columnText(RecordKind kind, int column);

}  // namespace vessory::archive::later

#endif  // VESSORY_ARCHIVE_LATER_COLUMNS_H_
