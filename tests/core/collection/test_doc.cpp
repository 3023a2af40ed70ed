#include "TestSupport.h"

#include "collection/PathTable.h"
#include "collection/VarnexDoc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr const char* kGame = "(;GN[Test]PB[Black];B[pd])";

struct CRecordedHint
{
    int hint = 0;
    bool hasPath = false;
    std::string path;
    std::int32_t count = 0;
    std::int32_t tag = 0;
    std::uint32_t flags = 0;
};

class CRecordingView : public IDocView
{
public:
    void OnUpdate(int hint, const CHintPayload& payload) override
    {
        CRecordedHint h;
        h.hint = hint;
        h.hasPath = payload.path != nullptr;
        if (payload.path)
            h.path = *payload.path;
        h.count = payload.count;
        h.tag = payload.tag;
        h.flags = payload.flags;
        hints.push_back(h);
        if (onUpdate)
            onUpdate(hint, payload);
    }

    std::vector<int> Numbers() const
    {
        std::vector<int> numbers;
        for (const CRecordedHint& h : hints)
            numbers.push_back(h.hint);
        return numbers;
    }

    std::vector<CRecordedHint> hints;
    std::function<void(int, const CHintPayload&)> onUpdate;
};

class CTestHost : public IDocHost
{
public:
    std::optional<std::vector<std::string>> AskGameFiles() override
    {
        ++asked;
        return answer;
    }
    void BeforeRead() override
    {
        ++reads;
        if (beforeRead)
            beforeRead();
    }
    bool StopRequested() override { return stopAfter >= 0 && reads >= stopAfter; }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }

    std::optional<std::vector<std::string>> answer;
    std::function<void()> beforeRead;
    int asked = 0;
    int reads = 0;
    int waitDepth = 0;
    // Asks to stop once this many files were read (-1: never).
    int stopAfter = -1;
};

class DocTest : public testing::Test
{
protected:
    DocTest() { doc.AddView(&view); }

    std::string Game(const std::string& name) const { return dir.Write(name, kGame); }

    CTempDir dir;
    CTestHost host;
    CVarnexDoc doc{host};
    CRecordingView view;
};

std::vector<std::string> EnumeratedPaths(const CPathTable& table)
{
    std::vector<std::string> paths;
    table.ForEach([&](const std::string& path, const CGameEntry&) { paths.push_back(path); });
    return paths;
}

} // namespace

TEST(PathTableTest, HashTakesHighBytesAsSignedValues)
{
    EXPECT_EQ(CPathTable::HashPath(""), 0u);
    EXPECT_EQ(CPathTable::HashPath("a"), 97u);
    EXPECT_EQ(CPathTable::HashPath("ab"), 97u * 33u + 98u);
    // 0xE9 counts as -23.
    EXPECT_EQ(CPathTable::HashPath("\xE9"), static_cast<std::uint32_t>(-23));
    EXPECT_EQ(CPathTable::HashPath("a\xE9"), 97u * 33u - 23u);
}

TEST(PathTableTest, EnumerationRunsOverBucketsInOrderAndNewestFirstWithinOne)
{
    // The expected order is worked out here from the formula alone.
    auto bucketOf = [](const std::string& path) {
        std::uint32_t h = 0;
        for (unsigned char c : path)
            h = h * 33u + (c >= 0x80 ? static_cast<std::uint32_t>(c) - 256u : c);
        return h % 521u;
    };
    std::vector<std::string> paths;
    for (int i = 0; i < 3000; ++i)
        paths.push_back("/games/\xC3\xA9t\xE9/" + std::to_string(i * 7919) + (i % 2 ? ".sgf" : ".MGT"));

    CPathTable table;
    for (const std::string& path : paths)
        table.Insert(path, std::make_unique<CGameEntry>());
    ASSERT_EQ(table.size(), paths.size());

    std::vector<std::pair<std::uint32_t, int>> keyed; // bucket, -insertion index
    for (int i = 0; i < static_cast<int>(paths.size()); ++i)
        keyed.emplace_back(bucketOf(paths[i]), -i);
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> expected;
    for (const auto& [bucket, negIndex] : keyed)
        expected.push_back(paths[static_cast<std::size_t>(-negIndex)]);

    EXPECT_EQ(EnumeratedPaths(table), expected);
}

TEST(PathTableTest, NamesSharingTheBucketHashKeepTheOrderThroughRemovals)
{
    // "aB" and "b!" add the same to h * 33 * 33, so every string of such
    // blocks has one hash: the names all share one bucket.
    std::vector<std::string> paths;
    for (int bits = 0; bits < 256; ++bits) {
        std::string name = "/g/";
        for (int i = 0; i < 8; ++i)
            name += (bits >> i) & 1 ? "b!" : "aB";
        paths.push_back(name);
    }
    for (int i = 0; i < 50; ++i)
        paths.push_back("/other/" + std::to_string(i) + ".sgf");
    const std::uint32_t shared = CPathTable::HashPath(paths[0]);
    EXPECT_EQ(CPathTable::HashPath(paths[255]), shared);

    CPathTable table;
    for (std::size_t i = 0; i < paths.size(); ++i)
        table.Insert(paths[i], std::make_unique<CGameEntry>(static_cast<std::uint32_t>(i)));
    std::vector<bool> removed(paths.size(), false);
    for (std::size_t i = 0; i < paths.size(); i += 3) {
        ASSERT_TRUE(table.Remove(paths[i]));
        removed[i] = true;
    }
    // A path removed and inserted again is the newest of its bucket.
    table.Insert(paths[0], std::make_unique<CGameEntry>(0));
    removed[0] = false;

    std::vector<std::pair<std::uint32_t, int>> keyed; // bucket, -insertion index
    for (int i = 0; i < static_cast<int>(paths.size()); ++i)
        if (!removed[static_cast<std::size_t>(i)])
            keyed.emplace_back(CPathTable::HashPath(paths[static_cast<std::size_t>(i)]) % 521u, i == 0 ? -100000 : -i);
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::string> expected;
    for (const auto& [bucket, negIndex] : keyed)
        expected.push_back(paths[negIndex == -100000 ? 0 : static_cast<std::size_t>(-negIndex)]);
    EXPECT_EQ(EnumeratedPaths(table), expected);

    for (std::size_t i = 0; i < paths.size(); ++i) {
        const CGameEntry* entry = table.Find(paths[i]);
        if (removed[i]) {
            EXPECT_EQ(entry, nullptr) << paths[i];
        } else {
            ASSERT_NE(entry, nullptr) << paths[i];
            EXPECT_EQ(entry->m_nFlags, i) << paths[i];
        }
    }
}

TEST(PathTableTest, ManyInsertsAndRemovalsAgreeWithASimpleMap)
{
    // Removed places are passed over by later probes and taken again.
    std::mt19937 rng(16);
    std::map<std::string, std::uint32_t> expected;
    CPathTable table;
    for (int step = 0; step < 60000; ++step) {
        const std::string path = "/g/" + std::to_string(rng() % 5000) + ".sgf";
        if (rng() % 3 == 0) {
            EXPECT_EQ(table.Remove(path), expected.erase(path) == 1);
        } else if (!table.Find(path)) {
            table.Insert(path, std::make_unique<CGameEntry>(static_cast<std::uint32_t>(step)));
            expected[path] = static_cast<std::uint32_t>(step);
        }
    }
    ASSERT_EQ(table.size(), expected.size());
    std::size_t seen = 0;
    table.ForEach([&](const std::string& path, const CGameEntry& entry) {
        ++seen;
        ASSERT_EQ(expected.count(path), 1u) << path;
        EXPECT_EQ(entry.m_nFlags, expected[path]);
    });
    EXPECT_EQ(seen, expected.size());
    for (const auto& [path, flags] : expected)
        ASSERT_NE(table.Find(path), nullptr) << path;
}

TEST(PathTableTest, FindsRemovesAndComparesPathsByteForByte)
{
    CPathTable table;
    table.Insert("C:\\Games\\a.sgf", std::make_unique<CGameEntry>(1));
    table.Insert("c:\\games\\A.SGF", std::make_unique<CGameEntry>(2));
    EXPECT_EQ(table.size(), 2u);
    ASSERT_NE(table.Find("C:\\Games\\a.sgf"), nullptr);
    EXPECT_EQ(table.Find("C:\\Games\\a.sgf")->m_nFlags, 1u);
    EXPECT_EQ(table.Find("c:\\games\\A.SGF")->m_nFlags, 2u);
    EXPECT_EQ(table.Find("C:\\games\\a.sgf"), nullptr);

    EXPECT_TRUE(table.Remove("C:\\Games\\a.sgf"));
    EXPECT_FALSE(table.Remove("C:\\Games\\a.sgf"));
    EXPECT_EQ(table.Find("C:\\Games\\a.sgf"), nullptr);
    EXPECT_EQ(table.size(), 1u);

    table.Clear();
    EXPECT_TRUE(table.empty());
    EXPECT_TRUE(EnumeratedPaths(table).empty());
}

TEST(PathTableTest, TheGenerationMovesWithEveryChangeAndOnlyThen)
{
    CPathTable table;
    std::uint64_t last = table.Generation();
    auto moved = [&] {
        const bool changed = table.Generation() != last;
        last = table.Generation();
        return changed;
    };
    table.Insert("a", std::make_unique<CGameEntry>());
    EXPECT_TRUE(moved());
    EXPECT_NE(table.Find("a"), nullptr);
    EXPECT_FALSE(table.Remove("b"));
    EXPECT_FALSE(moved()) << "a lookup or a removal of nothing changes nothing";
    EXPECT_TRUE(table.Remove("a"));
    EXPECT_TRUE(moved());
    table.Clear();
    EXPECT_TRUE(moved());
}

TEST_F(DocTest, AddingAFileSendsItsPathAndMarksTheDocumentModified)
{
    const std::string path = Game("a.sgf");
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(doc.AddGameFile(path, 5));

    ASSERT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(view.hints[0].hint, hintFileAdded);
    EXPECT_TRUE(view.hints[0].hasPath);
    EXPECT_EQ(view.hints[0].path, path);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.IsBusy());
    const CGameEntry* entry = doc.m_mapFiles.Find(path);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->m_nFlags, 5u);
    ASSERT_NE(entry->m_props.Find("GN"), nullptr);
    EXPECT_EQ(*entry->m_props.Find("GN"), "Test");
}

TEST_F(DocTest, AddingThePathAgainChangesNothingAndSendsNoHint)
{
    const std::string path = Game("a.sgf");
    ASSERT_TRUE(doc.AddGameFile(path, 0));
    doc.SetModifiedFlag(false);
    const int reads = host.reads;

    EXPECT_FALSE(doc.AddGameFile(path, 1));
    EXPECT_EQ(host.reads, reads);
    EXPECT_EQ(view.hints.size(), 1u);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.m_mapFiles.size(), 1u);
    EXPECT_EQ(doc.m_mapFiles.Find(path)->m_nFlags, 0u);
}

TEST_F(DocTest, PathsThatDifferOnlyInLetterCaseAreTwoEntries)
{
    const std::string lower = Game("x/a.sgf");
    const std::string upper = Game("X/A.SGF");
    EXPECT_TRUE(doc.AddGameFile(lower, 0));
    EXPECT_TRUE(doc.AddGameFile(upper, 0));
    EXPECT_EQ(doc.m_mapFiles.size(), 2u);
}

TEST_F(DocTest, AFileThatCannotBeReadLeavesTheDocumentAsItWas)
{
    const std::string cut = dir.Write("cut.sgf", "(;GN[Test]PB[unterminated");
    const std::string empty = dir.Write("empty.sgf", "");
    const std::string missing = (dir.path() / "missing.sgf").string();

    EXPECT_FALSE(doc.AddGameFile(cut, 0));
    EXPECT_FALSE(doc.AddGameFile(empty, 0));
    EXPECT_FALSE(doc.AddGameFile(missing, 0));
    EXPECT_TRUE(doc.m_mapFiles.empty());
    EXPECT_TRUE(view.hints.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.IsBusy());
}

TEST_F(DocTest, CorpusFilesAreAddedWithTheirProperties)
{
    VARNEX_REQUIRE_CORPUS();
    const auto file = CorpusDir() / "sanderland__katrain/tests/data/panda1.sgf";
    ASSERT_TRUE(std::filesystem::exists(file));
    ASSERT_TRUE(doc.AddGameFile(file.string(), 0));
    EXPECT_FALSE(doc.m_mapFiles.Find(file.string())->m_props.empty());

    // The one empty file of the corpus is not a game record.
    const auto empty = CorpusDir() / "runningskull__gnugo/regression/games/pending/nightmare.sgf";
    ASSERT_TRUE(std::filesystem::exists(empty));
    EXPECT_FALSE(doc.AddGameFile(empty.string(), 0));
}

TEST_F(DocTest, RemovingSendsThePathAndAnUnknownPathIsRefused)
{
    const std::string path = Game("a.sgf");
    ASSERT_TRUE(doc.AddGameFile(path, 0));
    doc.SetModifiedFlag(false);

    EXPECT_FALSE(doc.RemoveGameFile(path + "x"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.hints.size(), 1u);

    EXPECT_TRUE(doc.RemoveGameFile(path));
    EXPECT_TRUE(doc.m_mapFiles.empty());
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(view.hints.size(), 2u);
    EXPECT_EQ(view.hints[1].hint, hintFileRemoved);
    EXPECT_EQ(view.hints[1].path, path);
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(DocTest, FlagChangesFollowSetThenClearAndReportTagAndFlags)
{
    const std::string path = Game("a.sgf");
    ASSERT_TRUE(doc.AddGameFile(path, 0x80));
    doc.SetModifiedFlag(false);
    view.hints.clear();

    EXPECT_TRUE(doc.ChangeFileFlags(path, ENTRY_VIEWED, 0, 7));
    ASSERT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(view.hints[0].hint, hintFlagsChanged);
    EXPECT_EQ(view.hints[0].tag, 7);
    EXPECT_EQ(view.hints[0].flags, 0x81u);
    EXPECT_TRUE(doc.IsModified());

    // Already viewed: no change, no hint, the modified state stays as it is.
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.ChangeFileFlags(path, ENTRY_VIEWED, 0, 8));
    EXPECT_EQ(view.hints.size(), 1u);
    EXPECT_FALSE(doc.IsModified());

    // Setting and clearing the same bit clears it.
    EXPECT_TRUE(doc.ChangeFileFlags(path, ENTRY_VIEWED, ENTRY_VIEWED, -3));
    EXPECT_EQ(doc.m_mapFiles.Find(path)->m_nFlags, 0x80u);
    EXPECT_EQ(view.hints.back().tag, -3);
    EXPECT_EQ(view.hints.back().flags, 0x80u);

    EXPECT_FALSE(doc.ChangeFileFlags(path + "x", ENTRY_VIEWED, 0, 0));
    EXPECT_EQ(view.hints.size(), 2u);
}

TEST_F(DocTest, AddFilesCommandAddsTheChosenFilesThenEndsTheBatch)
{
    const std::string a = Game("a.sgf");
    const std::string b = Game("b.sgf");
    const std::string bad = dir.Write("bad.sgf", "no record");
    host.answer = std::vector<std::string>{a, bad, a, b};
    std::vector<bool> busyDuringHints;
    view.onUpdate = [&](int, const CHintPayload&) { busyDuringHints.push_back(doc.IsBusy()); };

    doc.OnAddFiles();

    EXPECT_EQ(host.asked, 1);
    ASSERT_EQ(view.Numbers(), (std::vector<int>{hintFileAdded, hintFileAdded, hintBatchDone}));
    EXPECT_EQ(view.hints[0].path, a);
    EXPECT_EQ(view.hints[1].path, b);
    EXPECT_FALSE(view.hints[2].hasPath);
    EXPECT_EQ(busyDuringHints, (std::vector<bool>{true, true, false}));
    EXPECT_FALSE(doc.IsBusy());
    EXPECT_EQ(doc.m_mapFiles.size(), 2u);
}

TEST_F(DocTest, CancellingTheAddFilesDialogAddsNothingAndSendsNothing)
{
    host.answer = std::nullopt;
    doc.OnAddFiles();
    EXPECT_EQ(host.asked, 1);
    EXPECT_TRUE(view.hints.empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocTest, ClearingEmptiesTheTableAndTellsTheViewsWithoutAPath)
{
    ASSERT_TRUE(doc.AddGameFile(Game("a.sgf"), 0));
    ASSERT_TRUE(doc.AddGameFile(Game("b.sgf"), 0));
    view.hints.clear();

    doc.DeleteContents();
    EXPECT_TRUE(doc.m_mapFiles.empty());
    ASSERT_EQ(view.hints.size(), 1u);
    EXPECT_EQ(view.hints[0].hint, hintFileRemoved);
    EXPECT_FALSE(view.hints[0].hasPath);
}

TEST_F(DocTest, IdleSendsTheIdleHintToEveryView)
{
    CRecordingView second;
    doc.AddView(&second);
    doc.OnIdle();
    EXPECT_EQ(view.Numbers(), std::vector<int>{hintIdle});
    EXPECT_EQ(second.Numbers(), std::vector<int>{hintIdle});
}

TEST_F(DocTest, TheWindowCannotCloseWhileAFileIsBeingRead)
{
    std::vector<bool> mayClose;
    host.beforeRead = [&] { mayClose.push_back(doc.CanCloseFrame()); };
    EXPECT_TRUE(doc.CanCloseFrame());
    ASSERT_TRUE(doc.AddGameFile(Game("a.sgf"), 0));
    EXPECT_EQ(mayClose, std::vector<bool>{false});
    EXPECT_TRUE(doc.CanCloseFrame());
}

TEST_F(DocTest, ANestedAdditionDoesNotEndTheOuterBusyStretch)
{
    const std::string outer = Game("outer.sgf");
    const std::string inner = Game("inner.sgf");
    std::vector<bool> busyAfterInner;
    host.beforeRead = [&] {
        if (host.reads == 1) {
            EXPECT_TRUE(doc.AddGameFile(inner, 0));
            busyAfterInner.push_back(doc.IsBusy());
        }
    };
    ASSERT_TRUE(doc.AddGameFile(outer, 0));
    EXPECT_EQ(busyAfterInner, std::vector<bool>{true});
    EXPECT_FALSE(doc.IsBusy());
    EXPECT_EQ(doc.m_mapFiles.size(), 2u);
}

TEST_F(DocTest, TheSamePathAddedByANestedCommandIsKeptOnce)
{
    const std::string path = Game("a.sgf");
    host.beforeRead = [&] {
        if (host.reads == 1) {
            EXPECT_TRUE(doc.AddGameFile(path, ENTRY_VIEWED));
        }
    };
    EXPECT_FALSE(doc.AddGameFile(path, 0));
    EXPECT_EQ(doc.m_mapFiles.size(), 1u);
    EXPECT_EQ(doc.m_mapFiles.Find(path)->m_nFlags, ENTRY_VIEWED);
    EXPECT_EQ(view.Numbers(), std::vector<int>{hintFileAdded});
    EXPECT_FALSE(doc.IsBusy());
}

TEST_F(DocTest, ClearingTheDocumentDuringAReadLeavesItConsistent)
{
    const std::string first = Game("a.sgf");
    const std::string second = Game("b.sgf");
    ASSERT_TRUE(doc.AddGameFile(first, 0));
    host.beforeRead = [&] { doc.DeleteContents(); };

    EXPECT_TRUE(doc.AddGameFile(second, 0));
    EXPECT_EQ(EnumeratedPaths(doc.m_mapFiles), std::vector<std::string>{second});
    EXPECT_EQ(view.Numbers(), (std::vector<int>{hintFileAdded, hintFileRemoved, hintFileAdded}));
    EXPECT_FALSE(doc.IsBusy());
}

TEST_F(DocTest, AViewThatRemovesItselfOrAnotherDuringAHintIsNotCalledAgain)
{
    CRecordingView second;
    doc.AddView(&second);
    view.onUpdate = [&](int, const CHintPayload&) {
        doc.RemoveView(&view);
        doc.RemoveView(&second);
    };
    doc.OnIdle();
    doc.OnIdle();
    EXPECT_EQ(view.hints.size(), 1u);
    EXPECT_TRUE(second.hints.empty());
}

TEST_F(DocTest, ThePathInARemovalHintSurvivesTheViewDroppingTheCallersString)
{
    // The view's row key is both the caller's argument and what its hint
    // handler deletes; the next view must still see the path.
    const std::string path = Game("a.sgf");
    ASSERT_TRUE(doc.AddGameFile(path, 0));
    auto rowKey = std::make_unique<std::string>(path);
    CRecordingView second;
    view.onUpdate = [&](int hint, const CHintPayload&) {
        if (hint == hintFileRemoved)
            rowKey.reset();
    };
    doc.AddView(&second);

    EXPECT_TRUE(doc.RemoveGameFile(*rowKey));
    ASSERT_EQ(second.hints.size(), 1u);
    EXPECT_EQ(second.hints[0].path, path);
}

TEST_F(DocTest, ReadEachReadsOnlyWhatTheTableHoldsAsAskedAndStopsWhenTheHostAsks)
{
    const std::string held = Game("held.sgf");
    const std::string fresh = Game("fresh.sgf");
    const std::string bad = dir.Write("bad.sgf", "no record");
    ASSERT_TRUE(doc.AddGameFile(held, 0));
    host.reads = 0;
    std::vector<std::string> paths = {held, fresh, bad, Game("late.sgf")};
    std::vector<CVarnexDoc::EReadOutcome> outcomes;
    std::vector<bool> busy;
    host.stopAfter = 2;
    const std::size_t taken = doc.ReadEach(
        paths, [](const std::string& path) -> const std::string& { return path; }, false, true,
        [&](const std::string&, CVarnexDoc::SReadStep& step) {
            outcomes.push_back(step.outcome);
            busy.push_back(doc.IsBusy());
            EXPECT_EQ(step.fresh != nullptr, step.outcome == CVarnexDoc::EReadOutcome::Read);
        });
    using E = CVarnexDoc::EReadOutcome;
    EXPECT_EQ(taken, 3u) << "the stop comes after the second file read";
    EXPECT_EQ(outcomes, (std::vector<E>{E::NotAsAsked, E::Read, E::Unreadable}));
    EXPECT_EQ(busy, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(host.reads, 2) << "a path the table holds is not read when asked for new ones";
    EXPECT_FALSE(doc.IsBusy());
    EXPECT_EQ(doc.m_mapFiles.size(), 1u) << "what was read is the caller's to take";
}

TEST_F(DocTest, ARefreshTakesTheEntryTheTableHoldsAfterTheRead)
{
    // While the file is read, a command removes its entry (and, the second
    // time, adds the path again as a new entry without flags).
    const std::string gone = Game("gone.sgf");
    ASSERT_TRUE(doc.AddGameFile(gone, ENTRY_VIEWED));
    host.beforeRead = [&] { doc.RemoveGameFile(gone); };
    view.hints.clear();
    EXPECT_EQ(doc.Refresh(true).done, 1u);
    EXPECT_EQ(doc.m_mapFiles.Find(gone), nullptr) << "a path removed during its read stays removed";
    EXPECT_EQ(view.Numbers(), (std::vector<int>{hintFileRemoved, hintBatchDone}));

    host.beforeRead = nullptr;
    const std::string again = Game("again.sgf");
    ASSERT_TRUE(doc.AddGameFile(again, ENTRY_VIEWED));
    bool fired = false;
    host.beforeRead = [&] {
        if (fired)
            return;
        fired = true;
        doc.RemoveGameFile(again);
        EXPECT_TRUE(doc.AddGameFile(again, 0));
    };
    view.hints.clear();
    EXPECT_EQ(doc.Refresh(true).done, 1u);
    const CGameEntry* entry = doc.m_mapFiles.Find(again);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->m_nFlags, 0u) << "the new entry, not the one found before the read";
    EXPECT_EQ(view.Numbers(), (std::vector<int>{hintFileRemoved, hintFileAdded, hintFileChanged, hintBatchDone}));
    EXPECT_FALSE(doc.IsBusy());
}
