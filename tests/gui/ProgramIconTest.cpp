// The program icon on the windows and dialogs, and the about box's version.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "core/app/BuildInfo.h"
#include "gui/app/CDualvexApp.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/COpenFilesDialog.h"
#include "gui/app/ProgramIcon.h"
#include "gui/support/CommandIds.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

using namespace dualvex;
using namespace dualvex::test;

TEST(ProgramIcon, HoldsTheDrawingAtEverySize)
{
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        const QImage image = icon.pixmap(size).toImage();
        ASSERT_EQ(image.width(), size);
        // The rounded frame leaves the corners clear; the middle is the frame's
        // bar between the two panes.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}

TEST(ProgramIcon, FrameAndItsDialogsCarryIt)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowIcon().cacheKey(), ProgramIcon().cacheKey());
    qint64 dialogIcon = 0;
    QTimer::singleShot(0, &frame, [&dialogIcon] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        dialogIcon = dialog->windowIcon().cacheKey();
        static_cast<QDialog*>(dialog)->accept();
    });
    ASSERT_TRUE(frame.RunCommand(cmd::SyntaxHelp));
    EXPECT_EQ(dialogIcon, ProgramIcon().cacheKey());
}

// The hand-over dialog comes before the frame and has no parent to inherit from.
TEST(ProgramIcon, StartGivesItToWindowsWithoutParent)
{
    SeamRecorder seam;
    CDualvexApp app(ParseCommandLine(std::vector<std::string>{"/no/such/a.bin", "/no/such/b.bin"}));
    ASSERT_TRUE(app.Start());
    EXPECT_EQ(QApplication::windowIcon().cacheKey(), ProgramIcon().cacheKey());
    COpenFilesDialog dialog(COpenFilesDialog::Fields{}, false);
    EXPECT_EQ(dialog.windowIcon().cacheKey(), ProgramIcon().cacheKey());
}

TEST(ProgramIcon, AboutBoxShowsVersionAndCommit)
{
    SeamRecorder seam;
    CMainFrame frame;
    ASSERT_TRUE(frame.RunCommand(cmd::About));
    ASSERT_EQ(seam.texts.size(), 1);
    EXPECT_EQ(seam.captions[0], QStringLiteral("Info über Dualvex"));
    EXPECT_EQ(seam.texts[0], QStringLiteral("Dualvex, Version %1\nCommit %2")
                                 .arg(QString::fromUtf8(ProgramVersion()), QString::fromUtf8(BuildCommit())));
    EXPECT_EQ(seam.icons[0], QMessageBox::NoIcon); // the box shows the program icon instead
}
