#include "TestSupport.h"

#include "collection/VarnexDoc.h"
#include "files/FolderWalk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kGame = "(;GN[Walk]PB[Black];B[pd])";

std::vector<std::string> Relative(const std::vector<std::string>& files, const fs::path& root)
{
    std::vector<std::string> names;
    for (const std::string& file : files)
        names.push_back(fs::path(file).lexically_relative(root).generic_string());
    return names;
}

// Stops the batch once stopAfter files have been read; records what the
// document told it.
class CStoppingHost : public IDocHost
{
public:
    void BeforeRead() override { ++reads; }
    void WalkProgress(std::size_t) override { ++walkSteps; }
    void BatchStarting(std::size_t total) override { announced.push_back(total); }
    void BatchEnded(const SAddSummary& summary) override { ended.push_back(summary); }
    bool StopRequested() override { return stopAfter >= 0 && reads >= stopAfter; }

    int reads = 0;
    int stopAfter = -1;
    int walkSteps = 0;
    std::vector<std::size_t> announced;
    std::vector<SAddSummary> ended;
};

class CHintCounter : public IDocView
{
public:
    void OnUpdate(int hint, const CHintPayload&) override { hints.push_back(hint); }
    std::vector<int> hints;
};

} // namespace

TEST(FolderWalk, TakesGameFilesOfAnyLetterCaseDepthFirstInBytewiseNameOrder)
{
    CTempDir tmp;
    tmp.Write("b.SGF", kGame);
    tmp.Write("a/z.mgt", kGame);
    tmp.Write("a/c/y.Gph", kGame);
    tmp.Write("B/x.sgf", kGame);
    tmp.Write("notes.txt", "x");
    tmp.Write("a/sgf", "x");
    fs::create_directories(tmp.path() / "empty");

    CFolderWalk walk(tmp.path().string());
    walk.Run();
    // "B" sorts before "a" and "b.SGF" bytewise; files and folders interleave.
    EXPECT_EQ(Relative(walk.Files(), tmp.path()),
              (std::vector<std::string>{"B/x.sgf", "a/c/y.Gph", "a/z.mgt", "b.SGF"}));
    EXPECT_TRUE(walk.Unreadable().empty());
}

TEST(FolderWalk, StepsGiveTheSameFilesAsOneRunAndEndWhenDone)
{
    CTempDir tmp;
    for (const char* name : {"1/1/a.sgf", "1/2/b.sgf", "2/c.sgf", "3/3/3/d.sgf"})
        tmp.Write(name, kGame);
    CFolderWalk whole(tmp.path().string());
    whole.Run();

    CFolderWalk stepped(tmp.path().string());
    int steps = 0;
    while (stepped.Step(1))
        ++steps;
    EXPECT_TRUE(stepped.Done());
    EXPECT_FALSE(stepped.Step(1));
    EXPECT_GE(steps, 7); // one folder per step
    EXPECT_EQ(stepped.Files(), whole.Files());
    EXPECT_EQ(stepped.Files().size(), 4u);
}

TEST(FolderWalk, DoesNotEnterLinkedFoldersButTakesLinkedGameFiles)
{
    CTempDir tmp;
    const std::string game = tmp.Write("games/a.sgf", kGame);
    std::error_code ec;
    fs::create_directory_symlink(tmp.path() / "games", tmp.path() / "games/loop", ec);
    if (ec)
        GTEST_SKIP() << "no symbolic links here: " << ec.message();
    fs::create_symlink(game, tmp.path() / "games/link.sgf");

    CFolderWalk walk((tmp.path() / "games").string());
    walk.Run();
    EXPECT_EQ(Relative(walk.Files(), tmp.path() / "games"), (std::vector<std::string>{"a.sgf", "link.sgf"}));
}

TEST(FolderWalk, CountsAFolderThatCannotBeReadAndGoesOn)
{
    CTempDir tmp;
    CFolderWalk walk((tmp.path() / "missing").string());
    walk.Run();
    EXPECT_TRUE(walk.Files().empty());
    ASSERT_EQ(walk.Unreadable().size(), 1u);
    EXPECT_EQ(walk.Unreadable()[0].folder, (tmp.path() / "missing").string());
    EXPECT_FALSE(walk.Unreadable()[0].reason.empty());
}

TEST(AddBatch, WalksFoldersAddsFilesAndCountsWhatWasPresentOrUnreadable)
{
    CTempDir tmp;
    const std::string first = tmp.Write("games/a.sgf", kGame);
    tmp.Write("games/sub/b.sgf", kGame);
    tmp.Write("games/sub/broken.sgf", "");
    const std::string loose = tmp.Write("loose.mgt", kGame);

    CStoppingHost host;
    CVarnexDoc doc(host);
    CHintCounter view;
    ASSERT_TRUE(doc.AddGameFile(first, 0));
    doc.AddView(&view);

    const SAddSummary summary = doc.AddBatch({(tmp.path() / "games").string(), loose});
    EXPECT_EQ(summary.added, 2);
    EXPECT_EQ(summary.alreadyPresent, 1);
    EXPECT_EQ(summary.unreadable, 1);
    EXPECT_EQ(summary.done, 4u);
    EXPECT_EQ(summary.total, 4u);
    EXPECT_FALSE(summary.stopped);
    EXPECT_EQ(doc.m_mapFiles.size(), 3u);
    EXPECT_FALSE(doc.IsBusy());
    EXPECT_GT(host.walkSteps, 0);
    EXPECT_EQ(host.announced, (std::vector<std::size_t>{4}));
    ASSERT_EQ(host.ended.size(), 1u);
    // Two rows, then exactly one end of batch, which re-applies the sort.
    EXPECT_EQ(view.hints, (std::vector<int>{hintFileAdded, hintFileAdded, hintBatchDone}));
    doc.RemoveView(&view);
}

TEST(AddBatch, AStopKeepsTheFilesReadSoFarAndStillEndsTheBatch)
{
    CTempDir tmp;
    for (const char* name : {"g/1.sgf", "g/2.sgf", "g/3.sgf", "g/4.sgf", "g/5.sgf"})
        tmp.Write(name, kGame);
    CStoppingHost host;
    host.stopAfter = 2;
    CVarnexDoc doc(host);
    CHintCounter view;
    doc.AddView(&view);

    const SAddSummary summary = doc.AddBatch({(tmp.path() / "g").string()});
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.done, 2u);
    EXPECT_EQ(summary.total, 5u);
    EXPECT_EQ(doc.m_mapFiles.size(), 2u);
    EXPECT_TRUE(doc.m_mapFiles.Find((tmp.path() / "g/1.sgf").string()));
    EXPECT_TRUE(doc.m_mapFiles.Find((tmp.path() / "g/2.sgf").string()));
    EXPECT_EQ(view.hints.back(), hintBatchDone);
    EXPECT_TRUE(doc.IsModified());
    doc.RemoveView(&view);
}

TEST(AddBatch, AStopDuringTheWalkAddsNothing)
{
    CTempDir tmp;
    tmp.Write("g/a/1.sgf", kGame);
    CStoppingHost host;
    host.stopAfter = 0;
    CVarnexDoc doc(host);
    const SAddSummary summary = doc.AddBatch({(tmp.path() / "g").string()});
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.done, 0u);
    EXPECT_EQ(doc.m_mapFiles.size(), 0u);
    EXPECT_EQ(host.ended.size(), 1u);
}
