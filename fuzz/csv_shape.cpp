#include "csv_shape.h"

#include <vector>

#include "archive/timestamp.h"

namespace vessory::testing {

namespace {

// What the date column can hold: "M/DD/YYYY" for years 1 to 9999, or the date part of the
// placeholder for a time that has no date.
constexpr std::string_view kNoDate =
    archive::kUnrepresentableTimestamp.substr(0, archive::kUnrepresentableTimestamp.find(','));
// Steps after which the search gives up (a row cut explodes only on freak inputs).
constexpr long kStepBudget = 20'000'000;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

class RowSearch {
 public:
  RowSearch(std::string_view csv, CsvLayouts layouts)
      : csv_(csv), layouts_(layouts), reachable_(csv.size() + 1, 0), textEnd_(csv.size(), 0) {}

  CsvShape run() {
    reachable_[0] = 1;
    for (std::size_t start = 0; start < csv_.size(); ++start) {
      if (!reachable_[start]) continue;
      rowsFrom(start);
      if (steps_ > kStepBudget) return CsvShape::kUndecided;
    }
    return reachable_[csv_.size()] ? CsvShape::kRows : CsvShape::kBroken;
  }

 private:
  // Marks the end of every row that can start at `start`.
  void rowsFrom(std::size_t start) {
    std::size_t i = start;
    if (i < csv_.size() && csv_[i] == '-') ++i;
    std::size_t digits = i;
    while (i < csv_.size() && isDigit(csv_[i])) ++i;
    if (i == digits || i >= csv_.size() || csv_[i] != ',') return;
    ++i;
    if (layouts_.withoutKeyword) afterKeyword(i);
    if (!layouts_.withKeyword) return;
    // A keyword is the text between the delimiters "<" and ">", so it never holds a ">".
    for (std::size_t k = i; k < csv_.size() && csv_[k] != '>'; ++k) {
      if (++steps_ > kStepBudget) return;
      if (csv_[k] == ',') afterKeyword(k + 1);
    }
  }

  // The date column at `i`, then the label and the text.
  void afterKeyword(std::size_t i) {
    std::size_t end = dateEnd(i);
    if (end == 0 || end >= csv_.size() || csv_[end] != ',') return;
    // The label is trimmed and upper-cased: it holds no a-z and has no blank at either end.
    const std::size_t label = end + 1;
    for (std::size_t k = label; k + 1 < csv_.size(); ++k) {
      if (++steps_ > kStepBudget) return;
      char c = csv_[k];
      if (c >= 'a' && c <= 'z') return;
      if (c != ',' || csv_[k + 1] != '"') continue;
      if (k > label && (csv_[label] == ' ' || csv_[k - 1] == ' ')) continue;
      std::size_t rowEnd = quotedTextEnd(k + 2);
      if (rowEnd != 0) reachable_[rowEnd] = 1;
    }
  }

  // End of a date starting at `i`, or 0.
  std::size_t dateEnd(std::size_t i) const {
    if (csv_.substr(i, kNoDate.size()) == kNoDate) return i + kNoDate.size();
    auto digitsAt = [this](std::size_t& at, std::size_t least, std::size_t most) {
      std::size_t from = at;
      while (at < csv_.size() && at - from < most && isDigit(csv_[at])) ++at;
      return at - from >= least;
    };
    auto slashAt = [this](std::size_t& at) {
      if (at >= csv_.size() || csv_[at] != '/') return false;
      ++at;
      return true;
    };
    std::size_t at = i;
    if (!digitsAt(at, 1, 2) || !slashAt(at) || !digitsAt(at, 2, 2) || !slashAt(at) ||
        !digitsAt(at, 1, 4)) {
      return 0;
    }
    return at;
  }

  // The quoted text opening at `i` (after its quotation mark): quotation marks come in pairs,
  // a single one closes it, and CR LF follows. Returns the end of the row, or 0.
  std::size_t quotedTextEnd(std::size_t i) {
    if (i > csv_.size()) return 0;
    if (i < textEnd_.size() && textEnd_[i] != 0) return textEnd_[i] == kNoRow ? 0 : textEnd_[i];
    std::size_t result = 0;
    std::size_t k = i;
    while (k < csv_.size()) {
      ++steps_;
      if (csv_[k] != '"') {
        ++k;
      } else if (k + 1 < csv_.size() && csv_[k + 1] == '"') {
        k += 2;
      } else {
        break;
      }
    }
    // Trailing CR and LF are stripped from every entry before it is written.
    bool strippedEnd = k == i || (csv_[k - 1] != '\r' && csv_[k - 1] != '\n');
    if (k < csv_.size() && csv_.substr(k, 3) == "\"\r\n" && strippedEnd) result = k + 3;
    if (i < textEnd_.size()) textEnd_[i] = result == 0 ? kNoRow : result;
    return result;
  }

  static constexpr std::size_t kNoRow = ~std::size_t{0};

  std::string_view csv_;
  CsvLayouts layouts_;
  std::vector<char> reachable_;
  std::vector<std::size_t> textEnd_;
  long steps_ = 0;
};

}  // namespace

CsvShape checkCsvShape(std::string_view csv, CsvLayouts layouts) {
  return RowSearch(csv, layouts).run();
}

}  // namespace vessory::testing
