#include "CliRunner.h"
#include "TestSupport.h"

#include "cli/CliCommands.h"
#include "cli/CliEscape.h"
#include "cli/CliFileWalk.h"
#include "files/CollectionLock.h"
#include "qtcore/QtSettingsStore.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <thread>
#include <tuple>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class CliTest : public testing::Test
{
protected:
    CliTest()
    {
        fs::create_directories(m_scratch);
        fs::create_directories(m_config);
    }

    CCliResult Run(const std::vector<std::string>& args, const fs::path& cwd = {})
    {
        return RunCli(args, m_scratch, m_config, cwd);
    }

    // A settings file the tool reads with --settings, written through the
    // program's own store so its format is the one the desktop writes.
    std::string Settings(const std::vector<std::pair<std::string, std::string>>& strings,
                         const std::vector<std::pair<std::string, int>>& ints, const std::string& name = "s.ini")
    {
        const fs::path path = m_tmp.Write(name, "");
        CQtSettingsStore store(QFile::decodeName(QByteArray::fromStdString(path.string())));
        for (const auto& [key, value] : strings) {
            const auto slash = key.find('/');
            store.WriteProfileString(key.substr(0, slash), key.substr(slash + 1), value);
        }
        for (const auto& [key, value] : ints) {
            const auto slash = key.find('/');
            store.WriteProfileInt(key.substr(0, slash), key.substr(slash + 1), value);
        }
        return path.string();
    }

    std::string Game(const std::string& name, const std::string& bytes) const
    {
        return m_tmp.Write("games/" + name, bytes);
    }

    std::string Collection(const std::string& name = "c.vnx") const { return (m_tmp.path() / name).string(); }

    CTempDir m_tmp;
    fs::path m_scratch = m_tmp.path() / "scratch";
    fs::path m_config = m_tmp.path() / "config";
};

// The paths of a collection file of the current form with short paths, in
// the order the file lists them.
std::vector<std::string> StoredPaths(const std::string& bytes)
{
    std::vector<std::string> paths;
    std::size_t pos = 8;
    while (pos < bytes.size()) {
        const auto length = static_cast<unsigned char>(bytes[pos]);
        EXPECT_LT(length, 255u);
        paths.push_back(bytes.substr(pos + 1, length));
        pos += 1 + length + 4;
    }
    return paths;
}

const std::string kGameA = "(;GN[Alpha]DT[2001-02-03]PB[Kim]BR[3d]PW[Me]WR[5d]RE[W+R];B[pd])";
const std::string kGameB = "(;GN[Beta]DT[1999-05-05]PB[Me]BR[1k]PW[Zed]WR[2d]RE[B+3.5];B[pd])";
const std::string kGameC = "(;GN[Gamma]DT[2010-10-10]PB[Ann]PW[Bob]RE[Draw];B[pd])";

} // namespace

TEST(CliEscapeTest, EscapesBackslashAndControlBytesAndKeepsEverythingElse)
{
    EXPECT_EQ(EscapeField("a\\b\tc\nd\re"), "a\\\\b\\tc\\nd\\re");
    EXPECT_EQ(EscapeField(std::string("\x00\x01\x1f\x7f", 4)), "\\x00\\x01\\x1F\\x7F");
    EXPECT_EQ(EscapeField("\xC3\xA9\xFF\x80 ~"), "\xC3\xA9\xFF\x80 ~");
}

TEST(CliFileWalkTest, WalksFoldersDepthFirstInBytewiseNameOrder)
{
    CTempDir tmp;
    tmp.Write("b.sgf", "");
    tmp.Write("a.sgf", "");
    tmp.Write("a/inner.sgf", "");
    tmp.Write("B.sgf", "");
    tmp.Write("_x.sgf", "");
    tmp.Write("Z/deep/z.sgf", "");
    tmp.Write("c.SGF", "");
    tmp.Write("d.Mgt", "");
    tmp.Write("e.GPH", "");
    tmp.Write("notes.txt", "");
    tmp.Write("sgf", "");
    tmp.Write("x.sgf.bak", "");
    fs::create_directories(tmp.path() / "folder.sgf");
    std::ostringstream err;
    const auto found = FindGameFiles(tmp.path().string(), err);
    std::vector<std::string> relative;
    for (const auto& path : found)
        relative.push_back(fs::path(path).lexically_relative(tmp.path()).string());
    const std::vector<std::string> expected{"B.sgf", "Z/deep/z.sgf", "_x.sgf", "a/inner.sgf", "a.sgf",
                                            "b.sgf", "c.SGF",        "d.Mgt",  "e.GPH"};
    EXPECT_EQ(relative, expected);
    EXPECT_EQ(err.str(), "");
}

TEST(CliFileWalkTest, DoesNotEnterFoldersReachedThroughSymbolicLinks)
{
    CTempDir tmp;
    tmp.Write("real/a.sgf", "");
    fs::create_directory_symlink(tmp.path(), tmp.path() / "real" / "loop");
    fs::create_symlink(tmp.path() / "real" / "a.sgf", tmp.path() / "link.sgf");
    std::ostringstream err;
    const auto found = FindGameFiles(tmp.path().string(), err);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(fs::path(found[0]).filename(), "link.sgf");
    EXPECT_EQ(fs::path(found[1]).filename(), "a.sgf");
}

TEST(CliFileWalkTest, StoresPathsAbsoluteNamingTheFileTheUserNamed)
{
    CTempDir tmp;
    tmp.Write("games/x/keep", "");
    tmp.Write("games/a.sgf", "");
    tmp.Write("elsewhere/sub/keep", "");
    tmp.Write("elsewhere/a.sgf", "");
    fs::create_directory_symlink(tmp.path() / "elsewhere" / "sub", tmp.path() / "games" / "link");
    const fs::path games = tmp.path() / "games";
    EXPECT_EQ(CollectionPathFor((games / "./x/../a.sgf").string()), (games / "a.sgf").string());
    EXPECT_EQ(CollectionPathFor("a.sgf"), (fs::current_path() / "a.sgf").string());
    // ".." after a link goes back from where the link leads, as the system
    // reads the path; a link not followed by ".." is stored as written.
    EXPECT_EQ(CollectionPathFor((games / "link/../a.sgf").string()),
              (fs::canonical(tmp.path() / "elsewhere") / "a.sgf").string());
    EXPECT_EQ(CollectionPathFor((games / "link/./keep").string()), (games / "link/keep").string());
    // From a name that is not there on, the path stays as written, so it
    // still names nothing rather than some other file.
    EXPECT_EQ(CollectionPathFor((games / "gone/../a.sgf").string()), (games / "gone/../a.sgf").string());
}

TEST_F(CliTest, AddStoresTheFileADotDotAfterALinkNames)
{
    const auto real = Game("elsewhere/g.sgf", kGameA);
    Game("elsewhere/sub/other.sgf", kGameB);
    fs::create_directories(m_tmp.path() / "a");
    fs::create_directory_symlink(m_tmp.path() / "games" / "elsewhere" / "sub", m_tmp.path() / "a" / "link");
    const auto result = Run({"add", Collection(), (m_tmp.path() / "a/link/../g.sgf").string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "added 1, already present 0, unreadable 0\n");
    EXPECT_EQ(StoredPaths(ReadFileBytes(Collection())),
              std::vector<std::string>{(fs::canonical(m_tmp.path() / "games/elsewhere") / "g.sgf").string()});
    EXPECT_TRUE(fs::exists(real));
}

TEST_F(CliTest, InfoPrintsEachFileWithItsPropertiesInIdOrder)
{
    VARNEX_REQUIRE_CORPUS();
    const auto xmgt = (CorpusDir() / "sanderland__katrain/tests/data/xmgt97.sgf").string();
    const auto empty = (CorpusDir() / "runningskull__gnugo/regression/games/pending/nightmare.sgf").string();
    const auto missing = (m_tmp.path() / "missing.sgf").string();
    const auto result = Run({"info", xmgt, empty, missing});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, xmgt +
                              "\tok\n"
                              "\tB\tff\n"
                              "\tFF\t1\n"
                              "\tGM\t1\n"
                              "\tKM\t-1.5\n"
                              "\tPB\thi\n"
                              "\tPW\tka\n"
                              "\tSZ\t9\n"
                              "\tVW\t\n" +
                              empty + "\tfail\n" + missing + "\tfail\n");
    EXPECT_EQ(result.err,
              "varnex-cli: " + empty + ": not a game record\nvarnex-cli: " + missing + ": No such file or directory\n");
}

TEST_F(CliTest, InfoEscapesControlBytesInPathsAndValues)
{
    const auto path = Game("tab\there\\.sgf", std::string("(;GN[a\tb\rc\x7f"
                                                          "d\x01\\\\e\xC3\xA9]C[x\r\ny]PB[];W[aa])"));
    const auto result = Run({"info", path});
    EXPECT_EQ(result.exitCode, 0);
    const std::string escapedPath = (m_tmp.path() / "games").string() + "/tab\\there\\\\.sgf";
    EXPECT_EQ(result.out, escapedPath + "\tok\n"
                                        "\tC\tx\\ny\n"
                                        "\tGN\ta\\tb\\rc\\x7Fd\\x01\\\\e\xC3\xA9\n"
                                        "\tPB\t\n");
}

TEST_F(CliTest, InfoReadsTheBinaryFormWhateverTheName)
{
    std::string bytes("\x06\x01\x00\x00\x00", 5);
    bytes += std::string(12, '\0');
    bytes += std::string("\x02\x00\x00\x00", 4); // two records
    bytes += std::string("\x11\x00\x04Test", 7); // GN
    bytes += std::string("\x17\x00\x00", 3);     // PB, empty
    const auto path = Game("binary.sgf", bytes);
    const auto result = Run({"info", path});
    EXPECT_EQ(result.out, path + "\tok\n\tGN\tTest\n\tPB\t\n");
}

TEST_F(CliTest, BadArgumentsGiveOneLineOnStderrAndExitTwo)
{
    const std::vector<std::vector<std::string>> bad{
        {},
        {"frobnicate"},
        {"info"},
        {"add", Collection()},
        {"list"},
        {"list", "a.vnx", "b.vnx"},
        {"list", "a.vnx", "--bogus"},
        {"add", "--full-path", "a.vnx", "x.sgf"},
        {"list", "a.vnx", "--settings"},
        {"list", "a.vnx", "--settings", (m_tmp.path() / "no.ini").string()}};
    for (const auto& args : bad) {
        const auto result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    EXPECT_FALSE(fs::exists(Collection()));
}

TEST_F(CliTest, HelpDescribesEveryCommand)
{
    const auto result = Run({"--help"});
    EXPECT_EQ(result.exitCode, 0);
    for (const char* text : {"info [--utf8] [--game N] FILE", "add [--verbose] COLLECTION.vnx", "list COLLECTION.vnx",
                             "--full-path", "--settings", "absolute", "added N, already present M, unreadable K"})
        EXPECT_NE(result.out.find(text), std::string::npos) << text;
}

TEST_F(CliTest, EachCommandsHelpIsItsOwnPart)
{
    const auto whole = Run({"--help"});
    const std::vector<std::pair<std::string, std::string>> commands = {
        {"info", "Reads the game-information properties"},
        {"add", "Adds game files to the collection file"},
        {"list", "Writes exactly the bytes the Export command writes"},
        {"board", "Reads the main line of each game file"},
        {"dups", "Finds the game files of the collection that hold one game"}};
    for (const auto& [command, own] : commands) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{command, "--help"}, {command, "-h"}, {"help", command}}) {
            SCOPED_TRACE(testing::PrintToString(args));
            const auto result = Run(args);
            EXPECT_EQ(result.exitCode, 0);
            EXPECT_EQ(result.out.rfind("Usage: varnex-cli " + command + " ", 0), 0u) << result.out;
            EXPECT_NE(result.out.find(own), std::string::npos);
            EXPECT_LT(result.out.size(), whole.out.size() / 2);
            for (const auto& [other, its] : commands) {
                if (other != command) {
                    EXPECT_EQ(result.out.find(its), std::string::npos) << other;
                }
            }
        }
    }
}

TEST_F(CliTest, AddWalksFoldersAndCountsWhatItAdded)
{
    Game("one.sgf", kGameA);
    Game("sub/two.SGF", kGameB);
    Game("sub/three.Mgt", kGameC);
    Game("sub/bad.sgf", "no game here");
    Game("notes.txt", kGameA);
    const auto plain = Game("plain.txt", kGameC);
    const auto games = (m_tmp.path() / "games").string();

    const auto nothing = (m_tmp.path() / "nothing.sgf").string();
    auto result = Run({"add", Collection(), games, plain, nothing});
    // The missing path is named and fails the run; what could be read is added.
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "varnex-cli: " + nothing + ": No such file or directory\n");
    EXPECT_EQ(result.out, "added 4, already present 0, unreadable 1\n");

    const std::set<std::string> stored = [&] {
        const auto paths = StoredPaths(ReadFileBytes(Collection()));
        return std::set<std::string>(paths.begin(), paths.end());
    }();
    EXPECT_EQ(stored,
              (std::set<std::string>{games + "/one.sgf", games + "/sub/two.SGF", games + "/sub/three.Mgt", plain}));

    // Nothing new: the file is left exactly as it was.
    const auto before = ReadFileBytes(Collection());
    result = Run({"add", Collection(), games});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "added 0, already present 3, unreadable 1\n");
    EXPECT_EQ(ReadFileBytes(Collection()), before);

    // The same file named twice in one run is present the second time.
    result = Run({"add", Collection(), Game("four.sgf", kGameA), games + "/four.sgf"});
    EXPECT_EQ(result.out, "added 1, already present 1, unreadable 0\n");
    EXPECT_EQ(StoredPaths(ReadFileBytes(Collection())).size(), 5u);
}

TEST_F(CliTest, AddStoresRelativePathsAbsoluteAndNormalised)
{
    Game("a.sgf", kGameA);
    const auto result = Run({"add", "c.vnx", "./games/../games/a.sgf"}, m_tmp.path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(StoredPaths(ReadFileBytes(Collection())),
              std::vector<std::string>{(m_tmp.path() / "games" / "a.sgf").string()});
}

TEST_F(CliTest, AddRefusesACutCollectionAndLeavesItUntouched)
{
    const std::string cut("\x94\xFF\xFF\xFF\x02\x00\x00\x00\x05/a.sg", 14);
    const auto path = m_tmp.Write("cut.vnx", cut);
    const auto result = Run({"add", path, Game("a.sgf", kGameA)});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("cut.vnx"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFileBytes(path), cut);
}

TEST_F(CliTest, AddOfOnlyMissingPathsWritesNothing)
{
    const auto result = Run({"add", Collection(), "/nonexistent/varnex/x.sgf", ""});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "varnex-cli: /nonexistent/varnex/x.sgf: No such file or directory\n"
                          "varnex-cli: : No such file or directory\n");
    EXPECT_FALSE(fs::exists(Collection()));
}

TEST_F(CliTest, AddNamesFolderFilesThatAreNoGameRecordsOnlyWhenVerbose)
{
    Game("ok.sgf", kGameA);
    const auto bad = Game("bad.sgf", "no game here");
    const auto games = (m_tmp.path() / "games").string();
    auto result = Run({"add", Collection(), games});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    result = Run({"add", "--verbose", Collection("v.vnx"), games});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "varnex-cli: " + bad + ": not a game record\n");
    EXPECT_EQ(result.out, "added 1, already present 0, unreadable 1\n");
}

TEST_F(CliTest, AddRefusesAFileThatIsNoCollectionAndLeavesItUntouched)
{
    // Bytes of another kind whose first 32-bit value happens to be negative.
    std::string other(1000, '\0');
    for (std::size_t i = 0; i < other.size(); ++i)
        other[i] = static_cast<char>((i * 131 + 7) % 256);
    other[3] = static_cast<char>(0xFF);
    const auto path = m_tmp.Write("other.vnx", other);
    const auto result = Run({"add", path, Game("a.sgf", kGameA)});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("not a Varnex collection file"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFileBytes(path), other);
}

TEST_F(CliTest, AddKeepsStoredRecordsWhoseGameFilesAreAway)
{
    const auto a = Game("a.sgf", kGameA);
    ASSERT_EQ(Run({"add", Collection(), a}).exitCode, 0);
    fs::rename(a, a + ".away");
    const auto result = Run({"add", Collection(), Game("b.sgf", kGameB)});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.find("1 stored game file(s) could not be read again"), std::string::npos) << result.err;
    EXPECT_EQ(StoredPaths(ReadFileBytes(Collection())), (std::vector<std::string>{Game("b.sgf", kGameB), a}));
    // list leaves it out, as Export would.
    fs::rename(a + ".away", a + ".gone");
    const auto listed = Run({"list", Collection(), "--settings", Settings({}, {})}).out;
    EXPECT_EQ(listed.rfind("b.sgf\t", 0), 0u) << listed;
    EXPECT_EQ(listed.find("a.sgf"), std::string::npos) << listed;
}

TEST_F(CliTest, Utf8ListAndInfoShowCjkNamesAndPlainListStaysBytes)
{
    // 棋基础 in GB2312 under CA, and 囲碁 in Shift_JIS without CA but with
    // a comment long enough for detection to be sure.
    const std::string gbName = "\xC6\xE5\xBB\xF9\xB4\xA1";
    const auto gb = Game("gb.sgf", "(;CA[gb2312]PB[" + gbName + "]PW[Lee];B[pd])");
    ASSERT_EQ(Run({"add", Collection(), gb}).exitCode, 0);
    const auto settings = Settings({{"Header/Definition", "Black:PB|White:PW"}, {"Header/Index", "0|1"}}, {});

    auto result = Run({"list", Collection(), "--settings", settings, "--utf8"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "gb.sgf\t\xE6\xA3\x8B\xE5\x9F\xBA\xE7\xA1\x80\tLee\r\n");
    result = Run({"list", Collection(), "--settings", settings});
    EXPECT_EQ(result.out, "gb.sgf\t" + gbName + "\tLee\r\n");

    result = Run({"info", "--utf8", gb});
    EXPECT_EQ(result.out, gb + "\tok\n\tCA\tgb2312\n\tPB\t\xE6\xA3\x8B\xE5\x9F\xBA\xE7\xA1\x80\n\tPW\tLee\n");
}

TEST_F(CliTest, AddIntoAMissingFolderFailsAndCreatesNothing)
{
    const auto path = (m_tmp.path() / "no-such-folder" / "c.vnx").string();
    const auto result = Run({"add", path, Game("a.sgf", kGameA)});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err, "");
    EXPECT_FALSE(fs::exists(m_tmp.path() / "no-such-folder"));
}

TEST_F(CliTest, AddKeepsTheStoredEntriesAndTheirFlags)
{
    const auto a = Game("a.sgf", kGameA);
    std::string bytes("\x94\xFF\xFF\xFF\x01\x00\x00\x00", 8);
    bytes += static_cast<char>(a.size());
    bytes += a;
    bytes += std::string("\x05\x00\x00\x80", 4);
    const auto path = m_tmp.Write("c.vnx", bytes);
    const auto b = Game("b.sgf", kGameB);
    const auto result = Run({"add", path, b});
    EXPECT_EQ(result.out, "added 1, already present 0, unreadable 0\n");
    const auto stored = ReadFileBytes(path);
    const auto at = stored.find(a);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(stored.substr(at + a.size(), 4), std::string("\x05\x00\x00\x80", 4));
}

TEST_F(CliTest, AddsTheWholeCorpus)
{
    VARNEX_REQUIRE_CORPUS();
    const auto result = Run({"add", Collection(), CorpusDir().string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    long long added = 0, present = 0, unreadable = 0;
    ASSERT_EQ(std::sscanf(result.out.c_str(), "added %lld, already present %lld, unreadable %lld", &added, &present,
                          &unreadable),
              3);
    std::size_t sgfFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(CorpusDir()))
        sgfFiles += entry.is_regular_file() && HasGameFileExtension(entry.path().filename().string());
    EXPECT_EQ(static_cast<std::size_t>(added + unreadable), sgfFiles);
    EXPECT_EQ(present, 0);
    EXPECT_GT(added, 3000);
    EXPECT_EQ(StoredPaths(ReadFileBytes(Collection())).size(), static_cast<std::size_t>(added));
}

TEST_F(CliTest, ListAndAddKeepTheHeaderCacheAndNoCacheReadsEveryFileWithoutIt)
{
    const auto a = Game("a.sgf", kGameA);
    Game("b.sgf", kGameB);
    ASSERT_EQ(Run({"add", "--no-cache", Collection(), (m_tmp.path() / "games").string()}).exitCode, 0);
    const fs::path caches = m_config / "cache" / "Pellmore" / "Varnex";
    EXPECT_FALSE(fs::exists(caches));

    const auto plain = Run({"list", Collection(), "--no-cache"});
    ASSERT_EQ(plain.exitCode, 0);
    EXPECT_NE(plain.out.find("Alpha"), std::string::npos);
    EXPECT_FALSE(fs::exists(caches));
    EXPECT_EQ(Run({"list", Collection()}).out, plain.out);
    ASSERT_TRUE(fs::exists(caches));
    EXPECT_EQ(std::distance(fs::directory_iterator(caches), fs::directory_iterator()) > 0, true);
    EXPECT_EQ(Run({"list", Collection()}).out, plain.out);

    // A game file changed since: read again, by list and by add alike.
    std::ofstream(a, std::ios::binary | std::ios::trunc) << "(;GN[Alpha changed]PB[Kim];B[pd])";
    const auto changed = Run({"list", Collection()});
    EXPECT_EQ(changed.out, Run({"list", Collection(), "--no-cache"}).out);
    EXPECT_NE(changed.out.find("Alpha changed"), std::string::npos);
    EXPECT_EQ(Run({"add", Collection(), a}).out, "added 0, already present 1, unreadable 0\n");
    EXPECT_EQ(Run({"list", Collection()}).out, changed.out);
}

TEST_F(CliTest, ListWritesTheExportBytesSortedAsStored)
{
    const auto a = Game("a.sgf", kGameA);
    const auto b = Game("b.sgf", kGameB);
    const auto c = Game("c.sgf", kGameC);
    ASSERT_EQ(Run({"add", Collection(), a, b, c}).exitCode, 0);
    // Date, Game Name, Winner, Opponent; sorted by Date (column 1) ascending.
    const auto settings =
        Settings({{"Header/Definition", "Game Name:GN|Date:DT|Black:PB|Winner:$Winner|Opponent:$Opponent"},
                  {"Header/Index", "1|0|3|4"},
                  {"Misc/My Names", "Me"}},
                 {{"Header/ColSort", 1 << 1}, {"Header/ColSortCur", 1}});
    auto result = Run({"list", Collection(), "--settings", settings});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "b.sgf\t1999-05-05\tBeta\tMe\tZed\r\n"
                          "a.sgf\t2001-02-03\tAlpha\tMe\tKim\r\n"
                          "c.sgf\t2010-10-10\tGamma\t\t\r\n"); // a draw has no winner

    // The same sort descending, with full paths.
    const auto descending =
        Settings({{"Header/Definition", "Game Name:GN|Date:DT"}}, {{"Header/ColSortCur", 2}}, "d.ini");
    result = Run({"list", Collection(), "--full-path", "--settings=" + descending});
    EXPECT_EQ(result.out, c + "\tGamma\t2010-10-10\r\n" + a + "\tAlpha\t2001-02-03\r\n" + b + "\tBeta\t1999-05-05\r\n");
}

TEST_F(CliTest, ListWithoutStoredSortKeepsTheCollectionFileOrderAndTheDefaultColumns)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 12; ++i)
        paths.push_back(Game("g" + std::to_string(i) + ".sgf", kGameA));
    std::vector<std::string> args{"add", Collection()};
    args.insert(args.end(), paths.begin(), paths.end());
    ASSERT_EQ(Run(args).exitCode, 0);

    const auto result = Run({"list", Collection(), "--settings", Settings({}, {})});
    std::string expected;
    for (const auto& path : StoredPaths(ReadFileBytes(Collection())))
        expected += fs::path(path).filename().string() + "\tAlpha\t2001-02-03\tKim\t3d\tMe\t5d\tMe\t\r\n";
    EXPECT_EQ(result.out, expected);
}

TEST_F(CliTest, ListFollowsTheStoredFullPathSettingUnlessAFlagSaysOtherwise)
{
    const auto a = Game("a.sgf", kGameA);
    ASSERT_EQ(Run({"add", Collection(), a}).exitCode, 0);
    const auto settings = Settings({{"Header/Definition", "Game Name:GN"}}, {{"Frame/Full Path", 1}});
    EXPECT_EQ(Run({"list", Collection(), "--settings", settings}).out, a + "\tAlpha\r\n");
    EXPECT_EQ(Run({"list", "--no-full-path", Collection(), "--settings", settings}).out, "a.sgf\tAlpha\r\n");
}

TEST_F(CliTest, ListCutsLongCellsAndKeepsTabsInsideValues)
{
    const std::string longName(250, 'x');
    const auto a = Game("a.sgf", "(;GN[" + longName + "]PB[tab\there];B[aa])");
    ASSERT_EQ(Run({"add", Collection(), a}).exitCode, 0);
    const auto settings = Settings({{"Header/Definition", "Game Name:GN|Black:PB"}}, {});
    EXPECT_EQ(Run({"list", Collection(), "--settings", settings}).out,
              "a.sgf\t" + std::string(199, 'x') + "\ttab\there\r\n");
}

TEST_F(CliTest, ListReadsTheUsersStoreWithoutChangingIt)
{
    const auto a = Game("a.sgf", kGameA);
    ASSERT_EQ(Run({"add", Collection(), a}).exitCode, 0);
    const auto conf = Settings({{"Header/Definition", "Black:PB|White:PW"}}, {}, "config/Pellmore/Varnex.conf");
    const auto before = ReadFileBytes(conf);
    const auto result = Run({"list", Collection()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "a.sgf\tKim\tMe\r\n");
    EXPECT_EQ(ReadFileBytes(conf), before);
}

TEST_F(CliTest, ListOfAnEmptyOrMissingCollection)
{
    m_tmp.Write("empty.vnx", "");
    auto result = Run({"list", Collection("empty.vnx"), "--settings", Settings({}, {})});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");

    result = Run({"list", Collection("missing.vnx")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("missing.vnx"), std::string::npos);
}

TEST_F(CliTest, ListComparesMyNamesWithTheNamesAsTheWindowShowsThem)
{
    // 古力 in GB2312; the names are typed as UTF-8.
    const auto c = Game("gamma.sgf", "(;CA[gb2312]GN[Gamma]PB[\xB9\xC5\xC1\xA6]PW[Bob];B[pd])");
    ASSERT_EQ(Run({"add", Collection(), c}).exitCode, 0);
    const auto settings = Settings(
        {{"Header/Definition", "Game Name:GN|Opponent:$Opponent"}, {"Misc/My Names", "\xE5\x8F\xA4\xE5\x8A\x9B"}}, {});
    const auto result = Run({"list", Collection(), "--settings", settings});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "gamma.sgf\tGamma\tBob\r\n");
}

TEST_F(CliTest, ListFollowsTheStoredSortByMeaning)
{
    const auto a = Game("a.sgf", kGameA);
    const auto b = Game("b.sgf", kGameB);
    const auto c = Game("c.sgf", "(;PB[Pro]BR[2p];B[pd])");
    ASSERT_EQ(Run({"add", Collection(), a, b, c}).exitCode, 0);
    // Ascending on Black Rank (column 1).
    const auto bytes =
        Settings({{"Header/Definition", "Black Rank:BR"}}, {{"Header/ColSortCur", 1}, {"Header/ColSort", 2}});
    EXPECT_EQ(Run({"list", Collection(), "--settings", bytes}).out, "b.sgf\t1k\r\nc.sgf\t2p\r\na.sgf\t3d\r\n");
    const auto meaning = Settings({{"Header/Definition", "Black Rank:BR"}},
                                  {{"Header/ColSortCur", 1}, {"Header/ColSort", 2}, {"Header/Sort by Meaning", 1}});
    EXPECT_EQ(Run({"list", Collection(), "--settings", meaning}).out, "b.sgf\t1k\r\na.sgf\t3d\r\nc.sgf\t2p\r\n");
}

TEST_F(CliTest, ListWithFieldTermsKeepsTheRowsTheWindowKeeps)
{
    const auto a = Game("alpha.sgf", kGameA);
    const auto b = Game("beta.sgf", kGameB);
    const auto c = Game("gamma.sgf", "(;CA[gb2312]GN[Gamma]DT[1999]PB[\xB9\xC5\xC1\xA6]PW[Bob]RE[Jigo];B[pd])");
    ASSERT_EQ(Run({"add", Collection(), a, b, c}).exitCode, 0);
    // Only the game name is shown: every field term looks past the columns.
    const auto settings = Settings({{"Header/Definition", "Game Name:GN"}}, {{"Header/ColSortCur", 0}});
    auto list = [&](const std::string& filter) {
        return Run({"list", Collection(), "--settings", settings, "--filter", filter}).out;
    };
    EXPECT_EQ(list("winner:me"), "beta.sgf\tBeta\r\nalpha.sgf\tAlpha\r\n");
    EXPECT_EQ(list("player:me -loser:zed"), "alpha.sgf\tAlpha\r\n");
    EXPECT_EQ(list("date:..2000"), "gamma.sgf\tGamma\r\nbeta.sgf\tBeta\r\n");
    EXPECT_EQ(list("date:1999-05 result:b+"), "beta.sgf\tBeta\r\n");
    EXPECT_EQ(list("result:jigo black:\xE5\x8F\xA4\xE5\x8A\x9B"), "gamma.sgf\tGamma\r\n");
    EXPECT_EQ(list("BR:3D"), "alpha.sgf\tAlpha\r\n");
    const auto unknown = Run({"list", Collection(), "--settings", settings, "--filter", "evnt:x"});
    EXPECT_EQ(unknown.exitCode, 0);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("Unknown field \"evnt:\""), std::string::npos);
}

TEST_F(CliTest, ListWithAFilterKeepsRowsWhereEveryWordIsInSomeCellWhateverTheCase)
{
    const auto a = Game("alpha.sgf", kGameA);
    const auto b = Game("beta.sgf", kGameB);
    // A record in its own charset is matched on its names as the window shows them.
    const auto c = Game("gamma.sgf", "(;CA[gb2312]GN[Gamma]PB[\xB9\xC5\xC1\xA6]PW[Bob];B[pd])");
    ASSERT_EQ(Run({"add", Collection(), a, b, c}).exitCode, 0);
    const auto settings = Settings({{"Header/Definition", "Game Name:GN|Black:PB"}}, {{"Header/ColSortCur", 0}});
    auto list = [&](const std::string& filter) {
        return Run({"list", Collection(), "--settings", settings, "--filter", filter}).out;
    };
    EXPECT_EQ(list("kim"), "alpha.sgf\tAlpha\tKim\r\n");
    // Two words, each found in a different cell, file name included.
    EXPECT_EQ(list("  BETA.sgf   me "), "beta.sgf\tBeta\tMe\r\n");
    // Both words must match somewhere.
    EXPECT_EQ(list("kim beta"), "");
    // A word never spans two cells.
    EXPECT_EQ(list("alphakim"), "");
    // The typed text is UTF-8; the row is written as its bytes stand.
    EXPECT_EQ(list("\xE5\x8F\xA4\xE5\x8A\x9B"), "gamma.sgf\tGamma\t\xB9\xC5\xC1\xA6\r\n");
    EXPECT_EQ(list("gamma \xE5\x8F\xA4"), "gamma.sgf\tGamma\t\xB9\xC5\xC1\xA6\r\n");
    // A blank filter keeps everything.
    EXPECT_EQ(list(" "), Run({"list", Collection(), "--settings", settings}).out);
    EXPECT_EQ(Run({"list", Collection(), "--filter"}).exitCode, 2);
}

TEST_F(CliTest, TwoAddsAtOnceBothCountTheSecondWaitingForTheFirst)
{
    std::set<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        expected.insert(Game("a/" + std::to_string(i) + ".sgf", kGameA));
        expected.insert(Game("b/" + std::to_string(i) + ".sgf", kGameB));
    }
    const auto folderA = (m_tmp.path() / "games" / "a").string();
    const auto folderB = (m_tmp.path() / "games" / "b").string();
    auto stored = [&] {
        const auto paths = StoredPaths(ReadFileBytes(Collection()));
        return std::set<std::string>(paths.begin(), paths.end());
    };

    // Free for all: whichever comes second adds to what the first wrote.
    auto first = StartCli({"add", Collection(), folderA}, m_scratch, m_config, "first");
    auto second = StartCli({"add", Collection(), folderB}, m_scratch, m_config, "second");
    EXPECT_EQ(FinishCli(first).exitCode, 0);
    EXPECT_EQ(FinishCli(second).exitCode, 0);
    EXPECT_EQ(stored(), expected);

    // While another program holds the collection, both wait and say so.
    fs::remove(Collection());
    auto holder = std::make_unique<CCollectionLock>(Collection());
    ASSERT_EQ(holder->TryLock(), CCollectionLock::EState::Locked);
    first = StartCli({"add", Collection(), folderA}, m_scratch, m_config, "first");
    second = StartCli({"add", Collection(), folderB}, m_scratch, m_config, "second");
    // Each says so after a second of waiting; a loaded machine may take
    // longer to start them, so the test waits for the words, not a time.
    const auto saidSo = [&](const CCliProcess& process) {
        return ReadFileBytes(process.errPath).find("waiting for another program to finish with " + Collection()) !=
               std::string::npos;
    };
    for (int waited = 0; waited < 200 && !(saidSo(first) && saidSo(second)); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(fs::exists(Collection()));
    for (const auto* process : {&first, &second})
        EXPECT_TRUE(saidSo(*process));
    holder.reset();
    EXPECT_EQ(FinishCli(first).exitCode, 0);
    EXPECT_EQ(FinishCli(second).exitCode, 0);
    EXPECT_EQ(stored(), expected);
}

TEST_F(CliTest, APipeOrADeviceIsNoCollectionAndNothingWaitsForIt)
{
    const auto fifo = m_tmp.path() / "fifo.vnx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"list", fifo.string()},
                                                 std::vector<std::string>{"add", fifo.string(), Game("a.sgf", kGameA)},
                                                 std::vector<std::string>{"list", "/dev/zero"}}) {
        const auto result = Run(args);
        EXPECT_EQ(result.exitCode, 1) << args[1];
        EXPECT_NE(result.err.find("not a regular file"), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(CliTest, ASettingsPathThatIsNoRegularFileIsAUsageError)
{
    ASSERT_EQ(Run({"add", Collection(), Game("a.sgf", kGameA)}).exitCode, 0);
    const auto fifo = m_tmp.path() / "settings.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& settings : {m_tmp.path(), fifo}) {
        const auto result = Run({"list", Collection(), "--settings", settings.string()});
        EXPECT_EQ(result.exitCode, 2) << settings;
        EXPECT_NE(result.err.find("is not a regular file"), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
    }
}

TEST_F(CliTest, AUserSettingsFileThatIsAPipeIsRefusedWithoutWaiting)
{
    ASSERT_EQ(Run({"add", Collection(), Game("a.sgf", kGameA)}).exitCode, 0);
    fs::create_directories(m_config / "Pellmore");
    const auto fifo = m_config / "Pellmore" / "Varnex.conf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto result = Run({"list", Collection()});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "varnex-cli: settings file " + fifo.string() + " is not a regular file\n");
    EXPECT_TRUE(result.out.empty());
}
namespace {

TEST_F(CliTest, BoardPrintsTheMovesAndThePositionAtTheEndAtMoveNOrAtTheStart)
{
    const auto snapback = Game("snapback.sgf", "(;SZ[5]AB[ab][bb]AW[ca][cb][ac][bc];W[aa];B[ba];W[aa])");
    const auto rect = Game("rect.sgf", "(;SZ[5:3];B[ea];B[];W[tt];W[ea])");
    EXPECT_EQ(Run({"board", snapback, rect}).out,
              snapback + "\t3\tO.O../..O../OO.../...../.....\n" + rect + "\t4\t....X/...../.....\n");
    EXPECT_EQ(Run({"board", "--move", "2", snapback}).out, snapback + "\t3\t.XO../XXO../OO.../...../.....\n");
    EXPECT_EQ(Run({"board", "--move=99", snapback}).out, snapback + "\t3\tO.O../..O../OO.../...../.....\n");
    EXPECT_EQ(Run({"board", "--start", snapback}).out, snapback + "\t3\t..O../XXO../OO.../...../.....\n");
    EXPECT_EQ(Run({"board", "--start", "--move", "1", snapback}).exitCode, 2);
    EXPECT_EQ(Run({"board", "--move", "-1", snapback}).exitCode, 2);
}

TEST_F(CliTest, BoardFailsOnFilesWithoutAGameAndNotesDamage)
{
    const auto binary = Game("old.sgf", std::string("\x06\x00\x00\x00\x00", 5));
    const auto text = Game("text.sgf", "no game");
    const auto cut = Game("cut.sgf", "(;SZ[3];B[aa];W[b");
    const auto result = Run({"board", binary, text, cut});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, binary + "\tfail\n" + text + "\tfail\n" + cut + "\t1\tX../.../...\n");
    EXPECT_EQ(result.err, "varnex-cli: " + binary + ": a record in the binary form: its moves cannot be shown\n" +
                              "varnex-cli: " + text + ": not a game record\n" + "varnex-cli: " + cut +
                              ": cut off inside a value: read up to there\n");
}

TEST_F(CliTest, BoardNotesASizeNoBoardHasAndRefusesARecordPastTheLimit)
{
    const auto odd = Game("odd.sgf", "(;SZ[53];B[aa];W[sb])");
    const auto huge = Game("huge.sgf", "(;SZ[3];B[aa])");
    std::filesystem::resize_file(huge, std::uintmax_t{64} << 20 | 1);
    const auto result = Run({"board", odd, huge});
    EXPECT_EQ(result.exitCode, 0);
    std::string rows = "X" + std::string(18, '.') + "/" + std::string(18, '.') + "O";
    for (int y = 2; y < 19; ++y)
        rows += "/" + std::string(19, '.');
    EXPECT_EQ(result.out, odd + "\t2\t" + rows + "\n" + huge + "\tfail\n");
    EXPECT_EQ(result.err, "varnex-cli: " + odd +
                              ": a board size that cannot be played (1 to 52 points a side): shown on 19 by 19\n" +
                              "varnex-cli: " + huge +
                              ": larger than 64 MiB, which no real game record comes near: not read\n");
}

TEST_F(CliTest, BoardPrettyDrawsCoordinatesStarsAndTheLastMove)
{
    const auto game = Game("nine.sgf", "(;SZ[9];B[ee];W[ia])");
    const auto result = Run({"board", "--pretty", game});
    EXPECT_EQ(result.out, game + "\n"
                                 "moves 2, shown after move 2, captures: black 0, white 0\n"
                                 "  A B C D E F G H J\n"
                                 "9 . . . . . . . .(O)9\n"
                                 "8 . . . . . . . . . 8\n"
                                 "7 . . + . . . + . . 7\n"
                                 "6 . . . . . . . . . 6\n"
                                 "5 . . . . X . . . . 5\n"
                                 "4 . . . . . . . . . 4\n"
                                 "3 . . + . . . + . . 3\n"
                                 "2 . . . . . . . . . 2\n"
                                 "1 . . . . . . . . . 1\n"
                                 "  A B C D E F G H J\n");
}

TEST_F(CliTest, BoardPrettyMarksTheLastMoveDeepIntoALongGame)
{
    // 200 moves filling the board row by row from the top: no stone is ever
    // taken, so move N stands at point N - 1.
    std::string record = "(;SZ[19]";
    for (int i = 0; i < 200; ++i)
        record += std::string(i % 2 == 0 ? ";B[" : ";W[") + static_cast<char>('a' + i % 19) +
                  static_cast<char>('a' + i / 19) + "]";
    const auto game = Game("long.sgf", record + ")");
    // Moves 90 and 180 are white's, at O15 and J10.
    for (const auto& [move, row, column, stone] : {std::tuple{"90", "15 ", " O", 'O'}, {"180", "10 ", " J", 'O'}}) {
        SCOPED_TRACE(move);
        const auto result = Run({"board", "--pretty", "--move", move, game});
        ASSERT_EQ(result.exitCode, 0);
        std::istringstream lines(result.out);
        std::string line;
        std::string header;
        std::string marked;
        while (std::getline(lines, line)) {
            if (header.empty() && line.rfind("   A", 0) == 0)
                header = line;
            if (line.rfind(row, 0) == 0)
                marked = line;
        }
        const auto at = header.find(column) + 1;
        ASSERT_GT(at, 1u) << header;
        ASSERT_GT(marked.size(), at + 1) << result.out;
        EXPECT_EQ(marked.substr(at - 1, 3), std::string("(") + stone + ")") << result.out;
        EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '('), 1) << result.out;
    }
}

TEST_F(CliTest, BoardPrettyLabelsTheColumnsOfTheLargestBoardUpToAA)
{
    const auto game = Game("big.sgf", "(;SZ[26];B[zz])");
    const auto result = Run({"board", "--pretty", game});
    std::istringstream lines(result.out);
    std::string line;
    for (int i = 0; i < 3; ++i)
        std::getline(lines, line);
    ASSERT_GE(line.size(), 5u) << result.out;
    EXPECT_EQ(line.substr(line.size() - 5), " Z AA");
}

} // namespace
namespace {

class CliOutputTest : public CliTest
{
protected:
    CCliResult RunIntoFullDisk(const std::vector<std::string>& args)
    {
        return RunCli(args, m_scratch, m_config, {}, "/dev/full");
    }
};

} // namespace

TEST_F(CliOutputTest, EveryCommandFailsWhenStandardOutputCannotBeWritten)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    const auto a = Game("a.sgf", kGameA);
    const std::string settings = Settings({}, {});
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info", a},
                                                 {"add", Collection(), a},
                                                 {"list", Collection(), "--settings", settings},
                                                 {"--help"},
                                                 {"list", "--help"}}) {
        SCOPED_TRACE(args.front());
        const auto result = RunIntoFullDisk(args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "varnex-cli: cannot write to standard output\n");
    }
    // The collection was written all the same: only the message was lost.
    EXPECT_EQ(StoredPaths(ReadFileBytes(Collection())), std::vector<std::string>{a});
}

TEST_F(CliTest, AddNamesTheSystemsReasonForUnreadableFilesAndCountsUnreadableFolders)
{
    Game("ok.sgf", kGameA);
    const auto locked = Game("locked.sgf", kGameA);
    const auto lockedFolder = m_tmp.path() / "games" / "private";
    fs::create_directories(lockedFolder);
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    ASSERT_EQ(::chmod(lockedFolder.c_str(), 0), 0);
    // The collection is written by whoever runs the command.
    fs::permissions(m_tmp.path(), fs::perms::all);
    const auto games = (m_tmp.path() / "games").string();
    std::ostringstream out;
    std::ostringstream err;
    int status = 0;
    {
        CUnprivileged unprivileged;
        if (!unprivileged.Active())
            GTEST_SKIP() << unprivileged.Problem();
        status = RunAdd(Collection(), {games}, out, err, true);
    }
    fs::permissions(lockedFolder, fs::perms::owner_all);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.str(), "added 1, already present 0, unreadable 2\n");
    EXPECT_EQ(err.str(), "varnex-cli: cannot read folder " + lockedFolder.string() + ": Permission denied\n" +
                             "varnex-cli: " + locked + ": Permission denied\n");
}

TEST_F(CliTest, ListEscapeKeepsEveryGameOnOneLine)
{
    const auto a = Game("a.sgf", "(;GN[two\r\nlines]EV[back\\\\slash\tand\rCR]PB[x\x01y];B[aa])");
    ASSERT_EQ(Run({"add", Collection(), a}).exitCode, 0);
    const auto settings = Settings({{"Header/Definition", "Game Name:GN|Event:EV|Black:PB"}}, {});
    auto result = Run({"list", Collection(), "--escape", "--settings", settings});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "a.sgf\ttwo\\nlines\tback\\\\slash\\tand\\rCR\tx\x01y\r\n");
    // Without it the bytes stay those of Export.
    result = Run({"list", Collection(), "--settings", settings});
    EXPECT_EQ(result.out, "a.sgf\ttwo\nlines\tback\\slash\tand\rCR\tx\x01y\r\n");
}

TEST_F(CliTest, ListEscapeCutsALongCellAsExportDoesThenEscapes)
{
    // Tabs before the cut, one right at its last byte, one past it.
    const std::string kept = std::string(150, 'a') + "\t" + std::string(47, 'b') + "\t";
    ASSERT_EQ(kept.size(), 199u);
    const auto a = Game("a.sgf", "(;GN[" + kept + "\tccc];B[aa])");
    ASSERT_EQ(Run({"add", Collection(), a}).exitCode, 0);
    const auto settings = Settings({{"Header/Definition", "Game Name:GN"}}, {});
    auto result = Run({"list", Collection(), "--settings", settings});
    EXPECT_EQ(result.out, "a.sgf\t" + kept + "\r\n");
    result = Run({"list", Collection(), "--escape", "--settings", settings});
    EXPECT_EQ(result.out, "a.sgf\t" + std::string(150, 'a') + "\\t" + std::string(47, 'b') + "\\t\r\n");
}

TEST_F(CliTest, ALatin1NameEndingInAHighByteShowsWholeAndIsFound)
{
    const auto a = Game("a.sgf", "(;PB[Jos\xE9];B[aa])");
    auto result = Run({"info", "--utf8", a});
    EXPECT_EQ(result.out, a + "\tok\n\tPB\tJos\xC3\xA9\n");
    ASSERT_EQ(Run({"add", Collection(), a}).exitCode, 0);
    const auto settings = Settings({{"Header/Definition", "Black:PB"}}, {});
    result = Run({"list", Collection(), "--settings", settings, "--filter", "Jos\xC3\xA9"});
    EXPECT_EQ(result.out, "a.sgf\tJos\xE9\r\n");
}

namespace {

// A game of count moves down the board's columns, mirrored left to right
// when asked; every node carries extra when given.
std::string ColumnGame(int count, bool mirrored, const std::string& extra = "")
{
    std::string text = "(;SZ[19]";
    for (int i = 0; i < count; ++i) {
        const int x = i / 19;
        text += i % 2 == 0 ? ";B[" : ";W[";
        text += static_cast<char>('a' + (mirrored ? 18 - x : x));
        text += static_cast<char>('a' + i % 19);
        text += "]" + extra;
    }
    return text + ")";
}

} // namespace

TEST_F(CliTest, DupsWritesEachGroupKeptCopyFirstInTheOrderOfTheFirstPaths)
{
    const std::string plain = Game("b-plain.sgf", ColumnGame(100, false));
    const std::string mirrored = Game("c-mirror.sgf", ColumnGame(100, true));
    const std::string commented = Game("d-comments.sgf", ColumnGame(100, false, "C[note]"));
    const std::string cut = Game("a-cut.sgf", ColumnGame(60, true));
    const std::string tab = Game("e\ttab.sgf", ColumnGame(30, false));
    const std::string tabCopy = Game("f-copy.sgf", ColumnGame(30, true));
    Game("g-alone.sgf", ColumnGame(45, false));
    const std::string coll = Collection();
    ASSERT_EQ(Run({"add", coll, (m_tmp.path() / "games").string()}).exitCode, 0);

    const CCliResult result = Run({"dups", coll});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, commented + "\t" + plain + "\t" + mirrored + "\t" + cut + "\n" + EscapeField(tab) + "\t" +
                              tabCopy + "\n");
}

TEST_F(CliTest, DupsWritesNothingWithoutCopiesAndFailsOnAMissingCollection)
{
    Game("one.sgf", ColumnGame(100, false));
    // The same points with the colours swapped: another game.
    std::string swapped = ColumnGame(100, true, "C[x]");
    for (std::size_t at = swapped.find(";B["); at != std::string::npos; at = swapped.find(";B[", at + 3))
        swapped[at + 1] = 'w';
    for (std::size_t at = swapped.find(";W["); at != std::string::npos; at = swapped.find(";W[", at + 3))
        swapped[at + 1] = 'B';
    std::replace(swapped.begin(), swapped.end(), 'w', 'W');
    Game("two.sgf", swapped);
    const std::string coll = Collection();
    ASSERT_EQ(Run({"add", coll, (m_tmp.path() / "games").string()}).exitCode, 0);
    CCliResult result = Run({"dups", coll});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");

    result = Run({"dups", Collection("missing.vnx")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Run({"dups"}).exitCode, 2);
}

TEST_F(CliTest, ListLearnsTheCharsetOfAFolderAndTakesTheOneChosenForRecordsThatNameNone)
{
    // 常昊 (GBK) is too short to detect; its folder's other records are not.
    const auto a = Game("gbk/a.sgf", "(;PB[\xB3\xA3\xEA\xBB]PW[x];B[pd])");
    const auto b = Game("gbk/b.sgf", "(;PB[\xB9\xC5\xC1\xA6]EV[\xB5\xDA\xB6\xFE\xBD\xEC\xD6\xD0\xB9\xFA\xCE\xA7\xC6\xE5"
                                     "\xBC\xD7\xBC\xB6\xC1\xAA\xC8\xFC]PW[x];B[pd])");
    const auto c = Game("gbk/c.sgf", "(;PB[\xC4\xF4\xCE\xC0\xC6\xBD]EV[\xD6\xD0\xB9\xFA\xCE\xA7\xC6\xE5\xC3\xFB\xC8\xCB"
                                     "\xD5\xBD\xBE\xF6\xC8\xFC\xB5\xDA\xC8\xFD\xBE\xD6]PW[x];B[pd])");
    const auto d = Game("other/d.sgf", "(;PB[\xB3\xA3\xEA\xBB]PW[x];B[pd])");
    ASSERT_EQ(Run({"add", Collection(), a, b, c, d}).exitCode, 0);
    const auto automatic =
        Settings({{"Header/Definition", "Black:PB"}}, {{"Header/ColSortCur", 0}, {"Header/ColSort", 1}});
    // 常昊 in UTF-8, then as Latin-1 read the GBK bytes.
    EXPECT_EQ(Run({"list", Collection(), "--settings", automatic, "--utf8", "--filter", "a.sgf"}).out,
              "a.sgf\t\xE5\xB8\xB8\xE6\x98\x8A\r\n");
    EXPECT_EQ(Run({"list", Collection(), "--settings", automatic, "--utf8", "--filter", "d.sgf"}).out,
              "d.sgf\t\xC2\xB3\xC2\xA3\xC3\xAA\xC2\xBB\r\n");
    EXPECT_EQ(Run({"list", Collection(), "--settings", automatic, "--filter", "black:\xE5\xB8\xB8\xE6\x98\x8A"}).out,
              "a.sgf\t\xB3\xA3\xEA\xBB\r\n");
    const auto chosen = Settings({{"Header/Definition", "Black:PB"}, {"Misc/Charset", "GB18030"}},
                                 {{"Header/ColSortCur", 0}, {"Header/ColSort", 1}});
    EXPECT_EQ(Run({"list", Collection(), "--settings", chosen, "--utf8", "--filter", "d.sgf"}).out,
              "d.sgf\t\xE5\xB8\xB8\xE6\x98\x8A\r\n");
}
