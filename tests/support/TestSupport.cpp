#include "TestSupport.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include <sys/resource.h>
#include <unistd.h>

std::filesystem::path CorpusDir()
{
    static const std::filesystem::path found = [] {
        std::error_code ec;
        std::filesystem::path candidate;
        if (const char* env = std::getenv("VARNEX_CORPUS_DIR"); env && *env)
            candidate = env;
        else
            candidate = std::filesystem::path(VARNEX_SOURCE_DIR) / ".." / "shared" / "corpus";
        if (!std::filesystem::is_directory(candidate, ec))
            return std::filesystem::path();
        // Tests compare it with paths the system gives back, so no "..".
        return std::filesystem::canonical(candidate, ec);
    }();
    return found;
}

std::string CorpusMissingMessage()
{
    return "no corpus of game records: put it at ../shared/corpus beside the checkout or set VARNEX_CORPUS_DIR";
}

bool RunningUnderCi()
{
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

CTempDir::CTempDir()
{
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() / ("varnex-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

CTempDir::~CTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string CTempDir::Write(std::string_view name, std::string_view bytes) const
{
    const auto full = m_path / std::string(name);
    std::filesystem::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full.string();
}

std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

CFileSizeLimit::CFileSizeLimit(unsigned long bytes)
{
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_oldSoft = limit.rlim_cur;
    // Only the soft limit moves, so it can be raised again.
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot set the file size limit");
}

CFileSizeLimit::~CFileSizeLimit()
{
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_oldSoft;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_oldHandler);
}

CUnprivileged::CUnprivileged()
{
    if (::geteuid() != 0)
        return;
    constexpr uid_t kNobody = 65534;
    if (::setegid(kNobody) != 0 || ::seteuid(kNobody) != 0) {
        m_problem = std::string("running as root, and cannot act as user nobody: ") + std::strerror(errno);
        if (::setegid(0) != 0)
            m_problem += " (group not restored)";
        return;
    }
    m_switched = true;
}

CUnprivileged::~CUnprivileged()
{
    if (m_switched && (::seteuid(0) != 0 || ::setegid(0) != 0))
        std::abort(); // every later test would run with the wrong rights
}
