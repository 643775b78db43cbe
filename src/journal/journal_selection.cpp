#include "journal/journal_selection.h"

#include "archive/timestamp.h"

namespace vessory::journal {

std::string_view trimBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string lowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string upperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string typedJournalName(std::string_view boxText) {
  std::size_t colon = boxText.find(':');
  if (colon != std::string_view::npos) boxText.remove_prefix(colon + 1);
  return std::string(trimBlanks(boxText));
}

std::string deriveJournalName(std::string_view boxText) {
  return lowerCase(typedJournalName(boxText));
}

bool isJournalRecord(const archive::EventRecord& record, std::string_view journalName) {
  return isJournalRecord(record, record.description, journalName);
}

bool isJournalRecord(const archive::EventRecord& record, std::string_view description,
                     std::string_view journalName) {
  if (record.note.empty() || record.repeat.isRepeating) return false;
  description = trimBlanks(description);
  if (description.size() != journalName.size()) return false;
  for (std::size_t i = 0; i < description.size(); ++i) {
    char c = description[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != journalName[i]) return false;
  }
  return true;
}

std::string journalDateText(std::int64_t startTime, std::string_view hoursBiasText) {
  return journalDateText(startTime, archive::leadingNumber(hoursBiasText) * 60 * 60);
}

std::string journalDateText(std::int64_t startTime, double biasSeconds) {
  return archive::formatTimestampDate(startTime, biasSeconds);
}

HeaderSplit splitJournalHeader(std::string_view note, std::int64_t recordCategory) {
  if (note.substr(0, 2) != "##") return {recordCategory, note};
  std::int64_t category = recordCategory;
  if (note.size() >= 5) category = static_cast<unsigned char>(note[4]) - std::int64_t{'@'};
  std::size_t line_feed = note.find('\n');
  if (line_feed == std::string_view::npos) return {category, note};
  return {category, note.substr(line_feed + 1)};
}

}  // namespace vessory::journal
