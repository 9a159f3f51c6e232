// Test entry point: every test process gets its own settings folder, so no test
// ever reads or writes the real user or machine settings.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

int main(int argc, char** argv)
{
    std::string dir = (std::filesystem::temp_directory_path() / "dualvex-test-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return 2;
    setenv("DUALVEX_CONFIG_DIR", dir.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return rc;
}
