#ifndef VESSORY_ARCHIVE_RECORD_TEXT_H_
#define VESSORY_ARCHIVE_RECORD_TEXT_H_

#include <string>
#include <string_view>

#include "archive/text_converter.h"

namespace vessory::archive {

// A record's text (a description, a note, a name, a phone number, a category name) as the
// calendar and the contacts write it, appended to `out`: UTF-8, every line break the desktop
// wrote (CR LF, CR or LF) one LF, and the reader's empty-string marker nothing. Tabs stay; every
// other control character would break a calendar or a card (or end it early, NUL) and becomes
// U+FFFD. Escaping and folding come later, when the line is written. It appends, so that a
// writer that reuses its buffers allocates nothing once they have grown.
void appendRecordText(std::string_view archiveText, TextConverter& converter, std::string& out);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_RECORD_TEXT_H_
