#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "ViewWindowTest.h"
#include "gui/app/CDualvexView.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"
#include "gui/support/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace dualvex;
using namespace dualvex::test;

namespace {

//                           0         1         2         3
//                           0123456789012345678901234567890123456789
const QString kMarkup = QStringLiteral("..........xxx.......xx..........x.......");

class ViewFixture : public ViewWindowTest {
  protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ShowWindow(900, 500));
        m_path1 = WriteFile(m_dir, QStringLiteral("a.bin"), Pattern(kMarkup, false));
        m_path2 = WriteFile(m_dir, QStringLiteral("b.bin"), Pattern(kMarkup, true));
    }
    HexPos Cursor(int pane) { return Pane(pane)->GetCursorPos(false); }

    QString m_path1, m_path2;
};

} // namespace

TEST_F(ViewFixture, LoadComparesAndWalksTheRanges)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    EXPECT_EQ(m_view->Summary().rangeCount, 3u);
    EXPECT_TRUE(Enabled(cmd::FirstDiff));
    EXPECT_FALSE(Enabled(cmd::PreviousDiff));
    ASSERT_TRUE(m_frame.RunCommand(cmd::NextDiff));
    EXPECT_EQ(Cursor(0), 10);
    EXPECT_EQ(Cursor(1), 10);
    ASSERT_TRUE(m_frame.RunCommand(cmd::NextDiff));
    EXPECT_EQ(Cursor(0), 20);
    ASSERT_TRUE(m_frame.RunCommand(cmd::PreviousDiff));
    EXPECT_EQ(Cursor(0), 10);
    ASSERT_TRUE(m_frame.RunCommand(cmd::LastDiff));
    EXPECT_EQ(Cursor(1), 32);
    EXPECT_FALSE(Enabled(cmd::NextDiff));
    EXPECT_FALSE(Enabled(cmd::LastDiff));
    EXPECT_TRUE(Enabled(cmd::CurrentDiff));
}

TEST_F(ViewFixture, AltKeysWalkTheDifferences)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    QApplication::setActiveWindow(&m_frame);
    CHexView* pane = m_view->DoubleWindow()->Pane(0);
    pane->setFocus();
    QTest::keyClick(pane, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Cursor(0), 10);
    QTest::keyClick(pane, Qt::Key_End, Qt::AltModifier);
    EXPECT_EQ(Cursor(0), 32);
    QTest::keyClick(pane, Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(Cursor(0), 10);
}

TEST_F(ViewFixture, EqualFilesDisableTheWalk)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path1), LoadFailure::None);
    for (int id : {cmd::FirstDiff, cmd::PreviousDiff, cmd::CurrentDiff, cmd::NextDiff, cmd::LastDiff})
        EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(ViewFixture, FailedLoadEmptiesThePanes)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    ASSERT_FALSE(m_view->DoubleWindow()->TitleBar(0)->text().isEmpty());
    EXPECT_EQ(m_view->Load(m_path1, m_dir.filePath(QStringLiteral("missing.bin"))), LoadFailure::Second);
    // Empty panes under the old names would say a file is shown that is not.
    EXPECT_TRUE(m_view->DoubleWindow()->TitleBar(0)->text().isEmpty());
    EXPECT_TRUE(m_view->DoubleWindow()->TitleBar(1)->text().isEmpty());
    EXPECT_EQ(m_view->DoubleWindow()->Pane(0)->HexCommand(kOpGetLength, 0), 0);
    EXPECT_EQ(m_view->DoubleWindow()->Pane(1)->HexCommand(kOpGetLength, 0), 0);
    EXPECT_EQ(m_view->Summary().rangeCount, 0u);
    EXPECT_FALSE(Enabled(cmd::FirstDiff));
}

TEST_F(ViewFixture, ScrollAndSelectionFollowToTheOtherPane)
{
    QByteArray big = Pattern(QString(65536, QLatin1Char('.')), false);
    const QString p1 = WriteFile(m_dir, QStringLiteral("big1.bin"), big);
    const QString p2 = WriteFile(m_dir, QStringLiteral("big2.bin"), big);
    ASSERT_EQ(m_view->Load(p1, p2), LoadFailure::None);
    HexDoubleWnd* dw = m_view->DoubleWindow();
    QApplication::setActiveWindow(&m_frame);
    dw->Pane(1)->setFocus();
    dw->Pane(1)->GetScrollBar(1)->setValue(20); // the user drags the scroll bar
    EXPECT_GT(dw->FirstVisible(1), 0);
    EXPECT_EQ(dw->FirstVisible(0), dw->FirstVisible(1));
    const HexPos dragged = dw->FirstVisible(0);
    dw->Pane(1)->SetCursorPos(dragged, false);
    QTest::keyClick(dw->Pane(1), Qt::Key_PageDown); // and pages on with the keyboard
    QTest::keyClick(dw->Pane(1), Qt::Key_PageDown);
    EXPECT_GT(dw->FirstVisible(1), dragged);
    EXPECT_EQ(dw->FirstVisible(0), dw->FirstVisible(1));

    dw->Pane(0)->setFocus();
    dw->Pane(0)->SetCursorPos(100, false);
    for (int i = 0; i < 3; ++i) QTest::keyClick(dw->Pane(0), Qt::Key_Right, Qt::ShiftModifier);
    HexPos count0 = 0, count1 = 0;
    const HexPos lower0 = dw->Pane(0)->GetSelection(false, &count0);
    ASSERT_TRUE(dw->Pane(0)->HasSelection());
    EXPECT_EQ(dw->Pane(1)->GetSelection(false, &count1), lower0);
    EXPECT_EQ(count1, count0);
    EXPECT_EQ(dw->Pane(1)->GetCursorPos(false), dw->Pane(0)->GetCursorPos(false));
}

TEST_F(ViewFixture, SettingsFollowToTheOtherPane)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    HexDoubleWnd* dw = m_view->DoubleWindow();
    CHexView* pane = dw->Pane(0);
    const int digits = pane->GetSetting(kSettingAddressLength) == 6 ? 4 : 6;
    pane->SetLayout({.width = pane->GetSetting(kSettingLineWidth), .digits = digits});
    emit pane->HexNotification(pane, 11254, HexNotify{});
    EXPECT_EQ(dw->Pane(1)->GetSetting(kSettingAddressLength), digits);
}

TEST_F(ViewFixture, SplitToggleLaysOutAndChecks)
{
    HexDoubleWnd* dw = m_view->DoubleWindow();
    const bool startHorizontal = m_view->HorizontalSplit();
    ASSERT_TRUE(m_frame.RunCommand(cmd::SplitHorizontal));
    m_frame.UpdateCommandStates({m_frame.Action(cmd::SplitHorizontal)});
    EXPECT_EQ(m_frame.Action(cmd::SplitHorizontal)->isChecked(), !startHorizontal);
    const QRect p0 = dw->Pane(0)->geometry();
    const QRect p1 = dw->Pane(1)->geometry();
    if (m_view->HorizontalSplit())
        EXPECT_GT(p1.top(), p0.bottom());
    else
        EXPECT_GT(p1.left(), p0.left());
    ASSERT_TRUE(m_frame.RunCommand(cmd::SplitHorizontal));
    EXPECT_EQ(m_view->HorizontalSplit(), startHorizontal);
}

TEST_F(ViewFixture, TitlesShowThePathsOrNothing)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    HexDoubleWnd* dw = m_view->DoubleWindow();
    EXPECT_TRUE(dw->TitleBar(0)->isVisible());
    EXPECT_TRUE(dw->TitleBar(0)->text().endsWith(QStringLiteral("a.bin")));
    m_view->SetShowTitles(false);
    EXPECT_FALSE(dw->TitleBar(0)->isVisible());
    EXPECT_EQ(dw->Pane(0)->geometry().top(), 0);
}

TEST_F(ViewFixture, StripLeftFollowsTheWidth)
{
    m_view->resize(401, 300);
    EXPECT_EQ(m_view->StripLeft(), 385);
    m_view->resize(400, 300);
    EXPECT_EQ(m_view->StripLeft(), 383);
    EXPECT_EQ(m_view->DoubleWindow()->width(), 383);
}

TEST_F(ViewFixture, StripClickMovesBothPanes)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    const int x = m_view->StripLeft() + 6;
    QTest::mouseClick(m_view, Qt::LeftButton, {}, QPoint(x, m_view->height() - 1));
    const HexPos expected = m_view->Summary().bitCount - 1;
    EXPECT_NEAR(static_cast<double>(Cursor(0)), static_cast<double>(expected), 2.0);
    EXPECT_EQ(Cursor(0), Cursor(1));
}

TEST_F(ViewFixture, StatusPanesShowTheFocusedPane)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    CHexView* pane = m_view->DoubleWindow()->Pane(1);
    pane->setFocus();
    QApplication::processEvents();
    pane->SetCursorPos(0x1F, false);
    QApplication::processEvents();
    ASSERT_EQ(m_frame.ExtraPaneCount(), 2);
    EXPECT_EQ(m_frame.ExtraPane(0)->text(), QStringLiteral(" Adr: 0x1F / 31"));
    EXPECT_TRUE(m_frame.ExtraPane(1)->text().startsWith(QStringLiteral(" Wert: 0x")));
}

TEST_F(ViewFixture, OpenCommandReportsTheFailingFile)
{
    SeamRecorder seam;
    m_view->ReportLoadFailure(LoadFailure::Second, m_path1, QStringLiteral("/x/y"), true);
    m_view->ReportLoadFailure(LoadFailure::First, QStringLiteral("/x/z"), m_path2, false);
    ASSERT_EQ(seam.texts.size(), 2);
    EXPECT_EQ(seam.texts[0], QStringLiteral("Die zweite Datei /x/y konnte nicht geöffnet werden !"));
    EXPECT_EQ(seam.texts[1], QStringLiteral("Die Datei /x/z konnte nicht geöffnet werden !"));
    EXPECT_EQ(seam.captions[0], QStringLiteral("Fehler"));
    EXPECT_EQ(seam.icons[0], QMessageBox::Critical);
}

TEST_F(ViewFixture, IntelHexQuestionIsAskedForListedExtensions)
{
    const QString hex =
        WriteFile(m_dir, QStringLiteral("fw.Hex"), QByteArray(":0400000001020304F2\n:00000001FF\n"));
    SeamRecorder seam(QMessageBox::Yes);
    ASSERT_EQ(m_view->Load(hex, m_path1), LoadFailure::None);
    ASSERT_EQ(seam.texts.size(), 1);
    EXPECT_EQ(seam.captions[0], QStringLiteral("Frage"));
    EXPECT_EQ(seam.texts[0],
              QStringLiteral("Soll die Datei %1 im Intel-Hex-Format geladen werden ?").arg(hex));
    EXPECT_EQ(m_view->DoubleWindow()->Pane(0)->HexCommand(kOpGetLength, 0), 1024);
}

TEST_F(ViewFixture, ReloadWithoutPathsDoesNothing)
{
    EXPECT_FALSE(Enabled(cmd::Reload));
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    EXPECT_TRUE(Enabled(cmd::Reload));
    m_view->DoubleWindow()->SetCursorBoth(30);
    ASSERT_TRUE(m_frame.RunCommand(cmd::Reload));
    EXPECT_EQ(Cursor(0), 0);
    EXPECT_EQ(m_view->Summary().rangeCount, 3u);
}

TEST_F(ViewFixture, StripMarksTheRowsOfDifferingBuckets)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    const QImage picture = m_view->grab().toImage();
    const int x = m_view->StripLeft() + 6;
    const QColor highlight = m_view->palette().color(QPalette::Highlight);
    // 40 bytes put byte i into bucket 32 i: the first range starts in bucket 320.
    const int rowOfFirst = 320 * m_view->height() / 2048;
    EXPECT_EQ(picture.pixelColor(x, rowOfFirst), highlight);
    EXPECT_NE(picture.pixelColor(x, 0), highlight);
    EXPECT_NE(picture.pixelColor(x, m_view->height() - 1), highlight);
}

namespace {
void DropFiles(QWidget* target, const QStringList& paths, const QPoint& at)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}
} // namespace

TEST_F(ViewFixture, DroppingTwoFilesReplacesBothAndOneFileItsSide)
{
    DropFiles(m_view, {m_path1, m_path2}, QPoint(10, 10));
    EXPECT_EQ(m_view->LastPath(0), m_path1);
    EXPECT_EQ(m_view->LastPath(1), m_path2);
    EXPECT_EQ(m_view->Summary().rangeCount, 3u);

    const QString third = WriteFile(m_dir, QStringLiteral("c.bin"), Pattern(kMarkup, false));
    CHexView* second = m_view->DoubleWindow()->Pane(1);
    DropFiles(m_view, {third}, second->mapTo(m_view, second->rect().center()));
    EXPECT_EQ(m_view->LastPath(0), m_path1);
    EXPECT_EQ(m_view->LastPath(1), third);
    EXPECT_EQ(m_view->Summary().rangeCount, 0u); // a.bin and c.bin are equal
}

TEST_F(ViewFixture, LargeLoadRunsInTheBackgroundAndEscapeCancelsIt)
{
    // Sparse files: large enough for the worker, cheap to make.
    const QString big1 = m_dir.filePath(QStringLiteral("big1.bin"));
    const QString big2 = m_dir.filePath(QStringLiteral("big2.bin"));
    for (const QString& path : {big1, big2}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(256ll << 20));
    }
    SeamRecorder seam;
    QSignalSpy finished(m_view, &CDualvexView::LoadFinished);
    EXPECT_EQ(m_view->Load(big1, big2), LoadFailure::None);
    ASSERT_TRUE(m_view->IsLoading());
    EXPECT_FALSE(Enabled(cmd::Reload));
    EXPECT_FALSE(Enabled(cmd::NextDiff));
    ASSERT_TRUE(m_frame.RunCommand(cmd::Exit)); // Escape
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.at(0).at(0).value<LoadFailure>(), LoadFailure::Cancelled);
    EXPECT_FALSE(m_view->IsLoading());
    EXPECT_EQ(m_view->DoubleWindow()->Pane(0)->HexCommand(kOpGetLength, 0), 0);
    ASSERT_EQ(seam.texts.size(), 1);
    EXPECT_EQ(seam.texts[0], QStringLiteral("Das Laden wurde abgebrochen."));
    EXPECT_TRUE(m_frame.isVisible()); // Escape stopped the load, not the program
}

TEST_F(ViewFixture, LargeLoadCompletesInTheBackground)
{
    const QString big1 = m_dir.filePath(QStringLiteral("big1.bin"));
    const QString big2 = m_dir.filePath(QStringLiteral("big2.bin"));
    for (const QString& path : {big1, big2}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(64ll << 20));
        if (path == big2) {
            file.seek(1000);
            file.write("x", 1);
        }
    }
    QSignalSpy finished(m_view, &CDualvexView::LoadFinished);
    EXPECT_EQ(m_view->Load(big1, big2), LoadFailure::None);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
    EXPECT_EQ(m_view->Summary().rangeCount, 1u);
    EXPECT_EQ(m_view->DoubleWindow()->Pane(1)->HexCommand(kOpGetLength, 0), 64ll << 20);
}

// The menu captions promise Ctrl+B and Ctrl+S: the keys, pressed on the window,
// open the colour and the font dialog of the pane.
TEST_F(ViewFixture, CtrlBAndCtrlSOpenTheColourAndFontDialogs)
{
    ASSERT_EQ(m_view->Load(m_path1, m_path2), LoadFailure::None);
    CHexView* pane = m_view->DoubleWindow()->Pane(0);
    struct Case {
        Qt::Key key;
        const char* dialogClass;
    };
    for (const Case& c : {Case{Qt::Key_B, "AnsiColorsDialog"}, Case{Qt::Key_S, "QFontDialog"}}) {
        SCOPED_TRACE(c.dialogClass);
        m_frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_frame));
        pane->setFocus();
        QString seen;
        // Answers the dialog as soon as its own event loop runs.
        QTimer closer;
        closer.setInterval(0);
        QObject::connect(&closer, &QTimer::timeout, [&seen, &closer] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) return;
            seen = QString::fromLatin1(modal->metaObject()->className());
            closer.stop();
            modal->close();
        });
        closer.start();
        QTest::keyClick(pane, c.key, Qt::ControlModifier);
        EXPECT_TRUE(seen.endsWith(QLatin1String(c.dialogClass))) << seen.toStdString();
    }
}

TEST_F(ViewFixture, TheFrameHasAMinimumSize)
{
    m_frame.resize(200, 150);
    EXPECT_GE(m_frame.width(), CMainFrame::kMinimumWidth);
    EXPECT_GE(m_frame.height(), CMainFrame::kMinimumHeight);
}
