// "CRC-Summe berechnen": moves the texts of its fields into the CRC calculator and
// shows what comes back. The calculator owns every rule; this class only wires the
// controls, the histories, the remembered settings and the layout of the source area.
// Data from kBackgroundWorkBytes on is checked on a worker thread (see Job()).
#pragma once

#include "core/tools/CrcCalculator.h"
#include "gui/support/BackgroundJob.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>

class QCheckBox;
class QGridLayout;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace dualvex {

// Parameters a caller hands in instead of the remembered settings.
struct CrcDialogParameters {
    unsigned width = 32;
    std::uint64_t reflected = 0xEDB88320;
    std::uint64_t start = 0xFFFFFFFF;
};

class CrcDialog : public QDialog {
    Q_OBJECT
  public:
    // data must outlive the dialog.
    CrcDialog(const std::uint8_t* bytes, std::size_t length, QWidget* parent = nullptr,
              std::optional<CrcDialogParameters> parameters = std::nullopt,
              std::size_t backgroundBytes = kBackgroundWorkBytes);
    ~CrcDialog() override;

    [[nodiscard]] const CrcCalculator& Calculator() const { return m_calc; }
    [[nodiscard]] BackgroundJob& Job() { return m_job; }
    [[nodiscard]] static std::optional<QPoint> RememberedPosition();

    void accept() override;
    void done(int result) override;

  private:
    void BuildTop(QGridLayout* grid);
    void BuildResults(QGridLayout* grid, int row);
    void BuildBottom(QGridLayout* grid, int row);
    QComboBox* AddCombo(int id, bool editable);
    QLineEdit* AddResult(int id);
    void LoadSettings(const std::optional<CrcDialogParameters>& parameters);
    void SaveSettings();
    // Field `change` was edited (a CrcChange).
    void Update(int change);
    void ReadFields();
    void ShowFields();
    void ShowResults();
    void StartResultJob();
    void ApplyLayout();

    CrcCalculator m_calc;
    BackgroundJob m_job;
    bool m_updating = false;
    bool m_sourceShown = true;

    QComboBox* m_preset = nullptr;
    QComboBox* m_width = nullptr;
    QComboBox* m_reflected = nullptr;
    QComboBox* m_normal = nullptr;
    QComboBox* m_start = nullptr;
    QComboBox* m_algorithm = nullptr;
    QCheckBox* m_invert = nullptr;
    QLineEdit* m_formula = nullptr;
    QLineEdit* m_length = nullptr;
    QPlainTextEdit* m_source = nullptr;
    std::array<QLineEdit*, 9> m_results{};
};

} // namespace dualvex
