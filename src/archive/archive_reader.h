#ifndef VESSORY_ARCHIVE_ARCHIVE_READER_H_
#define VESSORY_ARCHIVE_ARCHIVE_READER_H_

#include <cstdint>
#include <optional>
#include <string>

#include "files/byte_source.h"
#include "archive/message_sink.h"

namespace vessory::archive {

// The classic notice of an integer that came up short, followed by the byte of it that was
// missing (1 to 4).
inline constexpr char kPastEndNotice[] = "Just read char past EOF on byte ";

// What an empty CString (the single byte 00) reads as.
enum class EmptyCString { kMarker, kEmpty };

// The open archive, read strictly forward: little-endian integers, length-prefixed strings and
// raw characters, one byte per character. Nothing seeks and no byte is read twice.
//
// The reader borrows its source and its message sink; both must outlive it. It reports through
// the sink the first time an integer comes up short ("Just read char past EOF on byte N", unless
// the source failed to read) and never again for the same archive, the stray-group notice of
// readCString, and the sequencing error. After a sequencing error the reader is halted: every later
// call reads nothing and yields no value, and the caller is expected to end the export.
//
// Strings: readCString gives the date book's marker text for an empty CString (the byte 00);
// readCString(out, EmptyCString::kEmpty) gives a real empty string instead, for readers that
// must tell "empty" from text that happens to spell the marker. Both take every other form the
// same way.
//
// Hot paths are inline and touch the current chunk directly; they fall back to the out-of-line
// slow paths only at chunk boundaries and at the end of the data.
class ArchiveReader {
 public:
  ArchiveReader(files::ByteSource& source, MessageSink& messages);
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Reads `width` bytes (1 to 4) as an unsigned little-endian number; four FF bytes give -1.
  // A width of 0 or less reads nothing and gives 0. At the end of the archive: no value.
  std::optional<std::int64_t> readInteger(int width);

  // Reads a length-prefixed string into `out` (replacing its contents, reusing its storage).
  void readCString(std::string& out);
  std::string readCString();
  // As readCString(out), with `empty` choosing what an empty CString reads as.
  void readCString(std::string& out, EmptyCString empty);

  // Reads up to `count` raw characters into `out`; fewer when the archive ends first.
  void readChars(std::size_t count, std::string& out);
  std::string readChars(std::size_t count);

  // True once any read has found fewer bytes than it asked for.
  bool atEnd() const { return at_end_; }
  // True when the data stopped because the source could not be read further (a disk error),
  // not because the archive ends: the run reports the system's reason, not a short archive.
  bool sourceFailed() const { return !source_.errorText().empty(); }
  // True once a sequencing error has been reported.
  bool halted() const { return halted_; }
  // Bytes consumed so far.
  std::uint64_t position() const {
    return chunk_base_ + static_cast<std::uint64_t>(next_ - chunk_start_);
  }

 private:
  std::optional<std::int64_t> readIntegerSlow(int width);
  void readCStringSlow(std::string& out, EmptyCString empty);
  // Next byte, or -1 when the data has ended.
  int nextByte();
  bool refill();

  files::ByteSource& source_;
  MessageSink& messages_;
  const unsigned char* chunk_start_ = nullptr;
  const unsigned char* next_ = nullptr;
  const unsigned char* limit_ = nullptr;
  std::uint64_t chunk_base_ = 0;
  bool source_done_ = false;
  bool at_end_ = false;
  bool halted_ = false;
  bool past_end_reported_ = false;
};

inline std::optional<std::int64_t> ArchiveReader::readInteger(int width) {
  if (width <= 0) return 0;
  if (width > 4) width = 4;
  if (limit_ - next_ >= width) {
    const unsigned char* p = next_;
    next_ += width;
    // Written out per width, so that the compiler sees each as one little-endian load.
    switch (width) {
      case 1:
        return p[0];
      case 2:
        return static_cast<std::int64_t>(p[0] | (std::uint32_t{p[1]} << 8));
      case 3:
        return static_cast<std::int64_t>(p[0] | (std::uint32_t{p[1]} << 8) |
                                         (std::uint32_t{p[2]} << 16));
      default: {
        const std::uint32_t value = p[0] | (std::uint32_t{p[1]} << 8) |
                                    (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
        if (value == 0xFFFFFFFFu) return -1;
        return static_cast<std::int64_t>(value);
      }
    }
  }
  return readIntegerSlow(width);
}

inline void ArchiveReader::readCString(std::string& out, EmptyCString empty) {
  if (next_ < limit_) {
    unsigned length = *next_;
    if (length == 0 && empty == EmptyCString::kEmpty) {
      out.clear();
      ++next_;
      return;
    }
    if (length != 0 && length != 0xFF && limit_ - next_ > static_cast<std::ptrdiff_t>(length)) {
      out.assign(reinterpret_cast<const char*>(next_ + 1), length);
      next_ += 1 + length;
      return;
    }
  }
  readCStringSlow(out, empty);
}

inline void ArchiveReader::readCString(std::string& out) {
  readCString(out, EmptyCString::kMarker);
}

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_ARCHIVE_READER_H_
