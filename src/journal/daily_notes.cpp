#include "journal/daily_notes.h"

#include <algorithm>
#include <chrono>
#include <charconv>
#include <cstdio>
#include <set>

#include "journal/markdown_text.h"

namespace vessory::journal {

namespace {

constexpr std::string_view kMonthNames[] = {"January", "February", "March",     "April",
                                            "May",     "June",     "July",      "August",
                                            "September", "October", "November", "December"};
constexpr std::string_view kWeekdayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};
constexpr std::string_view kDayExtension = ".md";
constexpr std::string_view kUndatedName = "undated.md";
constexpr std::string_view kFolderSuffix = "-journal";
constexpr int kLastYear = 9999;

// The number at the start of `text` and the text after it and one separator `sep`.
std::optional<int> takeNumber(std::string_view& text, char sep) {
  int value = 0;
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (problem != std::errc() || end == text.data()) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  if (sep != '\0') {
    if (text.empty() || text[0] != sep) return std::nullopt;
    text.remove_prefix(1);
  }
  return value;
}

std::string fourDigits(int year) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", year);
  return digits;
}

// "2004-03-15", as the front matter's date and the file's name.
std::string isoDate(const JournalDay& day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", day.year, day.month, day.day);
  return text;
}

void appendFrontMatter(const JournalDay& date, const std::vector<std::string>& tags,
                       std::string& out) {
  out += "---\n";
  if (date.year != 0) {
    out += "date: ";
    out += isoDate(date);
    out += '\n';
  }
  if (tags.empty()) {
    if (date.year == 0) out += "tags: []\n";
  } else {
    out += "tags:\n";
    for (const std::string& tag : tags) {
      out += "  - ";
      appendYamlQuoted(tag, out);
      out += '\n';
    }
  }
  out += "---\n\n";
}

// The day's files that the folder holds (as names relative to it), by their names alone.
std::vector<std::string> dayFilesIn(files::ExportFiles& files, const std::string& folder) {
  std::vector<std::string> found;
  std::vector<files::FolderEntry> years;
  std::string error;
  if (!files.listFolder(folder, years, error)) return found;
  for (const files::FolderEntry& year : years) {
    if (!year.isFolder) {
      if (year.name == kUndatedName) found.push_back(year.name);
      continue;
    }
    std::vector<files::FolderEntry> days;
    if (!files.listFolder(folder + "/" + year.name, days, error)) continue;
    for (const files::FolderEntry& day : days) {
      const std::string& name = day.name;
      if (!day.isFolder && name.size() > kDayExtension.size() &&
          name.compare(name.size() - kDayExtension.size(), kDayExtension.size(), kDayExtension) == 0) {
        found.push_back(year.name + "/" + name);
      }
    }
  }
  return found;
}

// Writes day files into one folder, in date order, and keeps the count and the first failure.
struct DayFiles {
  DayFiles(files::ExportFiles& to, const std::string& into) : files(to), folder(into) {}

  files::ExportFiles& files;
  const std::string& folder;
  bool earlier = false;            // the folder was there before: names are kept
  std::set<std::string> names;     // the day files written, when kept
  std::string lastYear;            // the year whose folder was made last
  DailyNotesWritten written;

  bool write(const std::string& name, const std::string& text) {
    if (earlier) names.insert(name);
    std::string error;
    // Days come in date order: a year's folder is made when its first day comes.
    const std::size_t slash = name.find('/');
    if (slash != std::string::npos && name.compare(0, slash, lastYear) != 0) {
      lastYear.assign(name, 0, slash);
      const std::string year = folder + "/" + lastYear;
      if (!files.makeFolder(year, error)) {
        written.error = "Cannot make " + year + ": " + error;
        return false;
      }
    }
    const std::string path = folder + "/" + name;
    std::unique_ptr<files::OutputFile> out = files.createFile(path, error);
    if (!out) {
      written.error = "Cannot create " + path + ": " + error;
      return false;
    }
    out->append(text);
    if (!out->close()) {
      written.error = "Cannot write " + path + ": " + out->errorText();
      return false;
    }
    ++written.days;
    return true;
  }
};

}  // namespace

std::optional<JournalDay> parseJournalDate(std::string_view dateText) {
  JournalDay day;
  std::optional<int> month = takeNumber(dateText, '/');
  std::optional<int> dayOfMonth = month ? takeNumber(dateText, '/') : std::nullopt;
  std::optional<int> year = dayOfMonth ? takeNumber(dateText, '\0') : std::nullopt;
  if (!year || !dateText.empty() || *year < 1 || *year > kLastYear) return std::nullopt;
  day = JournalDay{*year, *month, *dayOfMonth};
  const std::chrono::year_month_day checked{std::chrono::year{day.year},
                                            std::chrono::month{static_cast<unsigned>(day.month)},
                                            std::chrono::day{static_cast<unsigned>(day.day)}};
  if (!checked.ok()) return std::nullopt;
  return day;
}

std::string dayFileName(const JournalDay& day) {
  if (day.year == 0) return std::string(kUndatedName);
  return fourDigits(day.year) + "/" + isoDate(day) + std::string(kDayExtension);
}

std::string dayTitle(const JournalDay& day) {
  if (day.year == 0) return "Undated";
  const std::chrono::sys_days days{std::chrono::year{day.year} /
                                   std::chrono::month{static_cast<unsigned>(day.month)} /
                                   std::chrono::day{static_cast<unsigned>(day.day)}};
  const unsigned weekday = std::chrono::weekday{days}.c_encoding();
  return std::string(kWeekdayNames[weekday]) + ", " + std::to_string(day.day) + " " +
         std::string(kMonthNames[day.month - 1]) + " " + std::to_string(day.year);
}

void DailyNotes::add(std::string_view dateText, std::string_view tag, NoteEntry entry) {
  Day& day = days_[parseJournalDate(dateText).value_or(JournalDay{})];
  if (!tag.empty() && std::find(day.tags.begin(), day.tags.end(), tag) == day.tags.end()) {
    day.tags.emplace_back(tag);
  }
  day.entries.push_back(std::move(entry));
}

void DailyNotes::renderDay(const JournalDay& date, const Day& day, std::string& out) {
  appendFrontMatter(date, day.tags, out);
  out += "# ";
  out += dayTitle(date);
  out += '\n';
  for (const NoteEntry& entry : day.entries) {
    out += "\n## ";
    appendMarkdownHeading(entry.label, out);
    if (isTagWord(entry.keyword)) {
      out += " #";
      out += entry.keyword;
    }
    out += "\n";
    const std::size_t before = out.size();
    out += '\n';
    appendMarkdownText(entry.text, out);
    if (out.size() == before + 1) {
      out.resize(before);  // an entry without text is its heading alone
    } else {
      out += '\n';
    }
  }
}

void DailyNotes::render(
    const std::function<bool(const std::string& name, const std::string& text)>& write) const {
  std::string text;
  for (const auto& [date, day] : days_) {
    text.clear();
    renderDay(date, day, text);
    if (!write(dayFileName(date), text)) return;
  }
}

DailyNotesWritten writeDailyNotes(files::ExportFiles& files, const std::string& folder,
                                  const DailyNotes& notes) {
  DayFiles days(files, folder);
  // Only a folder that was there before can hold files of other days; a new one is not read.
  days.earlier = files.folderExists(folder);
  std::string error;
  if (!files.makeFolder(folder, error)) {
    days.written.error = "Cannot make " + folder + ": " + error;
    return days.written;
  }
  notes.render([&days](const std::string& name, const std::string& text) {
    return days.write(name, text);
  });
  if (!days.earlier) return days.written;
  for (const std::string& name : dayFilesIn(files, folder)) {
    if (days.names.count(name) == 0) ++days.written.leftAlone;
  }
  return days.written;
}

std::string dailyNotesFolderBeside(std::string_view archivePath) {
  const std::size_t nameStart = archivePath.find_last_of("\\/") + 1;  // npos + 1 is 0
  const std::size_t dot = archivePath.rfind('.');
  const std::string_view stem =
      dot == std::string_view::npos || dot <= nameStart ? archivePath : archivePath.substr(0, dot);
  return std::string(stem) + std::string(kFolderSuffix);
}

std::string dailyNotesFolderForCsv(std::string_view csvPath) {
  constexpr std::string_view kCsv = ".csv";
  if (csvPath.size() > kCsv.size() && csvPath.substr(csvPath.size() - kCsv.size()) == kCsv) {
    csvPath.remove_suffix(kCsv.size());
  }
  return std::string(csvPath);
}

}  // namespace vessory::journal
