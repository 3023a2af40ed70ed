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

// A file of mode 0000 is still readable to root. While this object lives, a
// test run as root acts as the unprivileged user "nobody" (effective ids
// only, so the destructor can switch back); for any other user it changes
// nothing. When root cannot switch, Active() is false and Problem() says why.
class CUnprivileged
{
public:
    CUnprivileged();
    ~CUnprivileged();
    CUnprivileged(const CUnprivileged&) = delete;
    CUnprivileged& operator=(const CUnprivileged&) = delete;

    bool Active() const { return m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }

private:
    bool m_switched = false;
    std::string m_problem;
};
