#include "export/organiser_outputs.h"

#include "calendar/calendar_text.h"
#include "calendar/ical_library.h"
#include "calendar/todo_component.h"
#include "memos/memo_text.h"
#include "memos/safe_name.h"

namespace vessory::exporting {

bool ContactsOutput::open() {
  std::string error;
  out_ = files_.createFile(path_, error);
  return out_ ? true : fail(error);
}

bool ContactsOutput::write(const archive::ContactRecord& record) {
  card_.clear();
  writer_.append(record, card_);
  out_->append(card_);
  return out_->ok() ? true : fail(out_->errorText());
}

TodosOutput::TodosOutput(files::ExportFiles& files, std::string path,
                         const archive::OrganiserCatalogue& catalogue, archive::TextConverter& text,
                         const calendar::ZoneClock& clock, std::int64_t stampTime)
    : files_(files),
      path_(std::move(path)),
      catalogue_(catalogue),
      text_(text),
      clock_(clock),
      stamp_(calendar::ical().icaltime_from_timet_with_zone(
          static_cast<time_t>(stampTime), 0, calendar::ical().icaltimezone_get_utc_timezone())),
      uids_(calendar::todoUids(catalogue)) {}

bool TodosOutput::open() {
  std::string error;
  out_ = files_.createFile(path_, error);
  if (!out_) return fail(error);
  calendar::CalendarFrame frame = calendar::calendarFrame(calendar::productId());
  out_->append(frame.head);
  tail_ = std::move(frame.tail);
  return true;
}

bool TodosOutput::write(const archive::TodoRecord& record) {
  const calendar::TodoContext context{clock_, text_, catalogue_, stamp_};
  calendar::Component todo = calendar::buildTodo(record, uids_.next(record.recordId), context);
  component_.clear();
  calendar::appendComponent(todo.get(), component_);
  out_->append(component_);
  return out_->ok() ? true : fail(out_->errorText());
}

// The calendar is closed whatever stopped the reading, so that the file is one programs read.
bool TodosOutput::close() {
  out_->append(tail_);
  return closed(out_->close(), *out_);
}

bool TodosOutput::closeAs(const std::string& path) {
  out_->append(tail_);
  return closed(out_->closeAs(path), *out_);
}

bool MemosOutput::open() {
  madeOutputFolder_ = !files_.folderExists(folder_);
  std::string error;
  return files_.makeFolder(folder_, error) ? true : fail(error);
}

void MemosOutput::discard() {
  held_.clear();
  if (!madeOutputFolder_ || !made_.empty()) return;
  // A folder that will not go stays, empty: nothing is lost, so nothing more is said.
  std::string error;
  files_.removeFolder(folder_, error);
}

bool MemosOutput::closeAs(const std::string& path) {
  std::string error;
  if (!files_.makeFolder(path, error)) return fail(error);
  return writeHeld(path);
}

bool MemosOutput::writeHeld(const std::string& folder) {
  std::set<std::string> madeHere;
  for (const auto& [relative, text] : held_) {
    if (!put(folder, relative, text, madeHere)) return false;
  }
  held_.clear();
  return errorText().empty();
}

std::string MemosOutput::categoryFolder(std::int64_t category) {
  const std::string* name = catalogue_.categoryName(category);
  const std::string utf8 = name ? memos::memoUtf8(*name, text_) : std::string();
  return memos::safeFolderName(utf8, name ? category : 0);
}

bool MemosOutput::write(const archive::MemoRecord& record) {
  const std::string utf8 = memos::memoUtf8(record.text, text_);
  const std::string text = memos::memoFileText(utf8);
  std::string relative =
      names_.next(categoryFolder(record.category), memos::memoTitle(utf8, record.recordId));
  if (madeOutputFolder_) return put(folder_, relative, text, made_);
  made_.insert(relative.substr(0, relative.find('/')));
  held_.emplace_back(std::move(relative), text);
  return true;
}

bool MemosOutput::put(const std::string& folder, const std::string& relative,
                      const std::string& text, std::set<std::string>& madeHere) {
  const std::size_t slash = relative.find('/');
  const std::string category = relative.substr(0, slash);
  std::string error;
  const std::string folderPath = joinPath(folder, category);
  if (madeHere.count(category) == 0) {
    if (!files_.makeFolder(folderPath, error)) return failIn(folderPath, error);
    madeHere.insert(category);
  }
  // The failures name the memo, which the messages about the whole folder do not.
  const std::string path = joinPath(folderPath, relative.substr(slash + 1));
  std::unique_ptr<files::OutputFile> file = files_.createFile(path, error);
  if (!file) return failIn(path, error);
  file->append(text);
  return file->close() ? true : failIn(path, file->errorText());
}

}  // namespace vessory::exporting
