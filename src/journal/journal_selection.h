#ifndef VESSORY_JOURNAL_JOURNAL_SELECTION_H_
#define VESSORY_JOURNAL_JOURNAL_SELECTION_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/event_record.h"

namespace vessory::journal {

// One journal record ready for splitting into entries.
struct JournalNote {
  std::int64_t category = 0;
  std::string dateText;
  // The part of the note that holds the entries; points into the record's note, so it is
  // valid while that record is.
  std::string_view body;
};

// The journal name that descriptions are matched against: the text after the first colon of
// the journal box (or all of it), without outer blanks, in lower case.
std::string deriveJournalName(std::string_view boxText);
// The same name with its letters as typed, for messages that name the journal to the user.
std::string typedJournalName(std::string_view boxText);

// Lower case for A to Z only; every other byte is kept as it is.
std::string lowerCase(std::string_view text);
std::string upperCase(std::string_view text);
// Without leading and trailing blanks (code 32 only).
std::string_view trimBlanks(std::string_view text);

// A journal record: its description (outer blanks off, lower-cased) is the journal name, its
// note is not empty, and it does not repeat.
bool isJournalRecord(const archive::EventRecord& record, std::string_view journalName);
// The same, with the description as `description` (the record's, converted to UTF-8 when the
// journal name was given in UTF-8).
bool isJournalRecord(const archive::EventRecord& record, std::string_view description,
                     std::string_view journalName);

// The date part (before the first comma) of the record's start time with the hours bias.
std::string journalDateText(std::int64_t startTime, std::string_view hoursBiasText);
// The same with the bias in seconds (archive::HoursBias).
std::string journalDateText(std::int64_t startTime, double biasSeconds);

// A note starting "##" carries a header line: its fifth character minus '@' is the category,
// and the body starts after the first line feed. A "##" note shorter than five characters
// keeps the record's category.
struct HeaderSplit {
  std::int64_t category;
  std::string_view body;
};
HeaderSplit splitJournalHeader(std::string_view note, std::int64_t recordCategory);

}  // namespace vessory::journal

#endif  // VESSORY_JOURNAL_JOURNAL_SELECTION_H_
