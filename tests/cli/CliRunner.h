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
// configHome, and the cache folder into it, so the user's own settings and
// caches are never read or written. With stdoutTo, stdout goes to that file
// instead (such as /dev/full).
CCliResult RunCli(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                  const std::filesystem::path& configHome, const std::filesystem::path& cwd = {},
                  const std::string& stdoutTo = {});

// A run of varnex-cli that goes on while the test does other things: its
// output files are named by tag, so several runs can go at once.
struct CCliProcess
{
    int pid = -1;
    std::string outPath;
    std::string errPath;
    bool ownsOut = true;
};
CCliProcess StartCli(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     const std::filesystem::path& configHome, const std::string& tag = "cli",
                     const std::filesystem::path& cwd = {}, const std::string& stdoutTo = {});
// Waits for the run to end and gives what it wrote.
CCliResult FinishCli(const CCliProcess& process);
