#include "AnsiTestView.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>

using dualvex::AnsiCell;
using dualvex::AnsiLine;
using dualvex::AnsiStyleSet;
using dualvex::CAnsiView;
using dualvex::kSystemColor;
using dualvex::test::AnsiTestView;
using dualvex::test::ShowView;

namespace {

QColor CellColor(const QImage& image, const QRect& cell)
{
    // The top-left pixel of a cell is background in every fixed-pitch face.
    return image.pixelColor(cell.topLeft() + QPoint(0, 0));
}

} // namespace

TEST(AnsiView, PaintsTheDerivedLinesWithTheirFormats)
{
    AnsiTestView view(QStringLiteral("Paint"));
    ShowView(view);
    const QImage image = view.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const auto at = [&](int column, AnsiLine line) {
        const QRect r = view.CellRect(column, line);
        return CellColor(image, QRect(r.topLeft() * ratio, r.size() * ratio));
    };
    EXPECT_EQ(at(13, 0), QColor(0xFF, 0, 0)) << "the MARK run has a red background";
    EXPECT_EQ(at(2, 0), view.palette().color(QPalette::Base)) << "format 0 keeps the theme's base colour";
    EXPECT_EQ(at(40, 0), view.palette().color(QPalette::Base)) << "the rest of the row is cleared";
    EXPECT_TRUE(view.printed.count(0) && view.printed.count(view.VisibleLines() - 1));
    EXPECT_FALSE(view.printed.count(view.VisibleLines() + 1)) << "only visible lines are produced";
}

TEST(AnsiView, ABaseViewSaysThatItsLinesAreNotDerived)
{
    CAnsiView view(QStringLiteral("Plain"), 80, 0);
    view.SetLineCount(2);
    ShowView(view);
    const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto inkInRow = [&](AnsiLine line) {
        const QRect r = view.CellRect(0, line);
        const qreal ratio = image.devicePixelRatio();
        const QRgb base = view.palette().color(QPalette::Base).rgb();
        for (int y = int(r.top() * ratio); y < int(r.bottom() * ratio); ++y)
            for (int x = 0; x < int(view.TextWidth() * ratio); ++x)
                if (image.pixel(x, y) != base) return true;
        return false;
    };
    EXPECT_TRUE(inkInRow(0));
    EXPECT_TRUE(inkInRow(1));
    EXPECT_FALSE(inkInRow(2)) << "nothing below the line count";
}

TEST(AnsiStyleSetSharing, ViewsWithOneNameShareFormatsFontsAndCellSize)
{
    auto first = std::make_unique<AnsiTestView>(QStringLiteral("Shared"));
    auto second = std::make_unique<AnsiTestView>(QStringLiteral("sHARED"));
    AnsiTestView other(QStringLiteral("Other"));
    EXPECT_EQ(&first->StyleSet(), &second->StyleSet()) << "names compare without regard to case";
    EXPECT_NE(&first->StyleSet(), &other.StyleSet());
    EXPECT_EQ(first->StyleSetUseCount(), 2 + 0) << "two views hold the set";
    EXPECT_EQ(first->StyleSet().FormatCount(), 2) << "the second view found its format instead of adding one";

    const int index = first->AddFormat(0x00FF00, kSystemColor, QStringLiteral("Grün"), 7, 0);
    EXPECT_EQ(second->StyleSet().Format(index).name, QStringLiteral("Grün"));

    ShowView(*first);
    ShowView(*second);
    first->SetFont(30, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(second->CharHeight(), first->CharHeight()) << "the partner takes the new cell size";
    EXPECT_EQ(second->CharWidth(), first->CharWidth());
    EXPECT_GT(second->CharHeight(), 25);
    EXPECT_NE(other.CharHeight(), first->CharHeight()) << "other sets keep their fonts";

    const int number = first->StyleSet().SetNumber();
    second.reset();
    EXPECT_EQ(first->StyleSetUseCount(), 1);
    first.reset();
    AnsiTestView fresh(QStringLiteral("Shared"));
    EXPECT_NE(fresh.StyleSet().SetNumber(), number) << "the last view released the set";
    EXPECT_EQ(fresh.StyleSet().FormatCount(), 2);
}

TEST(AnsiStyleSet, AddFormatFindsExistingIdsAndKeepsIdsUnique)
{
    AnsiStyleSet set(QStringLiteral("Ids"), 99);
    const int a = set.AddFormat(1, 2, QStringLiteral("A"), 5, 0);
    EXPECT_EQ(set.AddFormat(3, 4, QStringLiteral("B"), 0x80000005u, 0), a) << "bit 31 finds id 5";
    const int c = set.AddFormat(3, 4, QStringLiteral("C"), 5, 0);
    EXPECT_NE(c, a);
    EXPECT_EQ(set.Format(c).id, 0u) << "a taken id is stored as 0";
    EXPECT_TRUE(set.UpdateFormat(0x10, 0x20, QStringLiteral("c"), 0, 3))
        << "found by name without regard to case";
    EXPECT_EQ(set.Format(c).text, 0x10u);
    EXPECT_EQ(set.Format(c).background, 0x20u);
    EXPECT_EQ(set.Format(c).fontStyle, 3);
    EXPECT_FALSE(set.UpdateFormat(0, 0, QStringLiteral("none"), 77, 0));
    EXPECT_EQ(set.Format(250).name, QStringLiteral("Standard")) << "an index beyond the table means format 0";
}

TEST(AnsiStyleSet, AttributeWordPicksTextAndBackgroundFormats)
{
    AnsiStyleSet set(QStringLiteral("Attr"), 98);
    const int red = set.AddFormat(0x0000FF, 0x00FF00, QStringLiteral("R"), 0, 0);
    const int blue = set.AddFormat(0xFF0000, 0x000000, QStringLiteral("B"), 0, 0);
    QPalette palette;
    EXPECT_EQ(set.BackgroundColor(static_cast<std::uint16_t>(red), palette), QColor(255, 0, 0));
    EXPECT_EQ(set.TextColor(static_cast<std::uint16_t>(red), palette), QColor(0, 255, 0));
    const auto mixed = static_cast<std::uint16_t>((blue << 8) | red);
    EXPECT_EQ(set.BackgroundColor(mixed, palette), QColor(0, 0, 255)) << "high byte gives the background";
    EXPECT_EQ(set.TextColor(mixed, palette), QColor(0, 255, 0)) << "low byte gives the text";
    EXPECT_EQ(set.BackgroundColor(0, palette), palette.color(QPalette::Base)) << "-1 is the theme colour";
    EXPECT_EQ(set.TextColor(0, palette), palette.color(QPalette::Text));
}

TEST(AnsiFont, CandidatesEndWithAFixedPitchFontAndHeightsAreClamped)
{
    AnsiTestView view(QStringLiteral("Fonts"));
    for (const auto& [height, face, clamped] :
         std::vector<std::tuple<int, QString, int>>{{12, QStringLiteral("DejaVu Sans Mono"), 12},
                                                    {2, QStringLiteral("DejaVu Sans Mono"), 6},
                                                    {400, QStringLiteral("DejaVu Sans Mono"), 48},
                                                    {14, QStringLiteral("No Such Face At All"), 14},
                                                    {14, QStringLiteral("DejaVu Sans"), 14}}) {
        SCOPED_TRACE(face.toStdString() + " " + std::to_string(height));
        view.SetFont(height, face);
        EXPECT_EQ(view.StyleSet().FontRecord().height, clamped);
        EXPECT_TRUE(QFontInfo(view.StyleSet().BaseFont()).fixedPitch()) << "proportional faces never count";
        EXPECT_EQ(view.CharWidth(),
                  QFontMetrics(view.StyleSet().BaseFont()).horizontalAdvance(QLatin1Char('0')));
        EXPECT_GE(view.CharHeight(), QFontMetrics(view.StyleSet().BaseFont()).height());
    }
}

// The tests see only their own font; this one loads every font file the machine has,
// one at a time, and checks that the cell holds each fixed-pitch face whole.
TEST(AnsiFont, EveryInstalledFixedPitchFaceFitsItsCell)
{
    AnsiTestView view(QStringLiteral("AllFonts"));
    int checked = 0;
    for (const QString& root :
         {QStringLiteral("/usr/share/fonts"), QStringLiteral("/usr/local/share/fonts")}) {
        QDirIterator files(root,
                           {QStringLiteral("*.ttf"), QStringLiteral("*.otf"), QStringLiteral("*.ttc"),
                            QStringLiteral("*.pfb"), QStringLiteral("*.t1")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            const int id = QFontDatabase::addApplicationFont(file);
            if (id < 0) continue;
            for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
                if (!QFontDatabase::isFixedPitch(family)) continue;
                for (const int height : {11, 14, 19, 26}) {
                    view.SetFont(height, family);
                    const QFont& font = view.StyleSet().BaseFont();
                    if (QFontInfo(font).family() != family) continue; // another face won the request
                    SCOPED_TRACE(file.toStdString() + " " + std::to_string(height));
                    const QFontMetrics metrics(font);
                    EXPECT_GE(view.CharHeight(), metrics.height());
                    EXPECT_GE(view.CharHeight(), metrics.lineSpacing());
                    EXPECT_EQ(view.CharWidth(), metrics.horizontalAdvance(QLatin1Char('0')));
                    ++checked;
                }
            }
            QFontDatabase::removeApplicationFont(id);
        }
    }
    EXPECT_GT(checked, 0) << "not even the test font was checked";
}

TEST(AnsiFont, RecordRoundTripsThroughItsStoredBytes)
{
    dualvex::AnsiFontRecord record;
    record.width = 0;
    record.height = 17;
    record.style = 8 | 1;
    record.face = QStringLiteral("A face name that is longer than thirty-one bytes");
    const QByteArray bytes = record.ToBytes();
    ASSERT_EQ(bytes.size(), 44);
    EXPECT_EQ(bytes[43], '\0') << "the face stays terminated";
    dualvex::AnsiFontRecord back;
    ASSERT_TRUE(back.FromBytes(bytes));
    EXPECT_EQ(back.height, 17);
    EXPECT_EQ(back.style, 9u);
    EXPECT_EQ(back.face, record.face.left(31));
    EXPECT_FALSE(back.FromBytes(QByteArray(43, 'x'))) << "a short value is refused";
    EXPECT_EQ(back.height, 17);
}
