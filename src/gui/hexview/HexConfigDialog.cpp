#include "gui/hexview/HexConfigDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace dualvex {

namespace {

// Control ids.
enum : int {
    kInsertSpace = 1043,
    kExtraSpaceOn = 1044,
    kExtraSpace = 1055,
    kFixedWidth = 1045,
    kWidth = 1075,
    kSnapOn = 1046,
    kSnap = 1077,
    kWidthRasterOn = 1097,
    kWidthRaster = 1105,
    kDigits = 1106,
    kPositive = 1098,
    kBigEndian = 1125,
    kHexDistances = 1126,
    kInvert = 1129,
    kSelectionRaster = 1131,
};
constexpr int kFormatIds[] = {1049, 1050, 1063, 1130};
constexpr const char* kFormatNames[] = {"Byte", "Word", "DWord", "QWord"};
constexpr int kValueSizeIds[] = {1047, 1048, 1062};

QString IdName(int id)
{
    return QStringLiteral("c%1").arg(id);
}

} // namespace

HexConfigDialog::HexConfigDialog(const HexConfigState& state, QWidget* parent)
    : QDialog(parent), m_state(state)
{
    setWindowTitle(QStringLiteral("Konfiguration"));
    auto* grid = new QGridLayout(this);
    BuildDisplayGroup(grid);
    BuildRadioGroups(grid);
    BuildMiscGroup(grid);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(IdName(1));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"));
    cancel->setObjectName(IdName(2));
    connect(ok, &QPushButton::clicked, this, &HexConfigDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &HexConfigDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 2, 1);
    ClampHexConfig(m_state);
    Show();
}

// The controls outlive the maps by a moment; an edit that loses the focus while
// it is being destroyed must not reach back into them.
HexConfigDialog::~HexConfigDialog()
{
    for (const auto& entry : m_edits) entry.second->disconnect(this);
}

QCheckBox* HexConfigDialog::AddCheck(int id, const char* caption)
{
    auto* box = new QCheckBox(QString::fromLatin1(caption));
    box->setObjectName(IdName(id));
    m_checks[id] = box;
    return box;
}

QLineEdit* HexConfigDialog::AddEdit(int id)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(IdName(id));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), edit));
    edit->setMaximumWidth(60);
    connect(edit, &QLineEdit::editingFinished, this, [this] { Refresh(HexConfigToggle::None); });
    m_edits[id] = edit;
    return edit;
}

QRadioButton* HexConfigDialog::AddRadio(int id, const char* caption)
{
    auto* radio = new QRadioButton(QString::fromLatin1(caption));
    radio->setObjectName(IdName(id));
    m_radios[id] = radio;
    return radio;
}

void HexConfigDialog::BuildDisplayGroup(QGridLayout* grid)
{
    auto* group = new QGroupBox(QStringLiteral("Anzeigefromat"));
    auto* layout = new QGridLayout(group);
    layout->addWidget(AddCheck(kInsertSpace, "Ein Leerzeichen zwischen den Werten"), 0, 0, 1, 3);
    const struct {
        int check;
        const char* caption;
        int edit;
    } rows[] = {{kExtraSpaceOn, "Ein extra Leerzeichen alle ", kExtraSpace},
                {kFixedWidth, "Fixe Breite von ", kWidth},
                {kSnapOn, "Adresse einrasten alle ", kSnap},
                {kWidthRasterOn, "Breiten Raster", kWidthRaster}};
    int row = 1;
    for (const auto& entry : rows) {
        QCheckBox* box = AddCheck(entry.check, entry.caption);
        const HexConfigToggle toggle = entry.check == kFixedWidth      ? HexConfigToggle::FixedWidth
                                       : entry.check == kWidthRasterOn ? HexConfigToggle::WidthRaster
                                                                       : HexConfigToggle::None;
        connect(box, &QCheckBox::clicked, this,
                [this, toggle, box] { Refresh(box->isChecked() ? toggle : HexConfigToggle::None); });
        layout->addWidget(box, row, 0);
        layout->addWidget(AddEdit(entry.edit), row, 1);
        layout->addWidget(new QLabel(QStringLiteral("Bytes")), row, 2);
        ++row;
    }
    layout->addWidget(new QLabel(QStringLiteral("Adressenziffern Anzahl")), row, 0);
    layout->addWidget(AddEdit(kDigits), row, 1);
    grid->addWidget(group, 0, 0, 1, 2);
}

void HexConfigDialog::BuildRadioGroups(QGridLayout* grid)
{
    auto* output = new QGroupBox(QStringLiteral("Ausgabeformat"));
    auto* outputLayout = new QVBoxLayout(output);
    for (int i = 0; i < 4; ++i) {
        QRadioButton* radio = AddRadio(kFormatIds[i], kFormatNames[i]);
        connect(radio, &QRadioButton::clicked, this, [this] { Refresh(HexConfigToggle::None); });
        outputLayout->addWidget(radio);
    }
    auto* value = new QGroupBox(QStringLiteral("Wertanzeige"));
    auto* valueLayout = new QVBoxLayout(value);
    for (int i = 0; i < 3; ++i) valueLayout->addWidget(AddRadio(kValueSizeIds[i], kFormatNames[i]));
    auto* column = new QVBoxLayout;
    column->addWidget(output);
    column->addWidget(value);
    grid->addLayout(column, 1, 0);
}

void HexConfigDialog::BuildMiscGroup(QGridLayout* grid)
{
    auto* group = new QGroupBox(QStringLiteral("Diverses"));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(AddCheck(kPositive, "Als positive Zahlen anzeigen"));
    layout->addWidget(AddCheck(kBigEndian, "Big Edinan Format"));
    layout->addWidget(AddCheck(kHexDistances, "Hexadezimale Distanzen "));
    layout->addWidget(AddCheck(kInvert, "Byte-Reihenfolge invertieren"));
    layout->addWidget(AddCheck(kSelectionRaster, "Auswahl auf Ausgabeformat rastern"));
    layout->addStretch();
    grid->addWidget(group, 1, 1);
}

void HexConfigDialog::Read()
{
    const auto checked = [this](int id) { return m_checks.at(id)->isChecked(); };
    const auto number = [this](int id) { return m_edits.at(id)->text().toInt(); };
    m_state.insertSpace = checked(kInsertSpace);
    m_state.extraSpaceOn = checked(kExtraSpaceOn);
    m_state.extraSpace = number(kExtraSpace);
    m_state.fixedWidth = checked(kFixedWidth);
    m_state.width = number(kWidth);
    m_state.snapOn = checked(kSnapOn);
    m_state.snap = number(kSnap);
    m_state.widthRasterOn = checked(kWidthRasterOn);
    m_state.widthRaster = number(kWidthRaster);
    m_state.digits = number(kDigits);
    for (int i = 0; i < 4; ++i)
        if (m_radios.at(kFormatIds[i])->isChecked()) m_state.format = i;
    for (int i = 0; i < 3; ++i)
        if (m_radios.at(kValueSizeIds[i])->isChecked()) m_state.valueSize = i;
    m_state.positive = checked(kPositive);
    m_state.bigEndian = checked(kBigEndian);
    m_state.hexDistances = checked(kHexDistances);
    m_state.invert = checked(kInvert);
    m_state.selectionRaster = checked(kSelectionRaster);
}

void HexConfigDialog::Show()
{
    const auto check = [this](int id, bool on) { m_checks.at(id)->setChecked(on); };
    const auto number = [this](int id, int value) { m_edits.at(id)->setText(QString::number(value)); };
    check(kInsertSpace, m_state.insertSpace);
    check(kExtraSpaceOn, m_state.extraSpaceOn);
    number(kExtraSpace, m_state.extraSpace);
    check(kFixedWidth, m_state.fixedWidth);
    number(kWidth, m_state.width);
    check(kSnapOn, m_state.snapOn);
    number(kSnap, m_state.snap);
    check(kWidthRasterOn, m_state.widthRasterOn);
    number(kWidthRaster, m_state.widthRaster);
    number(kDigits, m_state.digits);
    m_radios.at(kFormatIds[m_state.format])->setChecked(true);
    m_radios.at(kValueSizeIds[m_state.valueSize])->setChecked(true);
    check(kPositive, m_state.positive);
    check(kBigEndian, m_state.bigEndian);
    check(kHexDistances, m_state.hexDistances);
    check(kInvert, m_state.invert);
    check(kSelectionRaster, m_state.selectionRaster);
    const HexConfigEnabled enabled = EnabledHexConfig(m_state);
    m_edits.at(kExtraSpace)->setEnabled(enabled.extraSpace);
    m_edits.at(kWidth)->setEnabled(enabled.width);
    m_edits.at(kSnap)->setEnabled(enabled.snap);
    m_checks.at(kInvert)->setEnabled(enabled.invert);
    m_checks.at(kSelectionRaster)->setEnabled(enabled.selectionRaster);
}

void HexConfigDialog::Refresh(HexConfigToggle toggled)
{
    Read();
    ClampHexConfig(m_state, toggled);
    Show();
}

void HexConfigDialog::accept()
{
    Refresh(HexConfigToggle::None);
    QDialog::accept();
}

} // namespace dualvex
