#include "archive/archive_identity.h"

#include <cstdio>

namespace vessory::archive {

std::uint32_t fnv1a32(std::string_view bytes) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

std::uint32_t desktopArchiveIdentity(std::string_view storedFileName) {
  std::string folded(storedFileName);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return fnv1a32(folded);
}

std::string identityHex(std::uint32_t identity) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(identity));
  return text;
}

}  // namespace vessory::archive
