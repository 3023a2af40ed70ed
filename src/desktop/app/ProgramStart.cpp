#include "desktop/app/ProgramStart.h"

#include "qtcore/ByteText.h"

#include <QProcess>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

// Whether Qt's file-name codec carries these bytes through a QString intact;
// bytes that are not valid UTF-8 do not survive it.
bool SurvivesQt(const std::string& bytes)
{
    return PathToBytes(BytesToPath(bytes)) == bytes;
}

#ifdef Q_OS_UNIX
// The start Qt would do (fork twice, so no child is left to reap; exec
// reports its failure through a pipe closed on exec), with the argument
// bytes as they are.
bool StartDetachedRaw(const std::string& program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv;
    argv.reserve(arguments.size() + 1);
    argv.push_back(program);
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return false;
    const pid_t middle = fork();
    if (middle < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (middle == 0) {
        close(fds[0]);
        setsid();
        const pid_t child = fork();
        if (child == 0) {
            execvp(pointers[0], pointers.data());
            const int error = errno;
            [[maybe_unused]] const ssize_t written = write(fds[1], &error, sizeof error);
            _exit(127);
        }
        if (child < 0) {
            const int error = errno;
            [[maybe_unused]] const ssize_t written = write(fds[1], &error, sizeof error);
        }
        _exit(0);
    }
    close(fds[1]);
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    // Nothing to read: exec closed the pipe, the program runs.
    int error = 0;
    ssize_t got = 0;
    do {
        got = read(fds[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(fds[0]);
    return got == 0;
}
#endif

} // namespace

bool StartDetachedProgram(const std::string& program, const std::vector<std::string>& arguments)
{
    if (program.empty())
        return false;
    bool viaQt = SurvivesQt(program);
    QStringList args;
    args.reserve(static_cast<qsizetype>(arguments.size()));
    for (const std::string& arg : arguments) {
        viaQt = viaQt && SurvivesQt(arg);
        args << BytesToPath(arg);
    }
#ifdef Q_OS_UNIX
    if (!viaQt)
        return StartDetachedRaw(program, arguments);
#endif
    return QProcess::startDetached(BytesToPath(program), args);
}
