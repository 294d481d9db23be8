#pragma once
// Test helpers: a temporary folder that removes itself, and whole-file reads and writes.

#include <filesystem>
#include <string>

namespace kmr::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // With "/" between the folders on every system, as kmrc writes paths.
    std::string file(const std::string& name) const { return (m_path / name).generic_string(); }

private:
    std::filesystem::path m_path;
};

std::string readBytes(const std::filesystem::path& p);
void writeBytes(const std::filesystem::path& p, const std::string& bytes);

// Joins lines with CR LF after each one.
std::string crlf(std::initializer_list<const char*> lines);

}  // namespace kmr::test
