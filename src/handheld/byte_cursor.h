#ifndef VESSORY_HANDHELD_BYTE_CURSOR_H_
#define VESSORY_HANDHELD_BYTE_CURSOR_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vessory::handheld {

// Big-endian numbers at a fixed place in a bounded view: nothing when the value does not lie
// wholly inside it, so that no caller can read past the bytes it was given.
inline std::optional<std::uint32_t> bigEndianAt(std::span<const unsigned char> bytes,
                                                std::size_t offset, std::size_t width) {
  if (offset > bytes.size() || bytes.size() - offset < width) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value = (value << 8) | bytes[offset + i];
  return value;
}

// Reads a record front to back inside the view it borrows (which must outlive it). Every read
// either yields a value that lay wholly inside the view or yields nothing and leaves the cursor
// where it was.
class ByteCursor {
 public:
  explicit ByteCursor(std::span<const unsigned char> bytes) : bytes_(bytes) {}

  std::size_t remaining() const { return bytes_.size() - next_; }

  std::optional<std::uint32_t> number(std::size_t width) {
    std::optional<std::uint32_t> value = bigEndianAt(bytes_, next_, width);
    if (value) next_ += width;
    return value;
  }
  // What is left, from the next byte on.
  std::span<const unsigned char> rest() const { return bytes_.subspan(next_); }
  bool skip(std::size_t count) {
    if (remaining() < count) return false;
    next_ += count;
    return true;
  }
  std::optional<std::uint8_t> byte() {
    if (remaining() == 0) return std::nullopt;
    return bytes_[next_++];
  }
  // The text up to the next NUL, which is consumed; nothing when no NUL is left.
  std::optional<std::string> text() {
    for (std::size_t end = next_; end < bytes_.size(); ++end) {
      if (bytes_[end] != 0) continue;
      std::string out(reinterpret_cast<const char*>(bytes_.data() + next_), end - next_);
      next_ = end + 1;
      return out;
    }
    return std::nullopt;
  }

 private:
  std::span<const unsigned char> bytes_;
  std::size_t next_ = 0;
};

// The text of a fixed-size field up to its first NUL, or the whole field when it has none.
inline std::string fieldText(std::span<const unsigned char> field) {
  std::size_t length = 0;
  while (length < field.size() && field[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(field.data()), length);
}

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_BYTE_CURSOR_H_
