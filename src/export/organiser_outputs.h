#ifndef VESSORY_EXPORT_ORGANISER_OUTPUTS_H_
#define VESSORY_EXPORT_ORGANISER_OUTPUTS_H_

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <libical/ical.h>

#include "archive/organiser_records.h"
#include "archive/record_uids.h"
#include "archive/text_converter.h"
#include "calendar/zone_clock.h"
#include "contacts/vcard_writer.h"
#include "files/export_files.h"
#include "export/export_view.h"
#include "files/output_file.h"
#include "memos/memo_names.h"

namespace vessory::exporting {

// Where the records of one kind go during a run: created by open(), handed each record to keep
// by write(), finished by close() or given up by discard(), which leaves what was there before
// the output was opened. Every output borrows the files, the catalogue and the
// converter it is given, which must outlive it. After the first failure the output stays
// failed and errorText() says why; write() and close() return false then.
template <class Record>
class RecordOutput {
 public:
  virtual ~RecordOutput() = default;
  virtual bool open() = 0;
  virtual bool write(const Record& record) = 0;
  virtual bool close() = 0;
  // As close(), but into `path` beside the output's own name, which is left as it was.
  virtual bool closeAs(const std::string& path) = 0;
  virtual void discard() = 0;
  const std::string& errorText() const { return error_; }
  // The file or folder inside the output that the first failure was in (a memo's), so that
  // the message names it; empty when the failure was the output's own.
  const std::string& failedPath() const { return failedPath_; }

 protected:
  bool fail(std::string reason) {
    if (error_.empty()) error_ = std::move(reason);
    return false;
  }
  // The result of closing `out`: its failure becomes this output's.
  bool closed(bool ok, const files::OutputFile& out) {
    return ok ? error_.empty() : fail(out.errorText());
  }
  bool failIn(std::string path, std::string reason) {
    if (error_.empty()) failedPath_ = std::move(path);
    return fail(std::move(reason));
  }

 private:
  std::string error_;
  std::string failedPath_;
};

// All contacts in one vCard file (or standard output, as the files decide).
class ContactsOutput : public RecordOutput<archive::ContactRecord> {
 public:
  ContactsOutput(files::ExportFiles& files, std::string path, const archive::OrganiserCatalogue& catalogue,
                 archive::TextConverter& text)
      : files_(files), path_(std::move(path)), writer_(catalogue, text) {}
  bool open() override;
  bool write(const archive::ContactRecord& record) override;
  bool close() override { return closed(out_->close(), *out_); }
  bool closeAs(const std::string& path) override { return closed(out_->closeAs(path), *out_); }
  void discard() override { out_->discard(); }

 private:
  files::ExportFiles& files_;
  std::string path_;
  contacts::VCardWriter writer_;
  std::unique_ptr<files::OutputFile> out_;
  std::string card_;
};

// All to-dos in one iCalendar file, one VTODO each, due dates on the clock of `clock`.
class TodosOutput : public RecordOutput<archive::TodoRecord> {
 public:
  TodosOutput(files::ExportFiles& files, std::string path, const archive::OrganiserCatalogue& catalogue,
              archive::TextConverter& text, const calendar::ZoneClock& clock,
              std::int64_t stampTime);
  bool open() override;
  bool write(const archive::TodoRecord& record) override;
  bool close() override;
  bool closeAs(const std::string& path) override;
  void discard() override { out_->discard(); }

 private:
  files::ExportFiles& files_;
  std::string path_;
  const archive::OrganiserCatalogue& catalogue_;
  archive::TextConverter& text_;
  const calendar::ZoneClock& clock_;
  icaltimetype stamp_;
  std::unique_ptr<files::OutputFile> out_;
  archive::RecordUids uids_;
  std::string tail_;
  std::string component_;
};

// One text file per memo in a folder of its category, inside the output folder. Names come
// from the memo names, which keep every path inside the folder; a file of the same name from an
// earlier export is replaced and nothing else in the folder is touched. Into a folder that was
// not there before, each memo is written as it is read, so that a stopped or damaged run keeps
// what it read. Into an earlier folder, the memos are held until the run ends and written only
// by close() (or, by closeAs(), into a folder beside it), so that a stopped run or a damaged
// archive leaves the earlier folder exactly as it was.
class MemosOutput : public RecordOutput<archive::MemoRecord> {
 public:
  MemosOutput(files::ExportFiles& files, std::string folder, const archive::OrganiserCatalogue& catalogue,
              archive::TextConverter& text)
      : files_(files), folder_(std::move(folder)), catalogue_(catalogue), text_(text) {}
  bool open() override;
  bool write(const archive::MemoRecord& record) override;
  bool close() override { return writeHeld(folder_); }
  bool closeAs(const std::string& path) override;
  // Each memo file written is in place; none is when nothing was read, and the output folder
  // goes again if this output made it. Memos held are dropped.
  void discard() override;
  // The category folders written into.
  std::int64_t folderCount() const { return static_cast<std::int64_t>(made_.size()); }

 private:
  // A memo file at `relative` ("Category/Title.txt") inside `folder`; `madeHere` holds the
  // category folders already made there.
  bool put(const std::string& folder, const std::string& relative, const std::string& text,
           std::set<std::string>& madeHere);
  // Writes the memos held into `folder`; true at once when none is held.
  bool writeHeld(const std::string& folder);
  std::string categoryFolder(std::int64_t category);

  files::ExportFiles& files_;
  std::string folder_;
  const archive::OrganiserCatalogue& catalogue_;
  archive::TextConverter& text_;
  memos::MemoNames names_;
  std::set<std::string> made_;     // relative folder names written into (or to be, when held)
  bool madeOutputFolder_ = false;  // the output folder was not there before open()
  std::vector<std::pair<std::string, std::string>> held_;  // (relative path, file text)
};

}  // namespace vessory::exporting

#endif  // VESSORY_EXPORT_ORGANISER_OUTPUTS_H_
