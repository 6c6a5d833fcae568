#pragma once
// TFileWatch: notices when the files of the open project change on disk
// behind the program's back (an edit in the text editor, another program,
// a copy over the file), so that the window can ask before it either loses
// that edit or saves over it.
//
// Each file's stamp (size, modification time to the nanosecond, and the
// file's identity on its volume) is recorded whenever the program has read
// or written it; a file differs when its stamp does. The system's watcher
// only prompts a comparison: it misses a file replaced by renaming another
// over it (as most editors save), and it reports the program's own writes
// as well, so the stamps decide.

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <map>
#include <vector>

class QFileSystemWatcher;

namespace terraq::ui {

struct TFileStamp {
  bool exists = false;
  long long size = 0;
  long long modifiedNs = 0;         // modification time, nanoseconds (Windows: milliseconds)
  unsigned long long identity = 0;  // inode (Windows: creation time)
  bool operator==(const TFileStamp&) const = default;
};
TFileStamp StampOf(const std::filesystem::path& file);

class TFileWatch : public QObject {
  Q_OBJECT

 public:
  explicit TFileWatch(QObject* parent = nullptr);

  // Takes `files` as they are now: the program has just read or written
  // them. Replaces what was watched before.
  void Record(const std::vector<std::filesystem::path>& files);
  // Watches `files` from now on: those watched already keep their records,
  // the others are taken as they are now.
  void Watch(const std::vector<std::filesystem::path>& files);
  // Takes one file as it is now, leaving the others' records as they were.
  void Accept(const std::filesystem::path& file);
  // Takes a watched file as it was when `stamp` was taken (before the
  // program read it: a change made while it was being read then counts).
  void AcceptAsOf(const std::filesystem::path& file, const TFileStamp& stamp);
  // The recorded files that differ from their record, in recording order.
  std::vector<std::filesystem::path> Changed() const;
  // Of those, the ones whose present state has not been reported yet; each
  // is then taken as reported (a question is asked once per change).
  std::vector<std::filesystem::path> TakeUnreported();

 signals:
  // A watched file or its folder changed; emitted once for a burst of
  // changes, after the program's own writes of the moment are recorded.
  void filesTouched();

 private:
  void rewatch();

  struct Entry {
    TFileStamp recorded;
    TFileStamp reported;  // the state last reported (recorded at first)
  };
  std::vector<std::filesystem::path> order_;
  std::map<std::filesystem::path, Entry> entries_;
  QFileSystemWatcher* watcher_;
  QTimer settle_;
};

}  // namespace terraq::ui
