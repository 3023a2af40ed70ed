// varnex-sample FOLDER: writes the sample games and FOLDER/sample.vnx, the
// collection that make run opens.
#include "ToolArgs.h"
#include "sample/SampleCollection.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (const auto status = CheckToolArgs(argc, argv, "usage: varnex-sample FOLDER\n"))
        return *status;
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnex-sample FOLDER\n");
        return 2;
    }
    CSampleCounts counts;
    std::string error;
    if (!WriteSampleCollection(argv[1], counts, error)) {
        std::fprintf(stderr, "varnex-sample: %s\n", error.c_str());
        return 1;
    }
    std::printf("sample: %d game files (%d marked viewed) in %s/sample.vnx\n", counts.games, counts.viewed, argv[1]);
    return 0;
}
