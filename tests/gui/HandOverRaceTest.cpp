// Real processes started at the same moment with -0: they must pair up, each with
// exactly one partner, and none may be left waiting.
#include <gtest/gtest.h>

#include "AppTestSupport.h"

#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <memory>
#include <vector>

using namespace dualvex::test;

namespace {

constexpr int kLaunches = 6;
constexpr int kRounds = 3;

struct Launch {
    QString file;
    std::unique_ptr<QProcess> process;
};

} // namespace

TEST(HandOverRace, LaunchesStartedTogetherPairUpAndNoneIsLost)
{
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        QTemporaryDir dir;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DUALVEX_CONFIG_DIR"), dir.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        std::vector<Launch> launches(kLaunches);
        for (int i = 0; i < kLaunches; ++i) {
            launches[i].file =
                WriteFile(dir, QStringLiteral("f%1.bin").arg(i), QByteArray(16, char('a' + i)));
            launches[i].process = std::make_unique<QProcess>();
            launches[i].process->setProcessEnvironment(env);
        }
        for (Launch& launch : launches)
            launch.process->start(QStringLiteral(DUALVEX_HANDOVER_PROBE),
                                  {QStringLiteral("-0:") + launch.file});

        QSet<QString> compared;
        int paired = 0;
        int gaveWay = 0;
        for (Launch& launch : launches) {
            QProcess& process = *launch.process;
            if (!process.waitForFinished(60000)) {
                ADD_FAILURE() << "left waiting: " << launch.file.toStdString();
                process.kill();
                process.waitForFinished();
                continue;
            }
            const QString out = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
            if (process.exitCode() == 3) {
                ++gaveWay;
                continue;
            }
            ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
            ASSERT_TRUE(out.startsWith(QStringLiteral("paired "))) << out.toStdString();
            const QStringList files = out.mid(7).split(QLatin1Char('|'));
            ASSERT_EQ(files.size(), 2);
            EXPECT_EQ(files[1], launch.file); // its own file comes second
            EXPECT_NE(files[0], launch.file);
            for (const QString& file : files) {
                EXPECT_FALSE(compared.contains(file)) << "in two pairs: " << file.toStdString();
                compared.insert(file);
            }
            ++paired;
        }
        EXPECT_EQ(paired, kLaunches / 2);
        EXPECT_EQ(gaveWay, kLaunches / 2);
        EXPECT_EQ(compared.size(), kLaunches);
    }
}
