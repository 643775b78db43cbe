// libFuzzer target: the address book, to-do list and memo pad export over arbitrary bytes. The
// run must end; a run that exported nothing must have made nothing; the contacts and to-do files
// must be UTF-8 in CR LF lines of at most 75 octets with one card or VTODO per record counted
// (libical reading the to-dos back); every memo must land in a category folder right inside the
// output folder, none over another; and where the source cuts its chunks must change nothing.
//
// Input: two option bytes, then the archive.
//   byte 0: digits of a mixed-radix number: the tag put before the rest (address book, to-do
//           list, memo pad, or none: the rest is the whole archive, wrapper and tag included),
//           whether deleted records are kept, the character set, and whether the archive is
//           named as a live file or as an archive file.
//   byte 1: the chunk size the archive is handed out in.

#include <libical/ical.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archive/organiser_format.h"
#include "export/organiser_run.h"
#include "line_shape.h"
#include "piece_source.h"
#include "support/fake_export.h"

namespace {

using vessory::archive::RecordKind;
using vessory::exporting::ExportOutcome;
using vessory::exporting::OrganiserSettings;
using vessory::exporting::OrganiserTally;
using vessory::testing::PieceFiles;

constexpr std::array<std::string_view, 4> kTags = {
    vessory::archive::kAddressTag, vessory::archive::kTodoTag, vessory::archive::kMemoTag, ""};
constexpr std::array<const char*, 2> kCharsets = {"windows-1252", "UTF-8"};
constexpr std::array<const char*, 2> kArchiveNames = {"fuzz/organiser.dat", "fuzz/organiser.aba"};
constexpr std::array<std::size_t, 6> kChunkSizes = {0, 1, 3, 7, 64, 4096};

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "broken invariant: %s\n", what.c_str());
  __builtin_trap();
}

struct Result {
  ExportOutcome outcome;
  OrganiserTally tally;
  std::vector<std::string> messages;
  std::map<std::string, std::string> outputs;  // by path
  std::vector<std::string> folders;
};

Result runCase(const std::string& path, const std::string& archive,
               const OrganiserSettings& settings, std::size_t piece) {
  PieceFiles files(piece);
  files.archives[path] = archive;
  vessory::testing::RecordingView view;
  const std::size_t slash = path.find('/');
  view.folder = path.substr(0, slash);
  view.fileName = path.substr(slash + 1);
  vessory::exporting::OrganiserRun run(files, settings);
  Result result{run.run(view), run.tally(), view.messages, {}, files.folders};
  for (const std::string& output : files.outputPaths()) {
    if (!files.closed(output)) fail("an output left open: " + output);
    result.outputs[output] = files.csv(output);
  }
  return result;
}

std::size_t countOf(const std::string& text, const std::string& line) {
  std::size_t count = 0;
  for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
    if (at == 0 || text[at - 1] == '\n') ++count;
  }
  return count;
}

void checkLines(const std::string& text, const char* what) {
  if (std::string fault = vessory::testing::lineShapeFault(text); !fault.empty()) {
    fail(std::string(what) + ": " + fault);
  }
}

void checkContacts(const std::string& cards, const OrganiserTally& tally) {
  checkLines(cards, "the contacts");
  const std::size_t begins = countOf(cards, "BEGIN:VCARD\r\n");
  if (begins != countOf(cards, "END:VCARD\r\n")) fail("BEGIN:VCARD and END:VCARD unbalanced");
  if (static_cast<std::int64_t>(begins) != tally.written) fail("cards and contacts counted differ");
}

void checkTodos(const std::string& calendar, const OrganiserTally& tally) {
  checkLines(calendar, "the to-dos");
  icalcomponent* parsed = icalparser_parse_string(calendar.c_str());
  if (parsed == nullptr) fail("libical cannot read the to-dos back");
  std::int64_t todos = 0;
  for (icalcomponent* c = icalcomponent_get_first_component(parsed, ICAL_VTODO_COMPONENT);
       c != nullptr; c = icalcomponent_get_next_component(parsed, ICAL_VTODO_COMPONENT)) {
    ++todos;
  }
  icalcomponent_free(parsed);
  if (todos != tally.written) fail("VTODOs and to-dos counted differ");
}

bool safeName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string_view::npos && vessory::testing::validUtf8(name);
}

// Every memo is FOLDER/CATEGORY/TITLE.txt, and every folder made is FOLDER or FOLDER/CATEGORY.
void checkMemos(const Result& result, const std::string& folder) {
  const std::string inside = folder + "/";
  for (const std::string& made : result.folders) {
    if (made != folder && (made.rfind(inside, 0) != 0 || !safeName(made.substr(inside.size())))) {
      fail("a folder made outside the output folder: " + made);
    }
  }
  for (const auto& [path, text] : result.outputs) {
    const std::string_view rest = std::string_view(path).substr(inside.size());
    const std::size_t slash = rest.find('/');
    if (path.rfind(inside, 0) != 0 || slash == std::string_view::npos ||
        !safeName(rest.substr(0, slash)) || !safeName(rest.substr(slash + 1)) ||
        !rest.ends_with(".txt")) {
      fail("a memo written outside its category folder: " + path);
    }
    if (!vessory::testing::validUtf8(text)) fail("a memo that is not UTF-8: " + path);
  }
  if (static_cast<std::int64_t>(result.outputs.size()) != result.tally.written) {
    fail("memo files and memos counted differ");
  }
}

void checkResult(const Result& result, const std::string& archivePath) {
  const OrganiserTally& tally = result.tally;
  if (vessory::exporting::nothingExported(result.outcome)) {
    if (!result.outputs.empty() || !result.folders.empty())
      fail("made by a run that exported nothing");
    return;
  }
  if (tally.written + tally.deletedLeftOut + tally.damagedLeftOut >
          std::max<std::int64_t>(tally.announced, 0) ||
      tally.damagedLeftOut > 1 || tally.lastWhole > tally.announced) {
    fail("the tally counts more records than the header announces");
  }
  const std::string output = vessory::exporting::organiserOutputPathFor(archivePath, tally.kind);
  if (tally.kind == RecordKind::kMemo) return checkMemos(result, output);
  if (result.outputs.size() > 1 || !result.folders.empty()) fail("more than one output made");
  if (result.outputs.empty()) return;  // the header could not be read
  const std::string& text = result.outputs.begin()->second;
  if (result.outputs.begin()->first != output) fail("an output other than " + output);
  if (tally.kind == RecordKind::kAddress) {
    checkContacts(text, tally);
  } else {
    checkTodos(text, tally);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t options = size > 0 ? data[0] : 0;
  const std::size_t chunk = size > 1 ? data[1] : 0;
  const std::size_t skip = std::min<std::size_t>(size, 2);
  const std::string_view tag = kTags[options % kTags.size()];
  options /= kTags.size();
  const std::string archive =
      std::string(tag) + std::string(reinterpret_cast<const char*>(data) + skip, size - skip);
  OrganiserSettings settings;
  settings.zoneName = "UTC";
  settings.stampTime = 1000000000;
  settings.includeDeleted = options % 2 == 1;
  settings.charset = kCharsets[(options / 2) % kCharsets.size()];
  const std::string path = kArchiveNames[(options / 4) % kArchiveNames.size()];
  const Result whole = runCase(path, archive, settings, 0);
  checkResult(whole, path);
  const std::size_t piece = kChunkSizes[chunk % kChunkSizes.size()];
  if (piece != 0) {
    const Result pieces = runCase(path, archive, settings, piece);
    if (pieces.outputs != whole.outputs || pieces.messages != whole.messages ||
        pieces.outcome != whole.outcome || pieces.folders != whole.folders) {
      fail("the whole archive and pieces of " + std::to_string(piece) + " differ");
    }
  }
  return 0;
}
