#include "journal/entry_splitter.h"

namespace vessory::journal {

namespace {

constexpr std::string_view kNoTimeLabel = "??:??";
// The colon after the time label is searched from the fourth character on, so that the colon
// inside "9:15" or "10:15" is never taken for it.
constexpr std::size_t kLabelColonFrom = 3;

bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool isSeparator(int c) { return c == ',' || c == ':' || c == '.'; }

// The character at `i`, or -1 past the end: "no character" matches no class.
int at(std::string_view s, std::size_t i) {
  return i < s.size() ? static_cast<unsigned char>(s[i]) : -1;
}

}  // namespace

bool isEntryStart(std::string_view segment, std::size_t lineFeed) {
  int a = at(segment, lineFeed + 1);
  int b = at(segment, lineFeed + 2);
  int d = at(segment, lineFeed + 3);
  if (!isDigit(a) && a != ' ') return false;
  return (isDigit(b) && isSeparator(d)) || (isSeparator(b) && isDigit(d));
}

// The scan works on the segment as it would look after its edits, without editing it in place:
// entry_.text holds the edited characters before `r`, where the unedited rest begins. Text that
// needs no edit is copied in one piece when an edit or the entry's end comes, not line by line.
// A line feed that stays inside the entry may drop the CR before it; the character after such a
// line feed is copied without being examined. The last character is never examined either.
std::size_t EntrySplitter::scanEntry(std::string_view segment, bool wordWrap) {
  std::string& out = entry_.text;
  out.clear();
  const std::size_t n = segment.size();
  const std::string_view examined = segment.substr(0, n == 0 ? 0 : n - 1);
  std::size_t r = 0;
  for (std::size_t lineFeed = examined.find('\n'); lineFeed != std::string_view::npos;
       lineFeed = examined.find('\n', lineFeed + 1)) {
    if (isEntryStart(segment, lineFeed)) {
      out.append(segment.substr(r, lineFeed - r));
      if (!out.empty() && out.back() == '\r') out.pop_back();
      return lineFeed + 1;
    }
    const bool crBefore = lineFeed > 0 && segment[lineFeed - 1] == '\r';
    if (!crBefore && !wordWrap) continue;  // the line feed stays as it is
    out.append(segment.substr(r, lineFeed - r));
    if (crBefore) {
      out.back() = wordWrap ? ' ' : '\n';
      out += segment[lineFeed + 1];
      r = lineFeed + 2;
      ++lineFeed;  // the character after it is not examined
    } else {
      out += ' ';
      r = lineFeed + 1;
    }
  }
  out.append(segment.substr(r));
  return n;
}

void EntrySplitter::split(const JournalNote& note, bool wordWrap, const Callback& onEntry) {
  std::string_view rest = note.body;
  while (!rest.empty()) {
    std::size_t colon =
        rest.size() > kLabelColonFrom ? rest.find(':', kLabelColonFrom) : std::string_view::npos;
    std::string_view segment =
        trimBlanks(colon == std::string_view::npos ? rest : rest.substr(colon + 1));
    if (segment.empty()) return;
    if (colon == std::string_view::npos) {
      entry_.timeText.assign(kNoTimeLabel);
    } else {
      // Upper-cased in place: the entry's string keeps its storage from entry to entry.
      entry_.timeText.assign(trimBlanks(rest.substr(0, colon)));
      for (char& c : entry_.timeText) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
    }
    std::size_t next = scanEntry(segment, wordWrap);
    rest = segment.substr(next);
    while (!entry_.text.empty() && (entry_.text.back() == '\r' || entry_.text.back() == '\n')) {
      entry_.text.pop_back();
    }
    entry_.category = note.category;
    entry_.dateText = note.dateText;
    onEntry(entry_);
  }
}

std::vector<JournalEntry> splitJournalEntries(const JournalNote& note, bool wordWrap) {
  std::vector<JournalEntry> entries;
  EntrySplitter splitter;
  splitter.split(note, wordWrap, [&entries](JournalEntry& entry) { entries.push_back(entry); });
  return entries;
}

}  // namespace vessory::journal
