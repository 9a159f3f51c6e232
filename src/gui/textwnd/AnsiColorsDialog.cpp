#include "gui/textwnd/AnsiColorsDialog.h"

#include "gui/textwnd/AnsiPaletteGrid.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace dualvex {

namespace {

constexpr std::uint32_t kStandInColor = 0xC8C8C8;

QPushButton* AddDefineButton(QGroupBox* box, AnsiPaletteGrid* grid, const QString& text, const QString& name)
{
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(grid, 0, Qt::AlignHCenter);
    auto* button = new QPushButton(text, box);
    button->setObjectName(name);
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

} // namespace

AnsiColorsDialog::AnsiColorsDialog(const std::vector<AnsiFormat>& table, const QFont& sampleFont,
                                   int currentFormat, const std::vector<std::uint8_t>* filter,
                                   QWidget* parent)
    : QDialog(parent), m_sampleFont(sampleFont)
{
    setWindowTitle(QStringLiteral("Farben einstellen"));
    setObjectName(QStringLiteral("ansiColorsDialog"));
    m_count = std::min<int>(static_cast<int>(table.size()), kMaxFormats);
    m_working.assign(table.begin(), table.begin() + m_count);
    m_working.push_back(
        AnsiFormat{kStandInColor, kStandInColor, 0, 0, QStringLiteral("keine Farben vorhanden")});
    m_current = std::clamp(currentFormat, 0, std::max(0, m_count - 1));
    if (filter != nullptr) {
        m_filter = *filter;
        m_hasFilter = true;
    }
    BuildLayout();
    m_onlyCurrent->setChecked(m_hasFilter);
    m_onlyCurrent->setEnabled(m_hasFilter);
    FillFormatList();
    ShowCurrent();
}

void AnsiColorsDialog::BuildLayout()
{
    auto* grid = new QGridLayout(this);
    m_formatList = new QListWidget(this);
    m_formatList->setObjectName(QStringLiteral("formatList"));
    m_bold = new QCheckBox(QStringLiteral("Fett"), this);
    m_italic = new QCheckBox(QStringLiteral("Kursiv"), this);
    m_underline = new QCheckBox(QStringLiteral("Unterstreichen"), this);
    m_onlyCurrent = new QCheckBox(QStringLiteral("Nur für aktelles Format"), this);
    m_bold->setObjectName(QStringLiteral("boldBox"));
    m_italic->setObjectName(QStringLiteral("italicBox"));
    m_underline->setObjectName(QStringLiteral("underlineBox"));
    m_onlyCurrent->setObjectName(QStringLiteral("onlyCurrentBox"));
    m_sample = new QLabel(QStringLiteral("AbcXyz"), this);
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_sample->setAutoFillBackground(true);
    m_sample->setMinimumHeight(QFontMetrics(m_sampleFont).height() * 3);
    m_sample->setFont(m_sampleFont);

    auto* backgroundBox = new QGroupBox(QStringLiteral("Hintergrundfarbe"), this);
    auto* textBox = new QGroupBox(QStringLiteral("Textfarbe"), this);
    m_backgroundGrid = new AnsiPaletteGrid(true, backgroundBox);
    m_backgroundGrid->setObjectName(QStringLiteral("backgroundPalette"));
    m_textGrid = new AnsiPaletteGrid(false, textBox);
    m_textGrid->setObjectName(QStringLiteral("textPalette"));
    QPushButton* defineBackground =
        AddDefineButton(backgroundBox, m_backgroundGrid, QStringLiteral("Farbe defienieren"),
                        QStringLiteral("backgroundDefine"));
    QPushButton* defineText = AddDefineButton(textBox, m_textGrid, QStringLiteral("Farbe definieren"),
                                              QStringLiteral("textDefine"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);

    grid->addWidget(m_formatList, 0, 0, 4, 1);
    grid->addWidget(m_bold, 0, 1);
    grid->addWidget(m_italic, 1, 1);
    grid->addWidget(m_underline, 2, 1);
    grid->addWidget(m_onlyCurrent, 3, 1);
    grid->addWidget(m_sample, 4, 0, 1, 2);
    grid->addWidget(backgroundBox, 5, 0);
    grid->addWidget(textBox, 5, 1);
    grid->addWidget(buttons, 6, 0, 1, 2);

    connect(m_formatList, &QListWidget::currentRowChanged, this, [this] { OnFormatSelected(); });
    for (QCheckBox* box : {m_bold, m_italic, m_underline})
        connect(box, &QCheckBox::clicked, this, [this] { OnStyleClicked(); });
    connect(m_onlyCurrent, &QCheckBox::clicked, this, [this] { FillFormatList(); });
    connect(m_backgroundGrid, &AnsiPaletteGrid::ValueChosen, this,
            [this](std::uint32_t value) { SetCurrentColor(true, value); });
    connect(m_textGrid, &AnsiPaletteGrid::ValueChosen, this,
            [this](std::uint32_t value) { SetCurrentColor(false, value); });
    connect(defineBackground, &QPushButton::clicked, this, [this] { DefineColor(true); });
    connect(defineText, &QPushButton::clicked, this, [this] { DefineColor(false); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::vector<AnsiFormat> AnsiColorsDialog::Formats() const
{
    return {m_working.begin(), m_working.begin() + m_count};
}

AnsiFormat& AnsiColorsDialog::Current()
{
    return m_count == 0 ? m_working.back() : m_working[static_cast<size_t>(m_current)];
}

bool AnsiColorsDialog::InFilter(int index) const
{
    const size_t byte = static_cast<size_t>(index) / 8;
    return byte < m_filter.size() && (m_filter[byte] >> (index % 8)) & 1;
}

void AnsiColorsDialog::FillFormatList()
{
    const QSignalBlocker block(m_formatList);
    std::vector<int> shown;
    if (m_onlyCurrent->isChecked() && m_hasFilter) {
        for (int i = 0; i < m_count; ++i)
            if (InFilter(i)) shown.push_back(i);
    }
    if (shown.empty() || (shown.size() == 1 && shown.front() == 0)) {
        shown.clear();
        for (int i = 0; i < m_count; ++i) shown.push_back(i);
    }
    // Sorted by name as people read it, without regard to case.
    std::stable_sort(shown.begin(), shown.end(), [this](int a, int b) {
        return m_working[static_cast<size_t>(a)].name.compare(m_working[static_cast<size_t>(b)].name,
                                                              Qt::CaseInsensitive) < 0;
    });
    m_formatList->clear();
    for (int index : shown) {
        auto* item = new QListWidgetItem(m_working[static_cast<size_t>(index)].name);
        item->setData(Qt::UserRole, index);
        m_formatList->addItem(item);
    }
    for (int row = 0; row < m_formatList->count(); ++row)
        if (m_formatList->item(row)->data(Qt::UserRole).toInt() == m_current)
            m_formatList->setCurrentRow(row);
}

void AnsiColorsDialog::SelectFormat(int index)
{
    for (int row = 0; row < m_formatList->count(); ++row)
        if (m_formatList->item(row)->data(Qt::UserRole).toInt() == index) m_formatList->setCurrentRow(row);
}

void AnsiColorsDialog::OnFormatSelected()
{
    const QListWidgetItem* item = m_formatList->currentItem();
    if (item == nullptr) return;
    m_current = std::clamp(item->data(Qt::UserRole).toInt(), 0, std::max(0, m_count - 1));
    ShowCurrent();
}

void AnsiColorsDialog::ShowCurrent()
{
    const AnsiFormat& format = Current();
    m_bold->setChecked(format.fontStyle & 1);
    m_italic->setChecked(format.fontStyle & 2);
    m_underline->setChecked(format.fontStyle & 4);
    m_backgroundGrid->SelectValue(format.background);
    m_textGrid->SelectValue(format.text);
    UpdateSample();
}

void AnsiColorsDialog::OnStyleClicked()
{
    Current().fontStyle =
        (m_bold->isChecked() ? 1 : 0) | (m_italic->isChecked() ? 2 : 0) | (m_underline->isChecked() ? 4 : 0);
}

void AnsiColorsDialog::SetCurrentColor(bool background, std::uint32_t value)
{
    (background ? Current().background : Current().text) = value;
    UpdateSample();
}

void AnsiColorsDialog::DefineColor(bool background)
{
    const QColor start = background ? SampleBackground() : SampleText();
    for (int i = 0; i < QColorDialog::customCount(); ++i) QColorDialog::setCustomColor(i, start);
    QColorDialog chooser(start, this);
    chooser.setObjectName(QStringLiteral("ansiColorChooser"));
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    if (chooser.exec() != QDialog::Accepted) return;
    SetCurrentColor(background, ValueFromColor(chooser.selectedColor()));
    ShowCurrent();
}

QColor AnsiColorsDialog::SampleBackground() const
{
    const AnsiFormat& format = m_count == 0 ? m_working.back() : m_working[static_cast<size_t>(m_current)];
    return ColorFromValue(format.background, palette().color(QPalette::Base));
}

QColor AnsiColorsDialog::SampleText() const
{
    const AnsiFormat& format = m_count == 0 ? m_working.back() : m_working[static_cast<size_t>(m_current)];
    return ColorFromValue(format.text, palette().color(QPalette::Text));
}

void AnsiColorsDialog::UpdateSample()
{
    QPalette colors = m_sample->palette();
    colors.setColor(QPalette::Window, SampleBackground());
    colors.setColor(QPalette::WindowText, SampleText());
    m_sample->setPalette(colors);
}

int EditColors(std::vector<AnsiFormat>& table, const QFont& font, int currentFormat,
               const std::vector<std::uint8_t>* filter, QWidget* parent)
{
    AnsiColorsDialog dialog(table, font, currentFormat, filter, parent);
    if (dialog.exec() != QDialog::Accepted) return QDialog::Rejected;
    const std::vector<AnsiFormat> edited = dialog.Formats();
    std::copy(edited.begin(), edited.end(), table.begin());
    return QDialog::Accepted;
}

} // namespace dualvex
