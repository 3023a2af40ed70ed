// Runs out of memory on purpose: this executable replaces the global
// allocation functions, so that an allocation of a chosen size fails with
// std::bad_alloc as it does under a memory limit. (The sanitizers end the
// program instead of throwing, and a real limit would cost gigabytes.)
#include "TestSupport.h"

#include "cli/CliCommands.h"
#include "reader/GameReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>

namespace {

// Allocations of at least this many bytes fail; 0 lets every one through.
std::atomic<std::size_t> g_failFrom{0};

class CAllocationLimit
{
public:
    explicit CAllocationLimit(std::size_t bytes) { g_failFrom = bytes; }
    ~CAllocationLimit() { g_failFrom = 0; }
    CAllocationLimit(const CAllocationLimit&) = delete;
    CAllocationLimit& operator=(const CAllocationLimit&) = delete;
};

void* Allocate(std::size_t size)
{
    const std::size_t limit = g_failFrom;
    if (limit != 0 && size >= limit)
        throw std::bad_alloc();
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}
void* operator new[](std::size_t size)
{
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}

TEST(OutOfMemory, InfoKeepsTheFilesBeforeAndGoesOnAfterAFileThatDoesNotFit)
{
    CTempDir dir;
    const std::string a = dir.Write("a.sgf", "(;PB[Alice];B[aa])");
    // Its value needs an allocation of 4 MiB, more than the memory left.
    const std::string v = dir.Write("v.sgf", "(;GC[" + std::string(std::size_t{4} << 20, 'x') + "];B[aa])");
    const std::string b = dir.Write("b.sgf", "(;PW[Bob];B[aa])");
    std::ostringstream out;
    std::ostringstream err;
    int status = -1;
    {
        const CAllocationLimit limit(std::size_t{2} << 20);
        status = RunInfo({a, v, b}, out, err);
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.str(), a + "\tok\n\tPB\tAlice\n" + v + "\tfail\n" + b + "\tok\n\tPW\tBob\n");
    EXPECT_EQ(err.str(), "varnex-cli: " + v + ": out of memory\n");
}

TEST(OutOfMemory, TheReaderFailsTheOneFileWithItsReason)
{
    struct CHooks : IReadHooks
    {
        void ReportNotRead(const std::string& path, const std::string& reason) override { said = path + ": " + reason; }
        std::string said;
    } hooks;
    CTempDir dir;
    const std::string v = dir.Write("v.sgf", "(;GC[" + std::string(std::size_t{4} << 20, 'x') + "];B[aa])");
    CPropertyTable table;
    bool read = true;
    {
        const CAllocationLimit limit(std::size_t{2} << 20);
        read = ReadGameFile(v, table, hooks);
    }
    EXPECT_FALSE(read);
    EXPECT_EQ(hooks.said, v + ": out of memory");
    EXPECT_TRUE(ReadGameFile(v, table, hooks));
}
