#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The shared corpus of real game records, read in place.
std::filesystem::path CorpusDir();

// A fresh directory under the system's temporary folder, removed with the object.
class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Writes bytes to name inside the directory and returns the full path.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
};

std::string ReadFileBytes(const std::filesystem::path& path);
