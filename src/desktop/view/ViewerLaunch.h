#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

class IPrompts;

// How one game file is handed to the viewer: the viewer setting is split into
// words as a shell splits them (double quotes group, so a quoted program path
// with blanks keeps working, and leading options stay options), and the path
// follows as one more argument, unchanged. No shell ever sees the path, so
// quotes, "$(...)" or a leading '-' in it cannot turn into commands.
struct CViewerCommand
{
    std::string program;
    std::vector<std::string> arguments;
};

// Nothing when the setting splits into no words.
std::optional<CViewerCommand> BuildViewerCommand(const QString& setting, const std::string& path);

// Starts the viewer on path through the prompts seam; false when the setting
// is empty or the program did not start.
bool StartViewer(IPrompts& prompts, const QString& setting, const std::string& path);
