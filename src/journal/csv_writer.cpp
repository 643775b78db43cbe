#include "journal/csv_writer.h"

#include <charconv>

namespace vessory::journal {

namespace {

// Runs between quotation marks go over in one piece; a byte at a time is several times slower
// on long entries.
void appendQuotesDoubled(std::string_view text, std::string& out) {
  for (std::size_t quote = text.find('"'); quote != std::string_view::npos;
       quote = text.find('"')) {
    out.append(text.substr(0, quote + 1));
    out += '"';
    text.remove_prefix(quote + 1);
  }
  out.append(text);
}

void appendNumber(std::int64_t value, std::string& out) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

}  // namespace

std::string csvPathFor(std::string_view archivePath) {
  if (archivePath.find(".dat") != std::string_view::npos) {
    return std::string(archivePath.substr(0, archivePath.size() - 3)) + "csv";
  }
  return std::string(archivePath) + ".csv";
}

std::string doubleQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  appendQuotesDoubled(text, out);
  return out;
}

std::string extractKeyword(std::string_view text, std::string_view delimiters,
                           std::string_view previous) {
  if (delimiters.size() < 2) return std::string(previous);
  std::size_t open = text.find(delimiters[0]);
  // Most entries hold no keyword; one scan of the text tells.
  if (open == std::string_view::npos) return {};
  std::size_t close = text.find(delimiters[1]);
  if (close == std::string_view::npos || close <= open) {
    return {};
  }
  return std::string(text.substr(open + 1, close - open - 1));
}

void CsvJournalWriter::writeJournalRow(JournalEntry& entry, std::string_view keywordDelimiters) {
  quoted_.clear();
  appendQuotesDoubled(entry.text, quoted_);
  if (keywordDelimiters.size() >= 2) keyword_ = extractKeyword(quoted_, keywordDelimiters, {});
  entry.keyword = keyword_;

  line_.clear();
  appendNumber(entry.category, line_);
  line_ += ',';
  if (!keywordDelimiters.empty()) {
    line_ += keyword_;
    line_ += ',';
  }
  line_ += entry.dateText;
  line_ += ',';
  line_ += entry.timeText;
  line_ += ",\"";
  line_ += quoted_;
  line_ += "\"\r\n";
  output_.append(line_);
}

}  // namespace vessory::journal
