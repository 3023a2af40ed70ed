#pragma once

#include "collection/DocHost.h"

#include <iosfwd>
#include <string>

// The document's host for the command-line tool: there are no events to
// pump and no dialogs; file errors of the binary reader go to the error
// stream instead of a message box, and the reason a game file was not read
// is kept for the command to name.
class CCliDocHost : public IDocHost
{
public:
    explicit CCliDocHost(std::ostream& err) : m_err(err) {}

    void ReportFileError(const std::string& path, const std::string& message) override;
    void ReportNotRead(const std::string& path, const std::string& reason) override;

    // Why the last file was not read, or empty when that was said on the
    // error stream already (a file error) or nothing failed; forgets it.
    std::string TakeReason();

private:
    std::ostream& m_err;
    std::string m_reason;
    std::string m_reportedPath;
};
