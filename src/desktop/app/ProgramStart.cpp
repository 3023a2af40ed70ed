#include "desktop/app/ProgramStart.h"

#include <QCoreApplication>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#else
#include "qtcore/ByteText.h"

#include <QProcess>
#include <QStringList>
#endif

namespace {

#ifdef Q_OS_UNIX
// How often the ends of running programs are looked for: a viewer that has
// ended waits at most this long as a zombie.
constexpr int kReapIntervalMs = 1000;

// The programs started and not yet reaped. Only the GUI thread touches it.
std::vector<pid_t>& Running()
{
    static std::vector<pid_t> running;
    return running;
}

bool& ReapTimerPending()
{
    static bool pending = false;
    return pending;
}

// False when there is no application to run the timer.
bool ScheduleReap()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (ReapTimerPending())
        return true;
    ReapTimerPending() = true;
    QTimer::singleShot(kReapIntervalMs, app, [] {
        ReapTimerPending() = false;
        if (ReapEndedPrograms() > 0)
            ScheduleReap();
    });
    return true;
}

// posix_spawnp shares our memory with the child until it execs, so starting
// costs the same whatever the size of this process; a fork would copy the
// page tables of a large collection for every start. glibc reports a failed
// exec (missing program, not executable, a folder) as the result, so 0 means
// the program really runs.
pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments)
{
    // posix_spawnp takes char* const[] but never writes through it.
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : arguments)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    // Its own session, so it outlives us and our terminal's signals; signals
    // we ignore or block are not passed on to it.
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0)
        return -1;
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setsigmask(&attr, &none);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        posix_spawnattr_destroy(&attr);
        return -1;
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // Files and sockets opened without close-on-exec stay ours.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
#endif

    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv.front(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    return error == 0 ? pid : -1;
}
#endif

} // namespace

bool StartDetachedProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    if (program.empty())
        return false;
#ifdef Q_OS_UNIX
    const pid_t pid = Spawn(program, arguments);
    if (pid < 0)
        return false;
    Running().push_back(pid);
    // The timer reaps, not every start: a start over a long selection would
    // otherwise look at every earlier one again.
    if (!ScheduleReap())
        ReapEndedPrograms();
    return true;
#else
    QStringList args;
    args.reserve(static_cast<qsizetype>(arguments.size()));
    for (const std::string& arg : arguments)
        args << BytesToPath(arg);
    return QProcess::startDetached(BytesToPath(program), args);
#endif
}

std::size_t ReapEndedPrograms()
{
#ifdef Q_OS_UNIX
    std::vector<pid_t>& running = Running();
    std::erase_if(running, [](pid_t pid) {
        int status = 0;
        const pid_t got = waitpid(pid, &status, WNOHANG);
        // ECHILD: it is no longer ours to wait for.
        return got == pid || (got < 0 && errno == ECHILD);
    });
    return running.size();
#else
    return 0;
#endif
}
