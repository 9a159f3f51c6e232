// The base of the fixtures that drive the whole window: the main window with the
// comparison view in it, put together as the program does, and a folder for files.
#pragma once

#include "gui/app/CDualvexView.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/HexDoubleWnd.h"
#include "gui/hexview/CHexView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>

namespace dualvex::test {

class ViewWindowTest : public ::testing::Test {
  protected:
    // Builds the window and shows it at this size (call through ASSERT_NO_FATAL_FAILURE).
    void ShowWindow(int width, int height)
    {
        ASSERT_TRUE(m_dir.isValid());
        m_frame.setCentralWidget(m_view = new CDualvexView(&m_frame));
        m_frame.SetCommandTarget(m_view);
        m_frame.resize(width, height);
        m_frame.show();
    }
    // Whether the command is enabled now, as its menu item and button show it.
    bool Enabled(int id)
    {
        m_frame.UpdateCommandStates({m_frame.Action(id)});
        return m_frame.Action(id)->isEnabled();
    }
    CHexView* Pane(int pane) const { return m_view->DoubleWindow()->Pane(pane); }

    QTemporaryDir m_dir;
    CMainFrame m_frame;
    CDualvexView* m_view = nullptr;
};

} // namespace dualvex::test
