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
    m_entries[0] = {first, ReadFileStamp(first.toStdString())};
    m_entries[1] = {second, ReadFileStamp(second.toStdString())};
    Arm();
}

// A watch sticks to the file it was set on: after a replace it must be set again
// to reach the file the path names now, and a path that names nothing yet is
// caught through its folder.
void CFileWatch::Arm()
{
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
    for (const Entry& entry : m_entries) {
        if (entry.path.isEmpty()) continue;
        const QFileInfo info(entry.path);
        if (!m_watcher.directories().contains(info.absolutePath())) m_watcher.addPath(info.absolutePath());
        if (info.exists() && !m_watcher.files().contains(entry.path)) m_watcher.addPath(entry.path);
    }
}

void CFileWatch::Check()
{
    bool changed[2] = {false, false};
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry& entry = m_entries[i];
        if (entry.path.isEmpty()) continue;
        const FileStamp now = ReadFileStamp(entry.path.toStdString());
        changed[i] = now != entry.stamp;
        entry.stamp = now;
    }
    Arm();
    for (int i = 0; i < 2; ++i)
        if (changed[i]) emit FileChanged(i, m_entries[static_cast<std::size_t>(i)].stamp.exists);
}

} // namespace dualvex
