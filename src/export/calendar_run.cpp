#include "export/calendar_run.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include "archive/archive_identity.h"
#include "archive/event_record.h"
#include "calendar/calendar_event.h"
#include "calendar/calendar_text.h"
#include "calendar/event_text.h"
#include "calendar/event_uids.h"
#include "calendar/ical_library.h"
#include "calendar/system_zone.h"
#include "calendar/zone_clock.h"
#include "export/datebook_source.h"
#include "export/handheld_source.h"
#include "export/organiser_run.h"
#include "export/output_place.h"
#include "export/record_loop.h"

namespace vessory::exporting {

namespace {

constexpr char kOutputWhat[] = "calendar file";

using CalendarTools = TextAndClock;

// Opens the tools of `settings`: the reason when a named zone or character set is unknown.
std::optional<std::string> openTools(const CalendarSettings& settings, CalendarTools& tools,
                                     CalendarTally& tally) {
  std::optional<std::string> unknown = openTextAndClock(settings.charset, settings.zoneName, tools);
  tally.zoneName = tools.zoneName;
  tally.zoneFallback = tools.zoneFallback;
  return unknown;
}

std::string wallTimeText(const calendar::WallTime& t) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

// The state of one calendar run past the tag check: the reader, the record, the tools and the
// counters. It forwards the readers' messages to the view and shows details when asked.
class CalendarSession : public archive::MessageSink, public archive::RecordObserver {
 public:
  CalendarSession(ExportView& view, CalendarTools& tools, const CalendarSettings& settings,
                  CalendarTally& tally)
      : view_(view), tools_(tools), settings_(settings), tally_(tally) {}

  // The records to read, from the container the archive turned out to be.
  void attach(std::unique_ptr<EventSource> source) { source_ = std::move(source); }
  EventSource& source() { return *source_; }
  void showMessage(const std::string& text) override { view_.showMessage(text); }

  // Reads the header and every record, writing the events to `out`. Returns how the reading
  // stopped early, or nothing when it got to the end of the records.
  std::optional<ExportOutcome> readAll(files::OutputFile& out);

  void startTimeRead(const archive::EventRecord& record) override {
    view_.showDateTime(wallTimeText(tools_.clock->wallTime(record.startTime)));
    view_.setDescriptionBackColor(kMenuBackgroundColor);
  }
  void descriptionRead(const archive::EventRecord& record) override {
    view_.setDescriptionBackColor(kWindowBackgroundColor);
    view_.showDescription(record.description);  // as the journal run shows it
  }

 private:
  void writeRecord(std::int64_t number, files::OutputFile& out);
  void reportProblems(std::int64_t number, const calendar::CalendarEvent& event);
  void reportOtherClock(const std::string& which, const calendar::CalendarEvent& event);

  ExportView& view_;
  CalendarTools& tools_;
  const CalendarSettings& settings_;
  CalendarTally& tally_;
  std::unique_ptr<EventSource> source_;
  archive::EventRecord record_;
  std::optional<calendar::EventUids> uids_;  // once the header names the archive
  std::optional<calendar::ZoneTable> zones_;
  icaltimetype stamp_{};
  std::string text_;
};

std::optional<ExportOutcome> CalendarSession::readAll(files::OutputFile& out) {
  const std::int64_t now =
      settings_.stampTime ? *settings_.stampTime : static_cast<std::int64_t>(std::time(nullptr));
  stamp_ = calendar::ical().icaltime_from_timet_with_zone(
      static_cast<time_t>(now), 0, calendar::ical().icaltimezone_get_utc_timezone());
  source_->setObserver(view_.showDetailsValue() != kUnchecked ? this : nullptr);
  return readRecords(view_, *source_, record_,
                     [&](std::int64_t number, archive::EventRecord&,
                         RecordRead how) -> std::optional<ExportOutcome> {
                       // A record the archive ran out in, or stopped in, is not whole: it is
                       // left out.
                       if (how != RecordRead::kWhole) {
                         ++tally_.cutShortLeftOut;
                         tally_.endedEarly = how == RecordRead::kCutShort;
                         tally_.announced = source_->header().recordCount;
                         return std::nullopt;
                       }
                       tally_.lastWhole = number;
                       writeRecord(number, out);
                       // Each record is read into a fresh one: no event takes another's values.
                       record_ = archive::EventRecord{};
                       if (!out.ok()) return ExportOutcome::kCannotWrite;
                       return std::nullopt;
                     });
}

void CalendarSession::writeRecord(std::int64_t number, files::OutputFile& out) {
  if ((record_.status & kDeletedStatusBit) != 0 && !settings_.includeDeleted) {
    ++tally_.deletedLeftOut;
    return;
  }
  if (!uids_) uids_.emplace(source_->identity());
  if (!zones_) zones_.emplace(*tools_.text);
  const calendar::EventContext context{*tools_.clock, *tools_.text, source_->header(), stamp_,
                                       &*zones_};
  calendar::CalendarEvent event =
      calendar::buildEvent(record_, uids_->next(record_.recordId), context);
  reportProblems(number, event);
  text_.clear();
  // A zone this event is the first to name goes just before it: the file is written as the
  // records are read, and readers bind a TZID only to a zone they have read already.
  zones_->appendNewTimezones(text_);
  calendar::appendComponent(event.component.get(), text_);
  out.append(text_);
  ++tally_.events;
  if (event.repeating) ++tally_.repeating;
  if (event.allDay) ++tally_.allDay;
  view_.showEventsWritten(std::to_string(tally_.events));
}

void CalendarSession::reportProblems(std::int64_t number, const calendar::CalendarEvent& event) {
  if (!event.repeatProblem && !event.unknownAlarmUnit && !event.ruleOtherClock) return;
  const std::string which = "Record " + std::to_string(number) + " (\"" +
                            calendar::eventText(record_.description, *tools_.text) + "\"): ";
  if (event.repeatProblem) {
    view_.showMessage(which + "unknown repeat (" + event.repeatProblem->what +
                      "); written as a single event");
  }
  if (event.ruleOtherClock) reportOtherClock(which, event);
  if (event.unknownAlarmUnit) {
    view_.showMessage(which + "unknown alarm unit " + std::to_string(*event.unknownAlarmUnit) +
                      "; written without an alarm");
  }
}

// The archive names no zone: its end date, or a start on another day than the repeat's own,
// shows the record was set on another clock.
void CalendarSession::reportOtherClock(const std::string& which,
                                       const calendar::CalendarEvent& event) {
  const std::string clock =
      "its repeat was set on the clock of another zone than " + tools_.clock->name() + "; ";
  if (event.ruleDayShift == 0) {
    view_.showMessage(which + clock + "its days fall on the same days here, and its end and " +
                      "exceptions are taken as the moments the archive holds");
    return;
  }
  view_.showMessage(which + clock + "its days moved one day " +
                    (event.ruleDayShift > 0 ? "later" : "earlier") + " with its start" +
                    (event.ruleListed ? ", and written as a list of dates, which no repeat "
                                        "rule can say"
                                      : ""));
}

void reportEnd(ExportView& view, ExportOutcome outcome, const std::string& archivePath,
               const CalendarTally& tally, const std::string& reason) {
  switch (outcome) {
    case ExportOutcome::kComplete:
      view.showMessage(kAllDone + calendarSummary(tally));
      break;
    case ExportOutcome::kEndedEarly:
      view.showMessage(kEndedEarlyWarning +
                       (kParagraph + (kEventsBeforeDamage + calendarSummary(tally))));
      break;
    case ExportOutcome::kDataAfterEnd:
      view.showMessage(kDataAfterEndMessage);
      view.showMessage(calendarSummary(tally));
      break;
    case ExportOutcome::kSequencingError:  // the reader has said why it stopped
      view.showMessage(kEventsBeforeDamage + calendarSummary(tally));
      break;
    case ExportOutcome::kDamagedRecords:  // each record left out has been named
    case ExportOutcome::kUnreadTails:     // the source has said how many records ended so
      view.showMessage(calendarSummary(tally));
      break;
    case ExportOutcome::kCannotWrite:
      view.showMessage("Cannot write " + tally.calendarName + ": " + reason);
      break;
    case ExportOutcome::kCannotRead:
      view.showMessage("Cannot read " + archivePath + ": " + reason);
      break;
    default:  // the user's end
      break;
  }
}

}  // namespace

std::string calendarPathFor(std::string_view archivePath) {
  // The archive file of removed events (Datebook.dba) is named as the other kinds' archive files
  // are, so that its calendar never replaces the live date book's.
  return organiserOutputPathFor(archivePath, archive::RecordKind::kDatebook);
}

std::optional<std::string> checkCalendarSettings(const CalendarSettings& settings) {
  CalendarTools tools;
  CalendarTally tally;
  return openTools(settings, tools, tally);
}

std::string calendarSummary(const CalendarTally& tally) {
  std::string text = "The calendar has been placed in:\r\n" + tally.calendarName + "\r\n\r\n";
  text += countOf(tally.events, "event", "events") + " written (" +
          std::to_string(tally.repeating) + " repeating, " + std::to_string(tally.allDay) +
          " all-day), times as the " +
          (tally.handheldClock ? std::string("handheld's clock showed them")
                               : "clock showed them in " + tally.zoneName) +
          ".\r\n";
  text += leftOutText({tally.deletedLeftOut, tally.unreadableLeftOut, tally.cutShortLeftOut,
                       tally.lastWhole, tally.announced, tally.endedEarly, tally.handheldClock,
                       tally.events});
  if (tally.zoneFallback) {
    text += "\r\nThe system's time zone could not be told; the times are those of UTC.";
  }
  if (!tally.earlierName.empty()) text += "\r\n" + besideEarlierText(tally.earlierName);
  return text;
}

ExportOutcome CalendarRun::run(ExportView& view) {
  if (running_) return ExportOutcome::kAlreadyRunning;
  running_ = true;
  const ClearOnExit clear{running_};
  tally_ = CalendarTally{};

  CalendarTools tools;
  if (std::optional<std::string> unknown = openTools(settings_, tools, tally_)) {
    view.showMessage(*unknown);
    return ExportOutcome::kBadOption;
  }
  const std::string path = view.inputPath();
  OpenedArchive opened = openSelectedArchive(view, files_, path);
  if (opened.failure) return *opened.failure;
  std::unique_ptr<files::ByteSource> source = std::move(opened.source);
  CalendarSession session(view, tools, settings_, tally_);
  session.attach(openEventSource(files_, path, *source, session));
  if (!session.source().readTag()) {
    return refuseAtTag(view, path, session.source());
  }
  if (session.source().wallClockTimes()) {
    // The handheld kept the clock's own times: written as they are, in no zone.
    tools.clock = calendar::ZoneClock::open("UTC");
    tally_.handheldClock = true;
    tally_.zoneFallback = false;
  }
  const std::string outPath = settings_.outputPath ? *settings_.outputPath : calendarPathFor(path);
  tally_.calendarName = files_.displayName(outPath);
  if (auto refused = refuseOutputOverArchive(view, files_, outPath, path, kOutputWhat)) {
    return *refused;
  }
  const bool earlier = files_.fileExists(outPath);
  std::string error;
  std::unique_ptr<files::OutputFile> out = files_.createCalendar(outPath, error);
  if (!out) {
    view.showMessage("Cannot create " + tally_.calendarName + ": " + error);
    return ExportOutcome::kCannotCreate;
  }

  const calendar::CalendarFrame frame = calendar::calendarFrame(calendar::productId());
  out->append(frame.head);
  const std::optional<ExportOutcome> stopped = session.readAll(*out);
  tally_.unreadableLeftOut = session.source().leftOutCount();
  const ExportOutcome ending = closingOutcome(true, stopped, session.source());
  const std::string readError = session.source().readError();
  source.reset();
  if (nothingReadable(ending, tally_.lastWhole)) {
    // Damage before the first whole record: an empty calendar would only take the place of
    // an earlier one.
    out->discard();
    tally_.earlierKept = earlier;
    return endWithNothing(view, ending, path, readError);
  }
  // Every event read is written whole and the calendar closed, whatever stopped the reading,
  // so that the file on disk is a calendar that programs can read.
  out->append(frame.tail);
  const bool written = placeOutput(*out, ending, earlier, outPath);
  const ExportOutcome outcome = written ? ending : ExportOutcome::kCannotWrite;
  const std::string reason = written ? readError : out->errorText();
  out.reset();
  return endWith(view, outcome, path, reason);
}

// A stopped run's part never takes an earlier calendar's place, nor a damaged archive's: the
// earlier one stays, and the damaged archive's goes beside it.
bool CalendarRun::placeOutput(files::OutputFile& out, ExportOutcome ending, bool earlier,
                              const std::string& outPath) {
  const OutputPlace place = outputPlace(ending, earlier);
  const std::string beside = damagedArchivePath(outPath);
  tally_.earlierKept = place != OutputPlace::kOwnName;
  if (place == OutputPlace::kBeside) {
    tally_.earlierName = tally_.calendarName;
    tally_.calendarName = files_.displayName(beside);
  }
  return settleOutput(out, place, beside);
}

// Without the end of the program the caller tells how things went, but a failure is said here,
// where its reason is known.
ExportOutcome CalendarRun::endWith(ExportView& view, ExportOutcome outcome, const std::string& path,
                                   const std::string& reason) {
  const bool failed =
      outcome == ExportOutcome::kCannotWrite || outcome == ExportOutcome::kCannotRead;
  if (endsProgram_ || failed) reportEnd(view, outcome, path, tally_, reason);
  if (endsProgram_ && outcome != ExportOutcome::kEndRequested) view.endProgram();
  return outcome;
}

// A failure to read is said with its reason, which only the run knows; the rest of the final
// message is the caller's unless the run ends the program.
ExportOutcome CalendarRun::endWithNothing(ExportView& view, ExportOutcome ending,
                                          const std::string& path, const std::string& reason) {
  const ExportOutcome outcome =
      ending == ExportOutcome::kCannotRead ? ending : ExportOutcome::kNothingRead;
  if (outcome == ExportOutcome::kCannotRead) reportEnd(view, outcome, path, tally_, reason);
  if (!endsProgram_) return outcome;
  const std::vector<std::string> kept = tally_.earlierKept
                                            ? std::vector<std::string>{tally_.calendarName}
                                            : std::vector<std::string>{};
  view.showMessage(nothingReadMessage(ending, kept));
  view.endProgram();
  return outcome;
}

}  // namespace vessory::exporting
