#include <gtest/gtest.h>

#include "gui/support/MessageSeam.h"
#include "gui/support/QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

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

// Without a handler a real box is shown: its text keeps a closing " !" or " ?" on
// the line of the word before it, and with Qt's translations its buttons speak German.
TEST(MessageSeam, RealBoxKeepsMarksWithTheirWordAndSpeaksGerman)
{
    ASSERT_TRUE(dualvex::InstallQtTranslations(*QCoreApplication::instance()))
        << "Qt's German translations (qt6-translations-l10n) are not installed";
    QString text;
    QStringList buttons;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        closer.stop();
        text = box->text();
        for (QAbstractButton* button : box->buttons()) buttons << button->text().remove(QLatin1Char('&'));
        box->done(QMessageBox::No);
    });
    closer.start();
    EXPECT_EQ(MessageSeam::Ask(nullptr, QMessageBox::Question, QStringLiteral("Frage"),
                               QStringLiteral("Soll die Datei x im Intel-Hex-Format geladen werden ?"),
                               QMessageBox::Yes | QMessageBox::No),
              QMessageBox::No);
    EXPECT_EQ(text, QStringLiteral("Soll die Datei x im Intel-Hex-Format geladen werden\u00A0?"));
    EXPECT_TRUE(buttons.contains(QStringLiteral("Ja"))) << buttons.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(buttons.contains(QStringLiteral("Nein")));
}
