// Writes arbitrary bytes to a file and opens it as the program opens a
// collection, through the function that opens the file itself: the checks
// of the file's kind and size, the read, the parse, then every stored path
// read as a game file (relative ones from the file's folder). A collection
// that opens saves and opens again, at most as large.
#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"

#include "FuzzWorkFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

bool WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file = FuzzWorkFolder() + "/c.vnx";
    if (!WriteInput(file, data, size))
        std::abort();

    IDocHost host;
    CVarnexDoc doc(host);
    std::string error;
    if (LoadCollectionFile(doc, file, &error)) {
        const std::string again = FuzzWorkFolder() + "/again.vnx";
        if (!SaveCollectionFile(doc, again, &error))
            __builtin_trap();
        CVarnexDoc reopened(host);
        if (!LoadCollectionFile(reopened, again, &error) || reopened.m_mapFiles.size() > doc.m_mapFiles.size())
            __builtin_trap();
    } else if (error.empty()) {
        // A refusal always says why.
        __builtin_trap();
    }
    return 0;
}
