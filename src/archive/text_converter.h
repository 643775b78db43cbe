#ifndef VESSORY_ARCHIVE_TEXT_CONVERTER_H_
#define VESSORY_ARCHIVE_TEXT_CONVERTER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vessory::archive {

// Turns archive text, held in the desktop's character set (windows-1252 on most machines), into
// UTF-8. On Linux and macOS it sits on iconv; on Windows on the code-page API. A converter is
// used by one thread at a time; it keeps no text between calls.
class TextConverter {
 public:
  // A converter from `charset` (a name such as "windows-1252", "ISO-8859-15", "UTF-8"; case does
  // not matter) to UTF-8, or null with the reason in `error` when the system has no such
  // character set.
  static std::unique_ptr<TextConverter> open(const std::string& charset, std::string& error);

  TextConverter() = default;
  TextConverter(const TextConverter&) = delete;
  TextConverter& operator=(const TextConverter&) = delete;
  virtual ~TextConverter() = default;

  // The UTF-8 form of `bytes`. A byte (or sequence) the character set does not define becomes
  // U+FFFD, so that every character stays in its place and nothing after it is lost; each one
  // is counted in replacements().
  std::string toUtf8(std::string_view bytes) {
    std::string out;
    appendUtf8(bytes, out);
    return out;
  }
  // As toUtf8, appending to `out`.
  virtual void appendUtf8(std::string_view bytes, std::string& out) = 0;

  // How many replacement characters the converter has produced so far.
  std::int64_t replacements() const { return replacements_; }

 protected:
  void countReplacement() { ++replacements_; }

 private:
  std::int64_t replacements_ = 0;
};

// U+FFFD in UTF-8.
inline constexpr std::string_view kReplacementCharacter{"\xEF\xBF\xBD"};

// Appends the UTF-8 form of the code point `point` (at most U+10FFFF) to `out`.
inline void appendCodePointUtf8(char32_t point, std::string& out) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

// The character set archive text is taken to be in when nobody says otherwise.
inline constexpr std::string_view kDefaultArchiveCharset{"windows-1252"};

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_TEXT_CONVERTER_H_
