#include "gui/tools/ChecksumDialog.h"

#include "gui/support/DialogControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dualvex {

namespace {

// Result fields row by row (byte, word, double word), each as sum, negated sum, xor.
constexpr int kFieldIds[9] = {1055, 1105, 1057, 1075, 1106, 1062, 1077, 1107, 1063};
constexpr int kBigEndianId = 1043;

DialogPosition& Position()
{
    static DialogPosition position;
    return position;
}

} // namespace

ChecksumDialog::ChecksumDialog(std::span<const std::uint8_t> input, QWidget* parent,
                               std::size_t backgroundBytes)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Checksumme"));
    auto* grid = new QGridLayout(this);
    const char* headings[] = {"Addiert", "Subtrahiert", "Xor"};
    const char* rows[] = {"BYTE :", "WORD :", "DWORD :"};
    for (int c = 0; c < 3; ++c) grid->addWidget(new QLabel(QString::fromLatin1(headings[c])), 0, c + 1);
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(new QLabel(QString::fromLatin1(rows[r])), r + 1, 0);
        for (int c = 0; c < 3; ++c) {
            auto* field = new QLineEdit;
            field->setReadOnly(true);
            field->setObjectName(ControlName(kFieldIds[3 * r + c]));
            SetFieldBackground(field, ResultFieldColor());
            m_fields[static_cast<std::size_t>(3 * r + c)] = field;
            grid->addWidget(field, r + 1, c + 1);
        }
    }
    m_bigEndian = new QCheckBox(QStringLiteral("Big Endian"));
    m_bigEndian->setObjectName(ControlName(kBigEndianId));
    connect(m_bigEndian, &QCheckBox::toggled, this, &ChecksumDialog::ShowSums);
    grid->addWidget(m_bigEndian, 4, 0, 1, 2);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(ControlName(1));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, 4, 3);
    Position().Restore(this);

    if (input.size() < backgroundBytes) {
        m_sums = ComputeChecksums(input);
        ShowSums();
        return;
    }
    auto result = std::make_shared<std::optional<Checksums>>();
    connect(&m_job, &BackgroundJob::finished, this, [this, result](bool cancelled) {
        if (!cancelled) m_sums = *result;
        ShowSums();
    });
    m_job.Start([input, result](const WorkObserver& observer) {
        *result = ComputeChecksums(input, observer);
        return result->has_value();
    });
}

std::optional<QPoint> ChecksumDialog::RememberedPosition()
{
    return Position().Remembered();
}

void ChecksumDialog::ShowSums()
{
    if (!m_sums) return;
    const std::array<std::string, 9> texts = ChecksumTexts(*m_sums, m_bigEndian->isChecked());
    for (std::size_t i = 0; i < texts.size(); ++i) m_fields[i]->setText(QString::fromStdString(texts[i]));
}

void ChecksumDialog::done(int result)
{
    m_job.Cancel();
    Position().Remember(this);
    QDialog::done(result);
}

} // namespace dualvex
