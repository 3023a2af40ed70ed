#include "ToolArgs.h"

#include <algorithm>
#include <cstdio>

std::optional<int> CheckToolArgs(int argc, char** argv, const char* usage,
                                 std::initializer_list<std::string_view> known)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s", usage);
            return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.size() > 1 && arg[0] == '-' && std::find(known.begin(), known.end(), arg) == known.end()) {
            std::fprintf(stderr, "unknown option %s\n%s", argv[i], usage);
            return 2;
        }
    }
    return std::nullopt;
}
