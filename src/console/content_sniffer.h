#ifndef VESSORY_CONSOLE_CONTENT_SNIFFER_H_
#define VESSORY_CONSOLE_CONTENT_SNIFFER_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vessory::console {

// How many of a file's first bytes describeContent() looks at.
inline constexpr std::size_t kSniffSize = 512;

// What a file that is none of the archives or databases this tool reads seems to be, told by
// the signatures of common formats in its first bytes: "an empty file", "a JPEG image", "a
// handheld database of another application: ExpenseDB (type DATA, creator exps)". Nothing when
// no signature matches. `head` holds the file's first bytes (up to kSniffSize), `size` its
// whole length. A guess for the user's benefit only: no export is chosen by it.
std::optional<std::string> describeContent(std::span<const unsigned char> head, std::uint64_t size);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_CONTENT_SNIFFER_H_
