#pragma once

#include "collection/ReadHooks.h"

#include <optional>
#include <string>
#include <vector>

// The platform services the document uses beyond reading files: the
// add-files dialog and the wait cursor. The desktop program shows the real
// dialog; tests and the command-line tool answer themselves.
class IDocHost : public IReadHooks
{
public:
    // The add-files dialog: full paths in the order the dialog lists them, or
    // nothing when the user cancelled or the dialog failed.
    virtual std::optional<std::vector<std::string>> AskGameFiles() { return std::nullopt; }
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};

IDocHost& DefaultDocHost();
