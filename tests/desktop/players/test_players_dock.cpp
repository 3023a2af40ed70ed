#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DocFramework.h"
#include "desktop/players/PlayerRecordPane.h"
#include "desktop/players/PlayersModel.h"
#include "desktop/players/PlayersPane.h"
#include "desktop/players/YearRecordChart.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <fstream>

namespace {

// Six games of four players, one of them also written in Chinese (GBK bytes)
// and with ranks after the name, with a draw among them.
class PlayersDock : public FrameTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Start());
        m_games = {
            dir.Write("p/1.sgf", "(;PB[Chang Hao 9p]PW[Lee Changho]RE[B+R]DT[2001-05-03];B[pd])"),
            dir.Write("p/2.sgf", "(;PB[Lee Changho 9d]PW[Chang Hao]RE[W+2.5]DT[2002-01-10];B[pd])"),
            dir.Write("p/3.sgf", "(;PB[Chang Hao]PW[Lee Changho]RE[0]DT[2002];B[pd])"),
            dir.Write("p/4.sgf", "(;PB[Gu Li]PW[Chang Hao]RE[B+R]DT[2003-06-01];B[pd])"),
            dir.Write("p/5.sgf", "(;CA[gb2312]PB[\xB3\xA3\xEA\xBB]PW[Gu Li]RE[B+R]DT[2003-07];B[pd])"),
            dir.Write("p/6.sgf", "(;CA[UTF-8]PB[\xE5\x8F\xA4\xE5\x8A\x9B]PW[Lee Changho]RE[B+R]DT[2004];B[pd])"),
        };
        QStringList files;
        for (const std::string& path : m_games)
            files << QString::fromStdString(path);
        prompts.openFileNames.push_back(files);
        Trigger(ID_EDIT_ADD_FILES);
        Trigger(ID_VIEW_PLAYERS);
    }

    CPlayersPane* Pane() const { return app->Frame()->Players(); }
    QTableView* Table() const { return Pane()->PlayersView(); }
    CVarnexView* View() const { return app->Frame()->View(); }

    // "name games/wins/losses/without winner first-last" of every row shown, in order.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        const QAbstractItemModel* model = Table()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            auto cell = [&](int column) { return model->index(row, column).data().toString(); };
            rows.push_back(QStringLiteral("%1 %2/%3/%4/%5 %6-%7")
                               .arg(cell(CPlayersModel::kName), cell(CPlayersModel::kGames), cell(CPlayersModel::kWins),
                                    cell(CPlayersModel::kLosses), cell(CPlayersModel::kNoWinner),
                                    cell(CPlayersModel::kFirstYear), cell(CPlayersModel::kLastYear))
                               .toStdString());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    QModelIndex RowOf(const char* name) const
    {
        const QAbstractItemModel* model = Table()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString() == QString::fromUtf8(name))
                return model->index(row, 0);
        }
        ADD_FAILURE() << "no row " << name;
        return {};
    }

    // Selects the rows as a user would: a click, then Ctrl+clicks.
    void Select(std::initializer_list<const char*> names)
    {
        bool first = true;
        for (const char* name : names) {
            const QModelIndex index = RowOf(name);
            QTest::mouseClick(Table()->viewport(), Qt::LeftButton, first ? Qt::NoModifier : Qt::ControlModifier,
                              Table()->visualRect(index).center());
            first = false;
        }
    }

    QAction* PaneAction(const char* name) const { return Pane()->findChild<QAction*>(QString::fromUtf8(name)); }

    std::vector<std::string> m_games;
};

TEST_F(PlayersDock, FillsWithEachPlayerOnceCountingDrawsApartAndIsRememberedShown)
{
    ASSERT_TRUE(app->Frame()->PlayersDock()->isVisible());
    EXPECT_TRUE(Act(ID_VIEW_PLAYERS)->isChecked());
    EXPECT_EQ(Act(ID_VIEW_PLAYERS)->text().toStdString(), "&Players");
    // Ranks taken off, the GBK name decoded as the list shows it; a draw is
    // no loss.
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Chang Hao 4/2/1/1 2001-2003", "Gu Li 2/1/1/0 2003-2003",
                                                "Lee Changho 4/0/3/1 2001-2004", "古力 1/1/0/0 2004-2004",
                                                "常昊 1/1/0/0 2003-2003"}));
    EXPECT_EQ(RowOf("Chang Hao").siblingAtColumn(CPlayersModel::kWinRate).data().toString().toStdString(), "66.7%");

    // Shown at the end, shown at the next start, and the other way round.
    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    ASSERT_TRUE(Restart());
    EXPECT_FALSE(app->Frame()->PlayersDock()->isHidden());
    Trigger(ID_VIEW_PLAYERS);
    ASSERT_TRUE(Restart());
    EXPECT_TRUE(app->Frame()->PlayersDock()->isHidden());
}

TEST_F(PlayersDock, SortsByEveryColumnAndFiltersByName)
{
    QHeaderView* header = Table()->horizontalHeader();
    auto clickHeader = [&](int column) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
    };
    auto firstName = [&] { return Table()->model()->index(0, 0).data().toString().toStdString(); };
    // Games, most first, is the order the dock opens in.
    EXPECT_EQ(header->sortIndicatorSection(), CPlayersModel::kGames);
    clickHeader(CPlayersModel::kWins);
    const Qt::SortOrder order = header->sortIndicatorOrder();
    EXPECT_EQ(firstName(), order == Qt::DescendingOrder ? "Chang Hao" : "Lee Changho");
    clickHeader(CPlayersModel::kWins);
    EXPECT_EQ(firstName(), order == Qt::DescendingOrder ? "Lee Changho" : "Chang Hao");
    // The win rate sorts as a number, not as its text.
    clickHeader(CPlayersModel::kWinRate);
    if (header->sortIndicatorOrder() == Qt::DescendingOrder)
        clickHeader(CPlayersModel::kWinRate);
    EXPECT_EQ(firstName(), "Lee Changho");
    clickHeader(CPlayersModel::kName);
    if (header->sortIndicatorOrder() == Qt::DescendingOrder)
        clickHeader(CPlayersModel::kName);
    EXPECT_EQ(firstName(), "Chang Hao");

    QTest::keyClicks(Pane()->NameFilter(), QStringLiteral("li"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Gu Li 2/1/1/0 2003-2003"}));
    // Enter in the filter chooses the player it leaves.
    QTest::keyClick(Pane()->NameFilter(), Qt::Key_Return);
    EXPECT_EQ(View()->FilterBar()->Text().toStdString(), "player:=\"Gu Li\"");
    Pane()->NameFilter()->clear();
    EXPECT_EQ(Rows().size(), 5u);
}

TEST_F(PlayersDock, SamePlayerJoinsUnderTheFirstSelectedAndSplitUndoesItBothKeptInTheSettings)
{
    Select({"Chang Hao"});
    EXPECT_FALSE(PaneAction("playersSamePlayer")->isEnabled());
    EXPECT_FALSE(PaneAction("playersSplit")->isEnabled());
    Select({"Chang Hao", "常昊"});
    ASSERT_TRUE(PaneAction("playersSamePlayer")->isEnabled());
    PaneAction("playersSamePlayer")->trigger();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Chang Hao 5/3/1/1 2001-2003", "Gu Li 2/1/1/0 2003-2003",
                                                "Lee Changho 4/0/3/1 2001-2004", "古力 1/1/0/0 2004-2004"}));
    // The joined player's games are listed under either spelling.
    Table()->setCurrentIndex(RowOf("Chang Hao"));
    QTest::keyClick(Table(), Qt::Key_Return);
    EXPECT_EQ(View()->ShownCount(), 5);

    // The join applies to every collection: a new start counts them as one.
    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    ASSERT_TRUE(Restart());
    QStringList files;
    for (const std::string& path : m_games)
        files << QString::fromStdString(path);
    prompts.openFileNames.push_back(files);
    Trigger(ID_EDIT_ADD_FILES);
    EXPECT_EQ(Rows().front(), "Chang Hao 5/3/1/1 2001-2003");

    Select({"Chang Hao"});
    ASSERT_TRUE(PaneAction("playersSplit")->isEnabled());
    PaneAction("playersSplit")->trigger();
    EXPECT_EQ(Rows().size(), 5u);
    EXPECT_EQ(Rows().front(), "Chang Hao 4/2/1/1 2001-2003");
}

TEST_F(PlayersDock, AliasesAreExportedAndImportedAsTabSeparatedLinesThroughTheFileDialogs)
{
    Select({"Chang Hao", "常昊"});
    PaneAction("playersSamePlayer")->trigger();
    const std::string exported = (dir.path() / "aliases.txt").string();
    prompts.saveFileName.push_back(QString::fromStdString(exported));
    PaneAction("playersExportAliases")->trigger();
    EXPECT_EQ(ReadFileBytes(exported), "Chang Hao\t\xE5\xB8\xB8\xE6\x98\x8A\n");
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_TRUE(prompts.asked.back().startsWith(QStringLiteral("save-file: Export Aliases")))
        << prompts.asked.back().toStdString();

    // An imported file joins on top of the joins there are.
    const std::string shared = dir.Write("shared.txt", "Gu Li\t\xE5\x8F\xA4\xE5\x8A\x9B\r\n");
    prompts.openFileName.push_back(QString::fromStdString(shared));
    PaneAction("playersImportAliases")->trigger();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Chang Hao 5/3/1/1 2001-2003", "Gu Li 3/2/1/0 2003-2004",
                                                "Lee Changho 4/0/3/1 2001-2004"}));
    // A file that joins nothing new says so.
    prompts.openFileName.push_back(QString::fromStdString(shared));
    PaneAction("playersImportAliases")->trigger();
    EXPECT_EQ(prompts.messages.size(), 1);
}

TEST_F(PlayersDock, APlayerChosenFiltersTheListAndShowsTheirRecordAndAnOpponentTheirGamesTogether)
{
    CPlayerRecordPane* record = Pane()->Record();
    EXPECT_TRUE(record->isHidden());
    const QModelIndex chang = RowOf("Chang Hao");
    // A double-click as the pointer makes it: the first click, then the second.
    QTest::mouseClick(Table()->viewport(), Qt::LeftButton, {}, Table()->visualRect(chang).center());
    QTest::mouseDClick(Table()->viewport(), Qt::LeftButton, {}, Table()->visualRect(chang).center());
    ASSERT_FALSE(record->isHidden());
    EXPECT_EQ(View()->FilterBar()->Text().toStdString(), "player:=\"Chang Hao\"");
    EXPECT_EQ(View()->ShownCount(), 4);

    // By year: the draw is neither won nor lost.
    using Y = CYearRecordChart::SYear;
    const std::map<int, Y> years{{2001, Y{1, 0, 0}}, {2002, Y{1, 0, 1}}, {2003, Y{0, 1, 0}}};
    EXPECT_EQ(record->Chart()->Years(), years);
    EXPECT_EQ(CYearRecordChart::YearText(2002, years.at(2002)).toStdString(),
              "2002: 1 win, 0 losses, 1 without a winner");
    const QRect chart = record->Chart()->rect();
    EXPECT_EQ(record->Chart()->YearAt(QPoint(chart.left() + 5, chart.center().y())), 2001);
    EXPECT_EQ(record->Chart()->YearAt(QPoint(chart.right() - 5, chart.center().y())), 2003);
    EXPECT_EQ(record->Title()->text().toStdString(), "Chang Hao: 4 games, 2 wins, 1 loss, 1 without a winner");
    EXPECT_EQ(record->ColourLine()->text().toStdString(),
              "As black: 2 games, 1 win, 0 losses\nAs white: 2 games, 1 win, 1 loss");

    QTableView* opponents = record->Opponents();
    ASSERT_EQ(opponents->model()->rowCount(), 2);
    auto opponentRow = [&](int row) {
        QStringList cells;
        for (int column = 0; column < COpponentsModel::kColumnCount; ++column)
            cells << opponents->model()->index(row, column).data().toString();
        return cells.join(QLatin1Char('|')).toStdString();
    };
    EXPECT_EQ(opponentRow(0), "Lee Changho|3|2|0|2002-01-10");
    EXPECT_EQ(opponentRow(1), "Gu Li|1|0|1|2003-06-01");
    opponents->sortByColumn(COpponentsModel::kLosses, Qt::DescendingOrder);
    EXPECT_EQ(opponentRow(0), "Gu Li|1|0|1|2003-06-01");

    QTest::mouseClick(opponents->viewport(), Qt::LeftButton, {},
                      opponents->visualRect(opponents->model()->index(1, 0)).center());
    EXPECT_EQ(View()->FilterBar()->Text().toStdString(), "player:=\"Chang Hao\" player:=\"Lee Changho\"");
    EXPECT_EQ(View()->ShownCount(), 3);

    // Enter chooses the current player as a double-click does.
    Table()->setCurrentIndex(RowOf("Gu Li"));
    QTest::keyClick(Table(), Qt::Key_Return);
    EXPECT_EQ(View()->FilterBar()->Text().toStdString(), "player:=\"Gu Li\"");
    EXPECT_EQ(View()->ShownCount(), 2);
}

TEST_F(PlayersDock, FollowsFilesAddedRemovedAndReadAgain)
{
    // A drop: no end of batch, the rows follow at idle time.
    app->Frame()->AddDroppedPaths({dir.Write("p/7.sgf", "(;PB[Gu Li]PW[Chang Hao]RE[W+R]DT[2005];B[pd])")});
    RunIdle();
    EXPECT_EQ(Rows().front(), "Chang Hao 5/3/1/1 2001-2005");

    // The record shown follows too.
    Pane()->ShowPlayer(RowOf("Chang Hao").data(CPlayersModel::kKeyRole).toString().toStdString());
    ASSERT_TRUE(app->Doc().RemoveGameFile(m_games[0]));
    RunIdle();
    EXPECT_EQ(Rows().front(), "Chang Hao 4/2/1/1 2002-2005");
    EXPECT_EQ(Pane()->Record()->Chart()->Years().count(2001), 0u);

    // Read again with another result: the old one is counted out.
    std::ofstream(m_games[3], std::ios::binary | std::ios::trunc)
        << "(;PB[Gu Li]PW[Chang Hao]RE[W+Resign]DT[2003-06-01];B[pd])";
    Trigger(ID_EDIT_REFRESH);
    EXPECT_EQ(Rows().front(), "Chang Hao 4/3/0/1 2002-2005");

    // A new collection empties the dock.
    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    Trigger(ID_FILE_NEW);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(Pane()->Record()->isHidden());
}

} // namespace
