// "CRC-Summe berechnen" typed into as a user does: published check values of four
// CRC models, presets chosen by key, the formula field, the source area and its text
// compiled by a C compiler, the remembered settings, and the worker for large data.
#include "DialogTestSupport.h"
#include "HexViewTestSupport.h"

#include "gui/tools/CrcDialog.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fstream>
#include <random>
#include <string>
#include <vector>

using dualvex::BackgroundJob;
using dualvex::CrcDialog;
using dualvex::test::Base;
using dualvex::test::ClearStoredSettings;
using dualvex::test::ClickBox;
using dualvex::test::Control;
using dualvex::test::ShowActive;
using dualvex::test::TypeInto;

namespace {

const std::string kCheckText = "123456789";

const std::uint8_t* CheckBytes()
{
    return reinterpret_cast<const std::uint8_t*>(kCheckText.data());
}

QString FieldText(const QWidget& dialog, int id)
{
    return Control<QLineEdit>(dialog, id)->text();
}

QComboBox* Combo(const QWidget& dialog, int id)
{
    return Control<QComboBox>(dialog, id);
}

struct CheckCase {
    const char* name;
    const char* width; // typed into the width field first ("" leaves it)
    int polynomField;  // 1134 reflected, 1135 normal, 1055 formula
    const char* polynomial;
    const char* start;
    bool invert;
    int resultField;
    const char* expected;
};

// Check values over "123456789" as published in the catalogue of parametrised CRC
// models: ISO-HDLC and ARC are reflected (algorithm A), SMBUS and MPEG-2 are not
// (algorithm B).
TEST(CrcDialogTest, TypedParametersGiveThePublishedCheckValues)
{
    const CheckCase cases[] = {
        {"CRC-32/ISO-HDLC", "32", 1134, "0xEDB88320", "0xFFFFFFFF", true, 1075, "0xCBF43926"},
        {"CRC-16/ARC", "16", 1134, "0xA001", "0", false, 1075, "0xBB3D"},
        {"CRC-8/SMBUS", "", 1055, "x^8+x^2+x+1", "0", false, 1106, "0xF4"},
        {"CRC-32/MPEG-2", "32", 1135, "0x04C11DB7", "0xFFFFFFFF", false, 1106, "0x0376E6E7"},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClearStoredSettings();
        CrcDialog dialog(CheckBytes(), kCheckText.size());
        ShowActive(dialog);
        if (*c.width != '\0') TypeInto(Combo(dialog, 1133), QString::fromLatin1(c.width));
        const QString polynomial = QString::fromLatin1(c.polynomial);
        if (c.polynomField == 1055) {
            TypeInto(Control<QLineEdit>(dialog, 1055), polynomial);
        } else {
            TypeInto(Combo(dialog, c.polynomField), polynomial);
        }
        TypeInto(Combo(dialog, 1136), QString::fromLatin1(c.start));
        QCheckBox* invert = Control<QCheckBox>(dialog, 1043);
        if (invert->isChecked() != c.invert) ClickBox(invert);
        EXPECT_EQ(FieldText(dialog, c.resultField), QString::fromLatin1(c.expected));
    }
}

TEST(CrcDialogTest, CheckValueAtEveryStartAndAfterInversion)
{
    ClearStoredSettings();
    CrcDialog dialog(CheckBytes(), kCheckText.size());
    ShowActive(dialog);
    // The defaults are CRC-32; without inversion the register holds the complement.
    EXPECT_EQ(Combo(dialog, 1042)->currentText(), QStringLiteral("CRC-32 (IEEE 802.3)"));
    EXPECT_EQ(FieldText(dialog, 1105), QStringLiteral("0x340BC6D9"));
    ClickBox(Control<QCheckBox>(dialog, 1043));
    EXPECT_EQ(FieldText(dialog, 1105), QStringLiteral("0xCBF43926"));
    EXPECT_EQ(FieldText(dialog, 1058), QStringLiteral("9 / 0x0009"));
}

TEST(CrcDialogTest, PresetsChosenByKeySetWidthAndPolynomials)
{
    ClearStoredSettings();
    CrcDialog dialog(CheckBytes(), kCheckText.size());
    ShowActive(dialog);
    QComboBox* preset = Combo(dialog, 1042);
    preset->setFocus();
    QTest::keyClick(preset, Qt::Key_Down); // row 17
    EXPECT_EQ(preset->currentText(), QStringLiteral("CRC-64 (ISO 3309)"));
    EXPECT_EQ(Combo(dialog, 1133)->currentText(), QStringLiteral("64-Bit"));
    EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0xD800000000000000"));
    EXPECT_EQ(Combo(dialog, 1135)->currentText(), QStringLiteral("0x000000000000001B"));
    EXPECT_EQ(Control<QLineEdit>(dialog, 1055)->text(), QStringLiteral("x^64 + x^4 + x^3 + x + 1"));
    // "Frei definiert" changes nothing.
    QTest::keyClick(preset, Qt::Key_Home);
    EXPECT_EQ(preset->currentIndex(), 0);
    EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0xD800000000000000"));
}

TEST(CrcDialogTest, FormulaSetsThePolynomialAndTurnsRedWhenUnreadable)
{
    ClearStoredSettings();
    CrcDialog dialog(CheckBytes(), kCheckText.size());
    ShowActive(dialog);
    QLineEdit* formula = Control<QLineEdit>(dialog, 1055);
    TypeInto(formula, QStringLiteral("x^16+x^12+x^5+1"), false);
    EXPECT_EQ(Combo(dialog, 1133)->currentText(), QStringLiteral("16-Bit"));
    EXPECT_EQ(Combo(dialog, 1135)->currentText(), QStringLiteral("0x1021"));
    EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0x8408"));
    EXPECT_EQ(Combo(dialog, 1042)->currentIndex(), 10);

    // Every keystroke applies the formula; the last one makes it unreadable.
    QTest::keyClicks(formula, QStringLiteral(" + y"));
    EXPECT_EQ(Base(formula), QColor(255, 128, 128));
    EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0x8408"));
    // Leaving the field writes the formula of the polynomial again, in normal colours.
    QTest::keyClick(formula, Qt::Key_Tab);
    EXPECT_EQ(formula->text(), QStringLiteral("x^16 + x^12 + x^5 + 1"));
    EXPECT_NE(Base(formula), QColor(255, 128, 128));
}

TEST(CrcDialogTest, TypedDigitsComeBackWhenTheWidthGrowsAgain)
{
    ClearStoredSettings();
    CrcDialog dialog(CheckBytes(), kCheckText.size());
    ShowActive(dialog);
    TypeInto(Combo(dialog, 1133), QStringLiteral("16"));
    TypeInto(Combo(dialog, 1134), QStringLiteral("0x12345"));
    EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0x2345"));
    TypeInto(Combo(dialog, 1133), QStringLiteral("24"));
    EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0x012345"));
    TypeInto(Combo(dialog, 1133), QStringLiteral("16"));
    EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0x2345"));
}

TEST(CrcDialogTest, SourceAreaOpensWithAnAlgorithmAndClosesWithout)
{
    ClearStoredSettings();
    CrcDialog dialog(CheckBytes(), kCheckText.size());
    ShowActive(dialog);
    auto* source = Control<QPlainTextEdit>(dialog, 1059);
    EXPECT_FALSE(source->isVisible());
    const int shortHeight = dialog.height();
    QComboBox* algorithm = Combo(dialog, 1137);
    algorithm->setFocus();
    QTest::keyClick(algorithm, Qt::Key_Down);
    EXPECT_EQ(algorithm->currentText(), QStringLiteral("Algo. A"));
    EXPECT_TRUE(source->isVisible());
    EXPECT_GT(dialog.height(), shortHeight);
    EXPECT_TRUE(source->toPlainText().startsWith(QStringLiteral("typedef unsigned int CrcType;")));
    EXPECT_TRUE(source->toPlainText().contains(QStringLiteral("#define     POLYNOM 0xEDB88320")));
    QTest::keyClick(algorithm, Qt::Key_Up);
    EXPECT_FALSE(source->isVisible());
    EXPECT_EQ(dialog.height(), shortHeight);
    EXPECT_TRUE(source->toPlainText().isEmpty());
}

bool HaveCompiler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("cc")).isEmpty();
}

// Runs CrcCalc over "123456789", then rebuilds the table with CrcGenerateTable and runs
// it again; prints both values and whether the rebuilt table is the shown one.
std::string MainFor(const QString& source)
{
    return source.toStdString() +
           "\n#include <stdio.h>\n#include <string.h>\nint main(void)\n{\n"
           "    const char* d = \"123456789\";\n"
           "    unsigned long long before = (unsigned long long)CrcCalc(d, 9);\n"
           "    CrcType saved[256];\n    memcpy(saved, aCrcTable, sizeof saved);\n"
           "    memset(aCrcTable, 0, sizeof aCrcTable);\n    CrcGenerateTable();\n"
           "    unsigned long long after = (unsigned long long)CrcCalc(d, 9);\n"
           "    printf(\"%llX %llX %d\\n\", before, after, memcmp(saved, aCrcTable, sizeof saved) == 0);\n"
           "    return 0;\n}\n";
}

struct SourceCase {
    int algorithmRow; // 1 A, 2 B, 3 C
    const char* width;
    const char* reflected;
    const char* start;
    int resultField; // "Ergebnis" of that algorithm, from the start value
};

// The generated text, compiled and run, computes what the dialog shows and rebuilds
// the table it lists, also for algorithm B above 32 bits, whose table builder needs
// the register's width for the input byte it shifts up.
TEST(CrcDialogTest, GeneratedSourceCompilesAndComputesTheShownValue)
{
    if (!HaveCompiler()) GTEST_SKIP() << "no C compiler (cc) on this machine";
    const SourceCase cases[] = {
        {1, "32", "0xEDB88320", "0xFFFFFFFF", 1075},
        {2, "40", "0x9A6C9329AC", "0x123456789A", 1106},
        {2, "64", "0xC96C5795D7870F42", "0xFFFFFFFFFFFFFFFF", 1106},
        {2, "12", "0xF01", "0", 1106},
        {3, "16", "0x8408", "0xFFFF", 1062},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(std::string("width ") + c.width + ", algorithm row " + std::to_string(c.algorithmRow));
        ClearStoredSettings();
        CrcDialog dialog(CheckBytes(), kCheckText.size());
        ShowActive(dialog);
        TypeInto(Combo(dialog, 1133), QString::fromLatin1(c.width));
        TypeInto(Combo(dialog, 1134), QString::fromLatin1(c.reflected));
        TypeInto(Combo(dialog, 1136), QString::fromLatin1(c.start));
        QComboBox* algorithm = Combo(dialog, 1137);
        algorithm->setFocus();
        for (int i = 0; i < c.algorithmRow; ++i) QTest::keyClick(algorithm, Qt::Key_Down);
        const QString source = Control<QPlainTextEdit>(dialog, 1059)->toPlainText();
        ASSERT_FALSE(source.isEmpty());

        const QString file = dir.filePath(QStringLiteral("crc.c"));
        const QString program = dir.filePath(QStringLiteral("crc"));
        std::ofstream(file.toStdString()) << MainFor(source);
        QProcess cc;
        cc.start(QStringLiteral("cc"), {QStringLiteral("-std=c99"), QStringLiteral("-o"), program, file});
        ASSERT_TRUE(cc.waitForFinished(120000));
        ASSERT_EQ(cc.exitCode(), 0) << cc.readAllStandardError().toStdString();
        QProcess run;
        run.start(program, {});
        ASSERT_TRUE(run.waitForFinished(30000));
        const QStringList out = QString::fromLatin1(run.readAllStandardOutput()).split(QLatin1Char(' '));
        ASSERT_EQ(out.size(), 3);
        const QString shown = FieldText(dialog, c.resultField);
        bool ok = false;
        const qulonglong expected = shown.mid(2).toULongLong(&ok, 16);
        ASSERT_TRUE(ok) << shown.toStdString();
        EXPECT_EQ(out[0].toULongLong(nullptr, 16), expected);
        EXPECT_EQ(out[1].toULongLong(nullptr, 16), expected);
        EXPECT_EQ(out[2].trimmed(), QStringLiteral("1"));
    }
}

TEST(CrcDialogTest, OkRemembersTheFieldsAndHistoriesCancelDoesNot)
{
    ClearStoredSettings();
    {
        CrcDialog dialog(CheckBytes(), kCheckText.size());
        ShowActive(dialog);
        TypeInto(Combo(dialog, 1133), QStringLiteral("16"));
        TypeInto(Combo(dialog, 1134), QStringLiteral("0xA001"));
        TypeInto(Combo(dialog, 1136), QStringLiteral("0"));
        QTest::mouseClick(Control<QPushButton>(dialog, 1), Qt::LeftButton);
    }
    {
        CrcDialog dialog(CheckBytes(), kCheckText.size());
        EXPECT_EQ(Combo(dialog, 1133)->currentText(), QStringLiteral("16-Bit"));
        EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0xA001"));
        EXPECT_EQ(Combo(dialog, 1136)->currentText(), QStringLiteral("0x0000"));
        EXPECT_EQ(FieldText(dialog, 1077), QStringLiteral("0xBB3D"));
        ASSERT_GE(Combo(dialog, 1134)->count(), 1);
        EXPECT_EQ(Combo(dialog, 1134)->itemText(0), QStringLiteral("0xA001"));
        ShowActive(dialog);
        TypeInto(Combo(dialog, 1134), QStringLiteral("0x8408"));
        QTest::mouseClick(Control<QPushButton>(dialog, 2), Qt::LeftButton);
    }
    CrcDialog dialog(CheckBytes(), kCheckText.size());
    EXPECT_EQ(Combo(dialog, 1134)->currentText(), QStringLiteral("0xA001"));
    ClearStoredSettings();
}

TEST(CrcDialogTest, ParametersFromTheCallerReplaceTheStoredOnes)
{
    ClearStoredSettings();
    CrcDialog dialog(CheckBytes(), kCheckText.size(), nullptr, dualvex::CrcDialogParameters{16, 0xA001, 0});
    EXPECT_EQ(Combo(dialog, 1133)->currentText(), QStringLiteral("16-Bit"));
    EXPECT_EQ(FieldText(dialog, 1075), QStringLiteral("0xBB3D"));
}

QStringList Results(const CrcDialog& dialog)
{
    QStringList texts;
    for (const auto& field : dualvex::kCrcResultFields) texts << FieldText(dialog, field.id);
    return texts;
}

// The same data on the UI thread and on the worker, before and after a change.
TEST(CrcDialogTest, TheWorkerGivesWhatTheUiThreadGives)
{
    ClearStoredSettings();
    std::mt19937 rng(42);
    std::vector<std::uint8_t> data(2 * dualvex::kWorkChunkBytes + 5);
    for (std::uint8_t& b : data) b = static_cast<std::uint8_t>(rng());
    CrcDialog direct(data.data(), data.size());
    CrcDialog worker(data.data(), data.size(), nullptr, std::nullopt, 1);
    QSignalSpy finished(&worker.Job(), &BackgroundJob::finished);
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_EQ(Results(worker), Results(direct));

    ShowActive(direct);
    TypeInto(Combo(direct, 1133), QStringLiteral("64"));
    ShowActive(worker);
    TypeInto(Combo(worker, 1133), QStringLiteral("64"));
    if (worker.Job().IsRunning()) {
        ASSERT_TRUE(finished.wait(60000));
    }
    EXPECT_FALSE(worker.Job().IsRunning());
    EXPECT_EQ(Results(worker), Results(direct));
}

} // namespace
