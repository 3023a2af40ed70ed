// The game file reader as the program calls it: each input is written to a
// file and read back through ReadGameFile, so the descriptor reads, the
// choice of form, the text stream's chunks and look-back and the limits
// are all driven, not only the in-memory walks.
#include "reader/GameReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

// One scratch file for the life of the process, removed at exit.
struct CScratchFile
{
    CScratchFile()
    {
        const char* dir = std::getenv("TMPDIR");
        path = std::string(dir && *dir ? dir : "/tmp") + "/varnex-fuzz-game-XXXXXX";
        fd = ::mkstemp(path.data());
        if (fd < 0)
            std::abort();
    }
    ~CScratchFile()
    {
        ::close(fd);
        ::unlink(path.c_str());
    }

    void Write(const std::uint8_t* data, std::size_t size) const
    {
        if (::ftruncate(fd, 0) != 0)
            std::abort();
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
            if (got <= 0)
                std::abort();
            done += static_cast<std::size_t>(got);
        }
    }

    std::string path;
    int fd = -1;
};

bool IsIdentifier(std::string_view id)
{
    if (id.size() > 2)
        return false;
    for (char c : id)
        if (c < 'A' || c > 'Z')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CScratchFile file;
    file.Write(data, size);
    CPropertyTable table;
    ReadGameFile(file.path, table);
    // Whatever the bytes: identifiers are at most two uppercase letters, no
    // value is longer than the input.
    for (const CPropertyTable::Item& item : table.Items()) {
        if (!IsIdentifier(item.first) || item.second.size() > size)
            __builtin_trap();
    }
    return 0;
}
