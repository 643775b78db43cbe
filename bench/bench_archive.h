#ifndef VESSORY_BENCH_BENCH_ARCHIVE_H_
#define VESSORY_BENCH_BENCH_ARCHIVE_H_

#include <cstdint>
#include <string>

namespace vessory::testing {

// The archive that speed is measured on: `records` records, every third a day of the English
// daily journal with about six time-stamped entries (CR LF line ends, multi-line entries,
// <keywords>, quoted speech, now and then a "##" category line), the others short appointments
// and repeating events of every kind. The same count always gives the same bytes, so figures
// from different runs and machines compare. 32767 records come to about 9 MB.
std::string benchmarkArchive(std::uint32_t records);

// The same records in the later desktop layout (27 columns, each event with a location column,
// some of them filled): about 45 % larger.
std::string benchmarkLaterArchive(std::uint32_t records);

// A long journal note of `entries` entries, for measuring the splitter on its own.
std::string benchmarkNote(int entries);

}  // namespace vessory::testing

#endif  // VESSORY_BENCH_BENCH_ARCHIVE_H_
