#include "gui/tools/FloatConverterDialog.h"

#include "gui/support/DialogControls.h"

#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dualvex {

namespace {

// Control ids by field number of the converter.
constexpr int kFieldIds[kFloatFieldCount] = {1055, 1075, 1077, 1105, 1106, 1107, 1057};

bool IsPartField(int field)
{
    return field >= kFloatFieldDoubleMantissa;
}

DialogPosition& Position()
{
    static DialogPosition position;
    return position;
}

} // namespace

FloatConverterDialog::FloatConverterDialog(const std::uint8_t* bytes, int count, QWidget* parent)
    : QDialog(parent), m_converter(bytes, count)
{
    setWindowTitle(QStringLiteral("Flieskommakonverter"));
    auto* grid = new QGridLayout(this);
    BuildFields(grid);
    BuildButtons(grid);
    Position().Restore(this);
    Show(m_converter.AllTexts());
}

// The fields outlive the converter by a moment; their last notifications must not
// reach it.
FloatConverterDialog::~FloatConverterDialog()
{
    for (QLineEdit* field : m_fields) {
        field->removeEventFilter(this);
        field->disconnect(this);
    }
}

namespace {

// A double's mantissa in decimal and hex (">110C3CDD89122h") must show whole; the
// float column and the other fields need less.
int FieldChars(int field)
{
    switch (field) {
    case kFloatFieldDoubleMantissa: return 34;
    case kFloatFieldFloatMantissa: return 20;
    default: return 16;
    }
}

} // namespace

void FloatConverterDialog::BuildFields(QGridLayout* grid)
{
    for (int k = 0; k < kFloatFieldCount; ++k) {
        auto* field = new QLineEdit;
        field->setObjectName(ControlName(kFieldIds[k]));
        field->setMaxLength(FloatConverter::kMaxFieldText);
        field->setMinimumWidth(
            field->fontMetrics().horizontalAdvance(QString(FieldChars(k), QLatin1Char('0'))));
        connect(field, &QLineEdit::textChanged, this, [this, k] { FieldEdited(k); });
        if (IsPartField(k)) field->installEventFilter(this);
        m_fields[static_cast<std::size_t>(k)] = field;
    }
    m_fields[kFloatFieldHexDump]->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    grid->addWidget(new QLabel(QStringLiteral("Double :")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Float :")), 0, 2);
    const struct {
        const char* label;
        int doubleField;
        int floatField;
    } rows[] = {{"Werte", kFloatFieldDoubleValue, kFloatFieldFloatValue},
                {"Mantisse :", kFloatFieldDoubleMantissa, kFloatFieldFloatMantissa},
                {"Exponent :", kFloatFieldDoubleExponent, kFloatFieldFloatExponent}};
    int row = 1;
    for (const auto& r : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(r.label)), row, 0);
        grid->addWidget(m_fields[static_cast<std::size_t>(r.doubleField)], row, 1);
        grid->addWidget(m_fields[static_cast<std::size_t>(r.floatField)], row, 2);
        ++row;
    }
    grid->addWidget(new QLabel(QStringLiteral("HEX-Dump :")), row, 0);
    grid->addWidget(m_fields[kFloatFieldHexDump], row, 1, 1, 2);
}

void FloatConverterDialog::BuildButtons(QGridLayout* grid)
{
    const struct {
        int id;
        const char* caption;
        FloatSwap swap;
    } swaps[] = {{1050, "Swap Bytes", FloatSwap::Bytes},
                 {1051, "Swap Words", FloatSwap::Words},
                 {1052, "Swap QWords", FloatSwap::QWords}};
    auto* column = new QVBoxLayout;
    for (const auto& s : swaps) {
        auto* button = new QPushButton(QString::fromLatin1(s.caption));
        button->setObjectName(ControlName(s.id));
        button->setAutoDefault(false);
        const FloatSwap swap = s.swap;
        connect(button, &QPushButton::clicked, this, [this, swap] {
            Show(m_converter.Swap(swap, m_fields[kFloatFieldHexDump]->text().toStdString()));
        });
        column->addWidget(button);
    }
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(ControlName(1));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    column->addWidget(ok);
    grid->addLayout(column, 1, 3, 4, 1);

    auto* legend = new QGroupBox;
    auto* legendLayout = new QGridLayout(legend);
    const char* texts[2][4] = {{"Float:", "M=0...22", "E=23...30", "V=31"},
                               {"Double:", "M=0...51", "E=52...62", "V=63"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            legendLayout->addWidget(new QLabel(QString::fromLatin1(texts[r][c])), r, c);
    grid->addWidget(legend, 5, 0, 1, 4);
}

void FloatConverterDialog::FieldEdited(int field)
{
    if (m_updating) return;
    Show(m_converter.FieldChanged(field, m_fields[static_cast<std::size_t>(field)]->text().toStdString()));
}

void FloatConverterDialog::SetText(int field, const QString& text)
{
    QLineEdit* edit = m_fields[static_cast<std::size_t>(field)];
    if (edit->text() == text) return;
    m_updating = true;
    edit->setText(text);
    m_updating = false;
}

void FloatConverterDialog::Show(const FloatFieldTexts& texts)
{
    for (int k = 0; k < kFloatFieldCount; ++k) {
        const auto& text = texts.texts[static_cast<std::size_t>(k)];
        if (text) SetText(k, QString::fromStdString(*text));
    }
    ShowValidity();
}

void FloatConverterDialog::ShowValidity()
{
    for (int k = kFloatFieldDoubleMantissa; k < kFloatFieldCount; ++k) {
        SetFieldBackground(m_fields[static_cast<std::size_t>(k)],
                           m_converter.Valid(k) ? ResultFieldColor() : ErrorFieldColor());
    }
}

// Mantissa and exponent fields: entering one leaves only its number, selected, so
// typing replaces it; leaving it shows the display form again.
bool FloatConverterDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return QDialog::eventFilter(watched, event);
    for (int k = kFloatFieldDoubleMantissa; k < kFloatFieldCount; ++k) {
        QLineEdit* edit = m_fields[static_cast<std::size_t>(k)];
        if (edit != watched) continue;
        if (event->type() == QEvent::FocusIn) {
            SetText(k, QString::fromStdString(FloatConverter::FocusGainedText(edit->text().toStdString())));
            edit->selectAll();
        } else {
            SetText(k, QString::fromStdString(m_converter.FieldText(k)));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FloatConverterDialog::done(int result)
{
    Position().Remember(this);
    QDialog::done(result);
}

} // namespace dualvex
