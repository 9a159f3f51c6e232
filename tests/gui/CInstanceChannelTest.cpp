#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "gui/app/CInstanceChannel.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>

using dualvex::CInstanceChannel;
using dualvex::test::NotifyFromAnotherThread;

TEST(CInstanceChannel, NoWaitingInstanceMeansNoPartner)
{
    EXPECT_FALSE(CInstanceChannel::NotifyWaitingInstance(200));
}

TEST(CInstanceChannel, WaitingInstanceHearsTheHandOverAndStopsListening)
{
    CInstanceChannel waiting;
    ASSERT_TRUE(waiting.Listen());
    QSignalSpy spy(&waiting, &CInstanceChannel::HandOverRequested);
    EXPECT_TRUE(NotifyFromAnotherThread());
    EXPECT_EQ(spy.count(), 1);
    // Given way: a third launch must not pair with it again.
    EXPECT_FALSE(NotifyFromAnotherThread());
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

// A listener that never confirms (an older or hung instance) is not taken for a partner.
TEST(CInstanceChannel, ListenerThatNeverConfirmsIsNoPartner)
{
    QLocalServer silent;
    QLocalServer::removeServer(CInstanceChannel::SocketName());
    ASSERT_TRUE(silent.listen(CInstanceChannel::SocketName()));
    EXPECT_FALSE(CInstanceChannel::NotifyWaitingInstance(300));
}

TEST(CInstanceChannel, ClaimWaitsWhenAloneAndPairsWithAWaiter)
{
    CInstanceChannel first;
    QString error;
    int announced = 0;
    int paired = 0;
    EXPECT_EQ(first.Claim([&] { ++paired; }, [&] { ++announced; }, error), CInstanceChannel::Role::Waiting);
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(paired, 0);

    CInstanceChannel headless;
    std::future<CInstanceChannel::Role> second = std::async(std::launch::async, [&] {
        QString e;
        return headless.Claim([&] { ++paired; }, [&] { ++announced; }, e, false);
    });
    while (second.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    EXPECT_EQ(second.get(), CInstanceChannel::Role::Paired);
    EXPECT_EQ(paired, 1);
    EXPECT_EQ(announced, 1);

    CInstanceChannel third; // the first has given way: nobody waits now
    EXPECT_EQ(third.Claim({}, {}, error, false), CInstanceChannel::Role::Alone);
}

TEST(CInstanceChannel, UnusableSocketPlacesAreNamed)
{
    const QByteArray old = qgetenv("DUALVEX_CONFIG_DIR");
    struct Case {
        const char* name;
        QString dir;
        const char* says;
    };
    const QString longDir = QDir(QString::fromLocal8Bit(old)).filePath(QString(120, QLatin1Char('d')));
    ASSERT_TRUE(QDir().mkpath(longDir));
    const Case cases[] = {
        {"missing folder", QStringLiteral("/no/such/folder"), "lässt sich nicht anlegen"},
        {"path too long for a socket", longDir, "ist zu lang"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qputenv("DUALVEX_CONFIG_DIR", QFile::encodeName(c.dir));
        CInstanceChannel channel;
        QString error;
        EXPECT_EQ(channel.Claim({}, {}, error), CInstanceChannel::Role::Failed);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << error.toStdString();
        EXPECT_TRUE(error.contains(c.dir)) << error.toStdString();
    }
    qputenv("DUALVEX_CONFIG_DIR", old);
}
