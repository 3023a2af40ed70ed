// Writes two folders of 65,536 small game files for the path table's figures:
// FOLDER/colliding, whose names all share the path table's bucket hash, and
// FOLDER/plain, names of the same length that spread over the buckets. "aB"
// and "b!" add the same to h * 33 * 33, so every name made of 16 such blocks
// has one hash. A folder whose mark file is there is left as it is.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kBlocks = 16;
constexpr long kCount = 1L << kBlocks;

std::string CollidingName(long i)
{
    std::string name;
    for (int b = 0; b < kBlocks; ++b)
        name += (i >> b) & 1 ? "b!" : "aB";
    return name + ".sgf";
}

std::string PlainName(long i)
{
    char digits[40];
    std::snprintf(digits, sizeof digits, "g%031ld", i);
    return std::string(digits) + ".sgf";
}

bool WriteFolder(const fs::path& dir, std::string (*name)(long))
{
    if (fs::exists(dir / "complete"))
        return true;
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir);
    for (long i = 0; i < kCount; ++i) {
        std::ofstream out(dir / name(i), std::ios::binary);
        out << "(;GM[1]FF[4]SZ[19]PB[Black " << i << "]PW[White]GN[Game " << i << "];B[pd];W[dd])\n";
        if (!out) {
            std::fprintf(stderr, "varnex-gen-colliding: cannot write in %s\n", dir.c_str());
            return false;
        }
    }
    std::ofstream(dir / "complete") << kCount << '\n';
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || std::string(argv[1]).rfind('-', 0) == 0) {
        std::fprintf(stderr, "usage: varnex-gen-colliding FOLDER\n");
        return 2;
    }
    const fs::path root = argv[1];
    if (!WriteFolder(root / "colliding", CollidingName) || !WriteFolder(root / "plain", PlainName))
        return 1;
    std::printf("bench data: %ld colliding and %ld plain names in %s\n", kCount, kCount, root.c_str());
    return 0;
}
