#pragma once

#include <optional>
#include <string>
#include <vector>

class IPrompts;

// How one game file is handed to the viewer. A setting that names an
// existing executable file as a whole (as Browse writes it, even with blanks
// in its folders) is that program with no arguments of its own; any other
// setting is split into words as a POSIX shell splits them (quotes and
// backslashes), so a quoted program path keeps working and leading options
// stay options. The path follows as one more argument. Setting and path are
// bytes throughout: no shell ever sees them, and nothing is decoded, so a
// setting or path that is not UTF-8 reaches the program unchanged.
struct CViewerCommand
{
    std::string program;
    std::vector<std::string> arguments;
};

// The viewer to start for the stored setting. The default names a program of
// another platform; on Linux it stands for the desktop's own opener,
// xdg-open, which starts the program the desktop keeps for the file. Every
// other setting, and every setting elsewhere, is itself.
std::string ViewerToStart(const std::string& setting);

// Nothing when the setting splits into no words, or its first word is empty.
std::optional<CViewerCommand> BuildViewerCommand(const std::string& setting, const std::string& path);

// Whether bytes name an existing regular file this user may run.
bool IsRunnableFile(const std::string& bytes);

// Starts the viewer on path through the prompts seam; false when the setting
// is empty or the program did not start.
bool StartViewer(IPrompts& prompts, const std::string& setting, const std::string& path);
