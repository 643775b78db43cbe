#ifndef VESSORY_WINDOW_LOCATION_LISTS_H_
#define VESSORY_WINDOW_LOCATION_LISTS_H_

#include <QComboBox>
#include <QListWidget>
#include <QStringList>
#include <QTreeWidget>

// The three lists the user walks to an archive. Paths are held the way Qt writes them ("/" as
// separator, "C:/" for a drive root); the window converts them for display and for the run.

namespace vessory::window {

// Drop-down list of the machine's drives (Windows) or mounted volumes (elsewhere), each shown by
// its root folder. Reports a change to a different drive, whether the user or the program made
// it.
class DriveList : public QComboBox {
  Q_OBJECT

 public:
  explicit DriveList(QWidget* parent = nullptr);

  // What the system lists now.
  static QStringList machineDrives();

  // Replaces the entries; the selected drive stays selected when it is among them.
  void setDrives(const QStringList& roots);
  // Root folder of the selected drive; empty when there is none.
  QString drive() const;
  // The listed drive that holds `path` (the longest root it starts with); empty when none does.
  QString driveOf(const QString& path) const;
  // Selects the drive with root `root`, adding it when it is not listed.
  void setDrive(const QString& root);

 signals:
  void driveChanged(const QString& root);

 private:
  void onIndexChanged(int index);

  QString selected_;
};

// The folders of the current path from its root down, each open, and under the last of them the
// subfolders of the current folder. Opening an entry (double click, Enter) moves there.
class FolderList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit FolderList(QWidget* parent = nullptr);

  QString path() const { return path_; }
  // Moves to `path` and refills; reports pathChanged when the path differs from the current
  // one. Returns false, changing nothing, when `path` is not an existing folder.
  bool setPath(const QString& path);
  // Rereads the subfolders of the current folder from the disk.
  void refill();

 signals:
  void pathChanged(const QString& path);

 protected:
  // Every entry is always open; there is nothing to fold, so no branch marks are drawn.
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

 private:
  void onItemActivated(QTreeWidgetItem* item);

  QString path_;
};

// The ordinary files of one folder, sorted by name; hidden files (dot files on Unix) and system
// files are left out. At most one file is selected.
class FileList : public QListWidget {
  Q_OBJECT

 public:
  explicit FileList(QWidget* parent = nullptr);

  // Names of the files the list shows for `folder`, in the order it shows them.
  static QStringList ordinaryFiles(const QString& folder);

  QString folder() const { return folder_; }
  // Sets the folder without rereading it; refill() does that.
  void setFolder(const QString& folder) { folder_ = folder; }
  void refill();
  // Name of the selected file; empty when none is selected.
  QString selectedFileName() const;

 private:
  QString folder_;
};

}  // namespace vessory::window

#endif  // VESSORY_WINDOW_LOCATION_LISTS_H_
