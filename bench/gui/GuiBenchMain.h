// The main of the GUI benchmarks: Qt's offscreen platform, the DejaVu mono face, and
// a settings folder of their own, since panes and dialogs save their settings when
// they go and must keep away from the user's.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFontDatabase>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

inline int RunGuiBenchmarks(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string dir = (std::filesystem::temp_directory_path() / "dualvex-bench-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return 2;
    setenv("DUALVEX_CONFIG_DIR", dir.c_str(), 1);
    {
        QApplication app(argc, argv);
        QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"));
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
