#ifndef VESSORY_CALENDAR_EVENT_TEXT_H_
#define VESSORY_CALENDAR_EVENT_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive/text_converter.h"

namespace vessory::calendar {

// An archive text (description, note, category name) as calendar text: UTF-8, every line break
// the desktop wrote (CR LF, CR or LF) one newline, and the reader's empty-string marker empty.
// Other control characters are not allowed in calendar text and would end it early (NUL) or
// break the file; each becomes U+FFFD. Escaping and folding are left to libical.
std::string eventText(std::string_view archiveText, archive::TextConverter& converter);

// A note split from the header line a handheld journal puts first: "##", two characters of its
// own and the category as one character, '@' + index ("##xyB" is category 2), then a line break.
// The line is the journal's bookkeeping, not the user's text. Only a first line of exactly that
// shape counts (five characters, the last one '@' to 'O', the categories an archive can hold),
// so that a note the user began with "## Shopping" keeps it.
struct NoteParts {
  std::optional<std::int64_t> headerCategory;  // set when the note began with a header line
  std::string_view text;                       // the note without that line
};
NoteParts splitNoteHeader(std::string_view note);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_EVENT_TEXT_H_
