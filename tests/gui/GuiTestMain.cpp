// Entry point of the gui tests: a QApplication on the offscreen platform, a private
// settings folder and a known fixed-pitch font, so cell sizes do not depend on the
// machine's font set-up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

constexpr const char* kTestFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr const char* kTestFontFamily = "DejaVu Sans Mono";

// Cell sizes and many expected values follow from this font; with another one the
// tests would fail far from the cause, or pass by luck, so a missing font stops the run.
bool LoadTestFont()
{
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(kTestFontFile));
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.contains(QString::fromUtf8(kTestFontFamily))) return true;
    std::fprintf(stderr,
                 "gui tests: the test font \"%s\" did not load from %s (Debian package fonts-dejavu-core); "
                 "stopping instead of measuring cells in another font\n",
                 kTestFontFamily, kTestFontFile);
    return false;
}

} // namespace

// Fontconfig sees only the test font's folder (with the usual substitution rules), so a
// face name like "Courier" resolves the same on every machine, whatever fonts it has.
bool UsePrivateFontConfig(const std::string& dir)
{
    const std::string path = dir + "/fonts.conf";
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    std::fprintf(file,
                 "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
                 "  <dir>%s</dir>\n  <cachedir>%s/fontcache</cachedir>\n"
                 "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n</fontconfig>\n",
                 std::filesystem::path(kTestFontFile).parent_path().c_str(), dir.c_str());
    const bool written = std::fclose(file) == 0;
    return written && setenv("FONTCONFIG_FILE", path.c_str(), 1) == 0;
}

int main(int argc, char** argv)
{
    std::string dir = (std::filesystem::temp_directory_path() / "dualvex-guitest-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return 2;
    setenv("DUALVEX_CONFIG_DIR", dir.c_str(), 1);
    if (!UsePrivateFontConfig(dir)) {
        std::fprintf(stderr, "gui tests: cannot write a private fontconfig file in %s\n", dir.c_str());
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    int rc = 2;
    if (LoadTestFont()) {
        ::testing::InitGoogleTest(&argc, argv);
        rc = RUN_ALL_TESTS();
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return rc;
}
