#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>

// The command line of a tool that writes or measures (the benchmarks, the
// sample writer). "--help" or "-h" prints usage on stdout; an option the tool
// does not take (in known) is refused with usage on stderr, so that a
// mistyped option never becomes the name of a folder to fill. The status to
// end with, or nothing when the tool goes on.
std::optional<int> CheckToolArgs(int argc, char** argv, const char* usage,
                                 std::initializer_list<std::string_view> known = {});
