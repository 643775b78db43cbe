#ifndef VESSORY_MEMOS_SAFE_NAME_H_
#define VESSORY_MEMOS_SAFE_NAME_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vessory::memos {

// File and folder names made from archive text (a memo's first line, a category name) that are
// safe on Windows, macOS and Linux alike and can never lead out of the folder they are put in:
// no separator, no "." or "..", no device name, no control character, whole UTF-8.

// A name is cut to this many characters (code points)...
inline constexpr std::size_t kNameCharacters = 64;
// ...and to whole characters within this many bytes, which only four-byte characters reach:
// the name with a " (N)" counter and ".txt" then stays within the 255 bytes a Linux or macOS
// file name may hold.
inline constexpr std::size_t kNameBytes = 224;

// The safe form of the UTF-8 text `name`, or "" when nothing of it is left. Blanks (space, tab,
// no-break space, ideographic space) at either end are trimmed first; then each of
// / \ : * ? " < > | and every control character becomes '_', an invalid UTF-8 byte U+FFFD;
// leading dots and blanks go (a hidden file, "..", a name Windows would not open); the name is
// cut as above; trailing dots and blanks go (Windows drops them itself, which would merge two
// names); a Windows device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, any case), alone or before
// blanks and a dot, gets '_' right after it ("con.txt" is "con_.txt").
std::string safeName(std::string_view text);

// True for the blanks trimmed above; `c` a code point.
bool isBlank(char32_t c);

// The folder of a category: its safe name, "Unfiled" when the category has no name (index 0,
// an index the list lacks, an empty name), "Category N" (N its index) when nothing of the name
// is safe.
std::string safeFolderName(std::string_view utf8CategoryName, std::int64_t categoryIndex);

inline constexpr std::string_view kUnfiledFolder{"Unfiled"};

}  // namespace vessory::memos

#endif  // VESSORY_MEMOS_SAFE_NAME_H_
