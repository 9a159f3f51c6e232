// Entry point of the gui tests: a QApplication on the offscreen platform, a private
// settings folder and a known fixed-pitch font, so cell sizes do not depend on the
// machine's font set-up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

int main(int argc, char** argv)
{
    std::string dir = (std::filesystem::temp_directory_path() / "dualvex-guitest-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return 2;
    setenv("DUALVEX_CONFIG_DIR", dir.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"));
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return rc;
}
