#include "memos/memo_text.h"

#include "archive/format.h"
#include "memos/safe_name.h"
#include "memos/utf8.h"

namespace vessory::memos {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kReturn = '\r';
constexpr std::string_view kLineBreaks{"\r\n"};
constexpr std::string_view kUntitledPrefix{"Memo "};

bool isBlankLine(std::string_view line) {
  for (std::size_t at = 0; at < line.size();) {
    if (!isBlank(nextCodePoint(line, at))) return false;
  }
  return true;
}

}  // namespace

std::string memoUtf8(std::string_view archiveText, archive::TextConverter& converter) {
  if (archiveText == archive::kNullStringMarker) return {};
  return converter.toUtf8(archiveText);
}

std::string memoFileText(std::string_view utf8Text) {
  std::string text;
  text.reserve(utf8Text.size() + 1);
  for (std::size_t i = 0; i < utf8Text.size(); ++i) {
    if (utf8Text[i] != kReturn) {
      text += utf8Text[i];
      continue;
    }
    if (i + 1 < utf8Text.size() && utf8Text[i + 1] == kLineFeed) ++i;
    text += kLineFeed;
  }
  if (text.empty() || text.back() != kLineFeed) text += kLineFeed;
  return text;
}

std::string memoTitle(std::string_view utf8Text, std::int64_t recordId) {
  std::size_t start = 0;
  while (start < utf8Text.size()) {
    std::size_t end = utf8Text.find_first_of(kLineBreaks, start);
    if (end == std::string_view::npos) end = utf8Text.size();
    const std::string_view line = utf8Text.substr(start, end - start);
    if (!isBlankLine(line)) {
      std::string title = safeName(line);
      if (!title.empty()) return title;
      break;
    }
    start = end + 1;
  }
  return std::string(kUntitledPrefix) + std::to_string(recordId);
}

}  // namespace vessory::memos
