// TextConverter on iconv (Linux, macOS and every other POSIX system).

#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "archive/text_converter.h"
#ifdef VESSORY_CHARSET_TABLES
#include "archive/text_converter_table.h"
#endif

namespace vessory::archive {

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0 when the bytes there are not one:
// no overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t sequenceLength(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// True for the character sets known to give bytes 00 to 7F their ASCII meaning, whose text of
// such bytes alone is therefore its own UTF-8: UTF-8, ASCII, windows-1250 to 1258 and the parts
// of ISO-8859. Not every set does (in SHIFT_JIS 5C is the yen sign), so others always go through
// iconv.
bool keepsAscii(const std::string& charset) {
  std::string name;
  for (char c : charset) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii") return true;
  // `prefix` and then a number from `low` to `high`, written as std::to_string writes it.
  const auto numberAfter = [&](std::string_view prefix, int low, int high) {
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    for (int number = low; number <= high; ++number) {
      if (name.substr(prefix.size()) == std::to_string(number)) return true;
    }
    return false;
  };
  return numberAfter("windows-125", 0, 8) || numberAfter("cp125", 0, 8) ||
         numberAfter("iso-8859-", 1, 16) || numberAfter("iso8859-", 1, 16) ||
         numberAfter("iso_8859-", 1, 16);
}

bool allAscii(std::string_view bytes) {
  unsigned char seen = 0;  // no early exit: the loop stays one the compiler widens
  for (char c : bytes) seen |= static_cast<unsigned char>(c);
  return seen < 0x80;
}

class IconvConverter : public TextConverter {
 public:
  IconvConverter(iconv_t handle, bool keepsAscii) : handle_(handle), keepsAscii_(keepsAscii) {}
  ~IconvConverter() override { iconv_close(handle_); }

  void appendUtf8(std::string_view bytes, std::string& out) override;

 private:
  void flush(std::string& out);
  void keepWellFormed(std::string& out, std::size_t start);

  iconv_t handle_;
  bool keepsAscii_;
};

void IconvConverter::appendUtf8(std::string_view bytes, std::string& out) {
  // Most archive text is plain ASCII, which iconv would copy at many times the cost.
  if (keepsAscii_ && allAscii(bytes)) {
    out.append(bytes);
    return;
  }
  const std::size_t start = out.size();
  iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state for every text
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): iconv's input is not const in POSIX
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char buffer[1024];
  while (inLeft > 0) {
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    std::size_t done = iconv(handle_, &in, &inLeft, &to, &toLeft);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    if (done != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    // A byte the character set does not define (EILSEQ), or a sequence the text ends inside
    // (EINVAL): one replacement for one byte, and on with the next.
    flush(out);
    out.append(kReplacementCharacter);
    countReplacement();
    ++in;
    --inLeft;
  }
  flush(out);
  keepWellFormed(out, start);
}

// Some decoders hold a character back until they see whether a combining mark follows to join
// it (glibc's windows-1255 and windows-1258): a text's last letter, and the letter before a
// refused byte, would be lost unless asked for. Also returns the decoder to its first state.
void IconvConverter::flush(std::string& out) {
  char buffer[64];
  char* to = buffer;
  std::size_t toLeft = sizeof buffer;
  iconv(handle_, nullptr, nullptr, &to, &toLeft);
  out.append(buffer, static_cast<std::size_t>(to - buffer));
}

// glibc's decoder of UTF-8 itself lets through sequences that are not UTF-8 (lead bytes F5 to
// F7, values past U+10FFFF), and a calendar must be UTF-8 throughout: every byte of such a
// sequence becomes U+FFFD, as an undefined byte of any other character set does.
void IconvConverter::keepWellFormed(std::string& out, std::size_t start) {
  std::size_t at = start;
  while (at < out.size()) {
    const std::size_t length = sequenceLength(out, at);
    if (length == 0) break;
    at += length;
  }
  if (at == out.size()) return;
  std::string mended = out.substr(at);
  out.resize(at);
  for (std::size_t i = 0; i < mended.size();) {
    const std::size_t length = sequenceLength(mended, i);
    if (length == 0) {
      out.append(kReplacementCharacter);
      countReplacement();
      ++i;
    } else {
      out.append(mended, i, length);
      i += length;
    }
  }
}

}  // namespace

std::unique_ptr<TextConverter> TextConverter::open(const std::string& charset, std::string& error) {
  if (charset.empty()) {
    error = "no character set named";
    return nullptr;
  }
#ifdef VESSORY_CHARSET_TABLES
  // Where the C library's iconv would decode otherwise than the Linux build's, or not at all.
  if (const CharsetTable* table = findCharsetTable(charset)) return openTableConverter(*table);
#endif
  iconv_t handle = iconv_open("UTF-8", charset.c_str());
  // iconv_open's failure value is (iconv_t)-1.
  if (handle == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
    error = errno == EINVAL ? "unknown character set " + charset : std::strerror(errno);
    return nullptr;
  }
  return std::make_unique<IconvConverter>(handle, keepsAscii(charset));
}

}  // namespace vessory::archive
