// The whole export run over the generated archive, held in memory and read from a file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "files/byte_source.h"
#include "bench_archive.h"
#include "export/calendar_run.h"
#include "files/export_files.h"
#include "export/export_run.h"
#include "export/export_view.h"
#include "files/output_file.h"
#include "support/archive_builder.h"

namespace vessory::testing {
namespace {

constexpr std::uint32_t kRecords = 32767;

const std::string& archiveBytes() {
  static const std::string bytes = benchmarkArchive(kRecords);
  return bytes;
}

// A view that answers with the defaults and shows nothing, so that only the run is measured.
class QuietView : public exporting::UnshownView<exporting::JournalView> {
 public:
  explicit QuietView(std::string path) : path_(std::move(path)) {}

  std::string inputPath() override { return path_; }
  std::string journalNameText() override { return "English: Daily Journal"; }
  int showDetailsValue() override { return exporting::kUnchecked; }
  std::string keywordsText() override { return "<>"; }
  int wordWrapValue() override { return exporting::kChecked; }
  std::string hoursBiasBoxText() override { return "-4"; }
  void showMessage(const std::string& text) override { lastMessage = text; }

  std::string lastMessage;

 private:
  std::string path_;
};

// The archive straight from memory, and a CSV that is counted, not kept.
class InMemoryFiles : public files::ExportFiles {
 public:
  explicit InMemoryFiles(const std::string& bytes) : bytes_(bytes) {}

  bool fileExists(const std::string&) override { return true; }
  std::unique_ptr<files::ByteSource> openArchive(const std::string&, std::string&) override {
    return std::make_unique<files::MemoryByteSource>(bytes_);
  }
  bool sameFile(const std::string&, const std::string&) override { return false; }
  std::unique_ptr<files::OutputFile> createCsv(const std::string&, std::string&) override {
    return std::make_unique<CountingOutput>(csvBytes);
  }

  std::size_t csvBytes = 0;

 private:
  class CountingOutput : public files::OutputFile {
   public:
    explicit CountingOutput(std::size_t& total) : total_(total) {}

   protected:
    bool write(std::string_view bytes) override {
      total_ += bytes.size();
      return true;
    }

   private:
    std::size_t& total_;
  };

  const std::string& bytes_;
};

void checkComplete(benchmark::State& state, exporting::ExportOutcome outcome) {
  if (outcome != exporting::ExportOutcome::kComplete)
    state.SkipWithError("the export did not complete");
}

void BM_ExportRunInMemory(benchmark::State& state) {
  const std::string& bytes = archiveBytes();
  InMemoryFiles files(bytes);
  for (auto _ : state) {
    QuietView view("bench.dat");
    exporting::ExportRun run(files);
    checkComplete(state, run.run(view));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["csv_bytes_per_run"] = static_cast<double>(files.csvBytes / state.iterations());
}
BENCHMARK(BM_ExportRunInMemory)->Unit(benchmark::kMillisecond);

// The real files: the archive read through the file source, the CSV written beside it.
void BM_ExportRunFromFile(benchmark::State& state) {
  const std::string& bytes = archiveBytes();
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "vessory-bench";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "Datebook.dat").string();
  writeFile(path, bytes);
  files::DiskFiles files;
  for (auto _ : state) {
    QuietView view(path);
    exporting::ExportRun run(files);
    checkComplete(state, run.run(view));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ExportRunFromFile)->Unit(benchmark::kMillisecond);

// The calendar export of the same archive, in memory: every record becomes an event.
void BM_CalendarRunInMemory(benchmark::State& state) {
  const std::string& bytes = archiveBytes();
  InMemoryFiles files(bytes);
  exporting::CalendarSettings settings;
  settings.zoneName = "America/New_York";
  settings.stampTime = 1000000000;
  for (auto _ : state) {
    QuietView view("bench.dat");
    exporting::CalendarRun run(files, settings);
    checkComplete(state, run.run(view));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["ics_bytes_per_run"] = static_cast<double>(files.csvBytes / state.iterations());
}
BENCHMARK(BM_CalendarRunInMemory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vessory::testing

BENCHMARK_MAIN();
