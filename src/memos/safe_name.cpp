#include "memos/safe_name.h"

#include <array>
#include <string>

#include "memos/utf8.h"

namespace vessory::memos {

namespace {

constexpr char32_t kSubstitute = U'_';
constexpr char32_t kDot = U'.';
constexpr std::u32string_view kUnsafe = U"/\\:*?\"<>|";
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kLastC1Control = 0x9F;

// The names Windows opens as devices in any folder, with or without an extension. The digits
// include the superscripts Windows reads as 1, 2 and 3.
constexpr std::array<std::u32string_view, 4> kDevices = {U"CON", U"PRN", U"AUX", U"NUL"};
constexpr std::array<std::u32string_view, 2> kNumberedDevices = {U"COM", U"LPT"};
constexpr std::u32string_view kDeviceDigits = U"123456789\u00B9\u00B2\u00B3";

constexpr std::string_view kCategoryPrefix = "Category ";

bool isControl(char32_t c) { return c < 0x20 || (c >= kDelete && c <= kLastC1Control); }

bool isDotOrBlank(char32_t c) { return c == kDot || isBlank(c); }

char32_t asciiUpper(char32_t c) { return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c; }

bool startsWithIgnoringCase(std::u32string_view name, std::u32string_view word) {
  if (name.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (asciiUpper(name[i]) != word[i]) return false;
  }
  return true;
}

// The length of the device name `name` opens with, or 0.
std::size_t deviceLength(std::u32string_view name) {
  for (const auto device : kDevices) {
    if (startsWithIgnoringCase(name, device)) return device.size();
  }
  for (const auto device : kNumberedDevices) {
    if (startsWithIgnoringCase(name, device) && name.size() > device.size() &&
        kDeviceDigits.find(name[device.size()]) != std::u32string_view::npos) {
      return device.size() + 1;
    }
  }
  return 0;
}

// Windows reads a device in "CON", "con.txt" and "CON .txt" alike: the name up to the first
// dot, less trailing blanks.
void avoidDevice(std::u32string& name) {
  const std::size_t length = deviceLength(name);
  if (length == 0) return;
  std::size_t after = length;
  while (after < name.size() && isBlank(name[after])) ++after;
  if (after == name.size() || name[after] == kDot) name.insert(length, 1, kSubstitute);
}

// Keeps the first kNameCharacters characters that fit in kNameBytes.
void cut(std::u32string& name) {
  std::size_t bytes = 0;
  std::size_t keep = 0;
  std::string scratch;
  while (keep < name.size() && keep < kNameCharacters) {
    scratch.clear();
    appendUtf8(name[keep], scratch);
    if (bytes + scratch.size() > kNameBytes) break;
    bytes += scratch.size();
    ++keep;
  }
  name.resize(keep);
}

}  // namespace

bool isBlank(char32_t c) { return c == U' ' || c == U'\t' || c == 0xA0 || c == 0x3000; }

std::string safeName(std::string_view text) {
  const std::u32string decoded = decodeUtf8(text);
  std::size_t first = 0;
  std::size_t last = decoded.size();
  while (first < last && isBlank(decoded[first])) ++first;
  while (last > first && isBlank(decoded[last - 1])) --last;
  std::u32string name;
  for (std::size_t i = first; i < last; ++i) {
    const char32_t c = decoded[i];
    const bool unsafe = isControl(c) || kUnsafe.find(c) != std::u32string_view::npos;
    // Leading dots and blanks go as they come, so that ". .x" loses them all.
    if (name.empty() && isDotOrBlank(c)) continue;
    name += unsafe ? kSubstitute : c;
  }
  cut(name);
  while (!name.empty() && isDotOrBlank(name.back())) name.pop_back();
  avoidDevice(name);
  std::string out;
  for (const char32_t c : name) appendUtf8(c, out);
  return out;
}

std::string safeFolderName(std::string_view utf8CategoryName, std::int64_t categoryIndex) {
  if (utf8CategoryName.empty()) return std::string(kUnfiledFolder);
  std::string name = safeName(utf8CategoryName);
  if (name.empty()) name = std::string(kCategoryPrefix) + std::to_string(categoryIndex);
  return name;
}

}  // namespace vessory::memos
