#include "archive/record_text.h"

#include "archive/format.h"

namespace vessory::archive {

namespace {

constexpr char kTab = '\t';
constexpr char kLineFeed = '\n';
constexpr char kReturn = '\r';
constexpr unsigned char kDelete = 0x7F;

bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && c != kTab && c != kLineFeed) || byte == kDelete;
}

// Rewrites `converted` (the text as the converter gave it) into `out` with one LF per break.
void appendMended(std::string_view converted, std::string& out) {
  std::size_t i = 0;
  while (i < converted.size()) {
    std::size_t run = i;
    while (run < converted.size() && !isControl(converted[run])) ++run;
    out.append(converted.substr(i, run - i));
    if (run == converted.size()) break;
    i = run + 1;
    if (converted[run] == kReturn) {
      if (i < converted.size() && converted[i] == kLineFeed) ++i;
      out += kLineFeed;
    } else {
      out.append(kReplacementCharacter);
    }
  }
}

}  // namespace

void appendRecordText(std::string_view archiveText, TextConverter& converter, std::string& out) {
  if (archiveText.empty() || archiveText == kNullStringMarker) return;
  const std::size_t start = out.size();
  converter.appendUtf8(archiveText, out);
  // Most text holds no CR or other control character: then it is done where it lies.
  std::size_t first = start;
  while (first < out.size() && !isControl(out[first])) ++first;
  if (first == out.size()) return;
  const std::string converted = out.substr(first);
  out.resize(first);
  appendMended(converted, out);
}

}  // namespace vessory::archive
