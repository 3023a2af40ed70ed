#include "cli/CliDocHost.h"

#include "cli/CliEscape.h"

#include <ostream>

void CCliDocHost::ReportFileError(const std::string& path, const std::string& message)
{
    m_err << "varnex-cli: " << EscapeField(path) << ": " << message << '\n';
}
