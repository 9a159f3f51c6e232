#include "gui/app/CFileWatch.h"

#include <QFileInfo>

namespace dualvex {

CFileWatch::CFileWatch(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    const auto restart = [this] { m_settle.start(); };
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, restart);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, restart);
    connect(&m_settle, &QTimer::timeout, this, &CFileWatch::Check);
}

void CFileWatch::Watch(const QString& first, const QString& second)
{
    m_settle.stop();
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
    const QString paths[2] = {first, second};
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        entry.path = paths[i];
        entry.watched = paths[i].isEmpty() ? QString() : QFileInfo(paths[i]).absoluteFilePath();
        entry.stamp = ReadFileStamp(paths[i].toStdString());
        if (entry.watched.isEmpty()) continue;
        // The folder sees a file that is deleted and written again, or renamed over.
        const QString folder = QFileInfo(entry.watched).absolutePath();
        if (!m_watcher.directories().contains(folder)) m_watcher.addPath(folder);
        Rewatch(entry.watched);
    }
}

// A watch sticks to the file it was set on: when the path names another file
// (an editor renamed a new one over it), it is set again to reach that one.
void CFileWatch::Rewatch(const QString& path)
{
    if (m_watcher.files().contains(path)) m_watcher.removePath(path);
    if (QFileInfo::exists(path)) m_watcher.addPath(path);
}

void CFileWatch::Check()
{
    bool changed[2] = {false, false};
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        if (entry.watched.isEmpty()) continue;
        const FileStamp now = ReadFileStamp(entry.path.toStdString());
        const bool otherFile = now.exists != entry.stamp.exists || now.device != entry.stamp.device ||
                               now.inode != entry.stamp.inode;
        changed[i] = now != entry.stamp;
        entry.stamp = now;
        if (otherFile || (now.exists && !m_watcher.files().contains(entry.watched))) Rewatch(entry.watched);
    }
    for (int i = 0; i < 2; ++i)
        if (changed[i]) emit FileChanged(i, m_entries[static_cast<std::size_t>(i)].stamp.exists);
}

} // namespace dualvex
