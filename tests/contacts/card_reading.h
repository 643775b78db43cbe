#ifndef VESSORY_TESTS_CONTACTS_CARD_READING_H_
#define VESSORY_TESTS_CONTACTS_CARD_READING_H_

// Written vCard text read back the way a contacts program reads it: the raw lines checked, then
// unfolded into content lines, and values unescaped.

#include <string>
#include <string_view>
#include <vector>

namespace vessory::testing {

// True when `bytes` is whole UTF-8: every sequence complete, none cut off at either end.
inline bool wholeUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if ((lead & 0xC0) == 0x80 || i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// What is wrong with the physical lines of `text`, or nothing: each ends in CR LF, holds no other
// CR or LF, is not empty, has at most 75 octets and is whole UTF-8.
inline std::string shapeProblem(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) return "no CR LF at the end";
    const std::string_view line = text.substr(start, end - start);
    if (line.empty()) return "an empty line";
    if (line.size() > 75) return "a line of " + std::to_string(line.size()) + " octets";
    if (line.find_first_of("\r\n") != std::string_view::npos) return "a bare CR or LF";
    if (!wholeUtf8(line)) return "a fold splits a UTF-8 sequence: " + std::string(line);
    start = end + 2;
  }
  return {};
}

// The content lines of `text`: every line that starts with a blank joined to the one before.
inline std::vector<std::string> unfold(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    if (line.starts_with(' ') && !lines.empty()) {
      lines.back().append(line.substr(1));
    } else {
      lines.emplace_back(line);
    }
    start = end + 2;
  }
  return lines;
}

// A text value with its escapes undone; "?" for a backslash that starts no escape.
inline std::string unescape(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      text += value[i];
      continue;
    }
    const char next = i + 1 < value.size() ? value[++i] : '?';
    text += next == 'n' ? '\n' : next == '\\' || next == ',' || next == ';' ? next : '?';
  }
  return text;
}

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_CONTACTS_CARD_READING_H_
