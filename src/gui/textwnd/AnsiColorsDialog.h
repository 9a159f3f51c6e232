// "Farben einstellen": edits the colours and font styles of a style set's formats on a
// working copy; OK hands the copy back, Abbrechen drops it.
#pragma once

#include "gui/textwnd/AnsiStyleSet.h"

#include <QDialog>

#include <cstdint>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;

namespace dualvex {

class AnsiPaletteGrid;

class AnsiColorsDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kMaxFormats = 256;

    // `filter` (may be null) holds one bit per format index: the formats that belong to
    // the caller's current format.
    AnsiColorsDialog(const std::vector<AnsiFormat>& table, const QFont& sampleFont, int currentFormat,
                     const std::vector<std::uint8_t>* filter, QWidget* parent = nullptr);

    // The working copy (without the stand-in entry behind it).
    [[nodiscard]] std::vector<AnsiFormat> Formats() const;
    [[nodiscard]] int CurrentFormat() const { return m_current; }
    void SelectFormat(int index);
    // The colours the sample shows, as the theme resolves them.
    [[nodiscard]] QColor SampleBackground() const;
    [[nodiscard]] QColor SampleText() const;

  private:
    void BuildLayout();
    void FillFormatList();
    void OnFormatSelected();
    void OnStyleClicked();
    void SetCurrentColor(bool background, std::uint32_t value);
    void DefineColor(bool background);
    void ShowCurrent();
    void UpdateSample();
    [[nodiscard]] AnsiFormat& Current();
    [[nodiscard]] bool InFilter(int index) const;

    std::vector<AnsiFormat> m_working; // the formats plus one stand-in entry
    int m_count = 0;
    int m_current = 0;
    std::vector<std::uint8_t> m_filter;
    bool m_hasFilter = false;
    QFont m_sampleFont;

    QListWidget* m_formatList = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    QCheckBox* m_onlyCurrent = nullptr;
    QLabel* m_sample = nullptr;
    AnsiPaletteGrid* m_backgroundGrid = nullptr;
    AnsiPaletteGrid* m_textGrid = nullptr;
};

// Runs the dialog modally on `table`; on OK the edited entries replace the caller's.
// Returns QDialog::Accepted or QDialog::Rejected.
int EditColors(std::vector<AnsiFormat>& table, const QFont& font, int currentFormat,
               const std::vector<std::uint8_t>* filter, QWidget* parent);

} // namespace dualvex
