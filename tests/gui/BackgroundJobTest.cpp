// The worker of long computations: progress in order, a finish on the UI thread, a
// stop within one chunk, and a restart whose stale finish never arrives.
#include "gui/support/BackgroundJob.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QThread>

#include <atomic>

using dualvex::BackgroundJob;
using dualvex::WorkObserver;

namespace {

TEST(BackgroundJobTest, ReportsProgressThenFinishes)
{
    BackgroundJob job;
    QSignalSpy progress(&job, &BackgroundJob::progress);
    QSignalSpy finished(&job, &BackgroundJob::finished);
    job.Start([](const WorkObserver& observer) {
        for (std::uint64_t done = 1; done <= 4; ++done)
            if (!observer(done * 25, 100)) return false;
        return true;
    });
    EXPECT_TRUE(job.IsRunning());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(job.IsRunning());
    EXPECT_FALSE(finished.first().first().toBool());
    QList<int> percents;
    for (const auto& args : progress) percents.push_back(args.first().toInt());
    EXPECT_EQ(percents, (QList<int>{25, 50, 75, 100}));
}

TEST(BackgroundJobTest, CancelStopsAWorkThatWouldRunForever)
{
    BackgroundJob job;
    QSignalSpy finished(&job, &BackgroundJob::finished);
    std::atomic<bool> started{false};
    job.Start([&started](const WorkObserver& observer) {
        started = true;
        while (observer(1, 2)) {
        }
        return false;
    });
    while (!started) QThread::yieldCurrentThread();
    job.Cancel();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(finished.first().first().toBool());
}

TEST(BackgroundJobTest, ARestartDropsTheFirstFinish)
{
    BackgroundJob job;
    QSignalSpy finished(&job, &BackgroundJob::finished);
    job.Start([](const WorkObserver& observer) {
        while (observer(1, 2)) {
        }
        return false;
    });
    job.Start([](const WorkObserver&) { return true; });
    ASSERT_TRUE(finished.wait(10000));
    QCoreApplication::processEvents();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_FALSE(finished.first().first().toBool());
}

TEST(BackgroundJobTest, DestroyingARunningJobStopsItsWorker)
{
    std::atomic<bool> ended{false};
    {
        BackgroundJob job;
        job.Start([&ended](const WorkObserver& observer) {
            while (observer(1, 2)) {
            }
            ended = true;
            return false;
        });
    }
    EXPECT_TRUE(ended);
}

} // namespace
