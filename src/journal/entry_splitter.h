#ifndef VESSORY_JOURNAL_ENTRY_SPLITTER_H_
#define VESSORY_JOURNAL_ENTRY_SPLITTER_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_selection.h"

namespace vessory::journal {

// One CSV row: an entry of a journal note. `keyword` is filled in by the CSV writer.
struct JournalEntry {
  std::int64_t category = 0;
  std::string keyword;
  std::string dateText;
  std::string timeText;
  std::string text;
};

// True when the line feed at `lineFeed` (0-based) in `segment` begins a new entry: the next
// character is a digit or a blank, and the two after it are a digit and then a separator
// (",", ":", "."), or a separator and then a digit.
bool isEntryStart(std::string_view segment, std::size_t lineFeed);

// Cuts journal bodies into entries. Entries start at the colon found at position 4 or later
// of the remaining text, and end at a line feed that isEntryStart() accepts. Inside an entry a
// CR before a line feed is dropped (and the character right after that line feed is passed over
// without a look), and with word wrap each remaining line feed becomes a blank.
//
// One splitter can be reused for any number of bodies; it keeps its buffers between calls so
// that a long export does not allocate per entry. The entry handed to the callback is valid
// only during the call.
class EntrySplitter {
 public:
  using Callback = std::function<void(JournalEntry&)>;

  void split(const JournalNote& note, bool wordWrap, const Callback& onEntry);

 private:
  // Scans `segment` for the end of the entry it begins; fills entry_.text and returns the
  // offset in `segment` where the remaining text starts (segment.size() at the end).
  std::size_t scanEntry(std::string_view segment, bool wordWrap);

  JournalEntry entry_;
};

// All entries of a note, in order.
std::vector<JournalEntry> splitJournalEntries(const JournalNote& note, bool wordWrap);

}  // namespace vessory::journal

#endif  // VESSORY_JOURNAL_ENTRY_SPLITTER_H_
