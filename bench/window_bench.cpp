// The window's export of the generated archive, offscreen, with the details shown and without.
// Each iteration opens a fresh window (an export ends the program, so a window exports once),
// selects the archive in its file list and clicks Export; only the click is timed.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <string>

#include "bench_archive.h"
#include "support/archive_builder.h"
#include "window/location_lists.h"
#include "window/main_window.h"

namespace vessory::testing {
namespace {

constexpr std::uint32_t kRecords = 32767;

template <typename Control>
Control* control(QWidget& window, const char* name) {
  return window.findChild<Control*>(QString::fromLatin1(name));
}

// A folder holding the benchmark archive as Datebook.dat, written once.
const QTemporaryDir& archiveFolder() {
  static QTemporaryDir folder;
  static const bool written = [] {
    writeFile((folder.path() + "/Datebook.dat").toStdString(), benchmarkArchive(kRecords));
    return true;
  }();
  (void)written;
  return folder;
}

// A window showing the archive's folder with the archive selected, as a user would leave it.
bool prepare(window::MainWindow& window, bool details, QString& lastMessage) {
  window.setMessagePresenter([&lastMessage](const QString& text) { lastMessage = text; });
  window.setQuitAction([] {});
  control<window::FolderList>(window, "Dir1")->setPath(archiveFolder().path());
  auto* files = control<window::FileList>(window, "File1");
  QList<QListWidgetItem*> found = files->findItems("Datebook.dat", Qt::MatchExactly);
  if (found.size() != 1) return false;
  files->setCurrentItem(found[0]);
  control<QCheckBox>(window, "CHK_Description")->setChecked(details);
  window.show();
  QCoreApplication::processEvents();
  return true;
}

void BM_WindowExport(benchmark::State& state) {
  const bool details = state.range(0) != 0;
  for (auto _ : state) {
    window::MainWindow window;
    QString lastMessage;
    if (!prepare(window, details, lastMessage)) {
      state.SkipWithError("the archive is not in the file list");
      return;
    }
    QPushButton* exportButton = control<QPushButton>(window, "ReadDate");
    const auto start = std::chrono::steady_clock::now();
    exportButton->click();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(took.count());
    if (!lastMessage.startsWith(QStringLiteral("All Done!"))) {
      state.SkipWithError("the export did not complete");
      return;
    }
  }
}
BENCHMARK(BM_WindowExport)
    ->ArgName("details")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace vessory::testing

int main(int argc, char** argv) {
  // Offscreen unless the caller chose a platform: the benchmark needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
