// The double hex window: two hex panes side by side or one above the other, a title
// line over each, the separator band in the horizontal split, and the coupling of
// the panes (scrolling, selection and settings follow from one pane to the other).
#pragma once

#include "core/hexview/HexTypes.h"

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>

class QLabel;

namespace dualvex {

class CHexView;

class HexDoubleWnd : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kPaneId0 = 4096;
    static constexpr int kPaneId1 = 4097;
    static constexpr std::uint32_t kModeHorizontal = 1;

    explicit HexDoubleWnd(QWidget* parent = nullptr);
    ~HexDoubleWnd() override;
    HexDoubleWnd(const HexDoubleWnd&) = delete;
    HexDoubleWnd& operator=(const HexDoubleWnd&) = delete;

    // Pane operations; an index other than 0 or 1 does nothing and returns 0.
    CHexView* Pane(int pane) const;
    int SetData(int pane, const std::uint8_t* bytes, HexPos length, unsigned flags);
    int SetDiffBits(int pane, const std::uint8_t* bits);
    HexPos FirstVisible(int pane) const;
    HexPos CurrentPosition(int pane) const;
    HexPos VisibleByteCount(int pane) const;
    void SetFirstVisibleBoth(HexPos position);
    void SetCursorBoth(HexPos position);
    int SetTitle(int pane, const QString& title);
    QString Title(int pane) const
    {
        return pane == 0 || pane == 1 ? m_titles[static_cast<std::size_t>(pane)] : QString();
    }
    void SetModeBits(std::uint32_t value, std::uint32_t mask);
    std::uint32_t ModeBits() const { return m_mode; }
    int ActivePane() const { return m_active; }
    void FocusActivePane();
    void SetPaths(const QString& path1, const QString& path2);
    QString Path(int pane) const { return pane == 0 ? m_paths[0] : pane == 1 ? m_paths[1] : QString(); }
    QLabel* TitleBar(int pane) const;
    // Runs a hex command on the active pane; false when the pane does not know it.
    bool RunPaneCommand(int id);
    // The pane a context menu at this point (window coordinates) is for.
    int PaneAt(const QPoint& point) const;
    void ShowPathMenu(const QPoint& globalPos);
    void CopyPath(int pane) const;
    bool StartEditor(int pane) const;

  signals:
    void ActivePaneChanged(int pane);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreatePane(int index);
    void LayOut();
    void OnNotification(CHexView* view, int code, HexNotify body);
    void MirrorSelection(int from, const HexNotify& body);
    void MirrorSettings(int from);
    int IndexOf(const CHexView* view) const;

    std::array<CHexView*, 2> m_panes{};
    std::array<QLabel*, 2> m_titleBars{};
    std::array<QString, 2> m_titles;
    std::array<QString, 2> m_paths;
    std::uint32_t m_mode = 0;
    int m_active = 0;
    int m_separatorTop = -1;
    bool m_mirroring = false;
};

} // namespace dualvex
