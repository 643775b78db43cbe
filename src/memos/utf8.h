#ifndef VESSORY_MEMOS_UTF8_H_
#define VESSORY_MEMOS_UTF8_H_

#include <string>
#include <string_view>

#include "archive/text_converter.h"

namespace vessory::memos {

// UTF-8 read one code point at a time and written back. Names are made from text that went
// through the archive's converter, which writes whole UTF-8; the reader is strict all the same
// (no overlong form, no surrogate, nothing past U+10FFFF, no cut sequence), so that no byte of
// the input can reach a file name except as part of a valid character.

inline constexpr char32_t kReplacement = 0xFFFD;

// The code point starting at `text[at]`, with `at` moved past it; an invalid or cut sequence is
// one byte read as kReplacement. `at` must be before the end.
char32_t nextCodePoint(std::string_view text, std::size_t& at);

// `text` as code points.
std::u32string decodeUtf8(std::string_view text);

inline void appendUtf8(char32_t c, std::string& out) { archive::appendCodePointUtf8(c, out); }

}  // namespace vessory::memos

#endif  // VESSORY_MEMOS_UTF8_H_
