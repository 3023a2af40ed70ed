#include "CliRunner.h"
#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/pattern/ContinuationTable.h"
#include "desktop/pattern/DateProfile.h"
#include "desktop/pattern/PatternBoard.h"
#include "desktop/pattern/PatternMode.h"
#include "desktop/pattern/PatternPanel.h"
#include "desktop/preview/PreviewPane.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "pattern/PatternSearch.h"
#include "reader/GameRecordReader.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDockWidget>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

namespace {

class PositionSearchTest : public FrameTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Start());
        app->Frame()->resize(1200, 900);
        app->Frame()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(app->Frame()));
    }

    std::string Add(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.Write("games/" + name, bytes);
        EXPECT_TRUE(app->Doc().AddGameFile(path, 0)) << name;
        return path;
    }
    // A 4-4 point and its approach in the upper right, then a move; the same
    // in the upper left mirrored; the colours exchanged; and a game without it.
    void AddCornerGames()
    {
        g1 = Add("g1.sgf", "(;GM[1]SZ[19]PB[Ann]RE[B+R]DT[1995-03-01];B[pd];W[qf];B[nc];W[dd])");
        g2 = Add("g2.sgf", "(;GM[1]SZ[19]PB[Bob]RE[W+2.5]DT[2001];B[dd];W[cf];B[fc])");
        g3 = Add("g3.sgf", "(;GM[1]SZ[19]PB[Cid]RE[W+R]DT[2001-05];W[pd];B[qf];W[qh];B[dp])");
        g4 = Add("g4.sgf", "(;GM[1]SZ[19]PB[Dan]RE[B+1];B[pp];W[dd])");
    }

    CPatternMode& Mode() const { return *app->Frame()->PatternMode(); }
    CPatternPanel& Panel() const { return *app->Frame()->Preview()->PatternPanel(); }
    CPatternBoard& Board() const { return *Panel().Board(); }
    CReportListCtrl& List() const { return *app->Frame()->View()->ListCtrl(); }
    QString MessageText() const { return app->Frame()->CountStatusBar()->MessagePane()->text(); }

    std::set<std::string> Shown() const
    {
        std::set<std::string> keys;
        for (int i = 0; i < List().GetShownCount(); ++i)
            keys.insert(List().GetItemKey(List().ShownRow(i)));
        return keys;
    }

    void Click(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(&Board(), Qt::LeftButton, modifiers, Board().PointCentre(x, y));
    }
    void Drag(int x1, int y1, int x2, int y2)
    {
        QTest::mousePress(&Board(), Qt::LeftButton, Qt::NoModifier, Board().PointCentre(x1, y1));
        const QPoint to = Board().PointCentre(x2, y2);
        QMouseEvent move(QEvent::MouseMove, to, Board().mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&Board(), &move);
        QTest::mouseRelease(&Board(), Qt::LeftButton, Qt::NoModifier, to);
    }
    // Waits for the search on its thread to be shown.
    bool WaitSearched()
    {
        QElapsedTimer waited;
        waited.start();
        while (Mode().IsSearching() && waited.elapsed() < 20000)
            QTest::qWait(5);
        return !Mode().IsSearching();
    }
    void PressEnterOnBoard()
    {
        QTest::keyClick(&Board(), Qt::Key_Return);
        ASSERT_TRUE(WaitSearched());
    }

    // The engine's own answer over the collection's files, read afresh.
    SPatternResult EngineAnswer(const std::vector<std::string>& paths, const std::string& region,
                                const std::string& rows, bool fixed = false)
    {
        CPositionIndex index;
        for (const std::string& path : paths) {
            const CGameEntry* entry = app->Doc().m_mapFiles.Find(path);
            const EResultWinner winner = entry->Winner();
            index.AddGame(ReadGameRecordFile(path), winner == EResultWinner::Black   ? EStone::Black
                                                    : winner == EResultWinner::White ? EStone::White
                                                                                     : EStone::Empty);
        }
        const SPatternParse parse = ParsePattern(region, rows, 19, fixed);
        EXPECT_TRUE(parse.pattern) << parse.error;
        return SearchPattern(index, *parse.pattern);
    }
    static std::set<std::string> Paths(const std::vector<std::string>& paths, const SPatternResult& result)
    {
        std::set<std::string> found;
        for (const SPatternHit& hit : result.hits)
            found.insert(paths[hit.game]);
        return found;
    }
    // The table as the window shows it against the engine's continuations.
    void ExpectTableIs(const std::vector<SContinuationStats>& expected)
    {
        const std::vector<SContinuationRow>& rows = Panel().Table()->Rows();
        ASSERT_EQ(rows.size(), expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].x, expected[i].x) << i;
            EXPECT_EQ(rows[i].y, expected[i].y) << i;
            EXPECT_EQ(rows[i].colour, expected[i].colour) << i;
            EXPECT_EQ(rows[i].games, expected[i].games) << i;
            EXPECT_EQ(rows[i].blackWins, expected[i].blackWins) << i;
            EXPECT_EQ(rows[i].whiteWins, expected[i].whiteWins) << i;
        }
    }

    // The corner pattern of the games drawn by mouse: 4-4 point, approach.
    void DrawCornerPattern()
    {
        Click(15, 3);
        Click(16, 5);
        Click(16, 5);
        Drag(10, 0, 18, 8);
    }

    std::string g1, g2, g3, g4;
};

} // namespace

TEST_F(PositionSearchTest, TheCommandTurnsThePreviewIntoThePatternBoardWithTheFocusOnIt)
{
    EXPECT_EQ(Act(ID_VIEW_POSITION_SEARCH)->text(), QStringLiteral("Position &Search\tCtrl+Shift+F"));
    EXPECT_EQ(Act(ID_VIEW_POSITION_SEARCH)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    app->Frame()->PreviewDock()->hide();
    Trigger(ID_VIEW_POSITION_SEARCH);
    EXPECT_TRUE(Act(ID_VIEW_POSITION_SEARCH)->isChecked());
    EXPECT_TRUE(Mode().IsOn());
    EXPECT_FALSE(app->Frame()->PreviewDock()->isHidden()) << "the pane is shown for the board";
    EXPECT_TRUE(Panel().isVisible());
    EXPECT_EQ(QApplication::focusWidget(), &Board());
    Trigger(ID_VIEW_POSITION_SEARCH);
    EXPECT_FALSE(Act(ID_VIEW_POSITION_SEARCH)->isChecked());
    EXPECT_FALSE(Panel().isVisible());
}

TEST_F(PositionSearchTest, ADrawnCornerFindsTheEnginesGamesWithLettersTableProfileAndStatus)
{
    AddCornerGames();
    Trigger(ID_VIEW_POSITION_SEARCH);
    DrawCornerPattern();
    EXPECT_EQ(Panel().KindLabel()->text(), QStringLiteral("Pattern: corner"));
    EXPECT_EQ(Board().Sketch().RegionText(), "ka:si");
    const std::string rows = "........./........./........./.....X.../........./......O../........./......../"
                             ".........";
    PressEnterOnBoard();

    const std::vector<std::string> paths = {g1, g2, g3, g4};
    const SPatternResult engine = EngineAnswer(paths, "ka:si", Board().Sketch().RowsText());
    EXPECT_EQ(Shown(), Paths(paths, engine));
    EXPECT_EQ(Shown(), (std::set<std::string>{g1, g2, g3}));
    EXPECT_EQ(MessageText(), QStringLiteral("3 games with the pattern (Black wins 33.3 %, White wins 66.7 %)"));
    ExpectTableIs(engine.continuations);
    // Black's reply at nc in two games; the exchanged game's qh counts as Black's.
    ASSERT_EQ(Board().Letters().size(), 2u);
    EXPECT_EQ(Board().Letters()[0].letter, QStringLiteral("A"));
    EXPECT_EQ(Board().Letters()[0].x, 13);
    EXPECT_EQ(Board().Letters()[0].y, 2);
    EXPECT_EQ(Board().Letters()[0].colour, EStone::Black);
    EXPECT_EQ(Board().Letters()[1].letter, QStringLiteral("B"));
    EXPECT_EQ(Panel().Table()->item(0, CContinuationTable::kShare)->text(), QStringLiteral("66.7 %"));
    EXPECT_EQ(Panel().Profile()->Years(), (std::map<int, int>{{1995, 1}, {2001, 2}}));

    // The list shows the games found in every style.
    for (int style : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
        Trigger(style);
        EXPECT_EQ(Shown(), (std::set<std::string>{g1, g2, g3})) << style;
        EXPECT_EQ(List().CurrentView()->model()->rowCount(), 3) << style;
    }
}

TEST_F(PositionSearchTest, AContinuationRefinesWithinTheGamesFoundAndBackForwardWalkTheSearches)
{
    AddCornerGames();
    // A game with the approach only after a move elsewhere: found by the
    // whole search, yet with nc played it is outside the first search too.
    Trigger(ID_VIEW_POSITION_SEARCH);
    DrawCornerPattern();
    PressEnterOnBoard();
    ASSERT_EQ(Shown().size(), 3u);

    // A click on letter A plays Black's nc and searches within the three.
    Click(13, 2);
    ASSERT_TRUE(WaitSearched());
    EXPECT_EQ(Board().Sketch().SignAt(13, 2), 'X');
    const std::vector<std::string> paths = {g1, g2, g3, g4};
    const SPatternResult engine = EngineAnswer(paths, "ka:si", Board().Sketch().RowsText());
    EXPECT_EQ(Shown(), Paths(paths, engine));
    EXPECT_EQ(Shown(), (std::set<std::string>{g1, g2}));
    EXPECT_EQ(MessageText(), QStringLiteral("2 games with the pattern (Black wins 50.0 %, White wins 50.0 %)"));
    ExpectTableIs(engine.continuations);

    // Alt+Left and Alt+Right, and the buttons, walk the searches.
    QTest::keyClick(&Board(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(Shown().size(), 3u);
    EXPECT_EQ(Board().Sketch().SignAt(13, 2), '.');
    EXPECT_FALSE(Panel().BackButton()->isEnabled());
    QTest::keyClick(&Board(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(Shown().size(), 2u);
    Panel().BackButton()->click();
    EXPECT_EQ(Shown().size(), 3u);

    // A table row chooses as the letter does; a new search drops the one
    // ahead.
    emit Panel().Table()->cellClicked(1, CContinuationTable::kGames);
    ASSERT_TRUE(WaitSearched());
    EXPECT_EQ(Shown(), (std::set<std::string>{g3}));
    EXPECT_EQ(Board().Sketch().SignAt(16, 7), 'X');
    EXPECT_FALSE(Panel().ForwardButton()->isEnabled());
}

TEST_F(PositionSearchTest, EscShowsEveryGameAgainAndFindWorksOnTheMatches)
{
    AddCornerGames();
    Trigger(ID_VIEW_POSITION_SEARCH);
    DrawCornerPattern();
    PressEnterOnBoard();
    ASSERT_EQ(Shown().size(), 3u);

    Trigger(ID_EDIT_FIND);
    QTest::keyClicks(app->Frame()->View()->FilterBar()->Field(), QStringLiteral("bob"));
    EXPECT_EQ(Shown(), (std::set<std::string>{g2}));
    RunIdle();
    EXPECT_EQ(MessageText(),
              QStringLiteral("1 of 4 File(s) shown; 3 games with the pattern (Black wins 33.3 %, White wins 66.7 %)"));
    QTest::keyClick(app->Frame()->View()->FilterBar()->Field(), Qt::Key_Escape);
    EXPECT_EQ(Shown().size(), 3u) << "closing Find keeps the matches";
    Board().setFocus();
    QTest::keyClick(&Board(), Qt::Key_Escape);
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_FALSE(Mode().IsFiltering());
    EXPECT_TRUE(Board().Letters().empty());

    // So does Esc in the list.
    PressEnterOnBoard();
    EXPECT_EQ(Shown().size(), 3u);
    QTest::keyClick(List().CurrentView(), Qt::Key_Escape);
    EXPECT_EQ(Shown().size(), 4u);

    // Leaving the mode shows every game as well.
    PressEnterOnBoard();
    EXPECT_EQ(Shown().size(), 3u);
    Trigger(ID_VIEW_POSITION_SEARCH);
    EXPECT_EQ(Shown().size(), 4u);
}

TEST_F(PositionSearchTest, AGameFoundOpensAtItsFirstHitAndFromGameAndClearRedrawTheBoard)
{
    AddCornerGames();
    Trigger(ID_VIEW_POSITION_SEARCH);
    DrawCornerPattern();
    PressEnterOnBoard();
    const int row = List().FindItem(g3);
    int at = 0;
    while (at < List().GetShownCount() && List().ShownRow(at) != row)
        ++at;
    const QModelIndex shown = List().CurrentView()->model()->index(at, 0);
    List().SelectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QElapsedTimer waited;
    waited.start();
    while (app->Frame()->Preview()->ShownPath() != g3 && waited.elapsed() < 5000)
        QTest::qWait(5);
    ASSERT_EQ(app->Frame()->Preview()->ShownPath(), g3);
    EXPECT_EQ(app->Frame()->Preview()->ShownMove(), 2) << "the pattern stands after two moves";

    Panel().FromGameButton()->click();
    EXPECT_EQ(Board().Sketch().SignAt(15, 3), 'O');
    EXPECT_EQ(Board().Sketch().SignAt(16, 5), 'X');
    EXPECT_FALSE(Board().Sketch().HasRect());
    Panel().ClearButton()->click();
    EXPECT_EQ(Board().Sketch().RowsText().find_first_not_of("./"), std::string::npos);
}

TEST_F(PositionSearchTest, FixedColoursKeepOutTheGameWithTheColoursExchanged)
{
    AddCornerGames();
    Trigger(ID_VIEW_POSITION_SEARCH);
    DrawCornerPattern();
    Panel().FixedColours()->setChecked(true);
    PressEnterOnBoard();
    EXPECT_EQ(Shown(), (std::set<std::string>{g1, g2}));
}

TEST_F(PositionSearchTest, TheWindowAnswersAsTheCommandLineDoes)
{
    AddCornerGames();
    Trigger(ID_VIEW_POSITION_SEARCH);
    DrawCornerPattern();
    PressEnterOnBoard();
    const std::string rows = Board().Sketch().RowsText();
    const std::filesystem::path config = dir.path() / "cli-config";
    const std::string collection = (dir.path() / "corner.vnx").string();
    ASSERT_EQ(RunCli({"add", collection, g1, g2, g3, g4}, dir.path(), config).exitCode, 0);

    // The games and their first hits, a line each.
    const CCliResult games = RunCli({"pattern", collection, "--region", "ka:si", "--rows", rows}, dir.path(), config);
    ASSERT_EQ(games.exitCode, 0) << games.err;
    std::string window;
    for (const std::string& path : Shown())
        window += path + "\t" + std::to_string(*Mode().FirstHit(path)) + "\n";
    EXPECT_EQ(games.out, window);

    // The continuation table, a line each, in the table's order.
    const CCliResult table =
        RunCli({"pattern", collection, "--continuations", "--region", "ka:si", "--rows", rows}, dir.path(), config);
    ASSERT_EQ(table.exitCode, 0) << table.err;
    std::ostringstream shown;
    for (const SContinuationRow& row : Panel().Table()->Rows())
        shown << SgfPointName(row.x, row.y) << '\t' << (row.colour == EStone::Black ? 'B' : 'W') << '\t' << row.games
              << '\t' << row.blackWins << '\t' << row.whiteWins << '\n';
    EXPECT_EQ(table.out, shown.str());
    EXPECT_EQ(table.out, "nc\tB\t2\t1\t1\nqh\tB\t1\t1\t0\n");
}

TEST_F(PositionSearchTest, CorpusGamesGiveTheEnginesAnswerForAWholeBoardAndACornerFromAGame)
{
    VARNEX_REQUIRE_CORPUS();
    std::vector<std::string> paths;
    for (const auto& item : std::filesystem::recursive_directory_iterator(CorpusDir())) {
        const std::string ext = item.path().extension().string();
        if (item.is_regular_file() && (ext == ".sgf" || ext == ".SGF") && paths.size() < 300)
            paths.push_back(item.path().string());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> added;
    for (const std::string& path : paths) {
        if (app->Doc().AddGameFile(path, 0))
            added.push_back(path);
    }
    ASSERT_GT(added.size(), 50u);
    Trigger(ID_VIEW_POSITION_SEARCH);
    // An empty corner drawn: every 19x19 game counts, with its first move
    // there as the continuation.
    Panel().ClearButton()->click();
    Drag(0, 0, 6, 6);
    PressEnterOnBoard();
    SPatternResult engine = EngineAnswer(added, "aa:gg", Board().Sketch().RowsText());
    EXPECT_EQ(Shown(), Paths(added, engine));
    ExpectTableIs(engine.continuations);
    ASSERT_FALSE(engine.continuations.empty());

    // The most played continuation refines within those games.
    const std::string before = Board().Sketch().RowsText();
    Click(Board().Letters()[0].x, Board().Letters()[0].y);
    ASSERT_TRUE(WaitSearched());
    const std::set<std::string> first = Paths(added, engine);
    engine = EngineAnswer(added, "aa:gg", Board().Sketch().RowsText());
    std::set<std::string> within;
    for (const std::string& path : Paths(added, engine)) {
        if (first.count(path))
            within.insert(path);
    }
    EXPECT_NE(Board().Sketch().RowsText(), before);
    EXPECT_EQ(Shown(), within);
}
