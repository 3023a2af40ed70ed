#pragma once

#include "collection/DocHost.h"

#include <iosfwd>

// The document's host for the command-line tool: there are no events to
// pump and no dialogs; file errors of the binary reader go to the error
// stream instead of a message box.
class CCliDocHost : public IDocHost
{
public:
    explicit CCliDocHost(std::ostream& err) : m_err(err) {}

    void ReportFileError(const std::string& path, const std::string& message) override;

private:
    std::ostream& m_err;
};
