// TextConverter over a table written from the build machine's iconv (text_converter_table.h).

#include "archive/text_converter_table.h"

#include <cctype>

namespace vessory::archive {

namespace {

#include "charset_tables.inc"

constexpr std::uint32_t kNothingHeld = 0xFFFFFFFF;

class TableConverter : public TextConverter {
 public:
  explicit TableConverter(const CharsetTable& table) : table_(table) {}

  void appendUtf8(std::string_view bytes, std::string& out) override {
    const auto byteAt = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    // The last character, held until the next shows whether it is a mark to join to it.
    std::uint32_t held = kNothingHeld;
    for (std::size_t at = 0; at < bytes.size();) {
      const unsigned char byte = byteAt(at);
      const std::uint32_t single = table_.single[byte];
      std::uint32_t point = single;
      std::size_t length = 1;
      if (single == kTableLead) {
        point = kTableRefused;
        if (at + 1 < bytes.size()) {
          const std::uint16_t pair = table_.pairs[table_.rows[byte] * 256 + byteAt(at + 1)];
          if (pair != 0) {
            point = pair;
            length = 2;
          }
        }
      }
      at += length;
      if (point != kTableRefused && held != kNothingHeld) {
        if (const std::uint32_t joined = join(held, point); joined != kNothingHeld) {
          held = joined | kTableJoined;
          continue;
        }
      }
      if (held != kNothingHeld) appendCodePointUtf8(held & ~kTableJoined, out);
      held = point;
      if (point == kTableRefused) {
        out.append(kReplacementCharacter);
        countReplacement();
        held = kNothingHeld;
      }
    }
    if (held != kNothingHeld) appendCodePointUtf8(held & ~kTableJoined, out);
  }

 private:
  // The character `first` (kTableJoined set when it was joined) and the mark `mark` make, or
  // kNothingHeld when the set joins none.
  std::uint32_t join(std::uint32_t first, std::uint32_t mark) const {
    std::size_t low = 0;
    std::size_t high = table_.joinCount;
    while (low < high) {
      const std::size_t middle = (low + high) / 2;
      const std::uint32_t* triple = table_.joins + 3 * middle;
      if (triple[0] < first || (triple[0] == first && triple[1] < mark)) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    const std::uint32_t* triple = table_.joins + 3 * low;
    return low < table_.joinCount && triple[0] == first && triple[1] == mark ? triple[2]
                                                                               : kNothingHeld;
  }

  const CharsetTable& table_;
};

std::string upper(const std::string& name) {
  std::string result;
  for (char c : name) result += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

}  // namespace

const CharsetTable* findCharsetTable(const std::string& charset) {
  const std::string wanted = upper(charset);
  for (const CharsetTable& table : kCharsetTables) {
    for (const char* const* name = table.names; *name != nullptr; ++name) {
      if (wanted == *name) return &table;
    }
  }
  return nullptr;
}

std::unique_ptr<TextConverter> openTableConverter(const CharsetTable& table) {
  return std::make_unique<TableConverter>(table);
}

}  // namespace vessory::archive
