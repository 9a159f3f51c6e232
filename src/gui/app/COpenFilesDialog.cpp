#include "gui/app/COpenFilesDialog.h"

#include "core/support/CSettingsKey.h"
#include "gui/app/CInstanceChannel.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/support/ComboHelpers.h"
#include "gui/support/CommandIds.h"
#include "gui/support/FileDialogSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace dualvex {

namespace {

constexpr const char* kHistoryKey = "Software\\Ql\\Dualvex";
constexpr int kScreenMargin = 8;

QString Id(int id)
{
    return QStringLiteral("id%1").arg(id);
}

} // namespace

COpenFilesDialog::COpenFilesDialog(const Fields& fields, bool handOverMode, QWidget* parent,
                                   CInstanceChannel* channel)
    : QDialog(parent), m_fields(fields), m_handOverMode(handOverMode), m_channel(channel)
{
    setWindowTitle(QStringLiteral("Dateien öffenen"));
    setObjectName(QStringLiteral("dialog189"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_first = AddPathRow(grid, 0, QStringLiteral("Erste Datei:"), 1052, 1038);
    m_second = AddPathRow(grid, 2, QStringLiteral("Zweite Datei:"), 1054, 1045);
    layout->addLayout(grid);

    auto* group = new QGroupBox(QStringLiteral("Intel-Hex-Format"), this);
    auto* groupLayout = new QVBoxLayout(group);
    m_automatic = new QCheckBox(QStringLiteral("Automatisch erkennen"), group);
    m_firstIsHex = new QCheckBox(QStringLiteral("Erste Datei hat Format "), group);
    m_secondIsHex = new QCheckBox(QStringLiteral("Zweite Datei hat Format "), group);
    m_automatic->setObjectName(Id(1053));
    m_firstIsHex->setObjectName(Id(1055));
    m_secondIsHex->setObjectName(Id(1056));
    for (QCheckBox* box : {m_automatic, m_firstIsHex, m_secondIsHex}) groupLayout->addWidget(box);
    layout->addWidget(group);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    ok->setObjectName(Id(1));
    ok->setDefault(true);
    cancel->setObjectName(Id(2));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    LoadComboHistory(m_first, "File1", kHistoryKey);
    LoadComboHistory(m_second, "File2", kHistoryKey);
    ToControls();
    if (m_handOverMode) {
        RestorePosition();
        if (m_channel == nullptr) {
            m_channel = new CInstanceChannel(this);
            m_channel->Listen();
        }
        connect(m_channel, &CInstanceChannel::HandOverRequested, this, &COpenFilesDialog::OnHandOverMessage);
    }
}

COpenFilesDialog::~COpenFilesDialog() = default;

QComboBox* COpenFilesDialog::AddPathRow(QGridLayout* grid, int row, const QString& label, int comboId,
                                        int browseId)
{
    grid->addWidget(new QLabel(label, this), row, 0, 1, 2);
    auto* combo = new QComboBox(this);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumContentsLength(48);
    combo->setObjectName(Id(comboId));
    AcceptFileDrops(combo);
    auto* browse = new QToolButton(this);
    browse->setObjectName(Id(browseId));
    browse->setIcon(ToolbarIcon(cmd::Open));
    browse->setToolTip(QStringLiteral("Datei auswählen"));
    connect(browse, &QToolButton::clicked, this, [this, combo] { Browse(combo); });
    grid->addWidget(combo, row + 1, 0);
    grid->addWidget(browse, row + 1, 1);
    return combo;
}

void COpenFilesDialog::Browse(QComboBox* combo)
{
    FromControls();
    const QString chosen = FileDialogSeam::GetOpenFileName(this, combo->currentText());
    if (chosen.isEmpty()) return;
    (combo == m_first ? m_fields.firstPath : m_fields.secondPath) = chosen;
    ToControls();
}

void COpenFilesDialog::ToControls()
{
    ExchangeComboText(false, m_first, m_fields.firstPath);
    ExchangeComboText(false, m_second, m_fields.secondPath);
    m_automatic->setChecked(m_fields.automatic);
    m_firstIsHex->setChecked(m_fields.firstIsHex);
    m_secondIsHex->setChecked(m_fields.secondIsHex);
}

void COpenFilesDialog::FromControls()
{
    ExchangeComboText(true, m_first, m_fields.firstPath);
    ExchangeComboText(true, m_second, m_fields.secondPath);
    m_fields.automatic = m_automatic->isChecked();
    m_fields.firstIsHex = m_firstIsHex->isChecked();
    m_fields.secondIsHex = m_secondIsHex->isChecked();
}

void COpenFilesDialog::accept()
{
    FromControls();
    SaveComboHistory(m_first, "File1", kHistoryKey);
    SaveComboHistory(m_second, "File2", kHistoryKey);
    if (m_handOverMode) StorePosition();
    QDialog::accept();
}

void COpenFilesDialog::OnHandOverMessage()
{
    if (!m_handOverMode) return;
    StorePosition();
    reject();
}

void COpenFilesDialog::RestorePosition()
{
    CSettingsKey key;
    std::int32_t x = pos().x();
    std::int32_t y = pos().y();
    if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead)) {
        key.ReadInt(x, "OpenDialogX");
        key.ReadInt(y, "OpenDialogY");
    }
    const QScreen* screen = this->screen();
    const QRect bounds = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    if (x < bounds.width() - kScreenMargin && y < bounds.height() - kScreenMargin) move(x, y);
}

void COpenFilesDialog::StorePosition() const
{
    CSettingsKey key;
    if (!key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate)) return;
    key.WriteInt(static_cast<std::uint32_t>(pos().x()), "OpenDialogX");
    key.WriteInt(static_cast<std::uint32_t>(pos().y()), "OpenDialogY");
}

} // namespace dualvex
