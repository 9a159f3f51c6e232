// The shared helpers of the tool dialogs: where a remembered position still counts,
// field colours that come and go, and the clipboard.
#include "gui/support/DialogControls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>

using dualvex::DialogPosition;

namespace {

TEST(DialogPositionTest, OnlyCornersLeftOnTheScreenCount)
{
    const QSize screen(1000, 700);
    const struct {
        QPoint corner;
        bool fits;
    } cases[] = {
        {{0, 0}, true},     {{-99, -9}, true}, {{-100, 0}, false}, {{0, -10}, false},
        {{899, 599}, true}, {{900, 0}, false}, {{0, 600}, false},  {{450, 300}, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DialogPosition::Fits(c.corner, screen), c.fits) << c.corner.x() << "," << c.corner.y();
    }
}

TEST(DialogPositionTest, RestoreMovesOnlyToAPlaceThatFits)
{
    DialogPosition position;
    QDialog first;
    first.move(40, 50);
    position.Remember(&first);
    QDialog second;
    position.Restore(&second);
    EXPECT_EQ(second.pos(), QPoint(40, 50));

    QDialog far;
    far.move(-5000, 40);
    position.Remember(&far);
    QDialog third;
    const QPoint before = third.pos();
    position.Restore(&third);
    EXPECT_EQ(third.pos(), before);
}

TEST(FieldColorTest, InvalidFieldsTurnLightRedAndBack)
{
    QLineEdit field;
    const QColor normal = field.palette().color(QPalette::Base);
    dualvex::MarkFieldInvalid(&field, true);
    EXPECT_EQ(field.palette().color(QPalette::Base), QColor(255, 128, 128));
    dualvex::MarkFieldInvalid(&field, false);
    EXPECT_EQ(field.palette().color(QPalette::Base), normal);
    dualvex::SetFieldBackground(&field, dualvex::ResultFieldColor());
    EXPECT_EQ(field.palette().color(QPalette::Base), QColor(255, 255, 155));
}

TEST(ClipboardTest, EmptyTextLeavesTheClipboard)
{
    QApplication::clipboard()->setText(QStringLiteral("before"));
    EXPECT_EQ(dualvex::CopyToClipboard(QString()), 0);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_EQ(dualvex::CopyToClipboard(QStringLiteral("0x01,")), 5);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("0x01,"));
}

} // namespace
