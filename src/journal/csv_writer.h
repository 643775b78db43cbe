#ifndef VESSORY_JOURNAL_CSV_WRITER_H_
#define VESSORY_JOURNAL_CSV_WRITER_H_

#include <string>
#include <string_view>

#include "archive/text_converter.h"
#include "files/output_file.h"
#include "journal/entry_splitter.h"

namespace vessory::journal {

// The CSV file beside an archive: a path holding ".dat" anywhere (case-sensitive) loses its
// last three characters for "csv"; any other path gets ".csv" appended.
std::string csvPathFor(std::string_view archivePath);

// What a UTF-8 CSV starts with, so that spreadsheet programs know its character set.
inline constexpr std::string_view kUtf8ByteOrderMark{"\xEF\xBB\xBF"};

// The text with every quotation mark doubled.
std::string doubleQuotes(std::string_view text);

// The text strictly between the first opening delimiter and the first closing delimiter, when
// the closing one comes after the opening one; empty otherwise. With fewer than two delimiter
// characters the keyword is not worked out again and `previous` is returned.
std::string extractKeyword(std::string_view text, std::string_view delimiters,
                           std::string_view previous);

// Writes journal entries as CSV lines: category, the keyword (only when the delimiter text is
// not empty), date, time and the quoted text, each line ended by CR LF. Bytes go out exactly as
// they were read, unless a converter is given: then the keyword, the time label and the text are
// written in UTF-8 (the keyword is still found in the text as read). The writer borrows `output`
// and the converter, which must outlive it, and remembers the last keyword for the next row.
class CsvJournalWriter {
 public:
  explicit CsvJournalWriter(files::OutputFile& output, archive::TextConverter* toUtf8 = nullptr)
      : output_(output), toUtf8_(toUtf8) {}
  CsvJournalWriter(const CsvJournalWriter&) = delete;
  CsvJournalWriter& operator=(const CsvJournalWriter&) = delete;

  // Fills entry.keyword and writes the line.
  void writeJournalRow(JournalEntry& entry, std::string_view keywordDelimiters);

 private:
  std::string rowKeyword(std::string_view text, std::string_view delimiters);

  files::OutputFile& output_;
  archive::TextConverter* toUtf8_;
  std::string keyword_;
  std::string converted_;
  std::string quoted_;
};

}  // namespace vessory::journal

#endif  // VESSORY_JOURNAL_CSV_WRITER_H_
