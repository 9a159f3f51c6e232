// Finding a tool dialog's controls by id and typing into them as a user does.
#pragma once

#include "gui/support/DialogControls.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <initializer_list>

#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace dualvex::test {

template <typename T> T* Control(const QWidget& dialog, int id)
{
    T* control = dialog.findChild<T*>(ControlName(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

// Shows the dialog and makes it the active window, so focus moves like for a user.
inline void ShowActive(QWidget& dialog)
{
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// Clicks into the field, replaces its text by typing and leaves it with Tab.
inline void TypeInto(QLineEdit* edit, const QString& text, bool leave = true)
{
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    if (leave) QTest::keyClick(edit, Qt::Key_Tab);
    QApplication::processEvents();
}

inline void TypeInto(QComboBox* combo, const QString& text, bool leave = true)
{
    TypeInto(combo->lineEdit(), text, leave);
}

// Clicks a check box on its indicator: a box stretched over a layout cell takes
// clicks only on its indicator and caption, not in the middle of the cell.
inline void ClickBox(QAbstractButton* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

inline QStringList Texts(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items) list << QString::fromUtf8(item);
    return list;
}

inline QColor Base(const QWidget* field)
{
    return field->palette().color(QPalette::Base);
}

} // namespace dualvex::test
