#include "gui/tools/CrcDialog.h"

#include "core/support/CSettingsKey.h"
#include "gui/support/ComboHelpers.h"
#include "gui/support/DialogControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <memory>

namespace dualvex {

namespace {

enum : int {
    kPresetId = 1042,
    kWidthId = 1133,
    kReflectedId = 1134,
    kNormalId = 1135,
    kInvertId = 1043,
    kFormulaId = 1055,
    kStartId = 1136,
    kAlgorithmId = 1137,
    kLengthId = 1058,
    kSourceId = 1059,
};
constexpr const char* kHistoryPath = "#HexCrcCalc";

DialogPosition& Position()
{
    static DialogPosition position;
    return position;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

void ShowComboText(QComboBox* combo, const std::string& text)
{
    QString value = Text(text);
    ExchangeComboText(false, combo, value);
}

} // namespace

CrcDialog::CrcDialog(const std::uint8_t* bytes, std::size_t length, QWidget* parent,
                     std::optional<CrcDialogParameters> parameters, std::size_t backgroundBytes)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("CRC-Summe berechnen"));
    m_calc.SetData(bytes, length);
    m_calc.SetResultsDeferred(m_calc.Length() >= backgroundBytes);
    auto* grid = new QGridLayout(this);
    BuildTop(grid);
    BuildResults(grid, 6);
    BuildBottom(grid, 15);
    Position().Restore(this);
    LoadSettings(parameters);
    Update(kCrcChangeOther);
    ApplyLayout();
}

// Focus leaving a field while the children go must not reach the calculator, which
// is gone by then.
CrcDialog::~CrcDialog()
{
    for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->disconnect(this);
}

QComboBox* CrcDialog::AddCombo(int id, bool editable)
{
    auto* combo = new QComboBox;
    combo->setObjectName(ControlName(id));
    combo->setEditable(editable);
    if (editable) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this] { Update(kCrcChangeOther); });
    }
    return combo;
}

QLineEdit* CrcDialog::AddResult(int id)
{
    auto* field = new QLineEdit;
    field->setObjectName(ControlName(id));
    field->setReadOnly(true);
    SetFieldBackground(field, ResultFieldColor());
    return field;
}

void CrcDialog::BuildTop(QGridLayout* grid)
{
    auto label = [](const char* text) { return new QLabel(QString::fromUtf8(text)); };
    m_preset = AddCombo(kPresetId, false);
    for (int row = 0; row < kCrcPresetCount; ++row)
        m_preset->addItem(QString::fromUtf8(GetCrcPreset(row).name));
    connect(m_preset, &QComboBox::activated, this, [this] { Update(kCrcChangePreset); });
    grid->addWidget(label("Art der Checksumme wählen."), 0, 0);
    grid->addWidget(m_preset, 0, 1, 1, 2);

    m_width = AddCombo(kWidthId, true);
    for (const char* entry : kCrcWidthList) m_width->addItem(QString::fromLatin1(entry));
    connect(m_width, &QComboBox::editTextChanged, this, [this] { Update(kCrcChangeWidth); });
    m_invert = new QCheckBox(QStringLiteral("Ergebniss invertieren"));
    m_invert->setObjectName(ControlName(kInvertId));
    connect(m_invert, &QCheckBox::toggled, this, [this] { Update(kCrcChangeOther); });
    grid->addWidget(label("Polygonlänge :"), 1, 0);
    grid->addWidget(m_width, 1, 1);
    grid->addWidget(m_invert, 1, 2);

    m_reflected = AddCombo(kReflectedId, true);
    connect(m_reflected, &QComboBox::editTextChanged, this, [this] { Update(kCrcChangeReflected); });
    grid->addWidget(label("Polygon : ( 1 +x + x² + ³ .... )"), 2, 0);
    grid->addWidget(m_reflected, 2, 1, 1, 2);
    m_normal = AddCombo(kNormalId, true);
    connect(m_normal, &QComboBox::editTextChanged, this, [this] { Update(kCrcChangeNormal); });
    grid->addWidget(label("Polygon : ( ... + x³ + x² + x +1 )"), 3, 0);
    grid->addWidget(m_normal, 3, 1, 1, 2);

    m_formula = new QLineEdit;
    m_formula->setObjectName(ControlName(kFormulaId));
    connect(m_formula, &QLineEdit::textEdited, this, [this] { Update(kCrcChangeFormula); });
    connect(m_formula, &QLineEdit::editingFinished, this, [this] { Update(kCrcChangeOther); });
    grid->addWidget(label("Polygon als Formel :"), 4, 0);
    grid->addWidget(m_formula, 4, 1, 1, 2);
    grid->addWidget(label("x^3+x+1   x'3+x+1   x3+x+1"), 5, 1, 1, 2);
}

void CrcDialog::BuildResults(QGridLayout* grid, int row)
{
    for (std::size_t i = 0; i < kCrcResultFields.size(); ++i) {
        m_results[i] = AddResult(kCrcResultFields[i].id);
        const int r = row + static_cast<int>(i);
        grid->addWidget(new QLabel(QString::fromLatin1(kCrcResultFields[i].label)), r, 0);
        grid->addWidget(m_results[i], r, 1, 1, 2);
    }
}

void CrcDialog::BuildBottom(QGridLayout* grid, int row)
{
    m_start = AddCombo(kStartId, true);
    connect(m_start, &QComboBox::editTextChanged, this, [this] { Update(kCrcChangeStart); });
    grid->addWidget(new QLabel(QStringLiteral("Startewert : ")), row, 0);
    grid->addWidget(m_start, row, 1, 1, 2);

    m_algorithm = AddCombo(kAlgorithmId, false);
    m_algorithm->addItems({QStringLiteral("keiner"), QStringLiteral("Algo. A"), QStringLiteral("Algo. B"),
                           QStringLiteral("Algo. C")});
    connect(m_algorithm, &QComboBox::activated, this, [this] {
        ApplyLayout();
        Update(kCrcChangeOther);
    });
    m_length = AddResult(kLengthId);
    m_length->setAlignment(Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Source :")), row + 1, 0);
    grid->addWidget(m_algorithm, row + 1, 1);
    auto* lengthRow = new QHBoxLayout;
    lengthRow->addWidget(new QLabel(QStringLiteral("Speicherlänge :")));
    lengthRow->addWidget(m_length);
    grid->addLayout(lengthRow, row + 1, 2);

    m_source = new QPlainTextEdit;
    m_source->setObjectName(ControlName(kSourceId));
    m_source->setReadOnly(true);
    m_source->setLineWrapMode(QPlainTextEdit::NoWrap);
    SetFieldBackground(m_source, ResultFieldColor());
    grid->addWidget(m_source, row + 2, 0, 1, 3);

    grid->addLayout(OkCancelRow(this), row + 3, 0, 1, 3);
}

void CrcDialog::LoadSettings(const std::optional<CrcDialogParameters>& parameters)
{
    m_updating = true;
    if (parameters) {
        m_calc.SetParameters(parameters->width, parameters->reflected, parameters->start);
    } else {
        std::string width;
        std::string polynom;
        std::string start;
        CSettingsKey key;
        if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeRead) &&
            key.OpenSub(kCrcSettingsKey)) {
            key.ReadText(width, kCrcPolynomSizeName);
            key.ReadText(polynom, kCrcPolynomValueName);
            key.ReadText(start, kCrcStartValueName);
        }
        m_calc.LoadTexts(width.c_str(), polynom.c_str(), start.c_str());
    }
    LoadComboHistory(m_reflected, kCrcPolynomListName, kHistoryPath);
    LoadComboHistory(m_normal, kCrcInversListName, kHistoryPath);
    LoadComboHistory(m_start, kCrcStartListName, kHistoryPath);
    m_length->setText(Text(m_calc.Fields().length));
    ShowFields();
    m_updating = false;
}

void CrcDialog::SaveSettings()
{
    CSettingsKey key;
    if (key.Open(SettingsRoot::CurrentUser, nullptr, CSettingsKey::kModeCreate) &&
        key.OpenSub(kCrcSettingsKey)) {
        key.WriteText(m_start->currentText().toStdString(), kCrcStartValueName);
        key.WriteText(m_width->currentText().toStdString(), kCrcPolynomSizeName);
        key.WriteText(m_reflected->currentText().toStdString(), kCrcPolynomValueName);
    }
    SaveComboHistory(m_reflected, kCrcPolynomListName, kHistoryPath);
    SaveComboHistory(m_normal, kCrcInversListName, kHistoryPath);
    SaveComboHistory(m_start, kCrcStartListName, kHistoryPath);
}

// The fields' own change notifications come back here while the calculator's texts
// are written; the guard lets them pass unanswered.
void CrcDialog::Update(int change)
{
    if (m_updating) return;
    m_updating = true;
    ReadFields();
    m_calc.Update(change);
    ShowFields();
    m_updating = false;
    if (m_calc.ResultsDeferred()) StartResultJob();
}

void CrcDialog::ReadFields()
{
    CrcFields& f = m_calc.Fields();
    f.preset = m_preset->currentIndex();
    f.width = m_width->currentText().toStdString();
    f.reflected = m_reflected->currentText().toStdString();
    f.normal = m_normal->currentText().toStdString();
    f.formula = m_formula->text().toStdString();
    f.start = m_start->currentText().toStdString();
    f.invert = m_invert->isChecked();
    f.algorithm = static_cast<CrcAlgorithm>(std::max(0, m_algorithm->currentIndex()));
}

void CrcDialog::ShowFields()
{
    const CrcFields& f = m_calc.Fields();
    m_preset->setCurrentIndex(f.preset);
    const int widthEntry = m_width->findText(Text(f.width));
    if (widthEntry >= 0 && m_width->currentText() != Text(f.width)) {
        m_width->setCurrentIndex(widthEntry);
    } else {
        ShowComboText(m_width, f.width);
    }
    ShowComboText(m_reflected, f.reflected);
    ShowComboText(m_normal, f.normal);
    ShowComboText(m_start, f.start);
    if (m_formula->text() != Text(f.formula)) m_formula->setText(Text(f.formula));
    MarkFieldInvalid(m_formula, f.formulaInvalid);
    if (m_source->toPlainText() != Text(f.source)) m_source->setPlainText(Text(f.source));
    ShowResults();
}

void CrcDialog::ShowResults()
{
    for (std::size_t i = 0; i < m_results.size(); ++i)
        m_results[i]->setText(Text(m_calc.Fields().results[i]));
}

// The worker builds its own tables: the calculator's may be rebuilt meanwhile.
void CrcDialog::StartResultJob()
{
    auto values = std::make_shared<std::optional<CrcResultValues>>();
    const unsigned width = m_calc.Width();
    const std::uint64_t reflected = m_calc.Reflected();
    const std::uint64_t start = m_calc.Start();
    const bool invert = m_calc.Fields().invert;
    const std::uint8_t* bytes = m_calc.Data();
    const std::size_t length = m_calc.Length();
    m_job.disconnect(this);
    connect(&m_job, &BackgroundJob::finished, this, [this, values](bool cancelled) {
        if (cancelled || !*values) return;
        m_calc.SetResults(**values);
        ShowResults();
    });
    m_job.Start([=](const WorkObserver& observer) {
        CrcTables tables;
        tables.Build(reflected, width);
        *values = ComputeCrcResults(tables, start, invert, bytes, length, observer);
        return values->has_value();
    });
}

// Without an algorithm the source area goes and the dialog gets shorter by its height;
// choosing one brings both back.
void CrcDialog::ApplyLayout()
{
    const bool show = m_algorithm->currentIndex() > 0;
    if (show == m_sourceShown) return;
    m_sourceShown = show;
    m_source->setVisible(show);
    layout()->activate();
    resize(width(), sizeHint().height());
}

std::optional<QPoint> CrcDialog::RememberedPosition()
{
    return Position().Remembered();
}

void CrcDialog::accept()
{
    SaveSettings();
    QDialog::accept();
}

void CrcDialog::done(int result)
{
    m_job.Cancel();
    Position().Remember(this);
    QDialog::done(result);
}

} // namespace dualvex
