#ifndef VESSORY_FUZZ_LINE_SHAPE_H_
#define VESSORY_FUZZ_LINE_SHAPE_H_

#include <string>
#include <string_view>

namespace vessory::testing {

// The shape every calendar and vCard file the exports write must have, as the fuzz targets
// check it: whole UTF-8 (so that no fold splits a character), every line ended by CR LF with
// no bare CR or LF inside, and no line longer than 75 octets.

inline constexpr std::size_t kLongestContentLine = 75;

// Each lead byte followed by as many continuation bytes as it announces; no overlong two-byte
// form, nothing past U+10FFFF.
bool validUtf8(std::string_view text);

// What is wrong with the lines of `text`, or "" when nothing is.
std::string lineShapeFault(std::string_view text);

}  // namespace vessory::testing

#endif  // VESSORY_FUZZ_LINE_SHAPE_H_
