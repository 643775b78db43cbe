#ifndef VESSORY_TESTS_SUPPORT_CAPTURED_STREAM_H_
#define VESSORY_TESTS_SUPPORT_CAPTURED_STREAM_H_

#include <cstdio>
#include <string>

namespace vessory::testing {

// Everything written to a stdio stream, read back after the run: a temporary file that goes
// away with the object.
class CapturedStream {
 public:
  CapturedStream() : file_(std::tmpfile()) {}
  ~CapturedStream() { std::fclose(file_); }
  CapturedStream(const CapturedStream&) = delete;
  CapturedStream& operator=(const CapturedStream&) = delete;

  std::FILE* get() { return file_; }
  std::string text() {
    std::fflush(file_);
    std::rewind(file_);
    std::string out;
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file_)) > 0) out.append(buffer, got);
    return out;
  }

 private:
  std::FILE* file_;
};

}  // namespace vessory::testing

#endif  // VESSORY_TESTS_SUPPORT_CAPTURED_STREAM_H_
