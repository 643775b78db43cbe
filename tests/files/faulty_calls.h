#ifndef VESSORY_TESTS_FILES_FAULTY_CALLS_H_
#define VESSORY_TESTS_FILES_FAULTY_CALLS_H_

// The file layer's system calls made to fail one at a time: tests put kFaultyCalls in place
// (ReplacedSystemCalls), say in `injected` which call fails, and read the counts of the calls
// made afterwards.

#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#include "files/system_calls.h"

namespace vessory::files {

enum class Call {
  kOpenToRead, kRead, kSize, kInspect, kOpen, kWrite, kClose, kSetPermissions, kReplace, kNone
};

// The `nth` call of its kind (1-based) fails with `error`, and so does every later one when
// `sticky`. Calls that fail by themselves (a new file's open where one is) count too.
struct Fault {
  Call call = Call::kNone;
  int nth = 0;
  int error = 0;
  bool sticky = false;
};

struct Injected {
  Fault fault;
  std::array<int, 10> counts{};
  bool shortCalls = false;  // every read and write takes half what it is asked for
};
inline Injected injected;

// True (with errno set) when this call is to fail.
inline bool failing(Call call) {
  const int n = ++injected.counts[static_cast<int>(call)];
  const Fault& fault = injected.fault;
  if (fault.call != call || n < fault.nth || (n > fault.nth && !fault.sticky)) return false;
  errno = fault.error;
  return true;
}

inline const SystemCalls& real() { return platformCalls(); }

// The system's calls, each failing when the fault says so.
inline const SystemCalls kFaultyCalls{
    [](const std::string& path) {
      const int file = real().openToRead(path);
      if (!failing(Call::kOpenToRead) || file < 0) return file;
      real().close(file);
      return -1;
    },
    [](int file, unsigned char* into, std::size_t size, std::uint64_t offset) -> long long {
      if (failing(Call::kRead)) return -1;
      return real().read(file, into, injected.shortCalls ? (size + 1) / 2 : size, offset);
    },
    [](int file) -> long long { return failing(Call::kSize) ? -1 : real().size(file); },
    [](const std::string& path) {
      PathState state = real().inspect(path);
      if (failing(Call::kInspect)) state.refusal = std::strerror(errno);
      return state;
    },
    [](const std::string& path, OpenHow how, unsigned permissions) {
      const int file = real().open(path, how, permissions);
      const int natural = errno;
      if (!failing(Call::kOpen) || file < 0) {
        errno = natural;
        return file;
      }
      const int reason = errno;
      real().close(file);
      if (how == OpenHow::kNew) real().remove(path);
      errno = reason;
      return -1;
    },
    [](int file, const char* bytes, std::size_t size) -> long long {
      if (failing(Call::kWrite)) return -1;
      return real().write(file, bytes, injected.shortCalls ? (size + 1) / 2 : size);
    },
    [](int file) {
      real().close(file);
      return failing(Call::kClose) ? -1 : 0;
    },
    [](int file, unsigned permissions) {
      return failing(Call::kSetPermissions) ? -1 : real().setPermissions(file, permissions);
    },
    [](const std::string& from, const std::string& to, std::string& reason) {
      if (!failing(Call::kReplace)) return real().replace(from, to, reason);
      reason = std::strerror(errno);
      return false;
    },
    [](const std::string& path) { return real().remove(path); },
};

}  // namespace vessory::files

#endif  // VESSORY_TESTS_FILES_FAULTY_CALLS_H_
