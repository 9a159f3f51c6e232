#include "gui/tools/GotoDialog.h"

#include "core/tools/GotoAddress.h"
#include "gui/support/DialogControls.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dualvex {

namespace {

enum : int {
    kLabelId = 1120,
    kValueId = 1042,
};

} // namespace

GotoDialog::GotoDialog(const QString& initialText, TextList& history, QWidget* parent)
    : QDialog(parent), m_history(history)
{
    setWindowTitle(QStringLiteral("Cursor setzen"));
    auto* label = new QLabel(QStringLiteral("Neue Adresse :"));
    label->setObjectName(ControlName(kLabelId));
    m_value = new QComboBox;
    m_value->setObjectName(ControlName(kValueId));
    m_value->setEditable(true);
    m_value->setInsertPolicy(QComboBox::NoInsert);
    // Room for a full 32-bit address with an offset, such as "0x0001F000+0x100".
    m_value->setMinimumContentsLength(18);
    m_value->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (const std::string& entry : m_history.Items()) m_value->addItem(QString::fromStdString(entry));
    m_value->setEditText(initialText);
    m_value->lineEdit()->selectAll();
    connect(m_value, &QComboBox::editTextChanged, this, [this] { MarkFieldInvalid(m_value, false); });

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_value, 0, 1);
    grid->addLayout(OkCancelRow(this), 1, 0, 1, 2);
    m_value->setFocus();
}

void GotoDialog::accept()
{
    const std::string text = m_value->currentText().toStdString();
    const std::optional<std::uint32_t> address = EvaluateGotoText(text);
    if (!address) {
        MarkFieldInvalid(m_value, true);
        QApplication::beep();
        return;
    }
    m_address = *address;
    AddGotoHistory(m_history, text);
    QDialog::accept();
}

} // namespace dualvex
