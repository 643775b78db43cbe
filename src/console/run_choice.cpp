#include "console/run_choice.h"

namespace vessory::console {

namespace {

// What messages call an archive of `kind`; empty for the date book's exports.
std::string organiserKindName(archive::ArchiveKind kind) {
  switch (kind) {
    case archive::ArchiveKind::kAddress:
      return "an address book";
    case archive::ArchiveKind::kTodo:
    case archive::ArchiveKind::kLaterTodo:
      return "a to-do list";
    case archive::ArchiveKind::kMemo:
      return "a memo pad";
    default:
      return {};
  }
}

bool belongsToDatebook(const std::string& name) {
  return journalOnly(name) || name == "--calendar" || name == "--list-journals" ||
         name == "--daily-notes";
}

// The journal's times follow a zone given to it as the calendar's do; the calendar's other
// options mean nothing to it.
bool journalTakes(const std::string& name) { return name == "--time-zone"; }

}  // namespace

archive::ArchiveKind choiceKind(const exporting::InputKind& input) {
  if (input.container == exporting::Container::kDesktop) return input.desktop;
  if (!input.records) return archive::ArchiveKind::kUnknown;
  switch (*input.records) {
    case archive::RecordKind::kDatebook:
      return archive::ArchiveKind::kDatebook;
    case archive::RecordKind::kAddress:
      return archive::ArchiveKind::kAddress;
    case archive::RecordKind::kTodo:
      return archive::ArchiveKind::kTodo;
    default:
      return archive::ArchiveKind::kMemo;
  }
}

RunChoice chooseRun(const ConsoleOptions& options, const exporting::InputKind& input) {
  RunChoice choice;
  const archive::ArchiveKind kind = choiceKind(input);
  if (input.container == exporting::Container::kHandheld && !input.records) {
    choice.run = RunKind::kOrganiser;  // it says what the database is
    return choice;
  }
  if (archive::namedNotRead(kind)) {
    // Named, not read, whatever the options: that export says what the file is.
    choice.run = RunKind::kOrganiser;
    return choice;
  }
  const std::string organiser = organiserKindName(kind);
  if (!organiser.empty()) {
    choice.run = RunKind::kOrganiser;
    for (const std::string& name : options.given) {
      if (belongsToDatebook(name)) {
        choice.usageError = "option " + name;
        choice.usageError += " belongs to the date book's exports and cannot be used with ";
        choice.usageError += organiser;
        choice.usageError += " archive";
        return choice;
      }
    }
    if (kind == archive::ArchiveKind::kMemo && options.output == "-") {
      choice.usageError = "a memo pad is written as a folder of files: -o needs a folder, not -";
    }
    return choice;
  }
  if (options.listJournals) {
    choice.run = RunKind::kListJournals;
  } else if (options.calendar) {
    choice.run = RunKind::kCalendar;
  } else {
    for (const std::string& name : options.given) {
      if (calendarOnly(name) && !journalTakes(name)) {
        choice.usageError = "option " + name + " belongs to the calendar export: add --calendar";
        return choice;
      }
    }
  }
  return choice;
}

}  // namespace vessory::console
