// Input held back while a worker reads data: keys, clicks and shortcuts reach nobody, Escape calls the stop,
// and everything works again once the blocker is gone.
#include "gui/support/InputBlocker.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace dualvex {
namespace {

class InputBlockerTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        auto* box = new QWidget;
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(m_field = new QLineEdit);
        layout->addWidget(m_button = new QPushButton(QStringLiteral("Los")));
        m_window.setCentralWidget(box);
        m_action = new QAction(&m_window);
        m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
        m_window.addAction(m_action);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        m_field->setFocus();
    }
    // Types, clicks, presses the shortcut and asks the window to close.
    void UseEverything()
    {
        QTest::keyClicks(m_field, QStringLiteral("ab"));
        QTest::mouseClick(m_button, Qt::LeftButton);
        QTest::keyClick(m_field, Qt::Key_Q, Qt::ControlModifier);
    }

    QMainWindow m_window;
    QLineEdit* m_field = nullptr;
    QPushButton* m_button = nullptr;
    QAction* m_action = nullptr;
};

TEST_F(InputBlockerTest, InputReachesNobodyAndEscapeStops)
{
    QSignalSpy clicked(m_button, &QPushButton::clicked);
    QSignalSpy triggered(m_action, &QAction::triggered);
    int stops = 0;
    {
        const InputBlocker blocker([&stops] { ++stops; });
        UseEverything();
        EXPECT_EQ(stops, 0);
        QTest::keyClick(m_field, Qt::Key_Escape);
        EXPECT_EQ(stops, 1);
        EXPECT_TRUE(m_field->text().isEmpty());
        EXPECT_EQ(clicked.count(), 0);
        EXPECT_EQ(triggered.count(), 0);
    }
    UseEverything();
    EXPECT_EQ(m_field->text(), QStringLiteral("ab"));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(triggered.count(), 1);
    EXPECT_EQ(stops, 1);
}

} // namespace
} // namespace dualvex
