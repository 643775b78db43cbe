#include "journal/markdown_text.h"

#include <array>

namespace vessory::journal {

namespace {

// Written for a blank that a reader would strip at a line's start or end (or read as the
// indentation of code there); other blanks as their own numeric references.
constexpr std::string_view kSpaceReference = "&#32;";
// What every CommonMark reader makes of U+0000, written as such so that the file says it.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
// The blanks a reader strips at a line's start or end (vertical tab and form feed only at the
// end of a paragraph, but they are written alike everywhere).
constexpr std::string_view kBlanks = " \t\v\f";
// Ends a line whose line break must stay one in the rendered text.
constexpr std::string_view kHardBreak = "\\\n";
// Ordered-list numbers have at most nine digits.
constexpr std::size_t kMostListDigits = 9;

enum Escape : unsigned char {
  kKeep,
  kAlways,       // markup wherever it stands
  kBeforeWord,   // "&" starts a character reference only before a letter, digit or "#"
  kWhenDoubled,  // "==" highlights and "%%" comments in notes apps
  kReplaced,     // U+0000, which no reader keeps
};

constexpr std::array<Escape, 256> escapeTable() {
  std::array<Escape, 256> table{};
  for (char c : std::string_view("\\`*_[]<#|~$")) table[static_cast<unsigned char>(c)] = kAlways;
  table['&'] = kBeforeWord;
  table['='] = kWhenDoubled;
  table['%'] = kWhenDoubled;
  table[0] = kReplaced;
  return table;
}
constexpr std::array<Escape, 256> kEscapes = escapeTable();

bool isAsciiAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
bool isBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }

bool needsEscape(std::string_view text, std::size_t i) {
  const char next = i + 1 < text.size() ? text[i + 1] : '\0';
  switch (kEscapes[static_cast<unsigned char>(text[i])]) {
    case kAlways:
      return true;
    case kBeforeWord:
      return isAsciiAlnum(next) || next == '#';
    case kWhenDoubled:
      return next == text[i];
    case kReplaced:
      return true;
    default:
      return false;
  }
}

// Runs without markup characters go over in one piece.
void appendInline(std::string_view text, std::string& out) {
  std::size_t from = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (kEscapes[static_cast<unsigned char>(text[i])] == kKeep || !needsEscape(text, i)) continue;
    out.append(text, from, i - from);
    if (text[i] == '\0') {
      out += kReplacement;
      from = i + 1;
    } else {
      out += '\\';
      from = i;
    }
  }
  out.append(text, from, std::string_view::npos);
}

void appendBlanks(std::string_view blanks, std::string& out) {
  for (char c : blanks) {
    if (c == ' ') {
      out += kSpaceReference;
    } else {
      out += "&#" + std::to_string(static_cast<int>(c)) + ";";
    }
  }
}

// How much of `body` (a line without outer blanks) is a block marker when it starts a line:
// a quote, list item, rule or heading underline, or an ordered-list number and its delimiter.
// Escaping its last character leaves it text.
std::size_t lineMarkerLength(std::string_view body) {
  const char first = body[0];
  if (first == '-' || first == '+' || first == '=' || first == '>') return 1;
  std::size_t digits = 0;
  while (digits < body.size() && digits < kMostListDigits + 1 && body[digits] >= '0' &&
         body[digits] <= '9') {
    ++digits;
  }
  if (digits == 0 || digits > kMostListDigits || digits >= body.size()) return 0;
  if (body[digits] != '.' && body[digits] != ')') return 0;
  if (digits + 1 < body.size() && !isBlank(body[digits + 1])) return 0;
  return digits + 1;
}

void appendLine(std::string_view line, std::string& out) {
  const std::size_t start = line.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    appendBlanks(line, out);
    return;
  }
  const std::size_t end = line.find_last_not_of(kBlanks) + 1;
  appendBlanks(line.substr(0, start), out);
  std::string_view body = line.substr(start, end - start);
  if (const std::size_t marker = lineMarkerLength(body); marker != 0) {
    out.append(body.substr(0, marker - 1));
    out += '\\';
    out += body[marker - 1];
    body.remove_prefix(marker);
  }
  appendInline(body, out);
  appendBlanks(line.substr(end), out);
}

// The end of the line starting at `from`, and where the next one starts.
std::pair<std::size_t, std::size_t> lineEnd(std::string_view text, std::size_t from) {
  const std::size_t end = text.find_first_of("\r\n", from);
  if (end == std::string_view::npos) return {text.size(), text.size()};
  const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
  return {end, end + (crlf ? 2 : 1)};
}

}  // namespace

void appendMarkdownText(std::string_view text, std::string& out) {
  // A line break at the very end of a paragraph shows nothing in any reader: trailing ones are
  // left out rather than written as stray backslashes.
  const std::size_t last = text.find_last_not_of("\r\n");
  if (last == std::string_view::npos) return;
  text = text.substr(0, last + 1);
  std::size_t from = 0;
  while (true) {
    const auto [end, next] = lineEnd(text, from);
    appendLine(text.substr(from, end - from), out);
    if (end == text.size()) return;
    out += kHardBreak;
    from = next;
  }
}

void appendMarkdownHeading(std::string_view text, std::string& out) {
  // Most labels are one line without outer blanks: escaped as they are.
  if (text.find_first_of("\r\n\t") == std::string_view::npos && !text.empty() &&
      text.front() != ' ' && text.back() != ' ') {
    appendInline(text, out);
    return;
  }
  std::string flat(text);
  for (char& c : flat) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  const std::size_t start = flat.find_first_not_of(' ');
  if (start == std::string::npos) return;
  appendInline(std::string_view(flat).substr(start, flat.find_last_not_of(' ') + 1 - start), out);
}

bool isTagWord(std::string_view word) {
  auto wordChar = [](char c) {
    return isAsciiAlnum(c) || static_cast<unsigned char>(c) >= 0x80;
  };
  if (word.empty() || !wordChar(word[0]) || (word[0] >= '0' && word[0] <= '9')) return false;
  for (std::size_t i = 1; i < word.size(); ++i) {
    const char c = word[i];
    if (c == '_') {
      if (i + 1 == word.size() || !isAsciiAlnum(word[i - 1]) || !isAsciiAlnum(word[i + 1])) {
        return false;
      }
    } else if (!wordChar(c) && c != '-' && c != '/') {
      return false;
    }
  }
  return true;
}

void appendYamlQuoted(std::string_view text, std::string& out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = [&](std::size_t k) {
      return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
    };
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F || (c == 0xC2 && next(1) >= 0x80 && next(1) <= 0x9F)) {
      // Controls, C1 ones (U+0080 to U+009F) included, as \xNN.
      const unsigned code = c == 0xC2 ? next(1) : c;
      out += "\\x";
      out += kHex[code >> 4];
      out += kHex[code & 0xF];
      if (c == 0xC2) ++i;
    } else if (c == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9)) {
      out += next(2) == 0xA8 ? "\\L" : "\\P";  // line and paragraph separators
      i += 2;
    } else if (c == 0xEF && next(1) == 0xBF && (next(2) == 0xBE || next(2) == 0xBF)) {
      out += next(2) == 0xBE ? "\\uFFFE" : "\\uFFFF";  // noncharacters YAML refuses
      i += 2;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
}

}  // namespace vessory::journal
