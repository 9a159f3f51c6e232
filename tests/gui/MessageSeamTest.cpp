#include <gtest/gtest.h>

#include "gui/support/MessageSeam.h"

using dualvex::MessageSeam;

TEST(MessageSeam, InstalledHandlerAnswersInsteadOfABox)
{
    QString seen;
    MessageSeam::SetHandler([&](QWidget*, QMessageBox::Icon icon, const QString& caption, const QString& text,
                                QMessageBox::StandardButtons buttons) {
        EXPECT_EQ(icon, QMessageBox::Question);
        EXPECT_TRUE(buttons.testFlag(QMessageBox::No));
        seen = caption + QLatin1Char('|') + text;
        return QMessageBox::No;
    });
    EXPECT_EQ(MessageSeam::Ask(nullptr, QMessageBox::Question, QStringLiteral("Frage"), QStringLiteral("x"),
                               QMessageBox::Yes | QMessageBox::No),
              QMessageBox::No);
    EXPECT_EQ(seen, QStringLiteral("Frage|x"));
    MessageSeam::SetHandler({});
}
