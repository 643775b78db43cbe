#ifndef VESSORY_FUZZ_CSV_SHAPE_H_
#define VESSORY_FUZZ_CSV_SHAPE_H_

#include <string_view>

namespace vessory::testing {

// Which row layouts an export may have written: with a keyword column (keyword delimiters not
// empty), without one, or, when the delimiters changed during the run, either.
struct CsvLayouts {
  bool withKeyword = true;
  bool withoutKeyword = false;
};

enum class CsvShape { kRows, kBroken, kUndecided };

// Tells whether `csv` is a sequence of whole journal rows: category, [keyword,] date, time
// label, and the quoted text with its quotation marks doubled, each row ended by CR LF. The
// keyword and the label are free text (they may hold commas, quotes and line breaks), so a
// file can often be cut into rows in more than one way; the file passes when any cut works.
// Gives kUndecided when the search would take too long.
CsvShape checkCsvShape(std::string_view csv, CsvLayouts layouts);

}  // namespace vessory::testing

#endif  // VESSORY_FUZZ_CSV_SHAPE_H_
