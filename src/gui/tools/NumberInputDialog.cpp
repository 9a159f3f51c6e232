#include "gui/tools/NumberInputDialog.h"

#include "gui/support/DialogControls.h"
#include "gui/textwnd/AnsiQtClock.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dualvex {

namespace {

constexpr int kByteCountIds[4] = {1093, 1094, 1095, 1096};
constexpr int kFormatIds[4] = {1029, 1030, 1031, 1032};
constexpr const char* kFormatNames[4] = {"C/C++", "Assembler", "Texttypen", "Dump"};

DialogPosition& Position()
{
    static DialogPosition position;
    return position;
}

int Checked(const std::array<QRadioButton*, 4>& buttons)
{
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] != nullptr && buttons[i]->isChecked()) return static_cast<int>(i);
    return 0;
}

} // namespace

NumberInputDialog::NumberInputDialog(NumberInputParams params, QWidget* parent, AnsiClock* clock)
    : QDialog(parent), m_model(std::move(params))
{
    const NumberInputParams& p = m_model.Params();
    setWindowTitle(p.title.empty() ? QStringLiteral("Zahlen eingabe") : QString::fromStdString(p.title));
    auto* grid = new QGridLayout(this);
    auto* label = new QLabel(QString::fromStdString(p.label));
    label->setObjectName(ControlName(1120));
    grid->addWidget(label, 0, 0, 1, 2);
    m_number = new QLineEdit(QString::fromStdString(m_model.InitialText()));
    m_number->setObjectName(ControlName(1055));
    connect(m_number, &QLineEdit::textChanged, this, &NumberInputDialog::NoteChange);
    grid->addWidget(m_number, 1, 0, 1, 2);
    BuildByteCount(grid);
    if (p.formatVariant) BuildFormat(grid);

    grid->addLayout(OkCancelRow(this), 5, 0, 1, 2);
    ShowCaptions();
    Position().Restore(this);

    if (m_model.Template() != NumberInputTemplate::FormatWithPreview) return;
    if (clock == nullptr) {
        m_ownClock = std::make_unique<AnsiQtClock>();
        clock = m_ownClock.get();
    }
    m_ticker = clock->MakeTicker(kPreviewMs, [this] { Tick(); });
    m_ticker->Start();
}

NumberInputDialog::~NumberInputDialog() = default;

void NumberInputDialog::BuildByteCount(QGridLayout* grid)
{
    auto* group = new QGroupBox(QStringLiteral("Byte-Anzahl"));
    auto* layout = new QVBoxLayout(group);
    for (std::size_t i = 0; i < m_byteCount.size(); ++i) {
        m_byteCount[i] = new QRadioButton;
        m_byteCount[i]->setObjectName(ControlName(kByteCountIds[i]));
        connect(m_byteCount[i], &QRadioButton::clicked, this, &NumberInputDialog::NoteChange);
        layout->addWidget(m_byteCount[i]);
    }
    m_byteCount[static_cast<std::size_t>(m_model.ByteCountButton())]->setChecked(true);
    grid->addWidget(group, 2, 0);
    m_bigEndian = new QCheckBox(QStringLiteral("Big Endian Format"));
    m_bigEndian->setObjectName(ControlName(1122));
    m_bigEndian->setChecked(m_model.Params().bigEndian);
    connect(m_bigEndian, &QCheckBox::clicked, this, &NumberInputDialog::NoteChange);
    grid->addWidget(m_bigEndian, 3, 0, 1, 2);
}

void NumberInputDialog::BuildFormat(QGridLayout* grid)
{
    auto* group = new QGroupBox(QStringLiteral("Format"));
    auto* layout = new QVBoxLayout(group);
    for (std::size_t i = 0; i < m_format.size(); ++i) {
        m_format[i] = new QRadioButton(QString::fromLatin1(kFormatNames[i]));
        m_format[i]->setObjectName(ControlName(kFormatIds[i]));
        connect(m_format[i], &QRadioButton::clicked, this, [this] {
            ShowCaptions();
            NoteChange();
        });
        layout->addWidget(m_format[i]);
    }
    m_format[static_cast<std::size_t>(std::clamp(m_model.Params().format, 0, 3))]->setChecked(true);
    grid->addWidget(group, 2, 1);
    if (!m_model.Params().preview) return;
    m_preview = new QLineEdit;
    m_preview->setObjectName(ControlName(1075));
    m_preview->setReadOnly(true);
    SetFieldBackground(m_preview, ResultFieldColor());
    grid->addWidget(m_preview, 4, 0, 1, 2);
}

int NumberInputDialog::ByteCountButton() const
{
    return Checked(m_byteCount);
}

int NumberInputDialog::FormatButton() const
{
    return m_model.Params().formatVariant ? Checked(m_format) : m_model.Params().format;
}

void NumberInputDialog::ShowCaptions()
{
    const std::array<std::string, 4> captions = m_model.ByteCountCaptions(FormatButton());
    for (std::size_t i = 0; i < captions.size(); ++i)
        m_byteCount[i]->setText(QString::fromStdString(captions[i]));
}

void NumberInputDialog::NoteChange()
{
    m_model.NoteChange();
}

void NumberInputDialog::Tick()
{
    if (!m_model.Tick()) return;
    m_preview->setText(QString::fromStdString(m_model.PreviewText(
        m_number->text().toStdString(), ByteCountButton(), m_bigEndian->isChecked(), FormatButton())));
}

void NumberInputDialog::accept()
{
    m_model.Accept(m_number->text().toStdString(), ByteCountButton(), m_bigEndian->isChecked(),
                   FormatButton());
    QDialog::accept();
}

void NumberInputDialog::done(int result)
{
    if (m_ticker) m_ticker->Stop();
    Position().Remember(this);
    QDialog::done(result);
}

} // namespace dualvex
