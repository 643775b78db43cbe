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
  const std::size_t nameStart = storedFileName.find_last_of("\\/") + 1;  // npos + 1 is 0
  const std::size_t dot = storedFileName.rfind('.');
  // A dot that opens the name (".datebook") starts no extension.
  if (dot != std::string_view::npos && dot > nameStart) storedFileName = storedFileName.substr(0, dot);
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
