#include "contacts/vcard_lines.h"

#include <array>

#include "contacts/vcard_format.h"

namespace vessory::contacts {

namespace {

// UTF-8 sequences are at most four octets: a fold backs off over three continuations at most.
constexpr std::size_t kMaxContinuations = 3;

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The letter that follows the backslash for each octet that needs one, else 0. A table, since
// escaping runs over every octet written and a search for four characters costs one scan each.
constexpr std::array<char, 256> kEscapes = [] {
  std::array<char, 256> table{};
  table['\\'] = '\\';
  table[','] = ',';
  table[';'] = ';';
  table['\n'] = 'n';
  return table;
}();

char escapeOf(char c) { return kEscapes[static_cast<unsigned char>(c)]; }

}  // namespace

void appendEscaped(std::string_view text, std::string& out) {
  std::size_t run = 0;  // where the octets not yet copied start
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char escape = escapeOf(text[i]);
    if (escape == 0) continue;
    out.append(text.substr(run, i - run));
    out += '\\';
    out += escape;
    run = i + 1;
  }
  out.append(text.substr(run));
}

void appendFolded(std::string_view line, std::string& out) {
  std::size_t room = kMaxLineOctets;
  while (line.size() > room) {
    // Cut before the sequence that would straddle the end of the line.
    std::size_t cut = room;
    while (cut > room - kMaxContinuations && isContinuation(line[cut])) --cut;
    if (isContinuation(line[cut])) cut = room;  // not UTF-8 here: any cut will do
    out.append(line.substr(0, cut));
    out.append(kLineEnd);
    out += kFoldBlank;
    line.remove_prefix(cut);
    room = kMaxLineOctets - 1;
  }
  out.append(line);
  out.append(kLineEnd);
}

void appendBase64(std::string_view bytes, std::string& out) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned group = static_cast<unsigned char>(bytes[i]) << 16 |
                           static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += kDigits[(group >> shift) & 0x3F];
  }
  const std::size_t left = bytes.size() - i;
  if (left == 0) return;
  unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
  if (left == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
  out += kDigits[(group >> 18) & 0x3F];
  out += kDigits[(group >> 12) & 0x3F];
  out += left == 2 ? kDigits[(group >> 6) & 0x3F] : '=';
  out += '=';
}

}  // namespace vessory::contacts
