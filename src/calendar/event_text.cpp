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
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == kReturn) {
      if (i + 1 < utf8.size() && utf8[i + 1] == kLineFeed) ++i;
      text += kLineFeed;
    } else if (isControl(c) && c != kLineFeed && c != kTab) {
      text += archive::kReplacementCharacter;
    } else {
      text += static_cast<char>(c);
    }
  }
  return text;
}

}  // namespace vessory::calendar
