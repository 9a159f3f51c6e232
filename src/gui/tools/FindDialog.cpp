#include "gui/tools/FindDialog.h"

#include "core/support/ValueText.h"
#include "core/tools/FindList.h"
#include "core/tools/SearchEntry.h"
#include "core/tools/SearchSettings.h"
#include "gui/support/DialogControls.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dualvex {

namespace {

enum : int {
    kValueId = 1042,
    kIgnoreCaseId = 1043,
    kWrapId = 1044,
    kInSelectionId = 1045,
    kGroupId = 1046,
    kBackwardId = 1047,
    kForwardId = 1048,
    kRangeId = 1055,
    kOrderedId = 1097,
    kFromStartId = 1098,
    kListId = 1099,
    kAddId = 1100,
    kUnicodeId = 1125,
    kBigEndianId = 1126,
};

constexpr std::array<int, 7> kKindIds{1087, 1088, 1089, 1090, 1091, 1092, 1124};
constexpr std::array<const char*, 7> kKindCaptions{"De&zimal",  "&Hexadezimal", "B&inär",       "Oktal",
                                                   "Als &Text", "Hex D&ump",    "Bit-&Maske ?#"};
constexpr std::array<int, 4> kCountIds{1093, 1094, 1095, 1096};
constexpr std::array<const char*, 4> kCountCaptions{"B&yte", "&Word", "&DWord", "&Variabel"};
constexpr std::array<const char*, 5> kListCaptions{"Hi&nzufügen", "&Löschen", "Alle  Löschen", "Nach &Oben",
                                                   "Nach Un&ten"};

DialogPosition& Position()
{
    static DialogPosition position;
    return position;
}

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QGroupBox* RadioGroup(const char* title, QButtonGroup* buttons, const int* ids, const char* const* captions,
                      int count)
{
    auto* box = new QGroupBox(QString::fromUtf8(title));
    auto* column = new QVBoxLayout(box);
    for (int i = 0; i < count; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(captions[i]));
        radio->setObjectName(ControlName(ids[i]));
        buttons->addButton(radio, i);
        column->addWidget(radio);
    }
    return box;
}

} // namespace

FindDialog::FindDialog(SearchState& state, const QString& initialText, QWidget* parent)
    : QDialog(parent), m_state(state)
{
    setWindowTitle(QStringLiteral("Wert suchen"));
    auto* grid = new QGridLayout(this);
    BuildValue(grid);
    BuildKinds(grid);
    BuildOptions(grid);
    BuildGroup(grid);
    BuildButtons(grid);
    Position().Restore(this);
    LoadSearchSettings(m_state);
    LoadState(initialText);
    ConnectControls();
    UpdateEnabling();
    ApplyGroupLayout();
}

QCheckBox* FindDialog::AddBox(int id, const char* caption)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(ControlName(id));
    return box;
}

QPushButton* FindDialog::AddButton(int id, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(ControlName(id));
    button->setAutoDefault(false);
    return button;
}

void FindDialog::BuildValue(QGridLayout* grid)
{
    m_value = new QComboBox;
    m_value->setObjectName(ControlName(kValueId));
    m_value->setEditable(true);
    m_value->setInsertPolicy(QComboBox::NoInsert);
    m_value->setMaxCount(TextList::kHistoryLimit);
    grid->addWidget(new QLabel(QStringLiteral("Suche Nach :")), 0, 0);
    grid->addWidget(m_value, 0, 1, 1, 2);
}

void FindDialog::BuildKinds(QGridLayout* grid)
{
    m_kinds = new QButtonGroup(this);
    grid->addWidget(RadioGroup("Eingabe Art", m_kinds, kKindIds.data(), kKindCaptions.data(), 7), 1, 0, 3, 1);
    m_counts = new QButtonGroup(this);
    grid->addWidget(RadioGroup("Byte-Anzahl", m_counts, kCountIds.data(), kCountCaptions.data(), 4), 1, 1);
    auto* direction = new QGroupBox(QStringLiteral("Richtung"));
    auto* column = new QVBoxLayout(direction);
    m_backward = new QRadioButton(QStringLiteral("Rück&wärts"));
    m_backward->setObjectName(ControlName(kBackwardId));
    m_forward = new QRadioButton(QStringLiteral("&Vorwärts"));
    m_forward->setObjectName(ControlName(kForwardId));
    column->addWidget(m_backward);
    column->addWidget(m_forward);
    grid->addWidget(direction, 2, 1);
}

void FindDialog::BuildOptions(QGridLayout* grid)
{
    auto* column = new QVBoxLayout;
    m_ignoreCase = AddBox(kIgnoreCaseId, "&Groß/Kleinschreibung ignorieren");
    m_unicode = AddBox(kUnicodeId, "Unicode Text");
    m_wrap = AddBox(kWrapId, "Gesamten &Speicher durchsuchen");
    m_inSelection = AddBox(kInSelectionId, "Nur im &markierten Bereich suchen");
    m_fromStart = AddBox(kFromStartId, "Vom &Anfang suchen");
    m_bigEndian = AddBox(kBigEndianId, "Zahlen im Motorola Format suchen");
    m_group = AddBox(kGroupId, "Gru&ppen-Suche");
    m_ordered = AddBox(kOrderedId, "&Reihenfolge beachten");
    for (QCheckBox* box :
         {m_ignoreCase, m_unicode, m_wrap, m_inSelection, m_fromStart, m_bigEndian, m_group, m_ordered})
        column->addWidget(box);
    m_range = new QLineEdit;
    m_range->setObjectName(ControlName(kRangeId));
    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("Bereich")));
    range->addWidget(m_range);
    column->addLayout(range);
    column->addStretch();
    grid->addLayout(column, 1, 2, 3, 1);
}

void FindDialog::BuildGroup(QGridLayout* grid)
{
    m_list = new QListWidget;
    m_list->setObjectName(ControlName(kListId));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* buttons = new QVBoxLayout;
    for (std::size_t i = 0; i < m_listButtons.size(); ++i) {
        m_listButtons[i] = AddButton(kAddId + static_cast<int>(i), kListCaptions[i]);
        buttons->addWidget(m_listButtons[i]);
    }
    buttons->addStretch();
    grid->addWidget(m_list, 4, 0, 1, 2);
    grid->addLayout(buttons, 4, 2);
}

void FindDialog::BuildButtons(QGridLayout* grid)
{
    m_ok = AddButton(1, "OK");
    auto* cancel = AddButton(2, "Abbrechen");
    auto* again = AddButton(kSearchAgain, "Weiter&suchen");
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(again, &QPushButton::clicked, this, [this] {
        Commit();
        done(kSearchAgain);
    });
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_ok);
    row->addWidget(again);
    row->addWidget(cancel);
    grid->addLayout(row, 5, 0, 1, 3);
}

void FindDialog::ConnectControls()
{
    connect(m_value, &QComboBox::editTextChanged, this, &FindDialog::TextChanged);
    connect(m_kinds, &QButtonGroup::idClicked, this, &FindDialog::KindChosen);
    connect(m_counts, &QButtonGroup::idClicked, this, [this] { UpdateEnabling(); });
    connect(m_inSelection, &QCheckBox::clicked, this, [this] { Exclude(m_inSelection, m_fromStart); });
    connect(m_fromStart, &QCheckBox::clicked, this, [this] { Exclude(m_fromStart, m_inSelection); });
    connect(m_group, &QCheckBox::clicked, this, [this] {
        UpdateEnabling();
        ApplyGroupLayout();
    });
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { UpdateEnabling(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](const QListWidgetItem* item) { LoadEntry(item->text()); });
    connect(m_listButtons[0], &QPushButton::clicked, this, &FindDialog::AddEntry);
    connect(m_listButtons[1], &QPushButton::clicked, this, [this] {
        qDeleteAll(m_list->selectedItems());
        UpdateEnabling();
    });
    connect(m_listButtons[2], &QPushButton::clicked, this, [this] {
        m_list->clear();
        UpdateEnabling();
    });
    connect(m_listButtons[3], &QPushButton::clicked, this, [this] { MoveEntry(-1); });
    connect(m_listButtons[4], &QPushButton::clicked, this, [this] { MoveEntry(1); });
}

void FindDialog::LoadState(const QString& initialText)
{
    const std::uint32_t flags = m_state.flags;
    for (const std::string& entry : m_state.history.Items()) m_value->addItem(Text(entry));
    QString text = initialText;
    if (text.isEmpty() && m_state.history.Count() > 0) text = Text(m_state.history.At(0));
    m_value->setEditText(text);
    m_range->setText(QString::number(GroupRangeWidth(m_state.groupList)));
    for (int i = 1; i < m_state.groupList.Count() && i <= kSearchListMaxEntries; ++i)
        m_list->addItem(Text(m_state.groupList.At(i)));
    m_counts->button(std::clamp(m_state.lastByteCount, 0, 3))->setChecked(true);
    (flags & kFindBackward ? m_backward : m_forward)->setChecked(true);
    m_inSelection->setEnabled((flags & kFindHasSelection) != 0);
    const std::array<std::pair<QCheckBox*, std::uint32_t>, 8> boxes{{{m_inSelection, kFindInSelection},
                                                                     {m_wrap, kFindWrap},
                                                                     {m_ignoreCase, kFindIgnoreCase},
                                                                     {m_group, kFindGroup},
                                                                     {m_ordered, kFindOrdered},
                                                                     {m_fromStart, kFindFromStart},
                                                                     {m_unicode, kFindUnicode},
                                                                     {m_bigEndian, kFindBigEndian}}};
    for (const auto& [box, bit] : boxes) box->setChecked((flags & bit) != 0);
    const int kind = Classify(text.toStdString());
    ShowKind(kind < 0 ? kKindDecimal : kind);
}

// Typing follows the text's kind; texts, dumps and masks always take every byte.
void FindDialog::TextChanged(const QString& text)
{
    if (m_updating) return;
    const int kind = Classify(text.toStdString());
    if (kind >= 0) ShowKind(kind);
    UpdateEnabling();
}

// The kind's button shows the text in that kind; the text it writes must not change
// the kind back (an empty mask starts as ":", which reads as a dump).
void FindDialog::KindChosen(int kind)
{
    const std::string text = RenderInKind(ValueText().toStdString(), ByteCount(), kind);
    m_updating = true;
    m_value->setEditText(Text(text));
    m_updating = false;
    ShowKind(kind);
    UpdateEnabling();
}

void FindDialog::ShowKind(int kind)
{
    m_kinds->button(kind)->setChecked(true);
    if (kind >= kKindText) m_counts->button(kCountVariable)->setChecked(true);
}

void FindDialog::Exclude(QCheckBox* ticked, QCheckBox* other)
{
    if (ticked->isChecked()) other->setChecked(false);
    UpdateEnabling();
}

void FindDialog::UpdateEnabling()
{
    const int kind = Kind();
    const int count = ByteCount();
    m_ignoreCase->setEnabled(kind == kKindText);
    m_unicode->setEnabled(kind == kKindText);
    m_bigEndian->setEnabled(IsNumberKind(kind) && (count == kCountWord || count == kCountDWord));
    const bool inSelection = m_inSelection->isEnabled() && m_inSelection->isChecked();
    const bool direction = !m_fromStart->isChecked() && !inSelection;
    m_backward->setEnabled(direction);
    m_forward->setEnabled(direction);
    const bool group = m_group->isChecked();
    const int entries = m_list->count();
    m_listButtons[0]->setEnabled(group && !ValueText().isEmpty() && entries < kSearchListMaxEntries);
    m_listButtons[1]->setEnabled(!m_list->selectedItems().isEmpty());
    m_listButtons[2]->setEnabled(entries > 0);
    m_listButtons[3]->setEnabled(entries >= 2);
    m_listButtons[4]->setEnabled(entries >= 2);
}

// Group search shows the list and grows the dialog by its height; without it the
// list goes and the dialog shrinks, so the single search stays compact.
void FindDialog::ApplyGroupLayout()
{
    const bool group = m_group->isChecked();
    m_list->setEnabled(group);
    m_range->setEnabled(group);
    m_ordered->setEnabled(group);
    m_listButtons[0]->setDefault(group);
    m_ok->setDefault(!group);
    if (group == m_groupShown) return;
    m_groupShown = group;
    m_list->setVisible(group);
    for (std::size_t i = 0; i < m_listButtons.size(); ++i) m_listButtons[i]->setVisible(group);
    layout()->activate();
    resize(width(), sizeHint().height());
}

void FindDialog::AddEntry()
{
    const std::string text = ValueText().toStdString();
    const std::optional<std::string> entry = BuildSearchEntry(
        text, {ByteCount(), m_unicode->isChecked(), m_ignoreCase->isChecked(), m_bigEndian->isChecked()});
    if (!entry) {
        QApplication::beep();
        return;
    }
    m_state.history.AddToHistory(text);
    m_updating = true;
    m_value->clear();
    for (const std::string& item : m_state.history.Items()) m_value->addItem(Text(item));
    m_value->setEditText(Text(text));
    m_updating = false;
    m_list->addItem(Text(*entry));
    UpdateEnabling();
}

// The caret entry moves one place; the top one wraps to the bottom and back.
void FindDialog::MoveEntry(int step)
{
    const int count = m_list->count();
    const int row = m_list->currentRow();
    if (count < 2 || row < 0) return;
    const int target = (row + step + count) % count;
    QListWidgetItem* item = m_list->takeItem(row);
    m_list->insertItem(target, item);
    m_list->clearSelection();
    m_list->setCurrentRow(target);
}

void FindDialog::LoadEntry(const QString& entry)
{
    const std::optional<LoadedEntry> loaded = LoadSearchEntry(entry.toStdString());
    if (!loaded) return;
    m_updating = true;
    m_value->setEditText(Text(loaded->text));
    m_updating = false;
    m_kinds->button(loaded->kind)->setChecked(true);
    m_counts->button(loaded->byteCount)->setChecked(true);
    if (loaded->kind == kKindText) {
        m_ignoreCase->setChecked(loaded->ignoreCase);
        m_unicode->setChecked(loaded->unicode);
    }
    if (IsNumberKind(loaded->kind)) m_bigEndian->setChecked(loaded->bigEndian);
    UpdateEnabling();
}

void FindDialog::Commit()
{
    m_result.text = ValueText().toStdString();
    m_result.flags = Flags();
    m_result.rangeWidth = GroupRangeWidth(TextList({m_range->text().toStdString()}));
    m_result.groupEntries.clear();
    for (int i = 0; i < m_list->count(); ++i)
        m_result.groupEntries.push_back(m_list->item(i)->text().toStdString());
    m_result.byteCount = ByteCount();
    CommitSearchDialog(m_state, m_result);
    (void)SaveSearchSettings(m_state);
}

int FindDialog::Kind() const
{
    return std::max(0, m_kinds->checkedId());
}

int FindDialog::ByteCount() const
{
    return std::max(0, m_counts->checkedId());
}

// Every box keeps its tick, also while its kind disables it; the entry builder uses
// an option only where it applies.
std::uint32_t FindDialog::Flags() const
{
    std::uint32_t flags = 0;
    const auto set = [&flags](bool on, std::uint32_t bit) {
        if (on) flags |= bit;
    };
    set(m_backward->isChecked(), kFindBackward);
    set(m_inSelection->isChecked(), kFindInSelection);
    set(m_wrap->isChecked(), kFindWrap);
    set(m_ignoreCase->isChecked(), kFindIgnoreCase);
    set(m_group->isChecked(), kFindGroup);
    set(m_ordered->isChecked(), kFindOrdered);
    set(m_fromStart->isChecked(), kFindFromStart);
    set(m_unicode->isChecked(), kFindUnicode);
    set(m_bigEndian->isChecked(), kFindBigEndian);
    return flags;
}

QString FindDialog::ValueText() const
{
    return m_value->currentText();
}

void FindDialog::accept()
{
    Commit();
    QDialog::accept();
}

void FindDialog::done(int result)
{
    Position().Remember(this);
    QDialog::done(result);
}

} // namespace dualvex
