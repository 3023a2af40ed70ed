#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct CCliResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built varnex-cli with args in the folder cwd, its stdout and
// stderr caught in files under scratch. HOME and XDG_CONFIG_HOME point to
// configHome, so the user's own settings are never read or written. With
// stdoutTo, stdout goes to that file instead (such as /dev/full).
CCliResult RunCli(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                  const std::filesystem::path& configHome, const std::filesystem::path& cwd = {},
                  const std::string& stdoutTo = {});
