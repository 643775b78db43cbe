#ifndef VESSORY_FILES_SYSTEM_CALLS_H_
#define VESSORY_FILES_SYSTEM_CALLS_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace vessory::files {

// What is at the path an output is to take, looked at once.
struct PathState {
  std::string path;        // where the file goes: a symbolic link is followed, the link stays
  bool exists = false;     // something is there
  bool ordinary = false;   // and it is an ordinary file, which the output replaces
  std::string refusal;     // why it may not be replaced (a folder, a file that may not be written)
  unsigned permissions = 0;  // an ordinary file's, which the file replacing it keeps
};

// How SystemCalls::open opens a file for writing.
enum class OpenHow {
  kNew,       // creates it, failing with EEXIST when anything is there (links are not followed)
  kExisting,  // opens what is there as it stands (a device, a pipe)
};

// The calls to the system that archives read and output files make, in one table, so that tests can make any of
// them fail as a full disk, a folder taken away or a refused rename would. Paths are UTF-8 on
// Windows. Calls that fail return -1 (false for `replace`) and leave the reason in errno
// (`replace` gives it as text: Windows says it in its own words). The table is reached through
// one pointer: an indirect call beside each system call, nothing on the path that fills the
// buffer.
struct SystemCalls {
  // Opens a file to read, shared with programs that write it meanwhile.
  int (*openToRead)(const std::string& path);
  // Reads at most `size` bytes at `offset` (fewer at the end: 0 past it); -1 on failure.
  long long (*read)(int file, unsigned char* into, std::size_t size, std::uint64_t offset);
  // The open file's size in bytes; -1 when the system cannot tell it.
  long long (*size)(int file);
  PathState (*inspect)(const std::string& path);
  int (*open)(const std::string& path, OpenHow how, unsigned permissions);
  // Writes at most `size` bytes (a short count is no failure); -1 on failure.
  long long (*write)(int file, const char* bytes, std::size_t size);
  int (*close)(int file);
  // Gives the open file these permissions (nothing on Windows).
  int (*setPermissions)(int file, unsigned permissions);
  // Renames `from` over `to`, replacing what is there.
  bool (*replace)(const std::string& from, const std::string& to, std::string& reason);
  int (*remove)(const std::string& path);
};

// The system's own table.
const SystemCalls& platformCalls();

namespace detail {
extern const SystemCalls* currentCalls;
}  // namespace detail

// The table the file layer uses: the system's unless a test has put another in place.
inline const SystemCalls& systemCalls() { return *detail::currentCalls; }

// Puts `calls` in place of the table in use for as long as it lives (tests only: not thread
// safe); `calls` must outlive it.
class ReplacedSystemCalls {
 public:
  explicit ReplacedSystemCalls(const SystemCalls& calls) : saved_(detail::currentCalls) {
    detail::currentCalls = &calls;
  }
  ReplacedSystemCalls(const ReplacedSystemCalls&) = delete;
  ReplacedSystemCalls& operator=(const ReplacedSystemCalls&) = delete;
  ~ReplacedSystemCalls() { detail::currentCalls = saved_; }

 private:
  const SystemCalls* saved_;
};

// The name of a new temporary beside `target` (same folder, so that a rename stays on one file
// system), told apart from other runs' by the process and from this run's others by `count`.
std::string temporaryNameFor(const std::string& target, unsigned long count);

}  // namespace vessory::files

#endif  // VESSORY_FILES_SYSTEM_CALLS_H_
