#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"
#include "gui/support/CommandIds.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace dualvex;
using namespace dualvex::test;

TEST(HexDoubleWnd, PaneIndexesOutsideZeroAndOneDoNothing)
{
    HexDoubleWnd dw;
    EXPECT_EQ(dw.Pane(2), nullptr);
    EXPECT_EQ(dw.SetTitle(-1, QStringLiteral("x")), 0);
    EXPECT_EQ(dw.SetData(5, nullptr, 0, 0), 0);
    EXPECT_EQ(dw.Pane(0)->objectName(), QStringLiteral("pane4096"));
    EXPECT_EQ(dw.Pane(1)->objectName(), QStringLiteral("pane4097"));
}

TEST(HexDoubleWnd, LayoutOfBothSplits)
{
    HexDoubleWnd dw;
    dw.resize(801, 400);
    dw.show();
    dw.SetTitle(0, QStringLiteral("a"));
    EXPECT_EQ(dw.Pane(0)->geometry().left(), 0);
    EXPECT_EQ(dw.Pane(1)->geometry().left(), 400);
    EXPECT_EQ(dw.Pane(0)->width(), 400);
    const int h = dw.TitleBar(0)->height();
    EXPECT_GE(h, 19);
    EXPECT_EQ(dw.Pane(0)->geometry().top(), h);
    dw.SetModeBits(HexDoubleWnd::kModeHorizontal, HexDoubleWnd::kModeHorizontal);
    const int s = 400 / 2 - 3;
    EXPECT_EQ(dw.Pane(0)->geometry(), QRect(0, h, 801, s - h));
    EXPECT_EQ(dw.TitleBar(1)->geometry().top(), s + 7);
    EXPECT_EQ(dw.Pane(1)->geometry().top(), s + 7 + h);
}

TEST(HexDoubleWnd, ContextPaneFollowsTheSplit)
{
    HexDoubleWnd dw;
    dw.resize(800, 400);
    EXPECT_EQ(dw.PaneAt(QPoint(399, 300)), 0);
    EXPECT_EQ(dw.PaneAt(QPoint(400, 10)), 1);
    dw.SetModeBits(HexDoubleWnd::kModeHorizontal, HexDoubleWnd::kModeHorizontal);
    EXPECT_EQ(dw.PaneAt(QPoint(700, 199)), 0);
    EXPECT_EQ(dw.PaneAt(QPoint(0, 200)), 1);
}

TEST(HexDoubleWnd, PathMenuIsGreyedWithoutAPath)
{
    HexDoubleWnd dw;
    dw.resize(800, 400);
    dw.show();
    dw.ShowPathMenu(dw.mapToGlobal(QPoint(10, 10)));
    QMenu* menu = dw.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Pfad kopieren"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("HEX-Editor starten"));
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[1]->isEnabled());
    menu->close();
}

TEST(HexDoubleWnd, CopyPathPutsThePaneFileOnTheClipboard)
{
    HexDoubleWnd dw;
    dw.SetPaths(QStringLiteral("/one/a.bin"), QStringLiteral("/two/b c.bin"));
    dw.CopyPath(1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("/two/b c.bin"));
}

TEST(HexDoubleWnd, CopyPathFromTheMenuGivesTheAbsolutePathOfARelativeName)
{
    HexDoubleWnd dw;
    dw.resize(800, 400);
    dw.show();
    dw.SetPaths(QStringLiteral("sub/a.bin"), QStringLiteral("b.bin"));
    dw.ShowPathMenu(dw.mapToGlobal(QPoint(10, 10)));
    QMenu* menu = dw.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    QAction* copy = menu->actions().value(0);
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QDir::current().absoluteFilePath(QStringLiteral("sub/a.bin")));
    menu->close();
}

TEST(HexDoubleWnd, EditorGetsOffsetAndPathUnchanged)
{
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("args.txt"));
    const QString script =
        WriteFile(dir, QStringLiteral("Hexorra"),
                  QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.tmp'\n"
                                 "mv '%1.tmp' '%1'\n")
                      .arg(record)
                      .toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", dir.path().toUtf8() + ":" + oldPath);

    const QByteArray data(64 * 1024, 'x');
    const QString awkward = QStringLiteral("/tmp/a b \"q\" $(touch /tmp/pwned);x");
    HexDoubleWnd dw;
    dw.resize(800, 400);
    dw.show();
    dw.SetData(0, reinterpret_cast<const std::uint8_t*>(data.constData()), data.size(), 0);
    dw.SetPaths(awkward, QString());
    dw.SetFirstVisibleBoth(4096);
    const HexPos first = dw.FirstVisible(0);
    ASSERT_TRUE(dw.StartEditor(0));
    // The editor is another process: wait for its record, not for a fixed time.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, 60000));
    QFile file(record);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList args = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(args, (QStringList{QStringLiteral("-s:%1").arg(first - 11), awkward}));
    EXPECT_FALSE(dw.StartEditor(1)); // no path, nothing started
    qputenv("PATH", oldPath);
}
