#ifndef VESSORY_MEMOS_MEMO_NAMES_H_
#define VESSORY_MEMOS_MEMO_NAMES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace vessory::memos {

// Hands out the file of each memo of one export, relative to the output folder: "Folder/Title.txt"
// for the first memo of a title in a folder, then "Folder/Title (2).txt", "(3)" and so on, in
// the order asked. Names that differ only in letter case count as the same, in folder and
// file names alike, because Windows and macOS keep them in one file: "Work" and "WORK" share the
// folder first spelt, "notes" after "Notes" is "notes (2)". A generated name never takes one
// already handed out ("X (2)" written from a memo titled so), and the counter of each title only
// moves on, so that thousands of memos of one title cost linear time.
//
// Takes `folder` and `title` already safe (safeFolderName(), memoTitle()); the paths then hold
// exactly one '/' and stay within the output folder. Keeps every name it handed out for the
// life of the object: one object per export.
class MemoNames {
 public:
  std::string next(std::string_view folder, std::string_view title);

 private:
  struct Folder {
    std::string spelling;                  // as first handed out
    std::unordered_set<std::string> used;  // folded titles, with their counters
    std::unordered_map<std::string, std::uint64_t> nextCounter;  // by folded title
  };

  std::unordered_map<std::string, Folder> folders_;  // by folded name
};

// `name` with the letters of the Latin, Greek and Cyrillic alphabets (and full-width Latin) in
// lower case, the way the file systems that ignore case compare them; other text as it is.
std::string foldCase(std::string_view name);

inline constexpr std::string_view kMemoExtension{".txt"};

}  // namespace vessory::memos

#endif  // VESSORY_MEMOS_MEMO_NAMES_H_
