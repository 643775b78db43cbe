#ifndef VESSORY_ARCHIVE_ARCHIVE_IDENTITY_H_
#define VESSORY_ARCHIVE_ARCHIVE_IDENTITY_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vessory::archive {

// What tells one archive's records from another's in the UIDs of exported events, contacts and
// to-dos, so that two date books imported into one calendar never overwrite each other's
// events, while exporting the same archive again keeps every UID.
//
// A desktop archive is known by the file name stored in its header (the path the desktop wrote,
// such as C:\Palm\SmithJ\datebook\datebook.dat), folded to lower case, since Windows paths
// ignore case: a copy of the archive anywhere keeps its UIDs. The extension stays part of it, so
// that the live file and its archive file (.dba, .aba, .tda, .mpa), which may hold the same
// record ids, never share a UID. The name is hashed with 32-bit FNV-1a.

// 32-bit FNV-1a of `bytes` (offset basis 2166136261, prime 16777619).
std::uint32_t fnv1a32(std::string_view bytes);

// The identity of a desktop archive whose header stores `storedFileName`.
std::uint32_t desktopArchiveIdentity(std::string_view storedFileName);

// Eight lower-case hex digits.
std::string identityHex(std::uint32_t identity);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_ARCHIVE_IDENTITY_H_
