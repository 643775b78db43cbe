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

}  // namespace vessory::contacts
