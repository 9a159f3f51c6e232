#include "gui/support/DialogControls.h"

#include <QPushButton>

#include <QHBoxLayout>

#include <QDialog>

#include <QClipboard>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace dualvex {

QString ControlName(int id)
{
    return QStringLiteral("c%1").arg(id);
}

QColor ErrorFieldColor()
{
    return QColor(255, 128, 128);
}

QColor ResultFieldColor()
{
    return QColor(255, 255, 155);
}

void SetFieldBackground(QWidget* field, const QColor& color)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, color);
    // Dark themes would otherwise draw light text on the light field.
    palette.setColor(QPalette::Text, Qt::black);
    field->setPalette(palette);
}

void ClearFieldBackground(QWidget* field)
{
    field->setPalette(QPalette());
}

void MarkFieldInvalid(QWidget* field, bool invalid)
{
    if (invalid) {
        SetFieldBackground(field, ErrorFieldColor());
    } else {
        ClearFieldBackground(field);
    }
}

int CopyToClipboard(const QString& text)
{
    if (text.isEmpty()) return 0;
    QGuiApplication::clipboard()->setText(text);
    return static_cast<int>(text.size());
}

bool DialogPosition::Fits(QPoint topLeft, QSize screen)
{
    return topLeft.x() >= -99 && topLeft.x() < screen.width() - 100 && topLeft.y() >= -9 &&
           topLeft.y() < screen.height() - 100;
}

void DialogPosition::Restore(QWidget* dialog) const
{
    if (!m_topLeft) return;
    const QScreen* screen = dialog->screen() != nullptr ? dialog->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr || !Fits(*m_topLeft, screen->geometry().size())) return;
    dialog->move(*m_topLeft);
}

void DialogPosition::Remember(const QWidget* dialog)
{
    m_topLeft = dialog->pos();
}

QHBoxLayout* OkCancelRow(QDialog* dialog)
{
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(ControlName(1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"));
    cancel->setObjectName(ControlName(2));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    return buttons;
}

} // namespace dualvex
