#include "calendar/event_text.h"

#include "archive/record_text.h"

namespace vessory::calendar {

namespace {

constexpr std::string_view kHeaderMark{"##"};
constexpr std::size_t kHeaderLength = 5;  // "##", two characters, the category
constexpr char kNoCategory = '@';         // index 0; 'A' is 1
constexpr char kLastCategory = 'O';       // index 15, the last an archive can hold

}  // namespace

std::string eventText(std::string_view archiveText, archive::TextConverter& converter) {
  std::string text;
  archive::appendRecordText(archiveText, converter, text);
  return text;
}

NoteParts splitNoteHeader(std::string_view note) {
  if (note.size() < kHeaderLength || note.substr(0, kHeaderMark.size()) != kHeaderMark) {
    return NoteParts{std::nullopt, note};
  }
  const char category = note[kHeaderLength - 1];
  if (category < kNoCategory || category > kLastCategory) return NoteParts{std::nullopt, note};
  // The line ends right after the category, in any of the breaks the desktop writes, or the
  // note is the header line alone.
  std::string_view rest = note.substr(kHeaderLength);
  if (rest.starts_with("\r\n")) {
    rest.remove_prefix(2);
  } else if (rest.starts_with('\n') || rest.starts_with('\r')) {
    rest.remove_prefix(1);
  } else if (!rest.empty()) {
    return NoteParts{std::nullopt, note};
  }
  return NoteParts{category - kNoCategory, rest};
}

}  // namespace vessory::calendar
