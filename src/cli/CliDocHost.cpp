#include "cli/CliDocHost.h"

#include "cli/CliEscape.h"

#include <ostream>
#include <utility>

void CCliDocHost::ReportFileError(const std::string& path, const std::string& message)
{
    m_err << "varnex-cli: " << EscapeField(path) << ": " << message << '\n';
    m_reportedPath = path;
}

void CCliDocHost::ReportNotRead(const std::string& path, const std::string& reason)
{
    // A file error was named already; its reason is not said twice.
    m_reason = path == m_reportedPath ? std::string() : reason;
    m_reportedPath.clear();
}

std::string CCliDocHost::TakeReason()
{
    return std::exchange(m_reason, std::string());
}
