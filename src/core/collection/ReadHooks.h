#pragma once

#include <string>

// What the game record reader needs from the program around it. The core's
// default does nothing: no events to pump, no one to tell about file errors.
// The desktop program pumps its event loop and runs idle work before each
// file, and shows file errors in a message box.
class IReadHooks
{
public:
    virtual ~IReadHooks() = default;

    // Called once before each game file is read.
    virtual void BeforeRead() {}
    // A binary record could not be opened again, read or positioned.
    virtual void ReportFileError(const std::string& path, const std::string& message)
    {
        (void)path;
        (void)message;
    }
};

// The do-nothing hooks, shared.
IReadHooks& DefaultReadHooks();
