// The 63-cell colour palette of the colour dialog: seven columns of nine cells, the
// first cell standing for the theme's own colour.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

namespace dualvex {

class AnsiPaletteGrid : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kCellCount = 63;
    static constexpr int kRows = 9;
    static constexpr int kColumns = 7;
    static const std::array<std::uint32_t, kCellCount>& Values();

    // `background` picks the theme colour the first cell stands for (Base or Text).
    AnsiPaletteGrid(bool background, QWidget* parent = nullptr);

    // Selects the first cell holding the value, or the last cell when none does.
    void SelectValue(std::uint32_t value);
    [[nodiscard]] int Selected() const { return m_selected; }
    [[nodiscard]] int CellSize() const { return m_cellSize; }
    [[nodiscard]] QRect CellRect(int index) const;
    [[nodiscard]] QSize sizeHint() const override;

  signals:
    // A cell was chosen by the user; value is kSystemColor for the first cell.
    void ValueChosen(std::uint32_t value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void PaintCell(QPainter& painter, int index) const;

    bool m_background;
    int m_cellSize = 18;
    int m_selected = kCellCount - 1;
};

} // namespace dualvex
