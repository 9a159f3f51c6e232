#include <cstdlib>
#include <gtest/gtest.h>
TEST(TestSetup, SettingsFolderIsPrivate)
{
    ASSERT_NE(std::getenv("DUALVEX_CONFIG_DIR"), nullptr);
}
