#include "window_export_fixture.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/archive_builder.h"
#include "support/handheld_builder.h"
#include "window/location_lists.h"

namespace vessory::window::fixture {

using vessory::testing::ArchiveBuilder;
using vessory::testing::journalRecord;
using vessory::testing::RecordPlan;

std::vector<std::string> csvLines(const std::string& csv) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < csv.size();) {
    std::size_t end = csv.find("\r\n", start);
    end = end == std::string::npos ? csv.size() : end + 2;
    lines.push_back(csv.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::string joined(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to && i < lines.size(); ++i) text += lines[i];
  return text;
}

std::vector<std::string> messageLines(const std::string& err) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at = 0; at < err.size(); ++at) {
    if (err[at] != '\n' || (at > 0 && err[at - 1] == '\r')) continue;
    lines.push_back(err.substr(start, at - start));
    start = at + 1;
  }
  return lines;
}

QStringList asQt(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << QString::fromStdString(text);
  return list;
}

CalendarParts calendarParts(const std::string& ics) {
  CalendarParts parts;
  std::string* into = &parts.head;
  for (const std::string& line : csvLines(ics)) {
    if (line.rfind("DTSTAMP", 0) == 0) continue;
    if (line == "BEGIN:VEVENT\r\n" || line == "BEGIN:VTODO\r\n" || line == "BEGIN:VCARD\r\n") {
      parts.events.emplace_back();
      into = &parts.events.back();
    }
    *into += line;
    if (line == "END:VEVENT\r\n" || line == "END:VTODO\r\n" || line == "END:VCARD\r\n") {
      into = &parts.tail;
    }
  }
  return parts;
}

std::string withoutStamps(const std::string& ics) {
  const CalendarParts parts = calendarParts(ics);
  std::string text = parts.head;
  for (const std::string& event : parts.events) text += event;
  return text + parts.tail;
}

std::map<std::string, std::string> folderFiles(const std::string& folder) {
  std::map<std::string, std::string> files;
  const QDir root(QString::fromStdString(folder));
  QDirIterator found(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (found.hasNext()) {
    const QString path = found.next();
    files[root.relativeFilePath(path).toStdString()] =
        vessory::testing::readFile(path.toStdString()).value_or("<unreadable>");
  }
  return files;
}

std::string handheldMemos(const std::vector<std::string>& texts) {
  vessory::testing::PdbPlan memos;
  memos.name = "MemoDB";
  memos.creator = "memo";
  memos.appInfo = vessory::testing::categoryAppInfo({"Unfiled"}, 282);
  std::uint32_t id = 1;
  for (const std::string& text : texts) {
    memos.records.push_back({vessory::testing::memoRecord(text), 0x40, id++, {}});
  }
  const vessory::testing::PdbBytes bytes = vessory::testing::buildPdb(memos);
  return std::string(bytes.begin(), bytes.end());
}

std::string fiveJournalDays() {
  std::vector<RecordPlan> records;
  for (std::uint32_t day = 0; day < 5; ++day) {
    records.push_back(journalRecord("9:15 am: Day " + std::to_string(day + 1) + " <walk>",
                                    kFirstDay + day * kDay));
  }
  return ArchiveBuilder().archive(records).bytes();
}

std::string mixedArchive() {
  RecordPlan appointment = journalRecord("bring the card", kFirstDay + 3 * kDay, "R\xe9union");
  return ArchiveBuilder()
      .archive({
          journalRecord("7:05 am: Woke up <home> early\r\n9:15 am: Said \"hello\" at the "
                        "caf\xe9 [caf\xe9] with a long line that wraps nowhere\r\nand goes on",
                        kFirstDay),
          journalRecord("##3\r\n8:00 pm: [Notes] Lorem <ipsum>", kFirstDay + kDay,
                        "  Journ\xe9"
                        "e  "),
          journalRecord("10:30: Fr\xfchst\xfc"
                        "ck <Bahn>\r\n11:00 Weiter",
                        kFirstDay + 2 * kDay),
          appointment,
      })
      .bytes();
}

void WindowExportTest::SetUp() {
  ASSERT_TRUE(home_.isValid());
  ASSERT_TRUE(elsewhere_.isValid());
  savedHome_ = qgetenv("HOME");
  qputenv("HOME", QFile::encodeName(home_.path()));
  ASSERT_TRUE(QDir(home_.path()).mkpath("Palm"));
}

void WindowExportTest::TearDown() { qputenv("HOME", savedHome_); }

std::string WindowExportTest::palmPath(const char* name) const {
  return (home_.path() + "/Palm/" + name).toStdString();
}

void WindowExportTest::openOn(const char* name, const std::string& archive) {
  vessory::testing::writeFile(palmPath(name), archive);
  window_ = std::make_unique<MainWindow>();
  window_->setMessagePresenter([this](const QString& text) { messages_ << text; });
  window_->setQuitAction([this] { ++quits_; });
  window_->setEventThrottle(false);
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  select(name);
}

void WindowExportTest::select(const char* name) {
  auto* files = control<FileList>(*window_, "File1");
  QList<QListWidgetItem*> found = files->findItems(QString::fromLatin1(name), Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << name;
  files->scrollToItem(found[0]);
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                    files->visualItemRect(found[0]).center());
  ASSERT_EQ(window_->selectedFileName(), name);
}

void WindowExportTest::clickExport() {
  QTest::mouseClick(control<QPushButton>(*window_, "ReadDate"), Qt::LeftButton);
}

void WindowExportTest::whileAtRecord(const QString& record, std::function<void()> action,
                                     int time) {
  auto shown = std::make_shared<int>(0);
  QObject::connect(control<QLineEdit>(*window_, "ThisRecord"), &QLineEdit::textChanged,
                   window_.get(), [this, record, action, time, shown](const QString& text) {
                     if (text == record && ++*shown == time)
                       QMetaObject::invokeMethod(window_.get(), action, Qt::QueuedConnection);
                   });
}

QString WindowExportTest::text(const char* name) {
  return control<QLineEdit>(*window_, name)->text();
}

std::string WindowExportTest::consoleExport(const std::string& archive,
                                            std::vector<std::string> options,
                                            std::string* messages) {
  const int status = runConsole(archive, std::move(options), messages);
  EXPECT_EQ(status, 0) << "console tool status";
  return consoleFile("Datebook.csv");
}

int WindowExportTest::runConsole(const std::string& archive, std::vector<std::string> options,
                                 std::string* messages, const char* name) {
  const std::string folder = elsewhere_.path().toStdString();
  const std::string copy = folder + "/" + name;
  const std::string errPath = folder + "/stderr.txt";
  vessory::testing::writeFile(copy, archive);
  options.insert(options.begin(), VESSORY_EXPORT_PATH);
  options.push_back(copy);
  // Arguments go to the tool as raw bytes: some are Latin-1, which no text conversion keeps.
  std::vector<char*> argv;
  for (std::string& option : options) argv.push_back(option.data());
  argv.push_back(nullptr);
  pid_t child = fork();
  if (child == 0) {
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(err, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (messages) {
    *messages = vessory::testing::readFile(errPath).value_or("");
    for (std::size_t at; (at = messages->find(folder)) != std::string::npos;) {
      messages->replace(at, folder.size(), home_.path().toStdString() + "/Palm");
    }
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string WindowExportTest::consoleFile(const char* name) const {
  return vessory::testing::readFile(consolePath(name)).value_or(std::string("<no ") + name + ">");
}

std::string WindowExportTest::consolePath(const char* name) const {
  return elsewhere_.path().toStdString() + "/" + name;
}

}  // namespace vessory::window::fixture
