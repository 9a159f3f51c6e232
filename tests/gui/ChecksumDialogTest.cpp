// "Checksumme": the nine fields, the byte order box clicked by the user, a worker that
// gives what the UI thread gives, and the remembered position.
#include "DialogTestSupport.h"

#include "gui/tools/ChecksumDialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>

#include <vector>

using dualvex::BackgroundJob;
using dualvex::ChecksumDialog;
using dualvex::test::Base;
using dualvex::test::ClickBox;
using dualvex::test::Control;
using dualvex::test::Texts;

namespace {

constexpr int kFieldIds[9] = {1055, 1105, 1057, 1075, 1106, 1062, 1077, 1107, 1063};

QStringList Fields(const ChecksumDialog& dialog)
{
    QStringList texts;
    for (int id : kFieldIds) texts << Control<QLineEdit>(dialog, id)->text();
    return texts;
}

TEST(ChecksumDialogTest, ShowsTheSumsAndTheBigEndianBoxSwitchesTheWordRows)
{
    const std::vector<std::uint8_t> bytes = {0x01, 0x02, 0x03};
    ChecksumDialog dialog(bytes);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Checksumme"));
    QCheckBox* big = Control<QCheckBox>(dialog, 1043);
    EXPECT_EQ(big->text(), QStringLiteral("Big Endian"));
    EXPECT_FALSE(big->isChecked());
    // Words 0x0201 and 0x0003, double word 0x00030201 (the partial values padded with zeros).
    EXPECT_EQ(Fields(dialog), (Texts({"0x00000006", "0xFFFFFFFA", "0x00000000", "0x00000204", "0xFFFFFDFC",
                                      "0x00000202", "0x00030201", "0xFFFCFDFF", "0x00030201"})));
    ClickBox(big);
    EXPECT_EQ(Fields(dialog), (Texts({"0x00000006", "0xFFFFFFFA", "0x00000000", "0x00000402", "0xFFFFFBFE",
                                      "0x00000202", "0x01020300", "0xFEFDFD00", "0x01020300"})));
    EXPECT_EQ(Base(Control<QLineEdit>(dialog, 1063)), QColor(255, 255, 155));
}

TEST(ChecksumDialogTest, EmptyInputGivesZeros)
{
    ChecksumDialog dialog({});
    for (const QString& text : Fields(dialog)) EXPECT_EQ(text, QStringLiteral("0x00000000"));
}

TEST(ChecksumDialogTest, TheWorkerGivesWhatTheUiThreadGives)
{
    std::vector<std::uint8_t> bytes(3 * dualvex::kWorkChunkBytes + 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + (i >> 11));
    ChecksumDialog direct(bytes);
    ChecksumDialog worker(bytes, nullptr, 1);
    QSignalSpy finished(&worker.Job(), &BackgroundJob::finished);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_TRUE(worker.HasSums());
    EXPECT_EQ(Fields(worker), Fields(direct));
    ClickBox(Control<QCheckBox>(worker, 1043));
    ClickBox(Control<QCheckBox>(direct, 1043));
    EXPECT_EQ(Fields(worker), Fields(direct));
}

TEST(ChecksumDialogTest, ReopensWhereItWasClosedWhileThatPlaceFits)
{
    {
        ChecksumDialog dialog({});
        dialog.show();
        dialog.move(30, 40);
        QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
    }
    EXPECT_EQ(ChecksumDialog::RememberedPosition(), QPoint(30, 40));
    {
        ChecksumDialog dialog({});
        EXPECT_EQ(dialog.pos(), QPoint(30, 40));
        dialog.show();
        dialog.move(-400, 40);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }
    ChecksumDialog dialog({});
    EXPECT_NE(dialog.pos(), QPoint(-400, 40));
}

} // namespace
