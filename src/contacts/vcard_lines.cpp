#include "contacts/vcard_lines.h"

#include "contacts/vcard_format.h"

namespace vessory::contacts {

namespace {

// UTF-8 sequences are at most four octets: a fold backs off over three continuations at most.
constexpr std::size_t kMaxContinuations = 3;

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

char escapeOf(char c) {
  switch (c) {
    case '\\':
    case ',':
    case ';':
      return c;
    case '\n':
      return 'n';
    default:
      return 0;
  }
}

}  // namespace

void appendEscaped(std::string_view text, std::string& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    // Most text needs no escape at all: copy the runs between escapes whole.
    const std::size_t next = text.find_first_of("\\,;\n", i);
    if (next == std::string_view::npos) {
      out.append(text.substr(i));
      return;
    }
    out.append(text.substr(i, next - i));
    out += '\\';
    out += escapeOf(text[next]);
    i = next + 1;
  }
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
