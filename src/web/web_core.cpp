#include "web/web_core.h"

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

#include "archive/text_converter.h"
#include "console/console_folder.h"
#include "console/console_options.h"
#include "console/stop_signals.h"
#include "export/export_view.h"
#include "export/folder_export.h"
#include "export/folder_layout.h"
#include "export/folder_notes.h"
#include "export/folder_summary.h"
#include "export/journal_listing.h"
#include "web/web_json.h"

namespace vessory::web {

namespace {

std::int64_t numberIn(const std::string& text) {
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The run's progress for the page: a thousand steps an archive, its share taken by records.
class ProgressWatcher : public exporting::FolderView {
 public:
  ProgressWatcher(const WebCore::Progress& progress, const WebCore::Clock& clock,
                  std::chrono::milliseconds interval, std::int64_t archives)
      : progress_(progress), clock_(clock), interval_(interval), archives_(archives) {}

  void archiveRead(const std::string&, std::int64_t) override {}
  void showDetail(const std::string&, const std::string&) override {}
  void archiveStarted(const std::string& name) override {
    ++started_;
    name_ = name;
    records_ = current_ = 0;
    tell();
  }
  void showTotalRecords(const std::string& text) override { records_ = numberIn(text); }
  void showThisRecord(const std::string& text) override { current_ = numberIn(text); }
  void processPendingEvents() override { tell(); }

 private:
  void tell() {
    if (!progress_) return;
    const auto now = clock_();
    if (told_ && now - last_ < interval_) return;
    told_ = true;
    last_ = now;
    const std::int64_t share =
        records_ > 0 ? std::min<std::int64_t>(999, current_ * 1000 / records_) : 0;
    // A date book is read twice (journal, calendar): the bar does not go back for the second.
    done_ = std::max(done_, (started_ - 1) * 1000 + share);
    progress_(done_, archives_ * 1000, name_);
  }

  const WebCore::Progress& progress_;
  const WebCore::Clock& clock_;
  std::chrono::milliseconds interval_;
  std::int64_t archives_;
  std::int64_t started_ = 0, records_ = 0, current_ = 0, done_ = 0;
  std::string name_;
  bool told_ = false;
  std::chrono::steady_clock::time_point last_{};
};

// Every description that could name a journal over the date books found, counted as
// --list-journals counts them, most frequent first and ties in byte order. Shown in the
// desktop's character set, the page's journal name being compared with the archive's text.
std::string journalsJson(files::ExportFiles& files,
                         const std::vector<exporting::FoundArchive>& found) {
  std::map<std::string, std::int64_t> counts;
  for (const exporting::FoundArchive& archive : found) {
    if (exporting::exportKind(archive) != archive::RecordKind::kDatebook ||
        exporting::plannedOutputs(archive).empty()) {
      continue;
    }
    exporting::JournalListing listing(files);
    listing.convertToUtf8From(std::string(archive::kDefaultArchiveCharset));
    exporting::QuietListingView view(archive.path);
    listing.run(view);
    for (const exporting::JournalCandidate& c : listing.candidates()) {
      counts[c.description] += c.count;
    }
  }
  std::vector<std::pair<std::string, std::int64_t>> sorted(counts.begin(), counts.end());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::string json;
  for (const auto& [name, count] : sorted) {
    json += (json.empty() ? "" : ",") + std::string("{\"name\":") + jsonString(name) +
            ",\"count\":" + std::to_string(count) + "}";
  }
  return "[" + json + "]";
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

}  // namespace

std::string WebCore::scan(const std::string& folder) {
  const exporting::FolderLayout layout =
      exporting::findArchives(files_, folder, exporting::defaultOutputFolder(files_, folder));
  std::string found, leftAlone;
  for (const exporting::FoundArchive& archive : layout.archives) {
    const std::vector<std::string> outputs = exporting::plannedOutputs(archive);
    const std::optional<archive::RecordKind> kind = exporting::exportKind(archive);
    if (!outputs.empty()) {
      found += (found.empty() ? "" : ",") + std::string("{\"path\":") +
               jsonString(archive.shownName) +
               ",\"kind\":" + jsonString(exporting::kindWords(*kind)) +
               ",\"holds\":" + jsonString(exporting::foundWhat(archive)) +
               ",\"output\":" + jsonString(joined(outputs)) + "}";
      continue;
    }
    std::string reason = exporting::leftOutNote(archive);
    if (!kind && !archive.input.readError.empty()) {
      reason = archive.input.readError;
    } else if (exporting::namedNotRead(archive)) {
      reason = exporting::folderNotReadMessage(archive, layout.archives);
    } else if (reason.empty()) {
      reason = exporting::foundWhat(archive);
    }
    leftAlone += (leftAlone.empty() ? "" : ",") + std::string("{\"path\":") +
                 jsonString(archive.shownName) + ",\"reason\":" + jsonString(reason) + "}";
  }
  const std::optional<std::string> problem = exporting::nothingToExport(folder, layout);
  return "{\"found\":[" + found + "],\"leftAlone\":[" + leftAlone +
         "],\"journals\":" + journalsJson(files_, layout.archives) +
         ",\"message\":" + jsonString(problem.value_or("")) + "}";
}

bool consoleArguments(std::string_view optionsJson, std::vector<std::string>& args,
                      bool& dailyNotes, std::string& error) {
  const auto members = parseFlatObject(optionsJson, error);
  if (!members) return false;
  // Each text option and its console option; empty text leaves the console's default.
  static const std::map<std::string, std::string> kTexts = {{"journal", "-j"},
                                                            {"keywords", "-k"},
                                                            {"timeZone", "--time-zone"},
                                                            {"encoding", "--encoding"}};
  dailyNotes = true;
  for (const auto& [name, value] : *members) {
    const bool isText = std::holds_alternative<std::string>(value);
    if (const auto text = kTexts.find(name); text != kTexts.end() && isText) {
      const std::string& given = std::get<std::string>(value);
      // No keyword delimiters is a choice ("-k ''"); the other texts fall back when empty.
      if (!given.empty() || name == "keywords") args.insert(args.end(), {text->second, given});
    } else if (name == "dailyNotes" && !isText) {
      dailyNotes = std::get<bool>(value);
    } else if (name == "includeDeleted" && !isText) {
      if (std::get<bool>(value)) args.emplace_back("--include-deleted");
    } else {
      error = "unknown option or value: " + name;
      return false;
    }
  }
  return true;
}

int WebCore::exportFolder(const std::string& folder, const std::string& outFolder,
                          std::string_view optionsJson) {
  summary_.clear();
  outputs_.clear();
  std::vector<std::string> args = {"--all", folder, "-o", outFolder};
  bool dailyNotes = true;
  std::string error;
  if (!consoleArguments(optionsJson, args, dailyNotes, error)) {
    summary_ = "vessory-export: " + error + "\n";
    return 2;
  }
  const console::ParsedOptions parsed = console::parseConsoleOptions(args);
  if (!parsed.error.empty()) {
    summary_ = "vessory-export: " + parsed.error + "\n";
    return 2;
  }
  const std::size_t archives = exporting::findArchives(files_, folder, outFolder).archives.size();
  ProgressWatcher watcher(progress_, clock_, interval_, static_cast<std::int64_t>(archives));
  console::setStopSignal(0);
  char* text = nullptr;
  std::size_t size = 0;
  std::FILE* err = open_memstream(&text, &size);
  if (err == nullptr) {
    summary_ = "vessory-export: no memory for the summary\n";
    return 4;
  }
  const int status =
      console::exportFolder(parsed.options, files_, err, false, {&watcher, dailyNotes});
  std::fclose(err);
  summary_.assign(text, size);
  std::free(text);
  console::setStopSignal(0);
  outputs_ = filesUnder(outFolder, "");
  std::sort(outputs_.begin(), outputs_.end());
  return status;
}

std::vector<std::string> WebCore::filesUnder(const std::string& folder,
                                             const std::string& prefix) const {
  std::vector<files::FolderEntry> entries;
  std::string error;
  if (!files_.listFolder(folder, entries, error)) return {};
  std::vector<std::string> found;
  for (const files::FolderEntry& entry : entries) {
    const std::string path = folder + "/" + entry.name;
    if (entry.isFolder) {
      for (std::string& inner : filesUnder(path, prefix + entry.name + "/")) {
        found.push_back(std::move(inner));
      }
    } else {
      found.push_back(prefix + entry.name);
    }
  }
  return found;
}

std::string WebCore::outputsJson() const {
  std::string json;
  for (const std::string& path : outputs_) json += (json.empty() ? "" : ",") + jsonString(path);
  return "[" + json + "]";
}

void WebCore::requestStop() { console::setStopSignal(SIGINT); }

}  // namespace vessory::web
