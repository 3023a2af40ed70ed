#pragma once

#include "reader/ReadHooks.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What one batch of additions did, for the status line.
struct SAddSummary
{
    long long added = 0;
    long long alreadyPresent = 0;
    // Files that could not be read, and folders that could not be listed.
    long long unreadable = 0;
    // Files taken in hand, of the total the batch found.
    std::size_t done = 0;
    std::size_t total = 0;
    bool stopped = false;
};

// The platform services the document uses beyond reading files: the
// add-files dialog and the wait cursor. The desktop program shows the real
// dialog; tests and the command-line tool answer themselves.
class IDocHost : public IReadHooks
{
public:
    // The add-files dialog: full paths in the order the dialog lists them, or
    // nothing when the user cancelled or the dialog failed.
    virtual std::optional<std::vector<std::string>> AskGameFiles() { return std::nullopt; }
    // The add-folder dialog: the chosen folder, or nothing when cancelled.
    virtual std::optional<std::string> AskGameFolder() { return std::nullopt; }
    // Between steps of a folder walk, with the files found so far: the
    // desktop program lets its events run, so the window stays alive.
    virtual void WalkProgress(std::size_t found) { (void)found; }
    // A batch of total files is about to be read; its end is hintBatchDone.
    virtual void BatchStarting(std::size_t total) { (void)total; }
    // After hintBatchDone of a batch of AddBatch.
    virtual void BatchEnded(const SAddSummary& summary) { (void)summary; }
    // Whether the user asked to stop the batch; checked after every file.
    virtual bool StopRequested() { return false; }
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};

IDocHost& DefaultDocHost();
