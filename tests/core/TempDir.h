// A temporary folder that lives as long as the object.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace dualvex::test {

class TempDir {
  public:
    TempDir()
    {
        std::string dir = (std::filesystem::temp_directory_path() / "dualvex-tmp-XXXXXX").string();
        if (mkdtemp(dir.data()) != nullptr) m_path = dir;
    }
    ~TempDir()
    {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Writes a file below the folder and returns its full path.
    std::string Write(const std::string& name, std::string_view content) const
    {
        const auto p = m_path / name;
        std::ofstream(p, std::ios::binary)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
        return p.string();
    }

  private:
    std::filesystem::path m_path;
};

} // namespace dualvex::test
