#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

// One folder of the run's own for the files a target writes, in memory where
// the system has a shared-memory folder (a target writes files every run),
// removed with all it holds when the run ends.
inline const std::string& FuzzWorkFolder()
{
    static const std::string folder = [] {
        for (std::string pattern : {"/dev/shm/varnex-fuzz-XXXXXX", "/tmp/varnex-fuzz-XXXXXX"}) {
            if (::mkdtemp(pattern.data()))
                return pattern;
        }
        std::abort();
    }();
    static const struct CRemove
    {
        ~CRemove()
        {
            std::error_code ec;
            std::filesystem::remove_all(folder, ec);
        }
    } remove;
    return folder;
}
