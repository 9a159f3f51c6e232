// A search through a large pane under real keys: it runs on the worker with its
// progress in the status bar, Escape stops it without ending the program, and a
// search left to run finds what the UI thread would.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "ViewWindowTest.h"
#include "gui/app/CDualvexView.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"
#include "gui/support/BackgroundJob.h"
#include "gui/tools/PaneSearch.h"

#include <QApplication>
#include <QFile>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <future>

using namespace dualvex;
using namespace dualvex::test;

namespace {

constexpr qint64 kLength = qint64{kBackgroundWorkBytes} + 4096;
const QByteArray kNeedle("\x11\x22\x33\x44", 4);

// Zeros with the needle at the start and, when asked, once more near the end; the
// file is sparse, so it costs no disk.
QString WriteLarge(const QTemporaryDir& dir, const QString& name, bool needleAtEnd)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(kLength)) return {};
    file.write(kNeedle);
    if (needleAtEnd && file.seek(kLength - 100)) file.write(kNeedle);
    return path;
}

class LargeSearch : public ViewWindowTest {
  protected:
    void Open(bool needleAtEnd)
    {
        ASSERT_NO_FATAL_FAILURE(ShowWindow(1100, 700));
        QApplication::setActiveWindow(&m_frame);
        const QString p1 = WriteLarge(m_dir, QStringLiteral("a.bin"), needleAtEnd);
        const QString p2 = WriteLarge(m_dir, QStringLiteral("b.bin"), false);
        ASSERT_FALSE(p1.isEmpty());
        QSignalSpy loaded(m_view, &CDualvexView::LoadFinished);
        ASSERT_EQ(m_view->Load(p1, p2), LoadFailure::None);
        // Files this large load on a worker as well.
        if (m_view->IsLoading()) {
            ASSERT_TRUE(loaded.wait(60000));
        }
        QApplication::processEvents();
        // The first three bytes of the needle selected, by click and Shift+Right.
        QTest::mouseClick(Pane(), Qt::LeftButton, {}, Pane()->HexCellRect(0).center());
        for (int i = 0; i < 3; ++i) QTest::keyClick(Pane(), Qt::Key_Right, Qt::ShiftModifier);
    }
    CHexView* Pane() const { return ViewWindowTest::Pane(0); }
    bool StatusBarShowsProgress() const { return m_frame.statusBar()->findChild<QProgressBar*>() != nullptr; }
    // Ctrl+F3: search for the selected bytes. While the worker is on, records what the
    // status bar shows and runs `during`.
    void RangeSearchByKey(const std::function<void()>& during = {})
    {
        const QMetaObject::Connection watch =
            QObject::connect(Pane(), &CHexView::BackgroundWork, Pane(), [this, during](BackgroundJob*) {
                m_statusDuring = m_frame.statusBar()->currentMessage();
                m_barDuring = StatusBarShowsProgress();
                if (during) during();
            });
        QTest::keyClick(Pane(), Qt::Key_F3, Qt::ControlModifier);
        QObject::disconnect(watch);
    }

    QString m_statusDuring;
    bool m_barDuring = false;
};

TEST_F(LargeSearch, EscapeStopsTheSearchAndNotTheProgram)
{
    SeamRecorder seam(QMessageBox::Ok);
    Open(false);
    // The worker waits until Escape is in, so it always stops before its scan ends.
    std::promise<void> escaped;
    std::shared_future<void> gate = escaped.get_future().share();
    Pane()->Search().SetWorkerGate([gate] { gate.wait(); });
    RangeSearchByKey([this, &escaped] {
        QTest::keyClick(Pane(), Qt::Key_Escape);
        escaped.set_value();
    });
    EXPECT_EQ(m_statusDuring, QStringLiteral("Suche läuft ... (Esc bricht ab)"));
    EXPECT_TRUE(m_barDuring);
    EXPECT_TRUE(seam.texts.isEmpty()) << seam.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(m_frame.isVisible()) << "Escape ended the program instead of the search";
    EXPECT_FALSE(StatusBarShowsProgress());
    EXPECT_EQ(Pane()->GetCursorPos(false), 0);
}

TEST_F(LargeSearch, ASearchLeftToRunFindsTheMatch)
{
    SeamRecorder seam(QMessageBox::Ok);
    Open(true);
    RangeSearchByKey();
    EXPECT_EQ(m_statusDuring, QStringLiteral("Suche läuft ... (Esc bricht ab)"));
    EXPECT_TRUE(seam.texts.isEmpty()) << seam.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Pane()->GetCursorPos(false), kLength - 100);
    EXPECT_FALSE(StatusBarShowsProgress());
    // Typing works again afterwards: F5 opens no dialog here, but the arrow moves.
    QTest::keyClick(Pane(), Qt::Key_Right);
    EXPECT_EQ(Pane()->GetCursorPos(false), kLength - 99);
}

} // namespace
