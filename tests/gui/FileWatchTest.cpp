// A compared file that changes on disk: the notice in the status bar, the
// highlighted reload command and the automatic reload, driven by real changes to
// real files and the watcher's own signals.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "ViewWindowTest.h"
#include "core/support/CSettingsKey.h"
#include "gui/app/CDualvexView.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"
#include "gui/support/CommandIds.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>

#include <cstdio>

using namespace dualvex;
using namespace dualvex::test;

namespace {

// Generous: the watcher reports through the event loop after the file settles.
constexpr int kWaitMs = 20000;

bool WaitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, kWaitMs);
}

// An editor's safe save: a new file written beside the old one and renamed over it.
bool ReplaceFile(const QString& path, const QByteArray& content)
{
    const QString fresh = path + QStringLiteral(".new");
    QFile file(fresh);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return false;
    file.close();
    return std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) == 0;
}

bool AppendTo(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::Append) && file.write(content) == content.size();
}

class FileWatchFixture : public ViewWindowTest {
  protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ShowWindow(900, 500));
        // The setting is stored for the whole test run: every test starts with it off.
        if (m_view->AutoReload()) SwitchAutoReload();
        m_path1 = WriteFile(m_dir, QStringLiteral("a.bin"), QByteArray(40, 'a'));
        m_path2 = WriteFile(m_dir, QStringLiteral("b.bin"), QByteArray(40, 'a'));
    }
    void TearDown() override
    {
        if (m_view->AutoReload()) SwitchAutoReload();
    }
    // Through the menu item in "&Ansicht", as a user would.
    void SwitchAutoReload()
    {
        QAction* item = nullptr;
        for (QAction* menu : m_frame.menuBar()->actions())
            if (menu->text() == QStringLiteral("&Ansicht"))
                for (QAction* a : menu->menu()->actions())
                    if (a->objectName() == QStringLiteral("cmd%1").arg(cmd::AutoReload)) item = a;
        ASSERT_NE(item, nullptr);
        m_frame.UpdateCommandStates({item});
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
    }
    HexPos Length(int pane) const { return m_view->DoubleWindow()->Pane(pane)->HexCommand(kOpGetLength, 0); }
    bool ReloadHighlighted() const
    {
        QWidget* button = m_frame.ToolBar()->widgetForAction(m_frame.Action(cmd::Reload));
        return m_frame.CommandHighlighted(cmd::Reload) && button && button->property("highlighted").toBool();
    }

    QString m_path1, m_path2;
};

} // namespace

TEST_F(FileWatchFixture, ChangeIsNoticedAndWaitsForTheReloadCommand)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    EXPECT_TRUE(m_frame.Notice().isEmpty());
    EXPECT_FALSE(ReloadHighlighted());

    ASSERT_TRUE(AppendTo(m_path2, QByteArray(8, 'b')));
    ASSERT_TRUE(WaitFor([&] { return !m_frame.Notice().isEmpty(); }));
    EXPECT_EQ(m_frame.Notice(), QStringLiteral("Die Datei %1 wurde geändert.").arg(m_path2));
    EXPECT_TRUE(ReloadHighlighted());
    // Nothing reloads on its own while "Automatisch neu laden" is off.
    QTest::qWait(3 * CFileWatch::kSettleMs);
    EXPECT_EQ(Length(1), 40);

    ASSERT_TRUE(m_frame.RunCommand(cmd::Reload));
    EXPECT_EQ(Length(1), 48);
    EXPECT_EQ(m_view->Summary().rangeCount, 1u);
    EXPECT_TRUE(m_frame.Notice().isEmpty());
    EXPECT_FALSE(ReloadHighlighted());
}

TEST_F(FileWatchFixture, AutomaticReloadFollowsAnEditorThatReplacesTheFile)
{
    SwitchAutoReload();
    ASSERT_TRUE(m_view->AutoReload());
    EXPECT_TRUE(m_frame.Action(cmd::AutoReload)->isChecked());
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    QSignalSpy shown(m_view, &CDualvexView::ComparisonShown);

    ASSERT_TRUE(ReplaceFile(m_path1, QByteArray(50, 'c')));
    ASSERT_TRUE(WaitFor([&] { return Length(0) == 50; }));
    // The path now names another file: a second save must be seen as well.
    ASSERT_TRUE(ReplaceFile(m_path1, QByteArray(60, 'd')));
    ASSERT_TRUE(WaitFor([&] { return Length(0) == 60; }));
    EXPECT_EQ(m_view->LastPath(0), m_path1);
    EXPECT_EQ(Length(1), 40);
    EXPECT_TRUE(WaitFor([&] { return m_frame.Notice().isEmpty() && !ReloadHighlighted(); }));
    EXPECT_GE(shown.count(), 2);
}

TEST_F(FileWatchFixture, BothSidesOfOneFileAreNoticed)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path1), LoadFailure::None);
    ASSERT_TRUE(AppendTo(m_path1, QByteArray(1, 'x')));
    const QString once = QStringLiteral("Die Datei %1 wurde geändert.").arg(m_path1);
    ASSERT_TRUE(WaitFor([&] { return !m_frame.Notice().isEmpty(); }));
    EXPECT_EQ(m_frame.Notice(), once + QLatin1Char(' ') + once);
}

TEST_F(FileWatchFixture, DeletedFileIsReloadedOnlyWhenItIsBack)
{
    SeamRecorder seam;
    SwitchAutoReload();
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    ASSERT_TRUE(QFile::remove(m_path2));
    ASSERT_TRUE(WaitFor([&] { return !m_frame.Notice().isEmpty(); }));
    EXPECT_EQ(m_frame.Notice(), QStringLiteral("Die Datei %1 fehlt.").arg(m_path2));
    EXPECT_TRUE(ReloadHighlighted());
    QTest::qWait(3 * CFileWatch::kSettleMs);
    EXPECT_TRUE(seam.texts.isEmpty()) << seam.texts.join(QLatin1Char('|')).toStdString(); // no failed load
    EXPECT_EQ(Length(1), 40);

    WriteFile(m_dir, QStringLiteral("b.bin"), QByteArray(30, 'e'));
    ASSERT_TRUE(WaitFor([&] { return Length(1) == 30; }));
    EXPECT_TRUE(seam.texts.isEmpty());
    EXPECT_TRUE(m_frame.Notice().isEmpty());
}

TEST_F(FileWatchFixture, SwitchingOnReloadsAChangeAlreadyNoticed)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    ASSERT_TRUE(AppendTo(m_path1, QByteArray(2, 'f')));
    ASSERT_TRUE(WaitFor([&] { return !m_frame.Notice().isEmpty(); }));
    EXPECT_EQ(Length(0), 40);
    SwitchAutoReload();
    ASSERT_TRUE(WaitFor([&] { return Length(0) == 42; }));
    EXPECT_TRUE(m_frame.Notice().isEmpty());
}

// A change while a load runs is not acted on then; the load finishes, and the
// reload that follows shows the changed file.
TEST_F(FileWatchFixture, ChangeDuringABackgroundLoadReloadsAfterIt)
{
    const QString big1 = m_dir.filePath(QStringLiteral("big1.bin"));
    const QString big2 = m_dir.filePath(QStringLiteral("big2.bin"));
    for (const QString& path : {big1, big2}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(64ll << 20));
    }
    SwitchAutoReload();
    QSignalSpy finished(m_view, &CDualvexView::LoadFinished);
    EXPECT_EQ(m_view->Load(big1, big2), LoadFailure::None);
    ASSERT_TRUE(m_view->IsLoading());
    ASSERT_TRUE(AppendTo(big2, QByteArray(1, 'z')));
    ASSERT_TRUE(WaitFor([&] { return finished.count() >= 2 && !m_view->IsLoading(); }));
    EXPECT_EQ(finished.at(0).at(0).value<LoadFailure>(), LoadFailure::None);
    EXPECT_EQ(finished.at(1).at(0).value<LoadFailure>(), LoadFailure::None);
    EXPECT_EQ(Length(1), (64ll << 20) + 1);
    EXPECT_EQ(m_view->Summary().rangeCount, 1u); // the surplus byte
}

// A load on this thread can show the Intel-HEX question, whose event loop delivers
// the watcher's notice: the reload must wait until that load has ended.
TEST_F(FileWatchFixture, ChangeWhileALoadAsksItsQuestionWaitsForIt)
{
    if (m_view->IntelHexAuto()) GTEST_SKIP() << "automatic Intel-HEX is stored on: no question";
    SwitchAutoReload();
    const QString hex1 = WriteFile(m_dir, QStringLiteral("a.hex"), QByteArray(20, 'h'));
    const QString hex2 = WriteFile(m_dir, QStringLiteral("b.hex"), QByteArray(20, 'h'));
    m_view->SetIntelHexFlags(false, false, 0);
    QSignalSpy shown(m_view, &CDualvexView::ComparisonShown);
    int questions = 0;
    int shownDuringQuestion = -1;
    SeamRecorder restoresTheSeam;
    MessageSeam::SetHandler(
        [&](QWidget*, QMessageBox::Icon, const QString&, const QString& text, QMessageBox::StandardButtons) {
            if (!text.startsWith(QStringLiteral("Soll die Datei"))) return QMessageBox::Ok;
            if (++questions == 1) {
                QSignalSpy changed(&m_view->FileWatch(), &CFileWatch::FileChanged);
                EXPECT_TRUE(AppendTo(hex2, QByteArray(5, 'i')));
                EXPECT_TRUE(changed.wait(kWaitMs));
                QTest::qWait(2 * CFileWatch::kSettleMs);
                shownDuringQuestion = static_cast<int>(shown.count());
            }
            return QMessageBox::No; // raw
        });
    EXPECT_EQ(m_view->Load(hex1, hex2), LoadFailure::None);
    EXPECT_GE(questions, 1);
    EXPECT_EQ(shownDuringQuestion, 0); // nothing was loaded inside the running load
    ASSERT_TRUE(WaitFor([&] { return Length(1) == 25; }));
}

TEST_F(FileWatchFixture, AutoReloadIsStoredUnderSettings)
{
    SwitchAutoReload();
    ASSERT_TRUE(m_view->AutoReload());
    // A view stores the setting when it goes; the next one starts with it.
    m_frame.SetCommandTarget(nullptr);
    delete m_frame.takeCentralWidget();
    CSettingsKey key;
    std::uint32_t stored = 0;
    ASSERT_TRUE(key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead));
    ASSERT_TRUE(key.OpenSub("Settings", true));
    EXPECT_TRUE(key.ReadInt(stored, "AutoReload"));
    EXPECT_EQ(stored, 1u);
    m_frame.setCentralWidget(m_view = new CDualvexView(&m_frame));
    m_frame.SetCommandTarget(m_view);
    EXPECT_TRUE(m_view->AutoReload());
    m_frame.UpdateCommandStates({m_frame.Action(cmd::AutoReload)});
    EXPECT_TRUE(m_frame.Action(cmd::AutoReload)->isChecked());
}
