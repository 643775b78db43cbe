#include "journal/csv_writer.h"

#include <charconv>

namespace vessory::journal {

namespace {

// Runs between quotation marks go over in one piece; a byte at a time is several times slower
// on long entries. `add` takes a piece of text or a single character.
template <typename Add>
void addQuotesDoubled(std::string_view text, Add&& add) {
  for (std::size_t quote = text.find('"'); quote != std::string_view::npos;
       quote = text.find('"')) {
    add(text.substr(0, quote + 1));
    add(std::string_view("\""));
    text.remove_prefix(quote + 1);
  }
  add(text);
}

void appendQuotesDoubled(std::string_view text, std::string& out) {
  addQuotesDoubled(text, [&out](auto piece) { out += piece; });
}

// The separators, the quotes around the text and the line end, and the longest category.
constexpr std::size_t kRowFrame = 8 + 20;

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

// The keyword of the text as it stands in the row, quotes doubled. Doubling adds only
// quotation marks, so with neither delimiter a quotation mark the delimiters are found at the
// same places in the plain text, and the keyword is the plain one with its quotes doubled; the
// text is then scanned without being copied.
std::string CsvJournalWriter::rowKeyword(std::string_view text, std::string_view delimiters) {
  if (delimiters[0] == '"' || delimiters[1] == '"') {
    quoted_.clear();
    appendQuotesDoubled(text, quoted_);
    return extractKeyword(quoted_, delimiters, {});
  }
  std::string keyword = extractKeyword(text, delimiters, {});
  if (keyword.find('"') != std::string::npos) return doubleQuotes(keyword);
  return keyword;
}

void CsvJournalWriter::writeJournalRow(JournalEntry& entry, std::string_view keywordDelimiters) {
  if (keywordDelimiters.size() >= 2) keyword_ = rowKeyword(entry.text, keywordDelimiters);
  entry.keyword = keyword_;
  if (toUtf8_ != nullptr) {
    entry.keyword = toUtf8_->toUtf8(keyword_);
    // The label was upper-cased in the archive's bytes, as the daily notes take it, so that
    // both show the same label; only then is it converted.
    converted_.clear();
    toUtf8_->appendUtf8(entry.timeText, converted_);
    entry.timeText.swap(converted_);
    converted_.clear();
    toUtf8_->appendUtf8(entry.text, converted_);
    entry.text.swap(converted_);
  }

  // The row goes straight into the output's buffer, in one piece as far as flushing goes.
  files::OutputFile& out = output_;
  out.beginRow(kRowFrame + entry.keyword.size() + entry.dateText.size() + entry.timeText.size() +
               2 * entry.text.size());
  char digits[24];
  auto number = std::to_chars(digits, digits + sizeof digits, entry.category);
  out.appendToRow(std::string_view(digits, static_cast<std::size_t>(number.ptr - digits)));
  out.appendToRow(",");
  if (!keywordDelimiters.empty()) {
    out.appendToRow(entry.keyword);
    out.appendToRow(",");
  }
  out.appendToRow(entry.dateText);
  out.appendToRow(",");
  out.appendToRow(entry.timeText);
  out.appendToRow(",\"");
  addQuotesDoubled(entry.text, [&out](auto piece) { out.appendToRow(piece); });
  out.appendToRow("\"\r\n");
  out.endRow();
}

}  // namespace vessory::journal
