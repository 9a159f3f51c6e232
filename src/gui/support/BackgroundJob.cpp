#include "gui/support/BackgroundJob.h"

namespace dualvex {

BackgroundJob::BackgroundJob(QObject* parent) : QObject(parent) {}

BackgroundJob::~BackgroundJob()
{
    StopAndWait();
}

void BackgroundJob::StopAndWait()
{
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    m_running = false;
}

void BackgroundJob::Start(Work work)
{
    StopAndWait();
    m_stop = false;
    m_percent = -1;
    const int generation = ++m_generation;
    m_running = true;
    m_thread = std::thread([this, generation, work = std::move(work)] {
        const bool completed = work([this, generation](std::uint64_t done, std::uint64_t total) {
            Report(generation, done, total);
            return !m_stop.load();
        });
        // Posted events die with this object, so a finish never reaches a destroyed job.
        QMetaObject::invokeMethod(
            this, [this, generation, completed] { Finish(generation, completed); }, Qt::QueuedConnection);
    });
}

void BackgroundJob::Cancel()
{
    m_stop = true;
}

// Worker thread: only a change of the whole percentage crosses to the UI thread.
void BackgroundJob::Report(int generation, std::uint64_t done, std::uint64_t total)
{
    const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
    if (m_percent.exchange(percent) == percent) return;
    QMetaObject::invokeMethod(
        this,
        [this, generation, percent] {
            if (generation == m_generation && m_running) emit progress(percent);
        },
        Qt::QueuedConnection);
}

void BackgroundJob::Finish(int generation, bool completed)
{
    if (generation != m_generation || !m_running) return;
    if (m_thread.joinable()) m_thread.join();
    m_running = false;
    emit finished(!completed);
}

} // namespace dualvex
