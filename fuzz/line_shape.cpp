#include "line_shape.h"

namespace vessory::testing {

namespace {

// How many continuation bytes follow `lead`; npos for a continuation byte or an invalid lead.
std::size_t continuationBytes(unsigned char lead) {
  if (lead < 0x80) return 0;
  if (lead >= 0xC2 && lead < 0xE0) return 1;
  if (lead >= 0xE0 && lead < 0xF0) return 2;
  if (lead >= 0xF0 && lead < 0xF5) return 3;
  return std::string_view::npos;
}

}  // namespace

bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t extra = continuationBytes(static_cast<unsigned char>(text[i]));
    if (extra == std::string_view::npos || extra >= text.size() - i) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string lineShapeFault(std::string_view text) {
  if (!validUtf8(text)) return "not UTF-8";
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) return "the last line does not end with CR LF";
    if (end - start > kLongestContentLine) return "a line longer than 75 octets";
    if (text.substr(start, end - start).find_first_of("\r\n") != std::string_view::npos) {
      return "a bare CR or LF";
    }
    start = end + 2;
  }
  return {};
}

}  // namespace vessory::testing
