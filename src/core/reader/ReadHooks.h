#pragma once

#include <cstdint>
#include <string>

// No real record comes near this: a root node of a text record, or a whole
// binary record, larger than it makes the file fail instead of filling the
// memory (a value that never closes, a file of junk).
inline constexpr std::uint64_t kMaxRecordBytes = std::uint64_t{64} << 20;

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
    // A game file was not read, and why: the system's text when it could not
    // be opened or read, else what was wrong with its bytes. The desktop
    // program passes over such files in silence; the command-line tool names
    // the reason.
    virtual void ReportNotRead(const std::string& path, const std::string& reason)
    {
        (void)path;
        (void)reason;
    }
    // The largest record read (see kMaxRecordBytes); tests make it small.
    virtual std::uint64_t MaxRecordBytes() const { return kMaxRecordBytes; }
};

// The do-nothing hooks, shared.
IReadHooks& DefaultReadHooks();
