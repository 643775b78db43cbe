#include "calendar/event_text.h"

#include "archive/format.h"

namespace vessory::calendar {

namespace {

constexpr char kTab = '\t';
constexpr char kLineFeed = '\n';
constexpr char kReturn = '\r';
constexpr unsigned char kDelete = 0x7F;

bool isControl(unsigned char c) { return c < 0x20 || c == kDelete; }

}  // namespace

std::string eventText(std::string_view archiveText, archive::TextConverter& converter) {
  if (archiveText == archive::kNullStringMarker) return {};
  const std::string utf8 = converter.toUtf8(archiveText);
  std::string text;
  text.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    // Most text holds no control character at all: copy the runs between them whole.
    std::size_t run = i;
    while (run < utf8.size() && !isControl(static_cast<unsigned char>(utf8[run]))) ++run;
    text.append(utf8, i, run - i);
    if (run == utf8.size()) break;
    const char c = utf8[run];
    i = run + 1;
    if (c == kReturn) {
      if (i < utf8.size() && utf8[i] == kLineFeed) ++i;
      text += kLineFeed;
    } else if (c == kLineFeed || c == kTab) {
      text += c;
    } else {
      text += archive::kReplacementCharacter;
    }
  }
  return text;
}

}  // namespace vessory::calendar
