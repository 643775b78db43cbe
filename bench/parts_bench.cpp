// The hot parts on their own: the field readers, the entry splitter, the CSV writer, the
// calendar's UIDs and the text of a to-do.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <span>
#include <string>

#include "archive/archive_reader.h"
#include "archive/message_sink.h"
#include "bench_archive.h"
#include "calendar/component_lines.h"
#include "calendar/event_uids.h"
#include "files/byte_source.h"
#include "files/output_file.h"
#include "journal/csv_writer.h"
#include "journal/entry_splitter.h"
#include "memos/memo_names.h"
#include "support/archive_builder.h"

namespace vessory::testing {
namespace {

class IgnoredMessages : public archive::MessageSink {
 public:
  void showMessage(const std::string&) override {}
};

// Hands out the bytes in chunks of a fixed size, so that reads cross chunk boundaries the way
// they do in a file read through a buffer.
class ChunkedSource : public files::ByteSource {
 public:
  ChunkedSource(const std::string& bytes, std::size_t chunk)
      : rest_(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()), chunk_(chunk) {}
  std::span<const unsigned char> nextChunk() override {
    std::span<const unsigned char> piece = rest_.first(std::min(chunk_, rest_.size()));
    rest_ = rest_.subspan(piece.size());
    return piece;
  }

 private:
  std::span<const unsigned char> rest_;
  std::size_t chunk_;
};

class NullOutput : public files::OutputFile {
 protected:
  bool write(std::string_view bytes) override {
    benchmark::DoNotOptimize(bytes.data());
    return true;
  }
};

constexpr std::size_t kWholeBuffer = 0;

std::unique_ptr<files::ByteSource> sourceFor(const std::string& bytes, std::size_t chunk) {
  if (chunk == kWholeBuffer) return std::make_unique<files::MemoryByteSource>(bytes);
  return std::make_unique<ChunkedSource>(bytes, chunk);
}

// Integer 4 values, the commonest item of a record. Argument: chunk size (0: one buffer).
void BM_ReadInteger4(benchmark::State& state) {
  ArchiveBuilder builder;
  for (std::uint32_t i = 0; i < 256 * 1024; ++i) builder.integer(4, i * 2654435761u);
  const std::string& bytes = builder.bytes();
  IgnoredMessages messages;
  for (auto _ : state) {
    auto source = sourceFor(bytes, static_cast<std::size_t>(state.range(0)));
    archive::ArchiveReader reader(*source, messages);
    std::int64_t sum = 0;
    while (auto value = reader.readInteger(4)) sum += *value;
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadInteger4)->Arg(kWholeBuffer)->Arg(4096);

// CStrings of the given length: short ones are record descriptions, long ones journal notes.
void BM_ReadCString(benchmark::State& state) {
  const std::string text(static_cast<std::size_t>(state.range(0)), 'x');
  ArchiveBuilder builder;
  while (builder.size() < 4 * 1024 * 1024) builder.cstring(text);
  const std::string& bytes = builder.bytes();
  IgnoredMessages messages;
  std::string out;
  for (auto _ : state) {
    files::MemoryByteSource source(bytes);
    archive::ArchiveReader reader(source, messages);
    while (true) {
      reader.readCString(out);
      if (reader.atEnd()) break;
      benchmark::DoNotOptimize(out.data());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadCString)->Arg(12)->Arg(200)->Arg(2000);

// A long note of many entries. Argument: word wrap on (1) or off (0).
void BM_SplitLongNote(benchmark::State& state) {
  const std::string body = benchmarkNote(400);
  journal::JournalNote note;
  note.category = 1;
  note.dateText = "4/07/2002";
  note.body = body;
  journal::EntrySplitter splitter;
  std::size_t entries = 0;
  for (auto _ : state) {
    splitter.split(note, state.range(0) != 0, [&entries](journal::JournalEntry& entry) {
      benchmark::DoNotOptimize(entry.text.data());
      ++entries;
    });
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
  state.counters["entries"] = static_cast<double>(entries / state.iterations());
}
BENCHMARK(BM_SplitLongNote)->Arg(1)->Arg(0);

// One row per call, with keyword extraction and quote doubling.
void BM_WriteJournalRow(benchmark::State& state) {
  journal::JournalEntry entry;
  entry.category = 2;
  entry.dateText = "4/07/2002";
  entry.timeText = "7:05 AM";
  entry.text =
      "Long call with <work> about the \"quarterly\" figures; they want it all by Friday. "
      "Walked the dog around the lake, met Mr. Hoffmann with his new bicycle.";
  NullOutput output;
  journal::CsvJournalWriter writer(output);
  for (auto _ : state) writer.writeJournalRow(entry, "<>");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * entry.text.size()));
}
BENCHMARK(BM_WriteJournalRow);

// The UIDs of 60000 records. Argument: the step between ids, 1 for consecutive ids and 65536
// for ids that share their low sixteen bits, which some desktops hand out.
void BM_EventUids(benchmark::State& state) {
  constexpr std::int64_t kRecords = 60000;
  const std::int64_t step = state.range(0);
  for (auto _ : state) {
    calendar::EventUids uids(0x52c4b441u);
    for (std::int64_t i = 0; i < kRecords; ++i) benchmark::DoNotOptimize(uids.next(i * step));
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_EventUids)->Arg(1)->Arg(65536)->Unit(benchmark::kMillisecond);

// Memo file names when every memo of a folder has the same title. Argument: the memos; the time
// per memo stays flat as the count grows when each name costs the same.
void BM_MemoNamesOfOneTitle(benchmark::State& state) {
  const std::int64_t memos = state.range(0);
  for (auto _ : state) {
    memos::MemoNames names;
    for (std::int64_t i = 0; i < memos; ++i)
      benchmark::DoNotOptimize(names.next("Unfiled", "Note"));
  }
  state.SetItemsProcessed(state.iterations() * memos);
}
BENCHMARK(BM_MemoNamesOfOneTitle)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The text of a to-do as most lists hold them (due, with an alarm), written by the calendar's
// own lines (argument 1) and by libical's icalcomponent_as_ical_string_r (0), which writes the
// same octets.
void BM_TodoText(benchmark::State& state) {
  icalcomponent* todo = icalcomponent_new_vtodo();
  icalcomponent_add_property(todo, icalproperty_new_uid("todo-9-5ae256a2@vessory"));
  icaltimetype stamp =
      icaltime_from_timet_with_zone(1765328996, 0, icaltimezone_get_utc_timezone());
  icalcomponent_add_property(todo, icalproperty_new_dtstamp(stamp));
  icalcomponent_add_property(todo, icalproperty_new_summary("Call the garage about the brakes"));
  icalcomponent_add_property(todo, icalproperty_new_due(icaltime_from_day_of_year(258, 2006)));
  icalcomponent_add_property(todo, icalproperty_new_priority(3));
  icalcomponent_add_property(todo, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
  icalcomponent* alarm = icalcomponent_new_valarm();
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icaltriggertype trigger{icaltime_null_time(), icaldurationtype_from_int(-52200)};
  icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
  icalcomponent_add_property(alarm, icalproperty_new_description("Call the garage"));
  icalcomponent_add_component(todo, alarm);
  const bool ours = state.range(0) == 1;
  std::string text;
  for (auto _ : state) {
    text.clear();
    if (ours) {
      calendar::appendComponentLines(todo, text);
    } else {
      char* written = icalcomponent_as_ical_string_r(todo);
      text = written;
      std::free(written);
    }
    benchmark::DoNotOptimize(text.data());
  }
  icalcomponent_free(todo);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TodoText)->Arg(1)->Arg(0);

}  // namespace
}  // namespace vessory::testing
