// Runs one long computation on a worker thread and hands its end back to the UI
// thread: progress in percent while it runs, Cancel() to stop it within one chunk,
// and finished() on the UI thread once the worker is done. A status bar can show the
// progress and Escape can call Cancel(); the work itself keeps its result where the
// finished() handler can read it.
#pragma once

#include "core/support/WorkObserver.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

namespace dualvex {

// Computations over this much data leave the UI thread.
inline constexpr std::size_t kBackgroundWorkBytes = std::size_t{64} << 20;

class BackgroundJob : public QObject {
    Q_OBJECT
  public:
    // Runs on the worker thread; calls the observer between chunks and stops when it
    // answers false. Returns whether it ran to the end.
    using Work = std::function<bool(const WorkObserver& observer)>;

    explicit BackgroundJob(QObject* parent = nullptr);
    // Stops a running job and waits for its worker.
    ~BackgroundJob() override;
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // Starts work; a job that still runs is stopped first and its finish never arrives.
    void Start(Work work);
    // Asks the running job to stop; finished(true) follows.
    void Cancel();
    [[nodiscard]] bool IsRunning() const { return m_running; }
    // What the status bar says while the job runs.
    void SetCaption(const QString& caption) { m_caption = caption; }
    [[nodiscard]] const QString& Caption() const { return m_caption; }

  signals:
    void progress(int percent);
    void finished(bool cancelled);

  private:
    void StopAndWait();
    void Finish(int generation, bool completed);
    void Report(int generation, std::uint64_t done, std::uint64_t total);

    QString m_caption = QStringLiteral("Berechne ... (Esc bricht ab)");
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_percent{-1};
    int m_generation = 0;
    bool m_running = false;
};

} // namespace dualvex
