// TextConverter on the Windows code-page API. It must write the same UTF-8 as the iconv one on
// Linux for every byte, so a byte iconv calls undefined is undefined here too, even where
// Windows would hand back a stand-in character for it.

#include <windows.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "archive/text_converter.h"

namespace vessory::archive {

namespace {

constexpr UINT kAsciiCodePage = 20127;

struct NamedCodePage {
  std::string_view name;
  UINT codePage;
};

// Names iconv knows that carry no code-page number; "cpNNNN", "windows-NNNN" and "ibmNNN" are
// read by number instead.
constexpr NamedCodePage kNamedCodePages[] = {
    {"utf-8", CP_UTF8},
    {"utf8", CP_UTF8},
    {"us-ascii", kAsciiCodePage},
    {"ascii", kAsciiCodePage},
    {"ansi_x3.4-1968", kAsciiCodePage},
    {"iso-8859-1", 28591},
    {"latin1", 28591},
    {"l1", 28591},
    {"iso-8859-2", 28592},
    {"latin2", 28592},
    {"iso-8859-3", 28593},
    {"latin3", 28593},
    {"iso-8859-4", 28594},
    {"latin4", 28594},
    {"iso-8859-5", 28595},
    {"iso-8859-6", 28596},
    {"iso-8859-7", 28597},
    {"iso-8859-8", 28598},
    {"iso-8859-9", 28599},
    {"latin5", 28599},
    {"iso-8859-13", 28603},
    {"latin7", 28603},
    {"iso-8859-15", 28605},
    {"latin-9", 28605},
    {"latin9", 28605},
    {"koi8-r", 20866},
    {"koi8-u", 21866},
    {"macintosh", 10000},
    {"mac", 10000},
    {"macroman", 10000},
};

std::string lowercase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// "1252" after one of the prefixes; 0 when the rest is not a plain number.
UINT numberAfter(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return 0;
  name.remove_prefix(prefix.size());
  if (name.empty() || name.size() > 5) return 0;
  UINT number = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + static_cast<UINT>(c - '0');
  }
  return number;
}

// The code page a character-set name stands for, or 0. Underscores and dashes are one and the
// same in names ("ISO_8859-1", "iso8859-1" and "ISO-8859-1" alike), as with iconv.
UINT codePageFor(const std::string& charset) {
  std::string name = lowercase(charset);
  for (char& c : name) {
    if (c == '_' && !name.starts_with("ansi_")) c = '-';
  }
  if (name.starts_with("iso8859-")) name = "iso-" + name.substr(3);
  for (const NamedCodePage& named : kNamedCodePages) {
    if (named.name == name) return named.codePage;
  }
  for (std::string_view prefix : {"windows-", "cp", "ibm-", "ibm"}) {
    if (UINT number = numberAfter(name, prefix); number != 0) return number;
  }
  return 0;
}

void appendWide(const wchar_t* wide, int length, std::string& out) {
  if (length <= 0) return;
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(size));
  WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data() + at, size, nullptr, nullptr);
}

// The UTF-16 form of `bytes`, or false when the code page rejects any of them.
bool decodeStrict(UINT codePage, std::string_view bytes, std::wstring& wide) {
  if (bytes.empty()) {
    wide.clear();
    return true;
  }
  const int length = static_cast<int>(bytes.size());
  const int size =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
  if (size <= 0) return false;
  wide.resize(static_cast<std::size_t>(size));
  return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(),
                             size) == size;
}

// A code page of one byte per character: every byte looked up in a table built once, since
// Windows' answers for single bytes need correcting (below) and a table is the quickest way.
// The converter owns its table and holds no state between calls.
class SingleByteConverter : public TextConverter {
 public:
  explicit SingleByteConverter(UINT codePage);
  void appendUtf8(std::string_view bytes, std::string& out) override;

 private:
  bool definedByte(UINT codePage, unsigned byte, wchar_t decoded) const;

  std::array<std::string, 256> utf8_;  // empty: the byte is undefined
};

SingleByteConverter::SingleByteConverter(UINT codePage) {
  std::wstring wide;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    if (decodeStrict(codePage, std::string_view(&c, 1), wide) && wide.size() == 1 &&
        definedByte(codePage, byte, wide[0])) {
      appendWide(wide.data(), 1, utf8_[byte]);
    }
  }
}

// Windows fills a code page's holes with stand-ins that iconv does not: the control character
// of the same number in the Windows ANSI pages (0x81 in windows-1252 gives U+0081), a
// private-use character in others, and ASCII's lower half again for ASCII's upper one.
bool SingleByteConverter::definedByte(UINT codePage, unsigned byte, wchar_t decoded) const {
  const bool ansiPage = codePage == 874 || (codePage >= 1250 && codePage <= 1258);
  if (ansiPage && byte >= 0x80 && byte <= 0x9F && static_cast<unsigned>(decoded) == byte) {
    return false;
  }
  if (decoded >= 0xE000 && decoded <= 0xF8FF) return false;
  return !(codePage == kAsciiCodePage && byte >= 0x80);
}

void SingleByteConverter::appendUtf8(std::string_view bytes, std::string& out) {
  out.reserve(out.size() + bytes.size());
  for (char c : bytes) {
    const std::string& utf8 = utf8_[static_cast<unsigned char>(c)];
    if (!utf8.empty()) {
      out += utf8;
    } else {
      out += kReplacementCharacter;
      countReplacement();
    }
  }
}

// A code page whose characters take several bytes (UTF-8, the East Asian pages). Whole texts
// go through in one call; only a text the code page rejects is walked character by character,
// so that one bad byte costs one replacement and not the rest of the text. No state is kept
// between calls.
class MultiByteConverter : public TextConverter {
 public:
  MultiByteConverter(UINT codePage, unsigned maxCharSize)
      : codePage_(codePage), maxCharSize_(maxCharSize) {}
  void appendUtf8(std::string_view bytes, std::string& out) override;

 private:
  void appendWalking(std::string_view bytes, std::string& out);

  UINT codePage_;
  unsigned maxCharSize_;
  std::wstring wide_;  // scratch, kept to spare allocations
};

void MultiByteConverter::appendUtf8(std::string_view bytes, std::string& out) {
  if (decodeStrict(codePage_, bytes, wide_)) {
    appendWide(wide_.data(), static_cast<int>(wide_.size()), out);
  } else {
    appendWalking(bytes, out);
  }
}

// The shortest run of bytes from each position that the code page accepts is one character;
// when none up to the longest character is accepted, the first byte is undefined. This is how
// iconv goes on after a bad byte as well.
void MultiByteConverter::appendWalking(std::string_view bytes, std::string& out) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    std::size_t length = 0;
    for (std::size_t n = 1; n <= maxCharSize_ && at + n <= bytes.size(); ++n) {
      if (decodeStrict(codePage_, bytes.substr(at, n), wide_)) {
        length = n;
        break;
      }
    }
    if (length == 0) {
      out += kReplacementCharacter;
      countReplacement();
      ++at;
    } else {
      appendWide(wide_.data(), static_cast<int>(wide_.size()), out);
      at += length;
    }
  }
}

}  // namespace

std::unique_ptr<TextConverter> TextConverter::open(const std::string& charset, std::string& error) {
  if (charset.empty()) {
    error = "no character set named";
    return nullptr;
  }
  const UINT codePage = codePageFor(charset);
  CPINFO info{};
  if (codePage == 0 || !IsValidCodePage(codePage) || !GetCPInfo(codePage, &info)) {
    error = "unknown character set " + charset;
    return nullptr;
  }
  if (info.MaxCharSize == 1) return std::make_unique<SingleByteConverter>(codePage);
  return std::make_unique<MultiByteConverter>(codePage, info.MaxCharSize);
}

}  // namespace vessory::archive
