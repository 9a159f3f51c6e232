#include <gtest/gtest.h>
#include <cstdlib>
TEST(TestSetup, SettingsFolderIsPrivate) { ASSERT_NE(std::getenv("DUALVEX_CONFIG_DIR"), nullptr); }
