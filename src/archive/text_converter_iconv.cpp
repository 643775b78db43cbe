// TextConverter on iconv (Linux, macOS and every other POSIX system).

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "archive/text_converter.h"

namespace vessory::archive {

namespace {

class IconvConverter : public TextConverter {
 public:
  explicit IconvConverter(iconv_t handle) : handle_(handle) {}
  ~IconvConverter() override { iconv_close(handle_); }

  void appendUtf8(std::string_view bytes, std::string& out) override;

 private:
  iconv_t handle_;
};

void IconvConverter::appendUtf8(std::string_view bytes, std::string& out) {
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
    out.append(kReplacementCharacter);
    countReplacement();
    ++in;
    --inLeft;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
  }
}

}  // namespace

std::unique_ptr<TextConverter> TextConverter::open(const std::string& charset, std::string& error) {
  if (charset.empty()) {
    error = "no character set named";
    return nullptr;
  }
  iconv_t handle = iconv_open("UTF-8", charset.c_str());
  // iconv_open's failure value is (iconv_t)-1.
  if (handle == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
    error = errno == EINVAL ? "unknown character set " + charset : std::strerror(errno);
    return nullptr;
  }
  return std::make_unique<IconvConverter>(handle);
}

}  // namespace vessory::archive
