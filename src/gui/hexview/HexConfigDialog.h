// The "Konfiguration" dialog of a hex pane: moves the values of HexConfigState
// between its controls; the rules (clamping, exclusivity, enabling) are the
// model's. Controls carry their ids as object names "c<id>".
#pragma once

#include "core/hexview/HexConfigModel.h"

#include <QDialog>

#include <map>

class QGridLayout;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace dualvex {

class HexConfigDialog : public QDialog {
    Q_OBJECT
  public:
    explicit HexConfigDialog(const HexConfigState& state, QWidget* parent = nullptr);
    ~HexConfigDialog() override;

    // The values as shown, clamped; what OK applies.
    [[nodiscard]] HexConfigState State() const { return m_state; }

    void accept() override;

  private:
    void BuildDisplayGroup(QGridLayout* grid);
    void BuildRadioGroups(QGridLayout* grid);
    void BuildMiscGroup(QGridLayout* grid);
    QCheckBox* AddCheck(int id, const char* caption);
    QLineEdit* AddEdit(int id);
    QRadioButton* AddRadio(int id, const char* caption);
    // Reads the controls, applies the rules and shows the result again.
    void Refresh(HexConfigToggle toggled);
    void Read();
    void Show();

    HexConfigState m_state;
    std::map<int, QCheckBox*> m_checks;
    std::map<int, QLineEdit*> m_edits;
    std::map<int, QRadioButton*> m_radios;
};

} // namespace dualvex
