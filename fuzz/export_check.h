#ifndef VESSORY_FUZZ_EXPORT_CHECK_H_
#define VESSORY_FUZZ_EXPORT_CHECK_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_run.h"

namespace vessory::testing {

// A fuzz input: two option bytes, then the archive.
//   byte 0: keyword delimiters ("", "<", "<>"), word wrap (on, off), hours bias ("-4", "5.5",
//           "1e300") and show details (off, on), as digits of a mixed-radix number.
//   byte 1: the chunk size the archive is handed out in (whole, 1, 2, 3, 5, 7, 64, 4096) and
//           how often the live options move on to the next set (never, or every 1 to 3
//           records), as low three bits and the next two.
// Shorter inputs use 0 for the missing bytes.
struct ExportCase {
  int optionSet = 0;
  int details = 0;
  std::size_t chunkSize = 0;  // 0: one chunk
  int liveStride = 0;         // 0: the options stay as they are
  std::string_view archive;
};

ExportCase decodeExportCase(std::string_view input);
// The two option bytes that select these settings, for writing corpus files.
std::string encodeExportOptions(int optionSet, int details, int chunkIndex, int liveStride);

// Everything one run showed and wrote.
struct ExportRecord {
  exporting::ExportOutcome outcome = exporting::ExportOutcome::kNoArchive;
  std::vector<std::string> events;
  std::vector<std::string> messages;
  bool csvCreated = false;
  std::string csv;
  // The CSV as it was when "sequencing error" was shown, everything buffered until then
  // included.
  std::optional<std::string> csvAtSequencingError;
  // True when the keyword column may be absent / present in some rows.
  bool rowsWithoutKeyword = false;
  bool rowsWithKeyword = false;
};

// Runs the export over the case's archive, held in memory, handed out in `chunkSize` pieces
// (0: one piece).
ExportRecord runExportCase(const ExportCase& input, std::size_t chunkSize);

// The first invariant the run broke, or empty text: the run ends by the rules, messages stay
// bounded by the bytes read, at most one past-end notice, nothing after a sequencing error,
// and the CSV is whole rows ending in CR LF.
std::string brokenInvariant(const ExportCase& input, const ExportRecord& run);

// The first difference between two runs of the same case, or empty text.
std::string differenceBetween(const ExportRecord& a, const ExportRecord& b);

}  // namespace vessory::testing

#endif  // VESSORY_FUZZ_EXPORT_CHECK_H_
