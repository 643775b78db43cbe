// The journal as daily notes: the writer against the floor under it, a loop that creates the
// same files with the same bytes, each whole (a temporary, then a rename), in memory (tmpfs)
// where there is one. The notes are gathered once from the bench archive; both sides write
// every day's file of its 32767 records into a fresh folder each time.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "bench_archive.h"
#include "export/daily_notes_step.h"
#include "export/export_run.h"
#include "support/fake_export.h"

namespace vessory::testing {
namespace {

constexpr std::uint32_t kBenchRecords = 32767;

std::filesystem::path scratchFolder() {
  std::error_code error;
  const std::filesystem::path shm = "/dev/shm";
  const bool tmpfs = std::filesystem::is_directory(shm, error);
  return (tmpfs ? shm : std::filesystem::temp_directory_path()) / "vessory-notes-bench";
}

// The bench archive's notes, gathered once.
const exporting::DailyNotesCollector& benchNotes() {
  static const std::unique_ptr<exporting::DailyNotesCollector> notes = [] {
    RecordingView view;
    MemoryFiles files;
    files.archives[view.inputPath()] = benchmarkArchive(kBenchRecords);
    std::string error;
    auto collector = exporting::DailyNotesCollector::open({}, error);
    exporting::ExportRun run(files);
    run.collectDailyNotes(collector.get());
    run.run(view);
    return collector;
  }();
  return *notes;
}

void BM_DailyNotesWrite(benchmark::State& state) {
  const exporting::DailyNotesCollector& notes = benchNotes();
  const std::filesystem::path folder = scratchFolder();
  files::DiskFiles disk;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(folder);
    state.ResumeTiming();
    const journal::DailyNotesWritten written =
        journal::writeDailyNotes(disk, (folder / "notes").string(), notes.notes());
    if (!written.error.empty()) state.SkipWithError(written.error.c_str());
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DailyNotesWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same files with the same bytes, each written to a temporary and renamed over its name.
void BM_DailyNotesFloor(benchmark::State& state) {
  std::vector<std::pair<std::string, std::string>> days;
  benchNotes().notes().render([&](const std::string& name, const std::string& text) {
    days.emplace_back(name, text);
    return true;
  });
  const std::filesystem::path folder = scratchFolder();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(folder);
    state.ResumeTiming();
    const std::filesystem::path root = folder / "notes";
    std::filesystem::create_directories(root);
    std::string year;
    for (const auto& [name, text] : days) {
      if (name.compare(0, 4, year) != 0) {
        year = name.substr(0, 4);
        std::filesystem::create_directories(root / year);
      }
      const std::string target = (root / name).string();
      const std::string temporary = target + ".tmp";
      std::FILE* file = std::fopen(temporary.c_str(), "wb");
      if (file == nullptr) {
        state.SkipWithError("cannot create a file");
        break;
      }
      std::fwrite(text.data(), 1, text.size(), file);
      std::fclose(file);
      std::rename(temporary.c_str(), target.c_str());
    }
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DailyNotesFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vessory::testing
