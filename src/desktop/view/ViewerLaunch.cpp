#include "desktop/view/ViewerLaunch.h"

#include "desktop/app/Prompts.h"
#include "report/ShellWords.h"
#include "settings/Settings.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#else
#include "qtcore/ByteText.h"

#include <QFileInfo>
#endif

namespace {

// Only a setting that is a path is taken whole: a bare name is looked for
// along PATH by the start, never in the working folder, so a file of that
// name there says nothing about what would start.
bool LooksLikePath(const std::string& setting)
{
#ifdef Q_OS_WIN
    return setting.find_first_of("/\\") != std::string::npos;
#else
    return setting.find('/') != std::string::npos;
#endif
}

} // namespace

bool IsRunnableFile(const std::string& bytes)
{
    if (bytes.empty())
        return false;
#ifdef Q_OS_UNIX
    struct stat info = {};
    return ::stat(bytes.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(bytes.c_str(), X_OK) == 0;
#else
    const QFileInfo info(BytesToPath(bytes));
    return info.isFile() && info.isExecutable();
#endif
}

std::string ViewerToStart(const std::string& setting)
{
#ifdef Q_OS_LINUX
    // The Options sheet writes the default back as it shows it, so a stored
    // default means the same as a missing setting.
    if (setting == settings::kViewer.fallback)
        return "xdg-open";
#endif
    return setting;
}

std::optional<CViewerCommand> BuildViewerCommand(const std::string& setting, const std::string& path)
{
    CViewerCommand command;
    if (LooksLikePath(setting) && IsRunnableFile(setting)) {
        command.program = setting;
    } else {
        std::vector<std::string> words = SplitShellWords(setting);
        if (words.empty() || words.front().empty())
            return std::nullopt;
        command.program = std::move(words.front());
        command.arguments.assign(std::make_move_iterator(words.begin() + 1), std::make_move_iterator(words.end()));
    }
    command.arguments.push_back(path);
    return command;
}

bool StartViewer(IPrompts& prompts, const std::string& setting, const std::string& path)
{
    const std::optional<CViewerCommand> command = BuildViewerCommand(setting, path);
    if (!command)
        return false;
    return prompts.StartDetached(command->program, command->arguments);
}
