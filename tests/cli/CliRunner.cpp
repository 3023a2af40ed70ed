#include "CliRunner.h"

#include "TestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace fs = std::filesystem;

CCliResult RunCli(const std::vector<std::string>& args, const fs::path& scratch, const fs::path& configHome,
                  const fs::path& cwd, const std::string& stdoutTo)
{
    return FinishCli(StartCli(args, scratch, configHome, "cli", cwd, stdoutTo));
}

CCliProcess StartCli(const std::vector<std::string>& args, const fs::path& scratch, const fs::path& configHome,
                     const std::string& tag, const fs::path& cwd, const std::string& stdoutTo)
{
    const std::string outPath = stdoutTo.empty() ? (scratch / (tag + "-stdout")).string() : stdoutTo;
    const std::string errPath = (scratch / (tag + "-stderr")).string();

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string item(*e);
        if (item.rfind("HOME=", 0) != 0 && item.rfind("XDG_CONFIG_HOME=", 0) != 0 &&
            item.rfind("XDG_CACHE_HOME=", 0) != 0)
            env.push_back(item);
    }
    env.push_back("HOME=" + configHome.string());
    env.push_back("XDG_CONFIG_HOME=" + configHome.string());
    env.push_back("XDG_CACHE_HOME=" + (configHome / "cache").string());

    std::vector<std::string> argStrings{VARNEX_CLI_PATH};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(),
                                     stdoutTo.empty() ? O_WRONLY | O_CREAT | O_TRUNC : O_WRONLY, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string cwdString = cwd.string();
    if (!cwdString.empty())
        posix_spawn_file_actions_addchdir_np(&actions, cwdString.c_str());

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, VARNEX_CLI_PATH, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error(std::string("cannot start varnex-cli: ") + std::strerror(spawned));
    return {pid, outPath, errPath, stdoutTo.empty()};
}

CCliResult FinishCli(const CCliProcess& process)
{
    const pid_t pid = process.pid;
    const std::string& outPath = process.outPath;
    const std::string& errPath = process.errPath;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("waitpid failed");
    }
    CCliResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    // A stdout given by the test (such as /dev/full) is neither read nor removed.
    if (process.ownsOut) {
        result.out = ReadFileBytes(outPath);
        fs::remove(outPath);
    }
    result.err = ReadFileBytes(errPath);
    fs::remove(errPath);
    return result;
}
