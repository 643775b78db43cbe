#include "export_check.h"

#include <algorithm>
#include <array>
#include <memory>
#include <span>

#include "files/byte_source.h"
#include "csv_shape.h"
#include "files/export_files.h"
#include "files/output_file.h"
#include "handheld/handheld_database.h"
#include "piece_source.h"
#include "support/fake_export.h"

namespace vessory::testing {

namespace {

constexpr std::array<const char*, 3> kKeywords = {"", "<", "<>"};
constexpr std::array<int, 2> kWrap = {exporting::kChecked, exporting::kUnchecked};
constexpr std::array<const char*, 3> kBias = {"-4", "5.5", "1e300"};
constexpr int kOptionSets = 18;
constexpr std::array<std::size_t, 8> kChunkSizes = {0, 1, 2, 3, 5, 7, 64, 4096};

constexpr char kFolder[] = "fuzz";
constexpr char kFileName[] = "datebook.dat";
constexpr std::string_view kTag{
    "\x00\x01"
    "BD",
    4};
constexpr std::string_view kPastEndNotice = "Just read char past EOF";
constexpr char kSequencingError[] = "sequencing error";
// The fewest bytes a record can take when it is read to its end: fourteen fields of eight
// bytes or more, and a repeat block of eight.
constexpr std::size_t kSmallestRecord = 122;
// The fewest bytes that can raise one message: a skipped stray group.
constexpr std::size_t kBytesPerMessage = 5;

const std::string& archivePath() {
  static const std::string path = std::string(kFolder) + exporting::pathSeparator() + kFileName;
  return path;
}

void applyOptionSet(RecordingView& view, int set) {
  view.keywords = kKeywords[set % 3];
  view.wrap = kWrap[set / 3 % 2];
  view.bias = kBias[set / 6 % 3];
}

// One archive and one CSV, in memory. The open CSV output can be flushed from outside, so that
// what it holds at a given moment can be compared with what it holds at the end.
class CaseFiles : public files::ExportFiles {
 public:
  CaseFiles(std::string_view archive, std::size_t piece) : archive_(archive), piece_(piece) {}

  bool fileExists(const std::string& path) override { return path == archivePath(); }
  std::unique_ptr<files::ByteSource> openArchive(const std::string&, std::string&) override {
    return std::make_unique<PieceSource>(archive_, piece_);
  }
  bool sameFile(const std::string& a, const std::string& b) override { return a == b; }
  std::unique_ptr<files::OutputFile> createCsv(const std::string&, std::string&) override {
    created_ = true;
    return std::make_unique<Output>(*this);
  }

  bool created() const { return created_; }
  const std::string& csv() const { return csv_; }
  // Everything written so far, buffered bytes included.
  std::string csvSoFar() {
    if (open_ != nullptr) open_->flush();
    return csv_;
  }

 private:
  class Output : public files::OutputFile {
   public:
    explicit Output(CaseFiles& files) : files_(files) { files_.open_ = this; }
    ~Output() override { files_.open_ = nullptr; }

   protected:
    bool write(std::string_view bytes) override {
      files_.csv_.append(bytes);
      return true;
    }

   private:
    CaseFiles& files_;
  };

  std::string_view archive_;
  std::size_t piece_;
  bool created_ = false;
  std::string csv_;
  files::OutputFile* open_ = nullptr;
};

class CaseView : public RecordingView {
 public:
  explicit CaseView(CaseFiles& files) : files_(files) {}

  void showMessage(const std::string& text) override {
    RecordingView::showMessage(text);
    if (text == kSequencingError) csvAtSequencingError = files_.csvSoFar();
  }

  std::optional<std::string> csvAtSequencingError;

 private:
  CaseFiles& files_;
};

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kWrapperTag{"\xBE\xBA\xFE\xCA", 4};

std::span<const unsigned char> bytesOf(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

std::string checkOutcome(const ExportCase& input, const ExportRecord& run) {
  using exporting::ExportOutcome;
  const bool tagged = input.archive.substr(0, kTag.size()) == kTag;
  if (!tagged) {
    if (run.outcome != ExportOutcome::kNotDatebook) return "untagged archive not refused";
    if (run.messages.size() != 1 || run.csvCreated) return "refusal did more than one message";
    return {};
  }
  if (run.messages.empty()) return "run past the tag ended without a message";
  const std::string& last = run.messages.back();
  bool fits = false;
  switch (run.outcome) {
    case ExportOutcome::kComplete:
      fits = startsWith(last, "All Done!");
      break;
    case ExportOutcome::kEndedEarly:
      fits = startsWith(last, "Datebook file ended early");
      break;
    case ExportOutcome::kDataAfterEnd:
      fits = startsWith(last, "NOT at End of File");
      break;
    case ExportOutcome::kSequencingError:
      fits = last == kSequencingError;
      break;
    default:
      return "unexpected outcome " + std::to_string(static_cast<int>(run.outcome));
  }
  if (!fits) return "last message does not fit the outcome: " + last;
  if (!run.csvCreated) return "no CSV created";
  if (std::count(run.events.begin(), run.events.end(), "end") != 1 || run.events.back() != "end") {
    return "the program was not ended exactly once, at the end";
  }
  return {};
}

std::string checkMessages(const ExportCase& input, const ExportRecord& run) {
  if (run.messages.size() > input.archive.size() / kBytesPerMessage + 4) {
    return "more messages than the bytes can explain: " + std::to_string(run.messages.size());
  }
  auto pastEnd = std::count_if(run.messages.begin(), run.messages.end(),
                               [](const std::string& m) { return startsWith(m, kPastEndNotice); });
  if (pastEnd > 1) return "past-end notice shown " + std::to_string(pastEnd) + " times";
  // A notice of the end means the archive ran out: no success may follow it.
  if (pastEnd == 1 && run.outcome != exporting::ExportOutcome::kEndedEarly) {
    return "past-end notice but the outcome is not 'ended early'";
  }
  auto stop = std::find(run.messages.begin(), run.messages.end(), kSequencingError);
  if (stop == run.messages.end()) return {};
  if (stop + 1 != run.messages.end()) return "a message after the sequencing error";
  auto shown =
      std::find(run.events.begin(), run.events.end(), std::string("message: ") + kSequencingError);
  if (shown + 2 != run.events.end()) return "the run went on after the sequencing error";
  if (run.csvAtSequencingError != run.csv) return "rows written after the sequencing error";
  return {};
}

// Record and journal numbers count up from 1; no more records are read than the bytes hold.
std::string checkProgress(const ExportCase& input, const ExportRecord& run) {
  long records = 0;
  long journals = 0;
  for (const std::string& event : run.events) {
    if (startsWith(event, "record: ")) {
      if (event != "record: " + std::to_string(++records)) return "record numbers skip: " + event;
    } else if (startsWith(event, "journals: ")) {
      if (event != "journals: " + std::to_string(++journals)) return "journal count skips";
    }
  }
  if (static_cast<std::size_t>(records) > input.archive.size() / kSmallestRecord + 1) {
    return "more records read than the archive holds: " + std::to_string(records);
  }
  return {};
}

std::string checkCsv(const ExportRecord& run) {
  if (run.csv.empty()) return {};
  if (run.csv.size() < 2 || run.csv.substr(run.csv.size() - 2) != "\r\n") {
    return "CSV does not end in CR LF";
  }
  CsvLayouts layouts{run.rowsWithKeyword, run.rowsWithoutKeyword};
  if (checkCsvShape(run.csv, layouts) == CsvShape::kBroken) return "CSV is not whole rows";
  return {};
}

}  // namespace

ExportCase decodeExportCase(std::string_view input) {
  auto byte = [input](std::size_t i) {
    return i < input.size() ? static_cast<unsigned char>(input[i]) : 0u;
  };
  ExportCase result;
  result.optionSet = static_cast<int>(byte(0) % kOptionSets);
  result.details = static_cast<int>(byte(0) / kOptionSets % 2);
  result.chunkSize = kChunkSizes[byte(1) % kChunkSizes.size()];
  result.liveStride = static_cast<int>(byte(1) / kChunkSizes.size() % 4);
  result.archive = input.size() > 2 ? input.substr(2) : std::string_view();
  return result;
}

std::string encodeExportOptions(int optionSet, int details, int chunkIndex, int liveStride) {
  std::string bytes(2, '\0');
  bytes[0] = static_cast<char>(optionSet + kOptionSets * details);
  bytes[1] = static_cast<char>(chunkIndex + static_cast<int>(kChunkSizes.size()) * liveStride);
  return bytes;
}

ExportRecord runExportCase(const ExportCase& input, std::size_t chunkSize) {
  CaseFiles files(input.archive, chunkSize);
  CaseView view(files);
  view.folder = kFolder;
  view.fileName = kFileName;
  view.details = input.details;
  int set = input.optionSet;
  applyOptionSet(view, set);
  ExportRecord record;
  record.rowsWithKeyword = !view.keywords.empty();
  record.rowsWithoutKeyword = view.keywords.empty();
  if (input.liveStride != 0) {
    view.onEvents = [&set, &record, stride = input.liveStride](RecordingView& v) {
      if (v.pendingEventCalls % stride != 0) return;
      set = (set + 1) % kOptionSets;
      applyOptionSet(v, set);
      (v.keywords.empty() ? record.rowsWithoutKeyword : record.rowsWithKeyword) = true;
    };
  }
  exporting::ExportRun run(files);
  record.outcome = run.run(view);
  record.events = std::move(view.events);
  record.messages = std::move(view.messages);
  record.csvCreated = files.created();
  record.csv = files.csv();
  record.csvAtSequencingError = std::move(view.csvAtSequencingError);
  return record;
}

std::string brokenInvariant(const ExportCase& input, const ExportRecord& run) {
  // A date book behind the wrapper of later desktop versions, or in a handheld database, is read
  // by other rules (checked by their own tests and the handheld fuzzer): only the checks that
  // hold for every container apply to it.
  if (input.archive.substr(0, kTag.size()) != kTag &&
      (startsWith(input.archive, kWrapperTag) ||
       handheld::looksLikeHandheldDatabase(bytesOf(input.archive)))) {
    return checkCsv(run);
  }
  for (const std::string& broken : {checkOutcome(input, run), checkMessages(input, run),
                                    checkProgress(input, run), checkCsv(run)}) {
    if (!broken.empty()) return broken;
  }
  return {};
}

std::string differenceBetween(const ExportRecord& a, const ExportRecord& b) {
  if (a.outcome != b.outcome) return "outcomes differ";
  if (a.events != b.events) return "shown events differ";
  if (a.csvCreated != b.csvCreated || a.csv != b.csv) return "CSV files differ";
  return {};
}

}  // namespace vessory::testing
