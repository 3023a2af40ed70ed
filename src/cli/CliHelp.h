#pragma once

#include <optional>
#include <string>

// The help of varnex-cli: the synopsis of every command, then each command's
// part in full.
std::string WholeHelp();

// One command's part of the help, for "varnex-cli COMMAND --help"; nothing
// for a name that is no command.
std::optional<std::string> CommandHelp(const std::string& command);
