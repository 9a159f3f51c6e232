#include <gtest/gtest.h>

#include "gui/app/CMainFrame.h"
#include "gui/app/CommandTable.h"
#include "gui/support/CommandIds.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QToolBar>

using namespace dualvex;

namespace {

QStringList MenuTexts(QMenu* menu)
{
    QStringList texts;
    for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

class RecordingTarget : public CommandTarget {
  public:
    bool OnCommand(int id) override
    {
        ran.append(id);
        return true;
    }
    bool OnUpdateCommand(int id, CommandState& state) override
    {
        if (id == cmd::Open) return true;
        if (id != cmd::NextDiff) return false;
        state.enabled = nextEnabled;
        return true;
    }
    QList<int> ran;
    bool nextEnabled = false;
};

} // namespace

TEST(CMainFrame, MenusCarryTheCaptionsInOrder)
{
    CMainFrame frame;
    const QList<QAction*> menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Datei"));
    EXPECT_EQ(MenuTexts(menus[0]->menu()),
              (QStringList{QStringLiteral("&Neu\tStrg+N"), QStringLiteral("Ö&ffnen...\tStrg+O"),
                           QStringLiteral("-"), QStringLiteral("&Beenden")}));
    EXPECT_EQ(MenuTexts(menus[1]->menu()).at(2), QStringLiteral("&C++ Kopieren\tStrg+A"));
    EXPECT_EQ(MenuTexts(menus[2]->menu()).at(6), QStringLiteral("Fenster fi&xieren"));
    EXPECT_EQ(MenuTexts(menus[3]->menu()),
              (QStringList{QStringLiteral("Inf&o über Dualvex"), QStringLiteral("&Sysntax Info")}));
}

TEST(CMainFrame, ToolBarButtonsInOrderWithTheirPictures)
{
    CMainFrame frame;
    QStringList names;
    for (QAction* a : frame.ToolBar()->actions()) {
        names << (a->isSeparator() ? QStringLiteral("0") : a->objectName());
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
        }
    }
    EXPECT_EQ(
        names.join(QLatin1Char(',')),
        QStringLiteral("cmd57601,0,cmd57634,0,cmd57636,cmd32771,0,cmd32793,0,cmd40010,cmd40013,cmd40011,"
                       "cmd40014,cmd40012,0,cmd40017,cmd40016,cmd57664"));
}

TEST(CMainFrame, DifferenceWalkHasAltShortcutsNamedInTheToolTips)
{
    CMainFrame frame;
    const struct {
        int id;
        QKeySequence key;
    } cases[] = {{cmd::NextDiff, QKeySequence(Qt::AltModifier | Qt::Key_Down)},
                 {cmd::PreviousDiff, QKeySequence(Qt::AltModifier | Qt::Key_Up)},
                 {cmd::FirstDiff, QKeySequence(Qt::AltModifier | Qt::Key_Home)},
                 {cmd::LastDiff, QKeySequence(Qt::AltModifier | Qt::Key_End)},
                 {cmd::CurrentDiff, QKeySequence(Qt::AltModifier | Qt::Key_Return)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        QAction* action = frame.Action(c.id);
        ASSERT_NE(action, nullptr);
        EXPECT_TRUE(action->shortcuts().contains(c.key));
        EXPECT_TRUE(action->toolTip().contains(QStringLiteral("Alt+")));
    }
}

TEST(CMainFrame, CommandsReachTheTargetOnlyWhenEnabled)
{
    CMainFrame frame;
    RecordingTarget target;
    frame.SetCommandTarget(&target);
    EXPECT_FALSE(frame.RunCommand(cmd::NextDiff));
    target.nextEnabled = true;
    EXPECT_TRUE(frame.RunCommand(cmd::NextDiff));
    EXPECT_TRUE(frame.RunCommand(cmd::Open));
    EXPECT_FALSE(frame.RunCommand(cmd::New)) << "a command nobody claims would do nothing";
    EXPECT_EQ(target.ran, (QList<int>{cmd::NextDiff, cmd::Open}));
}

TEST(CMainFrame, StayOnTopStartsOffAndToggles)
{
    CMainFrame frame;
    frame.UpdateCommandStates();
    EXPECT_FALSE(frame.Action(cmd::StayOnTop)->isChecked());
    ASSERT_TRUE(frame.RunCommand(cmd::StayOnTop));
    frame.UpdateCommandStates();
    EXPECT_TRUE(frame.Action(cmd::StayOnTop)->isChecked());
    EXPECT_TRUE(frame.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(CMainFrame, SetPanesCountsNonZeroIdsAndCharacterWidths)
{
    CMainFrame frame;
    EXPECT_EQ(frame.SetPanes({5, 0, 0}, {}, -1), 1);
    EXPECT_EQ(frame.ExtraPane(0)->minimumWidth(), 50);
    EXPECT_EQ(frame.SetPanes({1, 2}, {-10, 30}, 2), 2);
    EXPECT_EQ(frame.ExtraPane(0)->minimumWidth(), 10 * CMainFrame::PaneCharWidth());
    EXPECT_EQ(frame.ExtraPane(1)->minimumWidth(), 30);
    EXPECT_EQ(frame.SetPanes({}, {}, 12), 8);
    EXPECT_EQ(frame.SetPanes({}, {}, 0), 0);
}

TEST(CMainFrame, PaneTextIndexesAndColours)
{
    CMainFrame frame;
    frame.SetPanes({1, 2}, {}, 2);
    EXPECT_EQ(frame.SetPaneText(0, QStringLiteral(" Adr: 0x0"), true, -1, -1), 1);
    EXPECT_EQ(frame.ExtraPane(0)->text(), QStringLiteral(" Adr: 0x0"));
    EXPECT_FALSE(frame.ExtraPane(0)->autoFillBackground());
    EXPECT_EQ(frame.SetPaneText(-1, QStringLiteral("last"), false, 0x0000FF, -1), 1);
    EXPECT_EQ(frame.ExtraPane(1)->text(), QStringLiteral("last"));
    EXPECT_EQ(frame.ExtraPane(1)->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(frame.SetPaneText(-5, QStringLiteral("x"), false, -1, -1), 0);
    EXPECT_EQ(frame.SetPaneText(7, QStringLiteral("x"), false, -1, -1), 0);
}

TEST(CMainFrame, AddPanesHandsOutCountingHandles)
{
    CMainFrame frame;
    EXPECT_EQ(frame.AddPanes({1}, {}, 1), 2);
    EXPECT_EQ(frame.AddPanes({1}, {}, 1), 3);
    EXPECT_EQ(frame.AddPanes({}, {}, 0), -1);
    EXPECT_EQ(frame.AddPanes({}, {}, 40), 4);
    EXPECT_EQ(frame.ExtraPaneCount(), 23);
}

TEST(CMainFrame, FlatModeTogglesAndIsRememberedAtClose)
{
    bool startFlat = true;
    {
        CMainFrame frame;
        startFlat = frame.FlatMode();
        ASSERT_TRUE(frame.RunCommand(cmd::FlatToolbar));
        EXPECT_EQ(frame.FlatMode(), !startFlat);
        frame.close();
    }
    CMainFrame again;
    EXPECT_EQ(again.FlatMode(), !startFlat);
    ASSERT_TRUE(again.RunCommand(cmd::FlatToolbar));
    again.close();
    CMainFrame third;
    EXPECT_EQ(third.FlatMode(), startFlat);
}
