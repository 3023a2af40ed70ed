#include "TestSupport.h"

#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "files/CollectionLock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kGame = "(;GN[Test];B[pd])";

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

std::string U32(std::uint32_t v)
{
    return Bytes({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF),
                  static_cast<int>(v >> 24)});
}

std::string Str(const std::string& s)
{
    std::string out;
    AppendCollectionString(out, s);
    return out;
}

struct CHint
{
    int hint;
    std::int32_t count;
    std::string path;
};

class CRecordingView : public IDocView
{
public:
    void OnUpdate(int hint, const CHintPayload& payload) override
    {
        hints.push_back({hint, payload.count, payload.path ? *payload.path : std::string()});
    }
    std::vector<int> Numbers() const
    {
        std::vector<int> numbers;
        for (const CHint& h : hints)
            numbers.push_back(h.hint);
        return numbers;
    }
    std::vector<CHint> hints;
};

class CCursorHost : public IDocHost
{
public:
    void BeginWaitCursor() override
    {
        ++begun;
        ++depth;
    }
    void EndWaitCursor() override { --depth; }
    void BeforeRead() override { ++reads; }
    bool StopRequested() override { return stopAfter >= 0 && reads >= stopAfter; }
    int begun = 0;
    int depth = 0;
    int reads = 0;
    int stopAfter = -1;
};

class CollectionFileTest : public testing::Test
{
protected:
    CollectionFileTest() { doc.AddView(&view); }

    std::string Game(const std::string& name) const { return dir.Write(name, kGame); }

    CTempDir dir;
    CCursorHost host;
    CVarnexDoc doc{host};
    CRecordingView view;
};

} // namespace

TEST(CollectionStringTest, LengthPrefixTakesOneThreeOrSevenBytes)
{
    EXPECT_EQ(Str(""), Bytes({0}));
    EXPECT_EQ(Str("abc"), Bytes({3}) + "abc");
    EXPECT_EQ(Str(std::string(254, 'x')).substr(0, 1), Bytes({0xFE}));
    EXPECT_EQ(Str(std::string(255, 'x')).substr(0, 3), Bytes({0xFF, 0xFF, 0x00}));
    EXPECT_EQ(Str(std::string(300, 'x')).substr(0, 3), Bytes({0xFF, 0x2C, 0x01}));
    EXPECT_EQ(Str(std::string(65533, 'x')).substr(0, 3), Bytes({0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(Str(std::string(65534, 'x')).substr(0, 7), Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(Str(std::string(70000, 'x')).size(), 7u + 70000u);
}

TEST_F(CollectionFileTest, AnEmptyCollectionIsStoredAsMarkAndZeroCount)
{
    EXPECT_EQ(StoreCollection(doc), Bytes({0x94, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
    EXPECT_EQ(host.begun, 1);
    EXPECT_EQ(host.depth, 0);
}

TEST_F(CollectionFileTest, EachRecordIsThePathThenTheFlagsWord)
{
    // The path C:\a.sgf does not exist here, so the entry is put in directly.
    doc.m_mapFiles.Insert("C:\\a.sgf", std::make_unique<CGameEntry>(1));
    EXPECT_EQ(StoreCollection(doc), Bytes({0x94, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 8}) + "C:\\a.sgf" + U32(1));

    const std::string longPath(300, 'p');
    doc.m_mapFiles.Clear();
    doc.m_mapFiles.Insert(longPath, std::make_unique<CGameEntry>(0xDEADBEEF));
    EXPECT_EQ(StoreCollection(doc), U32(0xFFFFFF94) + U32(1) + Bytes({0xFF, 0x2C, 0x01}) + longPath + U32(0xDEADBEEF));
}

TEST_F(CollectionFileTest, RecordsStandInEnumerationOrder)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 50; ++i) {
        paths.push_back("/g/" + std::to_string(i * 31) + ".sgf");
        doc.m_mapFiles.Insert(paths.back(), std::make_unique<CGameEntry>(static_cast<std::uint32_t>(i)));
    }
    std::string expected = U32(0xFFFFFF94) + U32(50);
    doc.m_mapFiles.ForEach(
        [&](const std::string& path, const CGameEntry& entry) { expected += Str(path) + U32(entry.m_nFlags); });
    EXPECT_EQ(StoreCollection(doc), expected);
}

TEST_F(CollectionFileTest, SavedCollectionLoadsBackWithFlagsAndHints)
{
    const std::string a = Game("a.sgf");
    // Longer than 255 bytes, so its prefix takes three bytes.
    const std::string b = Game(std::string(200, 'd') + "/" + std::string(100, 'b') + ".sgf");
    ASSERT_TRUE(doc.AddGameFile(a, ENTRY_VIEWED | 0x40000000u));
    ASSERT_TRUE(doc.AddGameFile(b, 0));
    const std::string file = (dir.path() / "games.vnx").string();
    std::string error;
    ASSERT_TRUE(SaveCollectionFile(doc, file, &error)) << error;
    EXPECT_EQ(ReadFileBytes(file), StoreCollection(doc));

    CVarnexDoc loaded;
    CRecordingView loadedView;
    loaded.AddView(&loadedView);
    ASSERT_TRUE(LoadCollectionFile(loaded, file, &error)) << error;
    EXPECT_EQ(loaded.m_mapFiles.size(), 2u);
    EXPECT_EQ(loaded.m_mapFiles.Find(a)->m_nFlags, ENTRY_VIEWED | 0x40000000u);
    EXPECT_EQ(loaded.m_mapFiles.Find(b)->m_nFlags, 0u);
    ASSERT_EQ(loadedView.Numbers(), (std::vector<int>{hintLoadCount, hintFileAdded, hintFileAdded, hintBatchDone}));
    EXPECT_EQ(loadedView.hints[0].count, 2);
}

TEST_F(CollectionFileTest, TheOlderFormHasNoMarkAndNoFlags)
{
    const std::string a = Game("a.sgf");
    const std::string b = Game("b.sgf");
    ASSERT_TRUE(LoadCollection(doc, U32(2) + Str(a) + Str(b)));
    EXPECT_EQ(doc.m_mapFiles.size(), 2u);
    EXPECT_EQ(doc.m_mapFiles.Find(a)->m_nFlags, 0u);
    EXPECT_EQ(doc.m_mapFiles.Find(b)->m_nFlags, 0u);
    EXPECT_EQ(view.hints.front().count, 2);

    CVarnexDoc none;
    EXPECT_TRUE(LoadCollection(none, U32(0)));
    EXPECT_TRUE(none.m_mapFiles.empty());
}

TEST_F(CollectionFileTest, AnyNegativeFirstValueIsTheVersionMark)
{
    EXPECT_TRUE(LoadCollection(doc, U32(0xFFFFFFFF) + U32(0)));
    EXPECT_TRUE(doc.m_mapFiles.empty());
    EXPECT_EQ(view.Numbers(), (std::vector<int>{hintLoadCount, hintBatchDone}));

    const std::string a = Game("a.sgf");
    EXPECT_TRUE(LoadCollection(doc, U32(0x80000000) + U32(1) + Str(a) + U32(3)));
    EXPECT_EQ(doc.m_mapFiles.Find(a)->m_nFlags, 3u);
}

TEST_F(CollectionFileTest, UnreadableRecordsAreKeptInOrderWithoutRowsAndRepeatsAreDropped)
{
    const std::string a = Game("a.sgf");
    const std::string bad = dir.Write("bad.sgf", "no game here");
    const std::string missing = (dir.path() / "gone.sgf").string();
    const std::string bytes = U32(0xFFFFFF94) + U32(5) + Str(missing) + U32(5) + Str(a) + U32(1) + Str(a) + U32(0) +
                              Str(bad) + U32(0) + Str(missing) + U32(0);
    ASSERT_TRUE(LoadCollection(doc, bytes));
    EXPECT_EQ(doc.m_mapFiles.size(), 1u);
    EXPECT_EQ(doc.m_mapFiles.Find(a)->m_nFlags, 1u);
    EXPECT_EQ(view.hints.front().count, 5);
    ASSERT_EQ(doc.m_unread.size(), 2u);
    EXPECT_EQ(doc.m_unread[0].path, missing);
    EXPECT_EQ(doc.m_unread[0].flags, 5u);
    EXPECT_EQ(doc.m_unread[1].path, bad);
    // Only the readable entry was announced to the views.
    int added = 0;
    for (const CHint& h : view.hints)
        added += h.hint == hintFileAdded;
    EXPECT_EQ(added, 1);
}

TEST_F(CollectionFileTest, UnreadRecordsAreSavedAfterThePathTableAndReadAgainOnceBack)
{
    const std::string a = Game("a.sgf");
    const std::string later = (dir.path() / "later.sgf").string();
    ASSERT_TRUE(LoadCollection(doc, U32(0xFFFFFF94) + U32(2) + Str(later) + U32(1) + Str(a) + U32(0)));
    ASSERT_EQ(doc.m_unread.size(), 1u);
    EXPECT_EQ(StoreCollection(doc), U32(0xFFFFFF94) + U32(2) + Str(a) + U32(0) + Str(later) + U32(1));

    // With the game file back in place, the saved collection reads it again.
    Game("later.sgf");
    CVarnexDoc again;
    ASSERT_TRUE(LoadCollection(again, StoreCollection(doc)));
    EXPECT_EQ(again.m_mapFiles.size(), 2u);
    EXPECT_EQ(again.m_mapFiles.Find(later)->m_nFlags, 1u);
    EXPECT_TRUE(again.m_unread.empty());

    // Added again meanwhile, it is saved once.
    ASSERT_TRUE(doc.AddGameFile(later, 0));
    EXPECT_EQ(StoreCollection(doc).substr(4, 4), U32(2));
}

TEST_F(CollectionFileTest, RefreshReadsChangedFilesAgainMovesLostOnesToUnreadAndGivesBackReturnedOnes)
{
    const std::string changed = Game("changed.sgf");
    const std::string same = Game("same.sgf");
    const std::string lost = Game("lost.sgf");
    const std::string back = (dir.path() / "back.sgf").string();
    ASSERT_TRUE(LoadCollection(doc, U32(0xFFFFFF94) + U32(4) + Str(changed) + U32(1) + Str(same) + U32(0) + Str(lost) +
                                        U32(4) + Str(back) + U32(2)));
    ASSERT_EQ(doc.m_mapFiles.size(), 3u);
    doc.SetModifiedFlag(false);
    const std::string storedBefore = StoreCollection(doc);

    dir.Write("changed.sgf", "(;GN[Changed]PB[Someone else];B[pd])");
    std::filesystem::remove(lost);
    Game("back.sgf");
    view.hints.clear();
    const int reads = host.reads;
    const SAddSummary summary = doc.Refresh();

    // Only the files whose status changed, and the one that came back, were read.
    EXPECT_EQ(host.reads - reads, 3);
    EXPECT_EQ(summary.added, 2);
    EXPECT_EQ(summary.unreadable, 1);
    ASSERT_NE(doc.m_mapFiles.Find(changed), nullptr);
    EXPECT_EQ(*doc.m_mapFiles.Find(changed)->m_props.Find("GN"), "Changed");
    EXPECT_EQ(doc.m_mapFiles.Find(changed)->m_nFlags, 1u);
    EXPECT_EQ(doc.m_mapFiles.Find(lost), nullptr);
    ASSERT_NE(doc.m_mapFiles.Find(back), nullptr);
    EXPECT_EQ(doc.m_mapFiles.Find(back)->m_nFlags, 2u);
    ASSERT_EQ(doc.m_unread.size(), 1u);
    EXPECT_EQ(doc.m_unread[0].path, lost);
    EXPECT_EQ(doc.m_unread[0].flags, 4u);
    std::vector<int> hints = view.Numbers();
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back(), hintBatchDone);
    std::sort(hints.begin(), hints.end());
    EXPECT_EQ(hints, (std::vector<int>{hintFileAdded, hintFileRemoved, hintBatchDone, hintFileChanged}));
    EXPECT_FALSE(doc.IsModified());
    // The same records with the same flags are saved.
    EXPECT_EQ(StoreCollection(doc).size(), storedBefore.size());

    // Nothing changed since: only the lost file is tried again.
    const int readsAfter = host.reads;
    EXPECT_EQ(doc.Refresh().added, 0);
    EXPECT_EQ(host.reads, readsAfter + 1);
}

TEST_F(CollectionFileTest, RemoveMissingFilesDropsThemForGoodAndMarksTheDocument)
{
    EXPECT_FALSE(doc.RemoveMissingFiles());
    EXPECT_FALSE(doc.IsModified());
    ASSERT_TRUE(LoadCollection(doc, U32(0xFFFFFF94) + U32(1) + Str("/nonexistent/varnex/a.sgf") + U32(0)));
    doc.SetModifiedFlag(false);
    EXPECT_TRUE(doc.RemoveMissingFiles());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(StoreCollection(doc), U32(0xFFFFFF94) + U32(0));
}

// After a stopped open the records never come to are not missing files:
// Remove Missing Files drops only the one that was tried and failed.
TEST_F(CollectionFileTest, RemoveMissingFilesKeepsTheRecordsAStoppedOpenNeverCameTo)
{
    const std::string a = Game("a.sgf");
    const std::string b = Game("b.sgf");
    const std::string c = Game("c.sgf");
    const std::string missing = "/nonexistent/varnex/m.sgf";
    host.stopAfter = 2;
    ASSERT_TRUE(LoadCollection(doc, U32(0xFFFFFF94) + U32(4) + Str(missing) + U32(0) + Str(a) + U32(0) + Str(b) +
                                        U32(1) + Str(c) + U32(0)));
    ASSERT_EQ(doc.m_mapFiles.size(), 1u);
    ASSERT_EQ(doc.m_unread.size(), 3u);
    EXPECT_TRUE(doc.HasMissingFiles());

    EXPECT_TRUE(doc.RemoveMissingFiles());
    ASSERT_EQ(doc.m_unread.size(), 2u);
    EXPECT_FALSE(doc.HasMissingFiles());
    EXPECT_FALSE(doc.RemoveMissingFiles());
    EXPECT_EQ(StoreCollection(doc), U32(0xFFFFFF94) + U32(3) + Str(a) + U32(0) + Str(b) + U32(1) + Str(c) + U32(0));
}

TEST_F(CollectionFileTest, ClearingTheDocumentForgetsUnreadRecords)
{
    ASSERT_TRUE(LoadCollection(doc, U32(0xFFFFFF94) + U32(1) + Str("/nonexistent/varnex/a.sgf") + U32(0)));
    doc.DeleteContents();
    EXPECT_TRUE(doc.m_unread.empty());
}

TEST_F(CollectionFileTest, ANegativeCountOrBytesAfterTheLastRecordAreNoCollection)
{
    const std::string a = Game("a.sgf");
    EXPECT_EQ(LoadCollectionChecked(doc, U32(0xFFFFFF94) + U32(0xFFFFFFFF)), ECollectionLoad::NotCollection);
    EXPECT_EQ(LoadCollectionChecked(doc, U32(0xFFFFFF94) + U32(0) + "x"), ECollectionLoad::NotCollection);
    EXPECT_EQ(LoadCollectionChecked(doc, U32(1) + Str(a) + "junk"), ECollectionLoad::NotCollection);
    // Nothing was read or announced for any of them.
    EXPECT_TRUE(doc.m_mapFiles.empty());
    EXPECT_TRUE(view.hints.empty());

    // Random bytes whose first value is negative, as a file of another kind.
    std::string random(1000, '\0');
    for (std::size_t i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 7919 + 13) % 251);
    random.replace(0, 4, U32(0xF0000000));
    const std::string file = dir.Write("other.vnx", random);
    std::string error;
    EXPECT_FALSE(LoadCollectionFile(doc, file, &error));
    EXPECT_NE(error.find("not a Varnex collection file"), std::string::npos) << error;
}

TEST_F(CollectionFileTest, SixteenBitPathsAreConvertedToUtf8)
{
    const std::string name = "\xC3\xA9\xF0\x9F\x80\x84.sgf"; // e-acute, a supplementary character
    const std::string path = Game(name);
    std::string utf16;
    // The path's ASCII bytes, then the two non-ASCII characters, as UTF-16LE.
    const std::string folder = dir.path().string() + "/";
    for (char c : folder)
        utf16 += std::string(1, c) + '\0';
    utf16 += Bytes({0xE9, 0x00, 0x3C, 0xD8, 0x04, 0xDC});
    for (char c : std::string(".sgf"))
        utf16 += std::string(1, c) + '\0';
    const std::size_t units = utf16.size() / 2;
    ASSERT_LT(units, 255u);

    const std::string record = Bytes({0xFF, 0xFE, 0xFF, static_cast<int>(units)}) + utf16;
    ASSERT_TRUE(LoadCollection(doc, U32(0xFFFFFF94) + U32(1) + record + U32(1)));
    ASSERT_NE(doc.m_mapFiles.Find(path), nullptr);
    EXPECT_EQ(doc.m_mapFiles.Find(path)->m_nFlags, 1u);
}

TEST_F(CollectionFileTest, UnpairedSurrogatesBecomeReplacementCharacters)
{
    // Neither path exists, so the added paths are seen in no hint; the cut
    // test below shows the text was consumed with its declared length.
    const std::string lone = Bytes({0x61, 0x00, 0x00, 0xD8, 0x62, 0x00, 0x00, 0xDC});
    const std::string wide = Bytes({0xFF, 0xFE, 0xFF, 4}) + lone;
    EXPECT_TRUE(LoadCollection(doc, U32(0xFFFFFF94) + U32(1) + wide + U32(0)));

    const std::string path = Game("a\xEF\xBF\xBD"
                                  "b\xEF\xBF\xBD.sgf");
    const std::string folder = dir.path().string() + "/";
    std::string utf16;
    for (char c : folder)
        utf16 += std::string(1, c) + '\0';
    utf16 += lone;
    for (char c : std::string(".sgf"))
        utf16 += std::string(1, c) + '\0';
    const std::string record = Bytes({0xFF, 0xFE, 0xFF, static_cast<int>(utf16.size() / 2)}) + utf16;
    ASSERT_TRUE(LoadCollection(doc, U32(2) + record + Str(path)));
    // The second record names the same path in UTF-8, so it is the repeat.
    EXPECT_EQ(doc.m_mapFiles.size(), 1u);
    EXPECT_NE(doc.m_mapFiles.Find(path), nullptr);
}

TEST_F(CollectionFileTest, AFileCutInTheMiddleOfAValueFailsAtOnce)
{
    const std::string a = Game("a.sgf");
    const std::string whole = U32(0xFFFFFF94) + U32(2) + Str(a) + U32(1) + Str(a + "x") + U32(0);
    // Every proper prefix fails, and the whole file is checked before any
    // record is added.
    for (std::size_t size = 1; size < whole.size(); ++size) {
        CVarnexDoc cut;
        EXPECT_EQ(LoadCollectionChecked(cut, std::string_view(whole).substr(0, size)), ECollectionLoad::Truncated)
            << size;
        EXPECT_TRUE(cut.m_mapFiles.empty()) << size;
    }

    const std::string file = dir.Write("cut.vnx", whole.substr(0, 10));
    std::string error;
    CVarnexDoc cutFile;
    EXPECT_FALSE(LoadCollectionFile(cutFile, file, &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(CollectionFileTest, OnlyAFileThatStartsLikeACollectionIsCalledCut)
{
    // A game record, and short bytes that are no part of the version mark.
    EXPECT_EQ(LoadCollectionChecked(doc, kGame), ECollectionLoad::NotCollection);
    EXPECT_EQ(LoadCollectionChecked(doc, "(;)"), ECollectionLoad::NotCollection);
    EXPECT_EQ(LoadCollectionChecked(doc, Bytes({0x94, 0xFF})), ECollectionLoad::Truncated);
    // The older form: a count the bytes could hold, records cut short.
    EXPECT_EQ(LoadCollectionChecked(doc, U32(2) + Bytes({5}) + "ab"), ECollectionLoad::Truncated);
    EXPECT_EQ(LoadCollectionChecked(doc, U32(9) + "ab"), ECollectionLoad::NotCollection);
    // A negative first value other than the mark is no cut collection.
    EXPECT_EQ(LoadCollectionChecked(doc, U32(0xFFFFFF00) + U32(1) + "a"), ECollectionLoad::NotCollection);

    const std::string file = dir.Write("game.vnx", kGame);
    std::string error;
    EXPECT_FALSE(LoadCollectionFile(doc, file, &error));
    EXPECT_EQ(error, file + " is not a Varnex collection file.");
}

TEST_F(CollectionFileTest, LengthsBeyondTheBytesLeftFailWithoutReadingOn)
{
    // A 32-bit length of 4 GB, a 16-bit text of 4 G units, a 16-bit length.
    const std::vector<std::string> records = {
        Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + "abc",
        Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + "a",
        Bytes({0xFF, 0x00, 0x10}) + "abc",
        Bytes({0xFF, 0xFE, 0xFF, 3}) + std::string("a\0b\0c", 5),
    };
    for (const std::string& record : records) {
        CVarnexDoc cut;
        EXPECT_FALSE(LoadCollection(cut, U32(0xFFFFFF94) + U32(1) + record + U32(0)));
    }
}

TEST_F(CollectionFileTest, AHugeAnnouncedCountReservesNothingAndFailsAsCut)
{
    // Under the address sanitizer a reservation of 2^31 records would abort.
    const std::string a = Game("a.sgf");
    EXPECT_EQ(LoadCollectionChecked(doc, U32(0xFFFFFF94) + U32(0x7FFFFFFF) + Str(a) + U32(0)),
              ECollectionLoad::Truncated);
    EXPECT_TRUE(doc.m_mapFiles.empty());
    EXPECT_TRUE(view.hints.empty());
}

TEST_F(CollectionFileTest, AnEmptyFileIsAnEmptyCollectionWithoutALoadStep)
{
    const std::string file = dir.Write("empty.vnx", "");
    std::string error;
    EXPECT_TRUE(LoadCollectionFile(doc, file, &error)) << error;
    EXPECT_TRUE(doc.m_mapFiles.empty());
    EXPECT_TRUE(view.hints.empty());
}

TEST_F(CollectionFileTest, ACollectionOfMissingGamesLoadsEmpty)
{
    const std::string bytes = U32(0xFFFFFF94) + U32(2) + Str("/nonexistent/varnex/a.sgf") + U32(1) +
                              Str("/nonexistent/varnex/b.sgf") + U32(0);
    const std::string file = dir.Write("gone.vnx", bytes);
    std::string error;
    EXPECT_TRUE(LoadCollectionFile(doc, file, &error)) << error;
    EXPECT_TRUE(doc.m_mapFiles.empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(CollectionFileTest, FilesThatCannotBeReadAreReportedWithAReason)
{
    std::string error;
    EXPECT_FALSE(LoadCollectionFile(doc, (dir.path() / "none.vnx").string(), &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(LoadCollectionFile(doc, dir.path().string(), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(CollectionFileTest, SavingReplacesTheWholeOldFile)
{
    const std::string file = dir.Write("games.vnx", std::string(1000, 'z'));
    ASSERT_TRUE(SaveCollectionFile(doc, file));
    EXPECT_EQ(ReadFileBytes(file), StoreCollection(doc));
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST_F(CollectionFileTest, AFailedSaveReportsWhyAndLeavesTheOldFileUntouched)
{
    doc.m_mapFiles.Insert("/g/a.sgf", std::make_unique<CGameEntry>(1));

    // The target is a folder: everything is written, the replacement fails.
    std::filesystem::create_directory(dir.path() / "folder.vnx");
    const std::string old = dir.Write("folder.vnx/keep.txt", "old");
    std::string error;
    EXPECT_FALSE(SaveCollectionFile(doc, (dir.path() / "folder.vnx").string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFileBytes(old), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);

    // The folder does not exist.
    error.clear();
    EXPECT_FALSE(SaveCollectionFile(doc, (dir.path() / "no" / "games.vnx").string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no"));
}

TEST_F(CollectionFileTest, SavingKeepsTheFilesPermissions)
{
    doc.m_mapFiles.Insert("/g/a.sgf", std::make_unique<CGameEntry>(1));
    const std::string real = dir.Write("private.vnx", "old");
    const auto link = dir.path() / "link.vnx";
    std::filesystem::create_symlink(real, link);
    for (const mode_t mode : {0600, 0640, 0604}) {
        ASSERT_EQ(::chmod(real.c_str(), mode), 0);
        ASSERT_TRUE(SaveCollectionFile(doc, real));
        struct stat info
        {
        };
        ASSERT_EQ(::stat(real.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        // Saved through a link, the linked file keeps them too.
        ASSERT_TRUE(SaveCollectionFile(doc, link.string()));
        ASSERT_EQ(::stat(real.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
    }
}

TEST_F(CollectionFileTest, SavingThroughALinkReplacesTheLinkedFile)
{
    const std::string real = dir.Write("real.vnx", "old");
    const auto link = dir.path() / "link.vnx";
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(SaveCollectionFile(doc, link.string()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(real), StoreCollection(doc));
}

TEST_F(CollectionFileTest, CorpusGamesSurviveASaveAndLoad)
{
    VARNEX_REQUIRE_CORPUS();
    std::vector<std::string> games;
    for (const auto& item : std::filesystem::recursive_directory_iterator(CorpusDir() / "jkk__eidogo"))
        if (item.is_regular_file())
            games.push_back(item.path().string());
    ASSERT_FALSE(games.empty());
    std::size_t added = 0;
    for (const std::string& game : games)
        added += doc.AddGameFile(game, added % 2) ? 1 : 0;
    ASSERT_GT(added, 0u);

    const std::string file = (dir.path() / "corpus.vnx").string();
    ASSERT_TRUE(SaveCollectionFile(doc, file));
    CVarnexDoc loaded;
    ASSERT_TRUE(LoadCollectionFile(loaded, file));
    ASSERT_EQ(loaded.m_mapFiles.size(), added);
    doc.m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
        const CGameEntry* other = loaded.m_mapFiles.Find(path);
        ASSERT_NE(other, nullptr) << path;
        EXPECT_EQ(other->m_nFlags, entry.m_nFlags);
        EXPECT_EQ(other->m_props.Items(), entry.m_props.Items());
    });
    // Reloading adds the records in enumeration order, so paths that share a
    // bucket come back in reverse; a second round restores the first order.
    EXPECT_EQ(StoreCollection(loaded).size(), StoreCollection(doc).size());
    const std::string again = (dir.path() / "again.vnx").string();
    ASSERT_TRUE(SaveCollectionFile(loaded, again));
    CVarnexDoc reloaded;
    ASSERT_TRUE(LoadCollectionFile(reloaded, again));
    EXPECT_EQ(StoreCollection(reloaded), StoreCollection(doc));
}

TEST_F(CollectionFileTest, ASixteenBitPathOf255UnitsOrMoreHasASixteenBitLength)
{
    // Component names stay below the file system's limit; the whole path
    // passes 255 UTF-16 units, so its length takes the 0xFF form.
    const std::string folder = dir.path().string() + "/" + std::string(120, 'd') + "/" + std::string(120, 'e');
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/\xC3\xA9.sgf";
    ASSERT_TRUE(std::filesystem::exists(dir.Write(path.substr(dir.path().string().size() + 1), kGame)));

    std::string utf16;
    for (char c : folder + "/")
        utf16 += std::string(1, c) + '\0';
    utf16 += Bytes({0xE9, 0x00});
    for (char c : std::string(".sgf"))
        utf16 += std::string(1, c) + '\0';
    const std::size_t units = utf16.size() / 2;
    ASSERT_GE(units, 255u);
    ASSERT_LT(units, 65534u);

    const std::string record =
        Bytes({0xFF, 0xFE, 0xFF, 0xFF, static_cast<int>(units & 0xFF), static_cast<int>(units >> 8)}) + utf16;
    ASSERT_TRUE(LoadCollection(doc, U32(0xFFFFFF94) + U32(2) + record + U32(1) + Str(path) + U32(0)));
    // The second record names the same path in UTF-8, so it is the repeat.
    EXPECT_EQ(doc.m_mapFiles.size(), 1u);
    ASSERT_NE(doc.m_mapFiles.Find(path), nullptr);
    EXPECT_EQ(doc.m_mapFiles.Find(path)->m_nFlags, 1u);
}

TEST_F(CollectionFileTest, ASaveThatHitsAFullDiskFailsAndKeepsTheOldFile)
{
    for (int i = 0; i < 100; ++i)
        doc.m_mapFiles.Insert("/games/a-long-folder-name/game-" + std::to_string(i) + ".sgf",
                              std::make_unique<CGameEntry>(0));
    const std::string file = dir.Write("games.vnx", "old");
    std::string error;
    {
        CFileSizeLimit limit(1024);
        EXPECT_FALSE(SaveCollectionFile(doc, file, &error));
    }
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadFileBytes(file), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST_F(CollectionFileTest, OnlyARegularFileOrANewNameIsReplacedBySaving)
{
    const auto fifo = dir.path() / "pipe.vnx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto link = dir.path() / "link.vnx";
    std::filesystem::create_symlink(fifo, link);
    std::string error;
    EXPECT_FALSE(SaveCollectionFile(doc, fifo.string(), &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_FALSE(SaveCollectionFile(doc, link.string()));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(SaveCollectionFile(doc, (dir.path() / "new.vnx").string()));
}

TEST_F(CollectionFileTest, ASaveRemovesOnlyTheStaleTemporaryFilesOfItsOwnName)
{
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5);
    auto leftover = [&](const std::string& name) {
        const std::string path = dir.Write(name, "cut");
        std::filesystem::last_write_time(path, old);
        return path;
    };
    const std::string stale = leftover(".games.vnx.123456.tmp");
    const std::string otherName = leftover(".other.vnx.123456.tmp");
    const std::string notANumber = leftover(".games.vnx.12a.tmp");
    const std::string fresh = dir.Write(".games.vnx.777.tmp", "being written");
    // A writer that is still at work holds a lock on its file.
    const std::string held = leftover(".games.vnx.999.tmp");
    const int heldFd = ::open(held.c_str(), O_RDONLY);
    ASSERT_GE(heldFd, 0);
    ASSERT_EQ(::flock(heldFd, LOCK_EX), 0);

    ASSERT_TRUE(SaveCollectionFile(doc, (dir.path() / "games.vnx").string()));
    ::close(heldFd);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(otherName));
    EXPECT_TRUE(std::filesystem::exists(notANumber));
    EXPECT_TRUE(std::filesystem::exists(fresh));
    EXPECT_TRUE(std::filesystem::exists(held));
}

TEST_F(CollectionFileTest, APipeADeviceOrAFolderIsRefusedWithoutWaiting)
{
    const auto fifo = dir.path() / "pipe.vnx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo.string(), std::string("/dev/zero"), dir.path().string()}) {
        std::string error;
        EXPECT_FALSE(CanOpenCollectionFile(path, &error)) << path;
        EXPECT_FALSE(LoadCollectionFile(doc, path, &error)) << path;
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    }
}

TEST_F(CollectionFileTest, AFileLargerThanAnyCollectionIsRefusedBeforeItIsRead)
{
    const std::string file = dir.Write("huge.vnx", "");
    // Sparse: it takes no room on disk.
    ASSERT_EQ(::truncate(file.c_str(), static_cast<off_t>(kMaxCollectionBytes + 1)), 0);
    std::string error;
    EXPECT_FALSE(LoadCollectionFile(doc, file, &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_EQ(view.hints.size(), 0u);
}

TEST_F(CollectionFileTest, StoredRelativePathsAreTakenFromTheCollectionsFolder)
{
    std::filesystem::create_directory(dir.path() / "sub");
    const std::string inSub = dir.Write("sub/a.sgf", kGame);
    const std::string above = Game("b.sgf");
    const std::string dash = dir.Write("sub/-x.sgf", kGame);
    const std::string file =
        dir.Write("sub/c.vnx", U32(static_cast<std::uint32_t>(-108)) + U32(4) + Str("a.sgf") + U32(0) +
                                   Str("../b.sgf") + U32(1) + Str("-x.sgf") + U32(0) + Str("C:\\g.sgf") + U32(0));
    ASSERT_TRUE(LoadCollectionFile(doc, file));
    EXPECT_EQ(doc.m_mapFiles.size(), 3u);
    EXPECT_NE(doc.m_mapFiles.Find(inSub), nullptr);
    EXPECT_NE(doc.m_mapFiles.Find(above), nullptr);
    EXPECT_NE(doc.m_mapFiles.Find(dash), nullptr);
    // Another system's absolute path is kept as it was stored.
    ASSERT_EQ(doc.m_unread.size(), 1u);
    EXPECT_EQ(doc.m_unread.front().path, "C:\\g.sgf");
}

TEST_F(CollectionFileTest, ARecordPathHoldingNulNamesNoFile)
{
    const std::string game = Game("a.sgf");
    const std::string withNul = game + std::string(1, '\0') + "junk";
    const std::string file =
        dir.Write("c.vnx", U32(static_cast<std::uint32_t>(-108)) + U32(2) + Str(game) + U32(0) + Str(withNul) + U32(0));
    ASSERT_TRUE(LoadCollectionFile(doc, file));
    EXPECT_EQ(doc.m_mapFiles.size(), 1u);
    EXPECT_EQ(doc.m_mapFiles.Find(withNul), nullptr);
    EXPECT_FALSE(doc.AddGameFile(withNul, 0));
}

TEST(CollectionLockTest, OneHolderAtATimeOnALockFileBesideTheCollection)
{
    CTempDir dir;
    const std::string collection = dir.Write("c.vnx", "");
    const auto link = dir.path() / "link.vnx";
    std::filesystem::create_symlink(collection, link);
    EXPECT_EQ(CCollectionLock::LockPathFor(collection), (dir.path() / ".c.vnx.lock").string());
    EXPECT_EQ(CCollectionLock::LockPathFor(link.string()), CCollectionLock::LockPathFor(collection));

    auto first = std::make_unique<CCollectionLock>(collection);
    CCollectionLock second(link.string());
    EXPECT_EQ(first->TryLock(), CCollectionLock::EState::Locked);
    EXPECT_EQ(second.TryLock(), CCollectionLock::EState::Busy);
    first.reset();
    EXPECT_EQ(second.TryLock(), CCollectionLock::EState::Locked);
}
