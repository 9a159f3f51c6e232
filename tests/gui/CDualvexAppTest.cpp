#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "gui/app/CDualvexApp.h"
#include "gui/app/CDualvexView.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"

#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace dualvex;
using namespace dualvex::test;

namespace {

CommandLine Args(std::vector<std::string> args)
{
    return ParseCommandLine(args);
}

QString Exe()
{
    return QStringLiteral(DUALVEX_EXE);
}

QString Example(const char* name)
{
    return QStringLiteral(DUALVEX_SOURCE_DIR "/examples/") + QString::fromUtf8(name);
}

} // namespace

TEST(CDualvexApp, MissingFilesGetOneMessageEach)
{
    SeamRecorder seam;
    CDualvexApp app(Args({"/no/such/a.bin", "/no/such/b.bin"}));
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(seam.texts.size(), 2);
    EXPECT_EQ(seam.texts[0], QStringLiteral("Die Datei /no/such/a.bin existiert nicht zum Vergleichen !"));
    EXPECT_EQ(seam.texts[1], QStringLiteral("Die Datei /no/such/b.bin existiert nicht zum Vergleichen !"));
    EXPECT_EQ(seam.captions[0], QStringLiteral("Fehler"));
    EXPECT_EQ(seam.icons[0], QMessageBox::Critical);
    EXPECT_EQ(app.Frame()->windowTitle(), QStringLiteral("Dualvex"));
    EXPECT_TRUE(app.Frame()->isVisible());
}

TEST(CDualvexApp, DirectoryIsNotComparable)
{
    QTemporaryDir dir;
    SeamRecorder seam;
    const QString file = WriteFile(dir, QStringLiteral("f.bin"), QByteArray("abc"));
    CDualvexApp app(Args({dir.path().toStdString(), file.toStdString()}));
    ASSERT_TRUE(app.Start());
    ASSERT_EQ(seam.texts.size(), 1);
    EXPECT_TRUE(seam.texts[0].contains(QStringLiteral("existiert nicht zum Vergleichen")));
}

TEST(CDualvexApp, OnePathOnlyShowsEmptyPanesWithoutMessage)
{
    SeamRecorder seam;
    CDualvexApp app(Args({"/no/such/a.bin"}));
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(seam.texts.isEmpty());
    EXPECT_EQ(app.View()->DoubleWindow()->Pane(0)->HexCommand(kOpGetLength, 0), 0);
}

TEST(CDualvexApp, SwitchesReachTheView)
{
    SeamRecorder seam;
    CDualvexApp app(Args({"-N", "-H", "-J", Example("firmware_v1.hex").toStdString(),
                          Example("firmware_v2.bin").toStdString()}));
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(seam.texts.isEmpty()) << seam.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(app.View()->HorizontalSplit());
    EXPECT_FALSE(app.View()->DoubleWindow()->TitleBar(0)->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(app.View()->DoubleWindow()->Pane(0)->GetCursorPos(false),
              static_cast<HexPos>(app.View()->Summary().first));
}

TEST(CDualvexApp, ScreenshotOfTheExamplePair)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shot.png"));
    QProcess process;
    process.start(Exe(), {QStringLiteral("--screenshot=") + png, QStringLiteral("--size=900x500"),
                          QStringLiteral("-J"), Example("firmware_v1.hex"), Example("firmware_v2.bin")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(900, 500));
}

// Not saving is exit 2 with the name and the reason, never a silent failure.
TEST(CDualvexApp, ScreenshotIntoAnUnwritablePlaceFailsAndSaysWhy)
{
    struct Case {
        const char* path;
        const char* reason;
    };
    // The program loads Qt's German texts, so the system's reasons come in German too.
    for (const Case& c :
         {Case{"/no/such/dir/shot.png", "Die Datei oder das Verzeichnis konnte nicht gefunden werden"},
          Case{"/dev/full", "Kein freier Speicherplatz auf dem Gerät vorhanden"}}) {
        SCOPED_TRACE(c.path);
        QProcess process;
        process.start(Exe(), {QStringLiteral("--screenshot=") + QString::fromUtf8(c.path),
                              Example("firmware_v1.hex"), Example("firmware_v2.bin")});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 2);
        const std::string err = process.readAllStandardError().toStdString();
        EXPECT_NE(err.find(std::string("Das Bild ") + c.path + " konnte nicht gespeichert werden: "),
                  std::string::npos)
            << err;
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
    }
}

TEST(CDualvexApp, HandOverBetweenTwoProcesses)
{
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DUALVEX_CONFIG_DIR"), dir.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString a = WriteFile(dir, QStringLiteral("a.bin"), QByteArray("0123456789"));
    const QString b = WriteFile(dir, QStringLiteral("b.bin"), QByteArray("0123x56789"));
    QProcess waiting;
    waiting.setProcessEnvironment(env);
    waiting.start(Exe(), {QStringLiteral("-0:") + a});
    ASSERT_TRUE(waiting.waitForStarted());
    // The waiting instance announces its file and listens; it is another process, so wait
    // for its socket to appear rather than for a fixed time.
    const QString socket = QDir(dir.path()).filePath(QStringLiteral("handover.sock"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket); }, 60000));

    QProcess later;
    later.setProcessEnvironment(env);
    const QString png = dir.filePath(QStringLiteral("pair.png"));
    const QString report = dir.filePath(QStringLiteral("pair.txt"));
    later.start(Exe(), {QStringLiteral("--screenshot=") + png, QStringLiteral("-0:") + b});
    ASSERT_TRUE(later.waitForFinished(60000));
    EXPECT_EQ(later.exitCode(), 0);
    ASSERT_TRUE(waiting.waitForFinished(10000)); // its dialog gave way and it ended
    EXPECT_EQ(waiting.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(png));
}
