#include "memos/memo_names.h"

#include "memos/utf8.h"

namespace vessory::memos {

namespace {

constexpr std::uint64_t kFirstCounter = 2;

// A range of capitals whose small letters lie `offset` above them.
struct ShiftedRange {
  char32_t first;
  char32_t last;
  char32_t offset;
};

constexpr ShiftedRange kShifted[] = {
    {U'A', U'Z', 0x20},      // Basic Latin
    {0xC0, 0xDE, 0x20},      // Latin-1 (0xD7 is the multiplication sign, left out below)
    {0x391, 0x3AB, 0x20},    // Greek (0x3A2 is no letter, left out below)
    {0x410, 0x42F, 0x20},    // Cyrillic
    {0x400, 0x40F, 0x50},    // Cyrillic with marks
    {0xFF21, 0xFF3A, 0x20},  // Full-width Latin
};

// Latin Extended-A pairs each capital with the small letter after it; the ranges say where the
// capital is the even code point and where the odd one.
bool pairedCapital(char32_t c) {
  // U+0130, capital I with a dot, has the plain i for its small letter: left alone.
  if (c == 0x130) return false;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c % 2 == 0;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 1;
  return false;
}

char32_t lower(char32_t c) {
  if (c == 0xD7 || c == 0x3A2) return c;
  if (c == 0x178) return 0xFF;  // Y with diaeresis, whose small letter is in Latin-1
  if (pairedCapital(c)) return c + 1;
  for (const auto& range : kShifted) {
    if (c >= range.first && c <= range.last) return c + range.offset;
  }
  return c;
}

}  // namespace

std::string foldCase(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  for (std::size_t at = 0; at < name.size();) appendUtf8(lower(nextCodePoint(name, at)), folded);
  return folded;
}

std::string MemoNames::next(std::string_view folder, std::string_view title) {
  Folder& place = folders_[foldCase(folder)];
  if (place.spelling.empty()) place.spelling = folder;
  std::string name(title);
  const std::string key = foldCase(title);
  if (!place.used.insert(key).second) {
    // The counter text is digits and blanks, which fold to themselves: the folded name of
    // "Title (N)" is the folded title with the same counter.
    std::uint64_t& counter = place.nextCounter.try_emplace(key, kFirstCounter).first->second;
    std::string suffix;
    do {
      suffix = " (" + std::to_string(counter++) + ")";
    } while (!place.used.insert(key + suffix).second);
    name += suffix;
  }
  std::string path = place.spelling;
  path += '/';
  path += name;
  path += kMemoExtension;
  return path;
}

}  // namespace vessory::memos
