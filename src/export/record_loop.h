#ifndef VESSORY_EXPORT_RECORD_LOOP_H_
#define VESSORY_EXPORT_RECORD_LOOP_H_

#include <cstdint>
#include <optional>
#include <string>

#include "export/export_view.h"
#include "export/run_steps.h"

namespace vessory::exporting {

// How the reading of one record ended.
enum class RecordRead {
  kWhole,     // read to its end
  kLeftOut,   // unreadable on its own and reported; the records after it can still be read
  kCutShort,  // the container ran out inside it; no record follows
  kStopped,   // the container cannot be read further (reported); stopOutcome() says why
};

// The records of one container (a desktop archive, a handheld database) of one kind, as a run
// reads them: what comes before the records, then each record in turn, then how the container
// ended. The runs see only this, so that they do not know which container a record came from.
// A source borrows the bytes it reads and reports anomalies through the sink it was given.
template <class Record>
class RecordSource {
 public:
  virtual ~RecordSource() = default;

  // Reads what comes before the first record: the number of records it announces, or nothing
  // when the reading stopped there (reported; stopOutcome() says how).
  virtual std::optional<std::int64_t> readHeader() = 0;
  // True once no further record can be read: the container has run out.
  virtual bool exhausted() const = 0;
  // Reads record `number` (1 for the first) into `record`.
  virtual RecordRead read(std::int64_t number, Record& record) = 0;
  // The outcome after a header or record read that stopped.
  virtual ExportOutcome stopOutcome() const = 0;
  // Once every record announced has been read: how the container ended (complete, cut short,
  // more data, damaged records left out, or a read error).
  virtual ExportOutcome ending() = 0;
  // The system's reason when reading the file failed part-way; empty otherwise.
  virtual std::string readError() const = 0;
  // The records left out as unreadable on their own so far.
  virtual std::int64_t leftOutCount() const { return 0; }
};

// The one read loop of every run: reads the header and each record of `source` into `record`,
// keeping the view's progress fields up to date and letting the user act before each record,
// and hands each record to `step` as `step(number, record, how)` -- also the record the
// container ran out or stopped in, which the step may keep or leave out; records left out by
// the source are not handed on. `step` returns an outcome to stop the reading with, or nothing
// to go on. Returns how the reading stopped early, or nothing when it read every record.
template <class Record, class Step>
std::optional<ExportOutcome> readRecords(ExportView& view, RecordSource<Record>& source,
                                         Record& record, Step&& step) {
  const std::optional<std::int64_t> count = source.readHeader();
  if (!count) return source.stopOutcome();
  view.showTotalRecords(std::to_string(*count));
  view.processPendingEvents();
  if (view.endRequested()) return ExportOutcome::kEndRequested;
  for (std::int64_t number = 1; number <= *count && !source.exhausted(); ++number) {
    view.showThisRecord(std::to_string(number));
    view.processPendingEvents();
    if (view.endRequested()) return ExportOutcome::kEndRequested;
    const RecordRead how = source.read(number, record);
    if (how == RecordRead::kLeftOut) continue;
    if (std::optional<ExportOutcome> stop = step(number, record, how)) return stop;
    if (how == RecordRead::kStopped) return source.stopOutcome();
    if (how == RecordRead::kCutShort) break;
  }
  return std::nullopt;
}

// How a run that read records ended, once its output is closed: a failure to write (`written`
// false) comes before anything else, then what stopped the reading early, and only then how the
// container itself ended.
template <class Record>
ExportOutcome closingOutcome(bool written, std::optional<ExportOutcome> stopped,
                             RecordSource<Record>& source) {
  if (!written) return ExportOutcome::kCannotWrite;
  if (stopped) return *stopped;
  return source.ending();
}

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_RECORD_LOOP_H_
