#include <gtest/gtest.h>

#include "gui/app/CInstanceChannel.h"

#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>

using dualvex::CInstanceChannel;

TEST(CInstanceChannel, NoWaitingInstanceMeansNoPartner)
{
    EXPECT_FALSE(CInstanceChannel::NotifyWaitingInstance(200));
}

TEST(CInstanceChannel, WaitingInstanceHearsTheHandOver)
{
    CInstanceChannel waiting;
    ASSERT_TRUE(waiting.Listen());
    QSignalSpy spy(&waiting, &CInstanceChannel::HandOverRequested);
    EXPECT_TRUE(CInstanceChannel::NotifyWaitingInstance());
    EXPECT_TRUE(spy.wait(2000));
    EXPECT_EQ(spy.count(), 1);
}

TEST(CInstanceChannel, StaleSocketFileDoesNotBlockTheNextStart)
{
    // A crashed instance leaves its socket file behind.
    QFile stale(CInstanceChannel::SocketName());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_FALSE(CInstanceChannel::NotifyWaitingInstance(200));
    CInstanceChannel waiting;
    EXPECT_TRUE(waiting.Listen());
}
