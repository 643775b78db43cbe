#ifndef VESSORY_BENCH_ORGANISER_ARCHIVES_H_
#define VESSORY_BENCH_ORGANISER_ARCHIVES_H_

#include <cstdint>
#include <string>

namespace vessory::testing {

// The address book, to-do list and memo pad archives that speed is measured on, `records`
// records each, in windows-1252 with now and then a letter outside ASCII (names, places,
// recipes). The same count always gives the same bytes.

// Contacts with two to four numbers, an e-mail address now and then, postal addresses of one or
// two lines, a few notes and custom fields, spread over three categories and Unfiled.
std::string benchmarkAddressArchive(std::uint32_t records);

// To-dos, half with a due date, a third done, every priority, a quarter with a note.
std::string benchmarkTodoArchive(std::uint32_t records);

// Memos of two to eight CR LF lines whose first line, the title, differs from memo to memo.
// With `sharedTitle`, every other memo is titled alike and filed in Unfiled, so that half the
// files of the export need a counter in their names.
std::string benchmarkMemoArchive(std::uint32_t records, bool sharedTitle);

}  // namespace vessory::testing

#endif  // VESSORY_BENCH_ORGANISER_ARCHIVES_H_
