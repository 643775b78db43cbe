#ifndef VESSORY_BENCH_HANDHELD_ARCHIVES_H_
#define VESSORY_BENCH_HANDHELD_ARCHIVES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vessory::testing {

// A handheld database of `records` records of `kind` ("datebook", "address", "todo", "memo"),
// varied as a handheld's are: about one date-book record in four a journal entry with a note,
// others plain or repeating appointments; contacts with two or three phones; half the to-dos
// due. The same count always gives the same bytes. Empty for an unknown kind.
std::string benchmarkHandheldDatabase(std::string_view kind, std::uint32_t records);

// A later handheld's database of `records` records of `kind` ("calendar", "contacts",
// "contacts-photo", "tasks", "memos"): events with locations, one in four in a zone with
// daylight saving (three zones in all), one in eight a meeting; contacts with phones, an e-mail
// address, two addresses, a birthday and (for "contacts-photo") a 3 KiB picture each; tasks with
// due dates, alarms and weekly repeats. The same count always gives the same bytes.
std::string benchmarkLaterDatabase(std::string_view kind, std::uint32_t records);

}  // namespace vessory::testing

#endif  // VESSORY_BENCH_HANDHELD_ARCHIVES_H_
