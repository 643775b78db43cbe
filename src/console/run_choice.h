#ifndef VESSORY_CONSOLE_RUN_CHOICE_H_
#define VESSORY_CONSOLE_RUN_CHOICE_H_

#include <string>

#include "archive/organiser_archive.h"
#include "export/input_kind.h"
#include "console/console_options.h"

namespace vessory::console {

// Which export the console tool runs.
enum class RunKind {
  kJournal,       // the date book's journal CSV
  kListJournals,  // the descriptions that could name a journal
  kCalendar,      // the whole date book as iCalendar
  kOrganiser,     // contacts, to-dos or memos, by the archive's kind
};

struct RunChoice {
  RunKind run = RunKind::kJournal;
  std::string usageError;  // not empty: the options do not fit the archive (exit status 2)
};

// The run for the options given and what the input holds, as its content tells. A desktop file
// that is not an address book, to-do list or memo pad (a date book, an unknown tag, a file that
// cannot be read) goes to the date book's exports, which report a wrong tag or a missing file
// themselves; so does a handheld date book. Any other handheld database goes to the organiser
// export, which names a database it does not read. Options that belong to another kind's export
// are a usage error that names the option.
RunChoice chooseRun(const ConsoleOptions& options, const exporting::InputKind& input);

// The desktop archive kind that stands for `input` in the choice and in messages.
archive::ArchiveKind choiceKind(const exporting::InputKind& input);

}  // namespace vessory::console

#endif  // VESSORY_CONSOLE_RUN_CHOICE_H_
