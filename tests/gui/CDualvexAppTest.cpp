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
#include <QStatusBar>
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
        // Qt's PNG writer leaks its row buffer when libpng fails a write; under the
        // leak checker that would turn the exit code into the checker's.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
        process.setProcessEnvironment(env);
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

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString err;
    bool finished = false;
};

ProgramRun RunScreenshot(const QStringList& args, const QTemporaryDir& config)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DUALVEX_CONFIG_DIR"), config.path());
    process.setProcessEnvironment(env);
    process.start(Exe(), args);
    ProgramRun run;
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitCode();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

// Without a window nobody can answer a box: every message goes to stderr and the
// run fails at once instead of waiting.
TEST(CDualvexApp, ScreenshotNeverWaitsForAnswers)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shot.png"));
    const QString good = WriteFile(dir, QStringLiteral("b.bin"), QByteArray("abc"));
    const QString loop = dir.filePath(QStringLiteral("loop"));
    QFile::link(loop, loop);
    const QString huge = dir.filePath(QStringLiteral("huge.bin"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64{1} << 32)); // sparse: costs no disk
    }
    struct Case {
        const char* name;
        QStringList args;
        const char* says;
    };
    const Case cases[] = {
        {"missing file", {QStringLiteral("/no/such/a.bin"), good}, "existiert nicht zum Vergleichen"},
        {"folder", {dir.path(), good}, "existiert nicht zum Vergleichen"},
        {"link loop", {loop, good}, "existiert nicht zum Vergleichen"},
        {"4 GiB", {huge, good}, "zu groß"},
        {"-0 without a partner", {QStringLiteral("-0:") + good}, "kein anderer Aufruf wartet"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(png);
        QStringList args{QStringLiteral("--screenshot=") + png};
        args += c.args;
        const ProgramRun run = RunScreenshot(args, dir);
        ASSERT_TRUE(run.finished) << "waited for an answer";
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(png));
    }
}

// The automatic setting of start-up answers the Intel-HEX question; bad lines of the
// decoded file are named on stderr.
TEST(CDualvexApp, ScreenshotDecodesHexFilesWithoutAskingAndNamesBadLines)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shot.png"));
    const QString hex = WriteFile(dir, QStringLiteral("a.hex"), QByteArray(":0100000041BE\njunk\n"));
    const QString bin = WriteFile(dir, QStringLiteral("b.bin"), QByteArray("A"));
    const ProgramRun run = RunScreenshot({QStringLiteral("--screenshot=") + png, hex, bin}, dir);
    ASSERT_TRUE(run.finished) << "waited for an answer";
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("Intel-Hex-Format"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("1 fehlerhafte Zeile (erste in Zeile 2)")))
        << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(png));
}

TEST(CDualvexApp, ScreenshotThatCannotBeSavedSaysWhy)
{
    QTemporaryDir dir;
    const ProgramRun run = RunScreenshot({QStringLiteral("--screenshot=/no/such/dir/shot.png"),
                                          Example("firmware_v1.hex"), Example("firmware_v2.bin")},
                                         dir);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("/no/such/dir/shot.png"))) << run.err.toStdString();
}

TEST(CDualvexApp, BadIntelHexLinesAreNamedInTheStatusBar)
{
    QTemporaryDir dir;
    SeamRecorder seam;
    const QString hex = WriteFile(dir, QStringLiteral("a.hex"),
                                  QByteArray(":0100000041BE\n:0100010042FF\nxx\n:00000001FF\n"));
    const QString bin = WriteFile(dir, QStringLiteral("b.bin"), QByteArray("AB"));
    CDualvexApp app(Args({"-I1", hex.toStdString(), bin.toStdString()}));
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(seam.texts.isEmpty()) << seam.texts.join(QLatin1Char('|')).toStdString();
    const QString message = app.Frame()->statusBar()->currentMessage();
    EXPECT_TRUE(message.contains(QStringLiteral("2 fehlerhafte Zeilen (erste in Zeile 2)")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(hex)) << message.toStdString();
}

// Another process truncates a mapped file while it is on screen: the program lives
// on, tells the user and reloads on request.
TEST(CDualvexApp, FileTruncatedWhileShownIsToldAndReloaded)
{
    QTemporaryDir dir;
    const QByteArray content(5 << 20, 'x'); // large enough to stay mapped
    const QString first = WriteFile(dir, QStringLiteral("a.bin"), content);
    const QString second = WriteFile(dir, QStringLiteral("b.bin"), content);
    SeamRecorder seam(QMessageBox::Yes);
    CDualvexApp app(Args({first.toStdString(), second.toStdString()}));
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(seam.texts.isEmpty());
    ASSERT_TRUE(QFile::resize(first, 0));

    app.Frame()->grab(); // paints both panes, reading the vanished pages
    QApplication::processEvents();
    ASSERT_EQ(seam.texts.size(), 1);
    EXPECT_TRUE(seam.texts[0].contains(QStringLiteral("wurde auf der Festplatte geändert")))
        << seam.texts[0].toStdString();
    EXPECT_TRUE(seam.texts[0].contains(first));
    EXPECT_EQ(seam.icons[0], QMessageBox::Question);
    // Answered Yes: both files were loaded again, the first now empty.
    EXPECT_EQ(app.View()->DoubleWindow()->Pane(0)->HexCommand(kOpGetLength, 0), 0);
    EXPECT_EQ(app.View()->DoubleWindow()->Pane(1)->HexCommand(kOpGetLength, 0), 5 << 20);
}
