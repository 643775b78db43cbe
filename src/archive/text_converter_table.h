#ifndef VESSORY_ARCHIVE_TEXT_CONVERTER_TABLE_H_
#define VESSORY_ARCHIVE_TEXT_CONVERTER_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "archive/text_converter.h"

namespace vessory::archive {

// A character set of one- and two-byte characters written down as a table: what the build
// machine's iconv makes of every byte and every two-byte sequence (tools/charsets), and which
// characters it joins with the combining mark after them into one. The WebAssembly build's C
// library lacks some sets the Linux build reads (CP932), decodes others differently (SHIFT_JIS,
// GBK, BIG5, EUC-KR) or joins no marks (windows-1255, windows-1258); there a table stands in for iconv, so that
// both builds give the same UTF-8 for the same archive. The tables are constant data.
struct CharsetTable {
  const char* const* names;     // the set's name and its aliases, upper case, null-terminated
  const std::uint32_t* single;  // per byte: its code point, kTableLead or kTableRefused
  const std::uint8_t* rows;     // per lead byte: its row in `pairs`, 0xFF for none
  const std::uint16_t* pairs;   // 256 code points a row, by trail byte; 0: refused
  const std::uint32_t* joins;   // (held, mark, joined) triples, ordered by the first two
  std::size_t joinCount;        // triples in `joins`
};

// Set on the held character of a join when it was itself joined from a character and a mark:
// windows-1255 joins such a character with a further mark, windows-1258 does not.
inline constexpr std::uint32_t kTableJoined = 0x80000000;

inline constexpr std::uint32_t kTableRefused = 0xFFFFFFFF;
inline constexpr std::uint32_t kTableLead = 0xFFFFFFFE;

// The table of `charset` (any of its names, letter case aside), or null when none is built in.
const CharsetTable* findCharsetTable(const std::string& charset);

// A converter over `table`. It decodes as IconvConverter does on the build machine: a byte or
// sequence the set refuses, and a lead byte the text ends after, become one U+FFFD for their
// first byte, and decoding goes on with the next; a character and the marks after it that the
// table joins become the joined character.
std::unique_ptr<TextConverter> openTableConverter(const CharsetTable& table);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_TEXT_CONVERTER_TABLE_H_
