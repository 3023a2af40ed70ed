#include "desktop/view/ViewerLaunch.h"

#include "desktop/app/Prompts.h"
#include "qtcore/ByteText.h"

#include <QProcess>

std::optional<CViewerCommand> BuildViewerCommand(const QString& setting, const std::string& path)
{
    const QStringList words = QProcess::splitCommand(setting);
    if (words.isEmpty() || words.front().isEmpty())
        return std::nullopt;
    CViewerCommand command;
    command.program = PathToBytes(words.front());
    for (qsizetype i = 1; i < words.size(); ++i)
        command.arguments.push_back(PathToBytes(words[i]));
    command.arguments.push_back(path);
    return command;
}

bool StartViewer(IPrompts& prompts, const QString& setting, const std::string& path)
{
    const std::optional<CViewerCommand> command = BuildViewerCommand(setting, path);
    if (!command)
        return false;
    return prompts.StartDetached(command->program, command->arguments);
}
