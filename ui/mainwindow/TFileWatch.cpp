#include "mainwindow/TFileWatch.h"

#include <QFileSystemWatcher>
#include <QString>
#include <set>

#if defined(_WIN32)
#include <QDateTime>
#include <QFileInfo>
#else
#include <sys/stat.h>
#endif

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

QString pathText(const fs::path& file) { return QString::fromStdString(file.string()); }

}  // namespace

TFileStamp StampOf(const fs::path& file) {
  TFileStamp stamp;
#if defined(_WIN32)
  const QFileInfo info(QString::fromStdWString(file.wstring()));
  if (!info.exists()) return stamp;
  stamp.exists = true;
  stamp.size = info.size();
  stamp.modifiedNs = info.lastModified().toMSecsSinceEpoch();
  stamp.identity = static_cast<unsigned long long>(info.birthTime().toMSecsSinceEpoch());
#else
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return stamp;
  stamp.exists = true;
  stamp.size = static_cast<long long>(st.st_size);
  stamp.modifiedNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  stamp.identity = static_cast<unsigned long long>(st.st_ino);
#endif
  return stamp;
}

TFileWatch::TFileWatch(QObject* parent) : QObject(parent), watcher_(new QFileSystemWatcher(this)) {
  // A save by rename reports the folder, the old file and the new one in
  // quick succession: one comparison after they settle is enough.
  settle_.setSingleShot(true);
  settle_.setInterval(200);
  connect(&settle_, &QTimer::timeout, this, [this] {
    rewatch();
    emit filesTouched();
  });
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
  connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
}

void TFileWatch::Record(const std::vector<fs::path>& files) {
  order_ = files;
  entries_.clear();
  for (const fs::path& file : files) {
    const TFileStamp now = StampOf(file);
    entries_[file] = {now, now};
  }
  rewatch();
}

void TFileWatch::Watch(const std::vector<fs::path>& files) {
  std::map<fs::path, Entry> kept;
  for (const fs::path& file : files) {
    const auto found = entries_.find(file);
    if (found != entries_.end()) {
      kept[file] = found->second;
    } else {
      const TFileStamp now = StampOf(file);
      kept[file] = {now, now};
    }
  }
  order_ = files;
  entries_ = std::move(kept);
  rewatch();
}

void TFileWatch::Accept(const fs::path& file) {
  const auto found = entries_.find(file);
  if (found == entries_.end()) return;
  const TFileStamp now = StampOf(file);
  found->second = {now, now};
}

void TFileWatch::AcceptAsOf(const fs::path& file, const TFileStamp& stamp) {
  const auto found = entries_.find(file);
  if (found != entries_.end()) found->second = {stamp, stamp};
}

std::vector<fs::path> TFileWatch::Changed() const {
  std::vector<fs::path> changed;
  for (const fs::path& file : order_)
    if (StampOf(file) != entries_.at(file).recorded) changed.push_back(file);
  return changed;
}

std::vector<fs::path> TFileWatch::TakeUnreported() {
  std::vector<fs::path> fresh;
  for (const fs::path& file : order_) {
    Entry& entry = entries_.at(file);
    const TFileStamp now = StampOf(file);
    if (now == entry.recorded || now == entry.reported) continue;
    entry.reported = now;
    fresh.push_back(file);
  }
  return fresh;
}

void TFileWatch::rewatch() {
  // A file replaced by rename drops out of the system's watch list, and a
  // deleted one may come back: the lists are made again each time.
  const QStringList watched = watcher_->files() + watcher_->directories();
  if (!watched.isEmpty()) watcher_->removePaths(watched);
  std::set<QString> folders;
  QStringList paths;
  for (const fs::path& file : order_) {
    std::error_code ec;
    if (fs::exists(file, ec)) paths << pathText(file);
    folders.insert(pathText(file.parent_path()));
  }
  for (const QString& folder : folders) paths << folder;
  if (!paths.isEmpty()) watcher_->addPaths(paths);
}

}  // namespace terraq::ui
