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
// entry_.text holds the edited characters before the scan position, and `r` is where the
// unedited rest begins. A line feed that stays inside the entry may drop the CR before it; the
// character after such a line feed is copied without being examined. The last character is
// never examined either.
std::size_t EntrySplitter::scanEntry(std::string_view segment, bool wordWrap) {
  std::string& out = entry_.text;
  out.clear();
  const std::size_t n = segment.size();
  // Only line feeds are acted on, so the text up to the next one is copied in one piece. The
  // last character is never examined: a line feed there is not looked for.
  const std::string_view examined = segment.substr(0, n == 0 ? 0 : n - 1);
  std::size_t r = 0;
  for (std::size_t lineFeed = examined.find('\n'); lineFeed != std::string_view::npos;
       lineFeed = examined.find('\n', r)) {
    out.append(segment.substr(r, lineFeed - r));
    r = lineFeed;
    if (isEntryStart(segment, r)) {
      if (!out.empty() && out.back() == '\r') out.pop_back();
      return r + 1;
    }
    const char kept = wordWrap ? ' ' : '\n';
    if (!out.empty() && out.back() == '\r') {
      out.back() = kept;
      out += segment[r + 1];
      r += 2;
    } else {
      out += kept;
      ++r;
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
