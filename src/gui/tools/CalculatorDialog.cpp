#include "gui/tools/CalculatorDialog.h"

#include "core/tools/Calculator.h"
#include "gui/support/ComboHelpers.h"
#include "gui/support/DialogControls.h"
#include "gui/textwnd/AnsiQtClock.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dualvex {

namespace {

constexpr const char* kHistoryName = "CalculatorLast";
constexpr const char* kProgramKey = "#";

DialogPosition& Position()
{
    static DialogPosition position;
    return position;
}

} // namespace

CalculatorDialog::CalculatorDialog(std::uint32_t initialValue, QWidget* parent, AnsiClock* clock)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Zahlen umwandeln"));
    if (clock == nullptr) {
        m_ownClock = std::make_unique<AnsiQtClock>();
        clock = m_ownClock.get();
    }
    auto* grid = new QGridLayout(this);
    m_input = new QComboBox;
    m_input->setObjectName(ControlName(1042));
    m_input->setEditable(true);
    m_input->setInsertPolicy(QComboBox::NoInsert);
    grid->addWidget(new QLabel(QStringLiteral("Eingabe:")), 0, 0);
    grid->addWidget(m_input, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("( 0x... = hex  0b... = bin 0o... = oktal  'x' = Ansi )")), 1,
                    0, 1, 2);
    const std::pair<int, const char*> outputs[] = {
        {1075, "Dezimal:"}, {1077, "Hexadezimal:"}, {1105, "Oktal:"}, {1106, "Binär:"}, {1107, "Ansi:"}};
    for (std::size_t i = 0; i < m_outputs.size(); ++i)
        m_outputs[i] = AddOutput(grid, static_cast<int>(i) + 2, outputs[i].first, outputs[i].second);
    m_outputs[4]->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(ControlName(1));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, 7, 1, Qt::AlignRight);
    // Never shown: Escape closes the dialog like OK does.
    auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    cancel->setObjectName(ControlName(2));
    cancel->hide();
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    Position().Restore(this);
    LoadComboHistory(m_input, kHistoryName, kProgramKey);
    m_input->setEditText(QString::fromStdString(CalculatorInitialText(initialValue)));
    connect(m_input, &QComboBox::editTextChanged, this, &CalculatorDialog::Evaluate);
    connect(m_input, &QComboBox::activated, this, &CalculatorDialog::Evaluate);
    m_ticker = clock->MakeTicker(kRefreshMs, [this] { Tick(); });
    m_ticker->Start();
    m_input->setFocus();
    Evaluate();
}

CalculatorDialog::~CalculatorDialog() = default;

QLineEdit* CalculatorDialog::AddOutput(QGridLayout* grid, int row, int id, const char* label)
{
    auto* field = new QLineEdit;
    field->setObjectName(ControlName(id));
    field->setReadOnly(true);
    SetFieldBackground(field, ResultFieldColor());
    grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

void CalculatorDialog::Evaluate()
{
    m_lastIndex = m_input->currentIndex();
    const CalculatorResult result = EvaluateCalculatorInput(m_input->currentText().toStdString());
    m_value = result.value;
    m_valid = result.valid;
    const std::string* texts[] = {&result.texts.decimal, &result.texts.hexadecimal, &result.texts.octal,
                                  &result.texts.binary, &result.texts.ansi};
    for (std::size_t i = 0; i < m_outputs.size(); ++i) {
        // Latin-1: the character output shows the low byte as that one character.
        m_outputs[i]->setText(QString::fromLatin1(texts[i]->c_str()));
    }
    MarkFieldInvalid(m_input->lineEdit(), !m_valid);
}

// A list choice made without a notification still shows up as another selected index.
void CalculatorDialog::Tick()
{
    if (m_input->currentIndex() != m_lastIndex) Evaluate();
}

// OK, Enter and Escape all end here: the input joins the front of the history.
void CalculatorDialog::done(int result)
{
    m_ticker->Stop();
    Position().Remember(this);
    SaveComboHistory(m_input, kHistoryName, kProgramKey);
    QDialog::done(result);
}

} // namespace dualvex
