#include "window/location_lists.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>

#include "files/export_files.h"
#include "window_model/start_folder.h"

namespace vessory::window {

using window_model::buildPlatform;
using window_model::Platform;

namespace {

constexpr int kPathRole = Qt::UserRole;

Qt::CaseSensitivity pathCase() {
  return buildPlatform() == Platform::kWindows ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

// "c:" names a drive, not a folder on it; it is held as its root "c:/".
QString normalisedPath(const QString& path) {
  if (path.size() == 2 && path[1] == u':') return path + u'/';
  return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

bool startsWithFolder(const QString& path, const QString& root) {
  if (!path.startsWith(root, pathCase())) return false;
  return path.size() == root.size() || root.endsWith(u'/') || path[root.size()] == u'/';
}

// `path` and the folders above it, from the root down.
QStringList folderChain(const QString& path) {
  QStringList chain;
  QDir dir(path);
  while (true) {
    chain.prepend(dir.absolutePath());
    if (dir.isRoot() || !dir.cdUp()) break;
  }
  return chain;
}

QString folderLabel(const QString& path) {
  QString name = QFileInfo(path).fileName();
  return name.isEmpty() ? QDir::toNativeSeparators(path) : name;
}

}  // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
  connect(this, &QComboBox::currentIndexChanged, this, &DriveList::onIndexChanged);
}

QStringList DriveList::machineDrives() {
  QStringList roots;
  if (buildPlatform() == Platform::kWindows) {
    for (const QFileInfo& drive : QDir::drives()) roots << drive.absoluteFilePath();
    return roots;
  }
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady()) roots << volume.rootPath();
  }
  roots.sort();
  roots.removeDuplicates();
  return roots;
}

void DriveList::setDrives(const QStringList& roots) {
  const QSignalBlocker quiet(this);
  clear();
  for (const QString& root : roots) addItem(QDir::toNativeSeparators(root), root);
  int index = selected_.isEmpty() ? -1 : findData(selected_);
  setCurrentIndex(index);
  if (index < 0) selected_.clear();
}

QString DriveList::drive() const { return selected_; }

QString DriveList::driveOf(const QString& path) const {
  const QString wanted = normalisedPath(path);
  QString best;
  for (int i = 0; i < count(); ++i) {
    QString root = itemData(i, kPathRole).toString();
    if (startsWithFolder(wanted, root) && root.size() > best.size()) best = root;
  }
  return best;
}

void DriveList::setDrive(const QString& root) {
  int index = findData(root);
  if (index < 0) {
    addItem(QDir::toNativeSeparators(root), root);
    index = count() - 1;
  }
  setCurrentIndex(index);
}

void DriveList::onIndexChanged(int index) {
  QString root = index < 0 ? QString() : itemData(index, kPathRole).toString();
  if (root == selected_) return;
  selected_ = root;
  if (!root.isEmpty()) emit driveChanged(root);
}

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setIndentation(10);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QTreeWidget::itemActivated, this, &FolderList::onItemActivated);
}

bool FolderList::setPath(const QString& path) {
  const QString wanted = normalisedPath(path);
  if (!QFileInfo(wanted).isDir()) return false;
  const QString absolute = QDir(wanted).absolutePath();
  if (absolute == path_) return true;
  path_ = absolute;
  refill();
  emit pathChanged(path_);
  return true;
}

void FolderList::refill() {
  clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  QTreeWidgetItem* parent = nullptr;
  for (const QString& folder : folderChain(path_)) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, folderLabel(folder));
    item->setIcon(0, open);
    item->setData(0, kPathRole, folder);
    parent = item;
  }
  const QFileInfoList subfolders =
      QDir(path_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QFileInfo& subfolder : subfolders) {
    auto* item = new QTreeWidgetItem(parent);
    item->setText(0, subfolder.fileName());
    item->setIcon(0, closed);
    item->setData(0, kPathRole, subfolder.absoluteFilePath());
  }
  expandAll();
  setCurrentItem(parent);
}

void FolderList::onItemActivated(QTreeWidgetItem* item) {
  if (item) setPath(item->data(0, kPathRole).toString());
}

FileList::FileList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
}

QStringList FileList::ordinaryFiles(const QString& folder) {
  const QDir dir(folder);
  const QStringList candidates = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
  // The run accepts only what the disk calls an ordinary file; the list offers nothing else.
  files::DiskFiles disk;
  QStringList files;
  for (const QString& name : candidates) {
    if (disk.fileExists(QFile::encodeName(dir.filePath(name)).toStdString())) files << name;
  }
  return files;
}

void FileList::refill() {
  clear();
  addItems(ordinaryFiles(folder_));
}

QString FileList::selectedFileName() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? QString() : selected.first()->text();
}

}  // namespace vessory::window
