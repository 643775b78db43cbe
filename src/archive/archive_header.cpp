#include "archive/archive_header.h"

#include "archive/format.h"

namespace vessory::archive {

namespace {

// Reads integers and strings while tracing them under their labels.
class HeaderWalker {
 public:
  HeaderWalker(ArchiveReader& reader, TraceSink& trace)
      : reader_(reader), trace_(trace), tracing_(trace.wantsLines()) {}

  std::int64_t integer(int width, const char* label) {
    std::int64_t value = reader_.readInteger(width).value_or(0);
    if (tracing_) trace_.trace(label + traceNumber(value));
    return value;
  }

  const std::string& text(const char* label) {
    reader_.readCString(text_);
    if (tracing_) trace_.trace(label + text_);
    return text_;
  }

  void fieldEntry(int ordinal) {
    std::int64_t value = reader_.readInteger(2).value_or(0);
    if (tracing_) {
      trace_.trace("Schema Field entry" + traceNumber(ordinal) + " = " + traceNumber(value));
    }
  }

  bool stopped() const { return reader_.halted(); }
  bool ended() const { return reader_.atEnd() || reader_.halted(); }

 private:
  ArchiveReader& reader_;
  TraceSink& trace_;
  bool tracing_;
  std::string text_;
};

void readCategories(HeaderWalker& walk, DatebookHeader& header) {
  // The count comes from the archive and may be corrupt: entries are kept as they are read,
  // and the loop ends with the data rather than with a count of four billion.
  for (std::int64_t i = 1; i <= header.categoryCount && !walk.ended(); ++i) {
    const std::int64_t index = walk.integer(4, "index = ");
    walk.integer(4, "id = ");
    walk.integer(4, "name dirty = ");
    header.categoryIndexes.push_back(index);
    header.categoryLongNames.push_back(walk.text("Long cat name="));
    if (walk.stopped()) return;
    walk.text("Short cat name=");
  }
}

void readSchema(HeaderWalker& walk) {
  walk.integer(4, "Schema Resource ID = ");
  walk.integer(4, "Schema Fields per row = ");
  walk.integer(4, "Schema Record ID Position = ");
  walk.integer(4, "Schema Record Status Position = ");
  walk.integer(4, "Schema Placement Position = ");
  walk.integer(2, "Schema Field Count = ");
  for (int k = 1; k <= kSchemaFieldEntries; ++k) walk.fieldEntry(k);
}

}  // namespace

std::string traceNumber(std::int64_t value) {
  std::string text = value < 0 ? "" : " ";
  text += std::to_string(value);
  return text;
}

bool checkArchiveTag(ArchiveReader& reader) { return reader.readChars(4) == kArchiveTag; }

DatebookHeader readArchiveHeader(ArchiveReader& reader, TraceSink& trace) {
  DatebookHeader header;
  HeaderWalker walk(reader, trace);
  header.storedFileName = walk.text("Filename = ");
  if (walk.stopped()) return header;
  walk.text("Show-Header = ");
  if (walk.stopped()) return header;
  walk.integer(4, "Next Free CategoryID = ");
  header.categoryCount = walk.integer(4, "Category Count = ");
  readCategories(walk, header);
  if (walk.stopped()) return header;
  readSchema(walk);
  header.entryCount = reader.readInteger(4).value_or(0);
  header.recordCount = header.entryCount / kFieldsPerRecord;
  return header;
}

}  // namespace vessory::archive
