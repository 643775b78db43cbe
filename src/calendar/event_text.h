#ifndef VESSORY_CALENDAR_EVENT_TEXT_H_
#define VESSORY_CALENDAR_EVENT_TEXT_H_

#include <string>
#include <string_view>

#include "archive/text_converter.h"

namespace vessory::calendar {

// An archive text (description, note, category name) as calendar text: UTF-8, every line break
// the desktop wrote (CR LF, CR or LF) one newline, and the reader's empty-string marker empty.
// Other control characters are not allowed in calendar text and would end it early (NUL) or
// break the file; each becomes U+FFFD. Escaping and folding are left to libical.
std::string eventText(std::string_view archiveText, archive::TextConverter& converter);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_EVENT_TEXT_H_
