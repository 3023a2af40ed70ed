#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

// The shared corpus of real game records, read in place: VARNEX_CORPUS_DIR,
// else ../shared/corpus beside the checkout. Empty where neither exists.
std::filesystem::path CorpusDir();
// The line a test prints when it needs the corpus and there is none.
std::string CorpusMissingMessage();
bool RunningUnderCi();

// A test that reads the corpus starts with this. Without a corpus it is
// skipped, except under CI, which must never pass by skipping.
#define VARNEX_REQUIRE_CORPUS()                                                                                        \
    do {                                                                                                               \
        if (CorpusDir().empty()) {                                                                                     \
            if (RunningUnderCi())                                                                                      \
                FAIL() << CorpusMissingMessage();                                                                      \
            GTEST_SKIP() << CorpusMissingMessage();                                                                    \
        }                                                                                                              \
    } while (false)

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

// While it lives, files of this process cannot grow past bytes, as on a full
// disk: a write beyond fails with EFBIG (SIGXFSZ is ignored meanwhile).
class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(unsigned long bytes);
    ~CFileSizeLimit();
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    unsigned long m_oldSoft = 0;
    void (*m_oldHandler)(int) = nullptr;
};
