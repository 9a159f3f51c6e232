// A fixture whose tests each get a fresh, empty settings folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "TempDir.h"

namespace dualvex::test {

class ConfigDirTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (const char* old = std::getenv("DUALVEX_CONFIG_DIR")) m_oldDir = old;
        setenv("DUALVEX_CONFIG_DIR", m_dir.Path().c_str(), 1);
    }
    void TearDown() override
    {
        if (m_oldDir) {
            setenv("DUALVEX_CONFIG_DIR", m_oldDir->c_str(), 1);
        } else {
            unsetenv("DUALVEX_CONFIG_DIR");
        }
    }

    std::filesystem::path UserFile() const { return m_dir.Path() / "user.conf"; }
    std::filesystem::path MachineFile() const { return m_dir.Path() / "machine.conf"; }

    static std::string Slurp(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TempDir m_dir;

  private:
    std::optional<std::string> m_oldDir;
};

} // namespace dualvex::test
