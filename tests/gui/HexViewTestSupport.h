// A hex pane shown at a known size over a known image, with a clean settings
// store, for the hex view tests.
#pragma once

#include "gui/hexview/CHexView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace dualvex::test {

// Removes every stored setting, so a pane starts from the defaults (each pane saves
// its values when it goes).
inline void ClearStoredSettings()
{
    const char* dir = std::getenv("DUALVEX_CONFIG_DIR");
    if (dir == nullptr) return;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        std::filesystem::remove_all(entry, ec);
}

inline std::vector<std::uint8_t> CountingBytes(std::size_t count)
{
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

// One bit per byte, least significant first.
inline std::vector<std::uint8_t> DiffBits(std::size_t count, std::initializer_list<std::size_t> set)
{
    std::vector<std::uint8_t> bits((count + 7) / 8);
    for (std::size_t i : set) bits[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
    return bits;
}

class HexViewFixture : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ClearStoredSettings();
        view = std::make_unique<CHexView>();
        // A fixed width of 16 with the usual spacing, whatever the window width.
        view->SetWidthMode(-16, 0, -1, 0);
        view->SetLayout(
            {.width = 16, .extraSpace = 4, .insertSpace = 1, .digits = 6, .format = 0, .invert = 0});
    }
    void TearDown() override
    {
        view.reset();
        ClearStoredSettings();
    }

    void Show(int width = 900, int height = 400)
    {
        view->resize(width, height);
        view->show();
        (void)QTest::qWaitForWindowExposed(view.get());
        view->setFocus();
        QApplication::processEvents();
    }

    void Bind(std::size_t count, bool editable = true)
    {
        data = CountingBytes(count);
        view->SetData(data.data(), static_cast<HexPos>(data.size()), 0, editable ? kDataEditable : 0u);
        QApplication::processEvents();
    }

    QImage Grab()
    {
        QApplication::processEvents();
        return view->grab().toImage();
    }

    // The colour of the cell's background: a corner pixel, away from the glyph.
    static QColor Background(const QImage& image, const QRect& cell)
    {
        const qreal ratio = image.devicePixelRatio();
        return image.pixelColor(static_cast<int>((cell.left() + 1) * ratio),
                                static_cast<int>((cell.bottom()) * ratio));
    }

    std::vector<std::uint8_t> data;
    std::unique_ptr<CHexView> view;
};

} // namespace dualvex::test
