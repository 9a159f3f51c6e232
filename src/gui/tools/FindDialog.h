// "Wert suchen": moves the value text, the input kind, the byte count, the options
// and the group list between its controls and the search state. The rules (kind of a
// text, its rendering in another kind, the entries and the active list) are the
// core's; this class wires the controls, their enabling and the two sizes.
#pragma once

#include "core/tools/SearchCommands.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace dualvex {

class FindDialog : public QDialog {
    Q_OBJECT
  public:
    // The result of exec() when "Weiter&suchen" closed the dialog.
    static constexpr int kSearchAgain = 1050;

    // state: the process's search state, read when opening and committed by OK and
    // "Weiter&suchen" (its flags carry kFindHasSelection from the caller). An empty
    // initial text shows the latest history entry.
    FindDialog(SearchState& state, const QString& initialText, QWidget* parent = nullptr);

    // Valid after OK or "Weiter&suchen".
    [[nodiscard]] const SearchDialogResult& Result() const { return m_result; }

    void accept() override;
    void done(int result) override;

  private:
    QCheckBox* AddBox(int id, const char* caption);
    QPushButton* AddButton(int id, const char* caption);
    void BuildValue(QGridLayout* grid);
    void BuildKinds(QGridLayout* grid);
    void BuildOptions(QGridLayout* grid);
    void BuildGroup(QGridLayout* grid);
    void BuildButtons(QGridLayout* grid);
    void ConnectControls();
    void LoadState(const QString& initialText);
    void TextChanged(const QString& text);
    void KindChosen(int kind);
    void ShowKind(int kind);
    void Exclude(QCheckBox* ticked, QCheckBox* other);
    void UpdateEnabling();
    void ApplyGroupLayout();
    void AddEntry();
    void MoveEntry(int step);
    void LoadEntry(const QString& entry);
    void Commit();
    [[nodiscard]] int Kind() const;
    [[nodiscard]] int ByteCount() const;
    [[nodiscard]] std::uint32_t Flags() const;
    [[nodiscard]] QString ValueText() const;

    SearchState& m_state;
    SearchDialogResult m_result;
    bool m_updating = false;
    bool m_groupShown = true;

    QComboBox* m_value = nullptr;
    QButtonGroup* m_kinds = nullptr;
    QButtonGroup* m_counts = nullptr;
    QRadioButton* m_backward = nullptr;
    QRadioButton* m_forward = nullptr;
    QCheckBox* m_group = nullptr;
    QCheckBox* m_ordered = nullptr;
    QLineEdit* m_range = nullptr;
    QCheckBox* m_ignoreCase = nullptr;
    QCheckBox* m_unicode = nullptr;
    QCheckBox* m_wrap = nullptr;
    QCheckBox* m_inSelection = nullptr;
    QCheckBox* m_fromStart = nullptr;
    QCheckBox* m_bigEndian = nullptr;
    QListWidget* m_list = nullptr;
    std::array<QPushButton*, 5> m_listButtons{}; // add, delete, delete all, up, down
    QPushButton* m_ok = nullptr;
};

} // namespace dualvex
