#include "memos/utf8.h"

namespace vessory::memos {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

char32_t nextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  ++at;
  if (lead < 0x80) return lead;
  // The length the lead byte announces, its payload bits, and the least value that needs it.
  std::size_t more = 0;
  char32_t c = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3, c = lead & 0x07, least = 0x10000;
  } else {
    return kReplacement;
  }
  if (text.size() - at < more) return kReplacement;
  for (std::size_t k = 0; k < more; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if (!isContinuation(next)) return kReplacement;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || c > kLastCodePoint || (c >= kFirstSurrogate && c <= kLastSurrogate)) {
    return kReplacement;
  }
  at += more;
  return c;
}

std::u32string decodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) out += nextCodePoint(text, at);
  return out;
}

}  // namespace vessory::memos
