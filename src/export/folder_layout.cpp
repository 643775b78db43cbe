#include "export/folder_layout.h"

#include <algorithm>
#include <array>
#include <memory>

#include "export/export_view.h"
#include "export/handheld_source.h"
#include "memos/memo_names.h"
#include "memos/safe_name.h"

namespace vessory::exporting {

namespace {

// The kind folders, in the order they are looked in; also the names (before the extension) the
// desktop gives each kind's files, in the order of archive::RecordKind.
constexpr std::array<std::string_view, 4> kKindFolders = {"datebook", "address", "todo", "memopad"};
// The files looked at, in lower case: the live files, the archive files and the handheld's
// databases of each kind.
constexpr std::array<std::string_view, 16> kArchiveNames = {
    "datebook.dat",        "datebook.dba",        "datebookdb.pdb",   "address.dat",
    "address.aba",         "addressdb.pdb",       "todo.dat",         "todo.tda",
    "tododb.pdb",          "memopad.dat",         "memopad.mpa",      "memodb.pdb",
    "calendardb-pdat.pdb", "contactsdb-padd.pdb", "tasksdb-ptod.pdb", "memosdb-pmem.pdb"};
// Where a sync leaves the handheld's databases, inside the user folder.
constexpr std::string_view kBackupFolder = "backup";
constexpr std::array<std::string_view, 4> kArchiveFileExtensions = {".dba", ".aba", ".tda", ".mpa"};

std::string lower(std::string_view text) {
  std::string low(text);
  for (char& c : low) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return low;
}

template <std::size_t N>
bool among(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), lower(name)) != names.end();
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// `path` without separators at its end, but never less than a root ("/", "C:\").
std::string trimmed(std::string path) {
  while (path.size() > 1 && isSeparator(path.back()) && path[path.size() - 2] != ':') {
    path.pop_back();
  }
  return path;
}

// The folder `path` lies in; empty for a name without one, the root for the root itself.
std::string parentOf(const std::string& path) {
  const std::size_t last = path.find_last_of("/\\");
  if (last == std::string::npos) return {};
  if (last == 0 || path[last - 1] == ':') return path.substr(0, last + 1);
  return path.substr(0, last);
}

bool hasArchiveFileExtension(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot != std::string::npos && among(kArchiveFileExtensions, name.substr(dot));
}

ArchiveSort sortOf(const std::string& name, const InputKind& input) {
  if (input.container == Container::kHandheld) return ArchiveSort::kHandheld;
  return hasArchiveFileExtension(name) ? ArchiveSort::kArchiveFile : ArchiveSort::kLive;
}

// The desktop names an archive file after the category its records were archived from
// (Business.DBA): that name, made safe, tells its exports from the other archive files' of the
// kind. The kind's own name (Datebook.dba, in any case) keeps the exports' plain names; so does
// a name of which nothing is safe.
std::string namedAfterOf(const std::string& name, std::optional<archive::RecordKind> kind) {
  const std::string stem = name.substr(0, name.rfind('.'));
  if (!kind || lower(stem) == kKindFolders[static_cast<std::size_t>(*kind)]) return {};
  return memos::safeName(stem);
}

// A file named after a category is noted only when its content is that of an archive (or
// cannot be read to tell): other programs' files share these extensions (.mpa is audio too).
bool archiveByContent(const InputKind& input) {
  return input.records || archive::namedNotRead(input.desktop) || !input.readError.empty();
}

// One pass over a folder tree: where the archives go as they are found.
struct Scan {
  files::ExportFiles& files;
  FolderLayout& layout;
};

// Where the files of one user folder are noted.
struct UserFolder {
  std::string path;
  std::string prefix;  // "" or "User/": before the names in the summary
  std::string outputFolder;
};

void note(Scan& scan, const UserFolder& user, FoundArchive found) {
  const std::optional<archive::RecordKind> kind = exportKind(found);
  for (const FoundArchive& earlier : scan.layout.archives) {
    // A classic and a later database of one kind are paired afterwards, not doubles.
    // Names that differ only in letter case are one file where the desktop keeps them.
    if (kind && earlier.duplicateOf.empty() && exportKind(earlier) == kind &&
        earlier.sort == found.sort && earlier.outputFolder == found.outputFolder &&
        earlier.input.laterHandheld == found.input.laterHandheld &&
        memos::foldCase(earlier.namedAfter) == memos::foldCase(found.namedAfter)) {
      found.duplicateOf = earlier.shownName;
      break;
    }
  }
  found.outputPrefix = user.prefix;
  scan.layout.archives.push_back(std::move(found));
}

// Desktop version 6 keeps its data in Access databases, whose names only the date book's is
// known of: every .mdb file is looked at, and listed when it is one.
bool isDatabaseName(std::string_view name) {
  return name.size() > 4 && lower(name.substr(name.size() - 4)) == ".mdb";
}

// Notes the archives among `entries`, the contents of `folder`.
void addArchives(Scan& scan, const UserFolder& user, const std::string& folder,
                 const std::string& shownFolder, const std::vector<files::FolderEntry>& entries) {
  for (const files::FolderEntry& entry : entries) {
    const bool database = isDatabaseName(entry.name);
    const bool named = among(kArchiveNames, entry.name);
    const bool category = !named && hasArchiveFileExtension(entry.name);
    if (entry.isFolder || !(database || named || category)) continue;
    FoundArchive found;
    found.path = joinPath(folder, entry.name);
    found.shownName = shownFolder + entry.name;
    found.input = identifyInput(scan.files, found.path);
    if (database && found.input.desktop != archive::ArchiveKind::kVersion6) continue;
    if (category && !archiveByContent(found.input)) continue;
    found.sort = sortOf(entry.name, found.input);
    if (found.sort == ArchiveSort::kArchiveFile) {
      found.namedAfter = namedAfterOf(entry.name, exportKind(found));
    }
    found.outputFolder = user.outputFolder;
    note(scan, user, std::move(found));
  }
}

// The entries of `folder` by name; a folder that cannot be read is noted as `shownName`.
std::vector<files::FolderEntry> sortedEntries(Scan& scan, const std::string& folder,
                                              const std::string& shownName) {
  std::vector<files::FolderEntry> entries;
  std::string error;
  if (!scan.files.listFolder(folder, entries, error)) {
    scan.layout.unreadable.push_back(shownName + ": " + error);
  }
  std::sort(entries.begin(), entries.end(),
            [](const files::FolderEntry& a, const files::FolderEntry& b) { return a.name < b.name; });
  return entries;
}

void scanFolder(Scan& scan, const UserFolder& user, const files::FolderEntry& entry) {
  const std::string folder = joinPath(user.path, entry.name);
  scan.layout.kindFolders.push_back(folder);
  scan.layout.lookedIn.push_back(folder);
  const std::string shown = user.prefix + entry.name + pathSeparator();
  addArchives(scan, user, folder, shown, sortedEntries(scan, folder, shown));
}

// The unique ids of the handheld database at `path`; empty when it cannot be read.
std::vector<std::uint32_t> uniqueIdsAt(files::ExportFiles& files, const std::string& path) {
  std::string error;
  std::unique_ptr<files::ByteSource> bytes = files.openArchive(path, error);
  if (!bytes) return {};
  const std::unique_ptr<LoadedDatabase> loaded = loadDatabase(*bytes);
  return loaded->database ? loaded->database->uniqueIds() : std::vector<std::uint32_t>();
}

// Each classic handheld database of the user beside a later one of its kind is the later
// one's compatibility copy.
void pairGenerations(Scan& scan, std::size_t firstOfUser) {
  std::vector<FoundArchive>& archives = scan.layout.archives;
  for (std::size_t c = firstOfUser; c < archives.size(); ++c) {
    FoundArchive& classic = archives[c];
    if (classic.sort != ArchiveSort::kHandheld || classic.input.laterHandheld ||
        !classic.duplicateOf.empty() || !classic.input.records) {
      continue;
    }
    for (std::size_t l = firstOfUser; l < archives.size(); ++l) {
      const FoundArchive& later = archives[l];
      if (!later.input.laterHandheld || later.input.records != classic.input.records ||
          !later.duplicateOf.empty()) {
        continue;
      }
      classic.compatibilityCopyOf = later.shownName;
      std::vector<std::uint32_t> laterIds = uniqueIdsAt(scan.files, later.path);
      std::sort(laterIds.begin(), laterIds.end());
      for (std::uint32_t id : uniqueIdsAt(scan.files, classic.path)) {
        if (!std::binary_search(laterIds.begin(), laterIds.end(), id)) ++classic.idsOnlyHere;
      }
      break;
    }
  }
}

// The kind folders first, then the user folder itself, then its Backup folder.
void scanUser(Scan& scan, const UserFolder& user, const std::vector<files::FolderEntry>& entries) {
  const std::size_t firstOfUser = scan.layout.archives.size();
  scan.layout.lookedIn.push_back(user.path);
  for (std::string_view kind : kKindFolders) {
    for (const files::FolderEntry& entry : entries) {
      if (entry.isFolder && lower(entry.name) == kind) scanFolder(scan, user, entry);
    }
  }
  addArchives(scan, user, user.path, user.prefix, entries);
  for (const files::FolderEntry& entry : entries) {
    if (entry.isFolder && lower(entry.name) == kBackupFolder) scanFolder(scan, user, entry);
  }
  pairGenerations(scan, firstOfUser);
}

}  // namespace

std::optional<archive::RecordKind> exportKind(const FoundArchive& found) {
  return found.input.records;
}

FolderLayout findArchives(files::ExportFiles& files, const std::string& folder,
                          const std::string& outputFolder) {
  FolderLayout layout;
  Scan scan{files, layout};
  std::vector<files::FolderEntry> top;
  if (!files.listFolder(folder, top, layout.error)) return layout;
  std::sort(top.begin(), top.end(),
            [](const files::FolderEntry& a, const files::FolderEntry& b) { return a.name < b.name; });
  scanUser(scan, UserFolder{folder, "", outputFolder}, top);
  if (!layout.archives.empty()) return layout;
  for (const files::FolderEntry& entry : top) {
    if (!entry.isFolder || among(kKindFolders, entry.name) || lower(entry.name) == kBackupFolder) {
      continue;
    }
    const UserFolder user{joinPath(folder, entry.name), entry.name + pathSeparator(),
                          joinPath(outputFolder, entry.name)};
    scanUser(scan, user, sortedEntries(scan, user.path, user.prefix));
  }
  return layout;
}

std::string defaultOutputFolder(files::ExportFiles& files, const std::string& folder) {
  return trimmed(files.absolutePath(folder)) + "-export";
}

std::optional<std::string> refuseOutputFolder(files::ExportFiles& files, const std::string& folder,
                                              const std::string& outputFolder,
                                              const FolderLayout& layout) {
  const std::string out = trimmed(files.absolutePath(outputFolder));
  auto same = [&](const std::string& a, const std::string& b) {
    return a == trimmed(files.absolutePath(b)) || files.sameFile(a, b);
  };
  if (same(out, folder)) {
    return "the output folder " + outputFolder + " is the folder exported; name another with -o";
  }
  for (std::string at = out; !at.empty(); at = parentOf(at)) {
    for (const std::string& kind : layout.kindFolders) {
      if (same(at, kind)) {
        std::string refusal = "the output folder " + outputFolder;
        refusal += " lies in ";
        refusal += kind;
        refusal += ", where the desktop keeps its archives; name another with -o";
        return refusal;
      }
    }
    if (parentOf(at) == at) break;
  }
  return std::nullopt;
}

std::string exportName(archive::RecordKind kind, ArchiveSort sort, std::string_view namedAfter) {
  static constexpr std::array<std::string_view, 3> kSuffixes = {"", "-archive", "-handheld"};
  std::string suffix(kSuffixes[static_cast<int>(sort)]);
  if (!namedAfter.empty()) suffix += "-" + std::string(namedAfter);
  switch (kind) {
    case archive::RecordKind::kDatebook:
      return "calendar" + suffix + ".ics";
    case archive::RecordKind::kAddress:
      return "contacts" + suffix + ".vcf";
    case archive::RecordKind::kTodo:
      return "todos" + suffix + ".ics";
    default:
      return "memos" + suffix;
  }
}

bool isKindFolderName(std::string_view name) { return among(kKindFolders, name); }

std::string journalExportName(ArchiveSort sort, std::string_view namedAfter) {
  static constexpr std::array<std::string_view, 3> kStems = {"journal", "journal-archive",
                                                             "journal-handheld"};
  std::string name(kStems[static_cast<int>(sort)]);
  if (!namedAfter.empty()) name += "-" + std::string(namedAfter);
  return name + ".csv";
}

}  // namespace vessory::exporting
