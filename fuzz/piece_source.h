#ifndef VESSORY_FUZZ_PIECE_SOURCE_H_
#define VESSORY_FUZZ_PIECE_SOURCE_H_

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "files/byte_source.h"
#include "support/fake_export.h"

namespace vessory::testing {

// The archive handed out in pieces of a fixed size (0: one piece), so that every read can fall
// across the end of a piece. The bytes belong to the caller and must outlive the source.
class PieceSource : public files::ByteSource {
 public:
  PieceSource(std::string_view bytes, std::size_t piece)
      : rest_(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
        piece_(piece == 0 ? bytes.size() : piece) {}

  std::span<const unsigned char> nextChunk() override {
    std::span<const unsigned char> chunk = rest_.first(std::min(piece_, rest_.size()));
    rest_ = rest_.subspan(chunk.size());
    return chunk;
  }

 private:
  std::span<const unsigned char> rest_;
  std::size_t piece_;
};

// Files held in memory whose archives are handed out in pieces of `piece` bytes.
class PieceFiles : public MemoryFiles {
 public:
  explicit PieceFiles(std::size_t piece) : piece_(piece) {}
  std::unique_ptr<files::ByteSource> openArchive(const std::string& path,
                                                   std::string&) override {
    return std::make_unique<PieceSource>(archives[path], piece_);
  }

 private:
  std::size_t piece_;
};

}  // namespace vessory::testing

#endif  // VESSORY_FUZZ_PIECE_SOURCE_H_
