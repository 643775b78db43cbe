#ifndef VESSORY_MEMOS_MEMO_TEXT_H_
#define VESSORY_MEMOS_MEMO_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/text_converter.h"

namespace vessory::memos {

// A memo as a text file: what the file holds and the title its name is made from. Both take the
// memo in UTF-8 (see memoUtf8) and keep nothing between calls.

// The memo's text in UTF-8 from the archive's bytes: converted by `converter`, the reader's
// marker of an empty string read as empty.
std::string memoUtf8(std::string_view archiveText, archive::TextConverter& converter);

// The bytes of the memo's file: the whole text with every line break (CR LF, CR, LF) one LF,
// ending in a line break: one is added when the text lacks it, none when it has one (an empty
// memo is a file of one LF). Nothing else is changed: blanks, tabs and other characters stay.
std::string memoFileText(std::string_view utf8Text);

// The name of the memo's file without ".txt": the memo's first line holding more than blanks,
// made safe by safeName(), or "Memo ID" (ID `recordId` in decimal) when nothing is left.
std::string memoTitle(std::string_view utf8Text, std::int64_t recordId);

}  // namespace vessory::memos

#endif  // VESSORY_MEMOS_MEMO_TEXT_H_
