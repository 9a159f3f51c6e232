#include "gui/app/CHelpDialog.h"

#include "core/app/CommandLineHelp.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace dualvex {

CHelpDialog::CHelpDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Hilfe"));
    setObjectName(QStringLiteral("dialog188"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(CommandLineHelpTitle()), this));
    auto* grid = new QGridLayout;
    int row = 0;
    for (const HelpEntry& entry : CommandLineHelp()) {
        grid->addWidget(new QLabel(QString::fromUtf8(entry.switchText), this), row, 0);
        grid->addWidget(new QLabel(QString::fromUtf8(entry.meaning), this), row, 1);
        ++row;
    }
    grid->setHorizontalSpacing(16);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("id1"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace dualvex
