// Watches the two compared files on disk and says when one of them changed. It
// follows a file that an editor saves by writing a new one and renaming it over
// the old (the path then names another file) and one that is deleted and written
// again, by watching the folders too. Bursts of writes are gathered into one
// notice once the file has been quiet for a moment.
#pragma once

#include "core/app/FileStamp.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>

namespace dualvex {

class CFileWatch : public QObject {
    Q_OBJECT
  public:
    explicit CFileWatch(QObject* parent = nullptr);
    CFileWatch(const CFileWatch&) = delete;
    CFileWatch& operator=(const CFileWatch&) = delete;

    // Watches these paths from now on (an empty path is not watched); their state
    // now is the state later notices compare with.
    void Watch(const QString& first, const QString& second);
    const QString& Path(int index) const { return m_entries[static_cast<std::size_t>(index)].path; }

    // How long a file must stay quiet before its change is reported.
    static constexpr int kSettleMs = 250;

  signals:
    // The file of side 0 or 1 differs from its state at Watch or at the last
    // notice (written, replaced, or gone: then `exists` is false).
    void FileChanged(int index, bool exists);

  private:
    struct Entry {
        QString path;    // as the caller named it
        QString watched; // absolute, as the watcher lists it
        FileStamp stamp;
    };
    void Rewatch(const QString& path);
    void Check();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    std::array<Entry, 2> m_entries;
};

} // namespace dualvex
