#include "archive/archive_reader.h"

#include <algorithm>

#include "archive/format.h"

namespace vessory::archive {

ArchiveReader::ArchiveReader(files::ByteSource& source, MessageSink& messages)
    : source_(source), messages_(messages) {}

bool ArchiveReader::refill() {
  if (source_done_ || halted_) return false;
  chunk_base_ = position();
  std::span<const unsigned char> chunk = source_.nextChunk();
  if (chunk.empty()) {
    source_done_ = true;
    chunk_start_ = next_ = limit_ = nullptr;
    return false;
  }
  chunk_start_ = next_ = chunk.data();
  limit_ = chunk.data() + chunk.size();
  return true;
}

int ArchiveReader::nextByte() {
  if (next_ == limit_ && !refill()) return -1;
  return *next_++;
}

std::optional<std::int64_t> ArchiveReader::readIntegerSlow(int width) {
  if (halted_) return std::nullopt;
  std::uint32_t value = 0;
  for (int i = 0; i < width; ++i) {
    int byte = nextByte();
    if (byte < 0) {
      at_end_ = true;
      // One notice per archive: a cut-short archive would otherwise raise one for every
      // field that follows.
      if (!past_end_reported_ && !sourceFailed()) {
        past_end_reported_ = true;
        messages_.showMessage(kPastEndNotice + std::to_string(i + 1));
      }
      return std::nullopt;
    }
    value |= static_cast<std::uint32_t>(byte) << (8 * i);
  }
  if (width == 4 && value == 0xFFFFFFFFu) return -1;
  return static_cast<std::int64_t>(value);
}

void ArchiveReader::readChars(std::size_t count, std::string& out) {
  out.clear();
  while (count > 0) {
    if (next_ == limit_ && !refill()) {
      at_end_ = true;
      return;
    }
    std::size_t take = std::min(count, static_cast<std::size_t>(limit_ - next_));
    out.append(reinterpret_cast<const char*>(next_), take);
    next_ += take;
    count -= take;
  }
}

std::string ArchiveReader::readChars(std::size_t count) {
  std::string out;
  readChars(count, out);
  return out;
}

void ArchiveReader::readCStringSlow(std::string& out, EmptyCString empty) {
  out.clear();
  if (halted_) return;
  for (;;) {
    int length = nextByte();
    if (length < 0) {
      // Nothing left for even the length byte: empty text, and the integer reads that
      // follow report the end.
      at_end_ = true;
      return;
    }
    if (length == 0) {
      if (empty == EmptyCString::kMarker) out.assign(kNullStringMarker);
      return;
    }
    if (static_cast<unsigned>(length) != kLongStringMarker) {
      readChars(static_cast<std::size_t>(length), out);
      return;
    }
    // A length or check word cut off by the end of the archive is not a stray group: the
    // end notice has said what happened, and there is no text left to read.
    std::optional<std::int64_t> long_length = readInteger(2);
    if (!long_length) return;
    if (*long_length != 0) {
      readChars(static_cast<std::size_t>(*long_length), out);
      return;
    }
    std::optional<std::int64_t> check = readInteger(2);
    if (!check) return;
    if (*check != 0) {
      halted_ = true;
      limit_ = next_;  // keeps the inline fast paths from reading on
      messages_.showMessage("sequencing error");
      return;
    }
    messages_.showMessage("Unexpected Long before cString found");
  }
}

std::string ArchiveReader::readCString() {
  std::string out;
  readCString(out);
  return out;
}

}  // namespace vessory::archive
