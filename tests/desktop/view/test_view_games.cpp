// A record file of several games in the window: a row for each game,
// through the list, the filter, export, the viewed mark, Delete, save,
// Refresh and the preview.
#include "FrameFixture.h"

#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/preview/PreviewPane.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

// Three games with a blank line, a comment line and an empty tree between
// them, then a fourth tree cut inside its root node; board sizes differ.
constexpr const char* kThreeGames = "(;GM[1]SZ[9]PB[Ann]PW[Wu]RE[B+R];B[aa])\n\n"
                                    "games saved together\n()\n"
                                    "(;GM[1]SZ[13]PB[Bob]PW[Wu]RE[W+2.5];B[bb];W[cc])\r\n"
                                    "(;GM[1]SZ[5]PB[Cid]PW[Wu];B[cc])\n"
                                    "(;GM[1]PB[Da";

class GamesOfAFile : public FrameTest
{
protected:
    CReportListCtrl& List() const { return *app->Frame()->View()->ListCtrl(); }
    CVarnexView& View() const { return *app->Frame()->View(); }

    void AddBoth()
    {
        m_several = dir.Write("problems.sgf", kThreeGames);
        m_one = dir.Write("one.sgf", "(;GM[1]SZ[19]PB[Eve]PW[Wu];B[pd])");
        ASSERT_TRUE(app->Doc().AddGameFile(m_several, 0));
        ASSERT_TRUE(app->Doc().AddGameFile(m_one, 0));
        app->Doc().UpdateAllViews(hintBatchDone);
    }

    // Row texts "name:black" in row order.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int r = 0; r < List().GetItemCount(); ++r)
            rows.push_back(List().GetItemText(r, 0) + ":" + List().GetItemText(r, 3));
        return rows;
    }

    std::string m_several;
    std::string m_one;
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(GamesOfAFile, EachGameHasARowAndTheViewedMarkIsTheFiles)
{
    ASSERT_TRUE(Start());
    AddBoth();
    EXPECT_EQ(Rows(), (Texts{"problems.sgf #1:Ann", "problems.sgf #2:Bob", "problems.sgf #3:Cid", "one.sgf:Eve"}));
    // Derived values are each game's own.
    EXPECT_EQ(List().GetItemText(0, 7), "Ann");
    EXPECT_EQ(List().GetItemText(1, 7), "Wu");
    EXPECT_EQ(List().GetItemText(2, 7), "");
    RunIdle();
    EXPECT_EQ(app->Frame()->CountStatusBar()->PaneText(1), QStringLiteral("Total 4 Game(s) in 2 File(s)"));

    // Marking one game marks the file: every row of it.
    List().SelectRow(1);
    Trigger(ID_EDIT_MARK_VIEWED);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(List().GetItemImage(r), 1) << r;
    EXPECT_EQ(List().GetItemImage(3), 0);

    // The filter and the export see games.
    View().SetFilterText(QStringLiteral("black:bob"));
    ASSERT_EQ(List().GetShownCount(), 1);
    EXPECT_EQ(List().GetItemText(List().ShownRow(0), 0), "problems.sgf #2");
    View().SetFilterText(QString());
    Trigger(ID_VIEW_DETAILS);
    const std::string exported = (dir.path() / "list.txt").string();
    prompts.saveFileName.push_back(QString::fromStdString(exported));
    Trigger(ID_FILE_EXPORT);
    const std::string text = ReadFileBytes(exported);
    EXPECT_NE(text.find("problems.sgf #3"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << text;

    // Saved, the collection holds one record per file, as for files of one game.
    const std::string saved = (dir.path() / "saved.vnx").string();
    prompts.saveFileName.push_back(QString::fromStdString(saved));
    Trigger(ID_FILE_SAVE_AS);
    CVarnexDoc same;
    same.m_mapFiles.Insert(m_several, std::make_unique<CGameEntry>(ENTRY_VIEWED));
    same.m_mapFiles.Insert(m_one, std::make_unique<CGameEntry>());
    const std::string expected = (dir.path() / "expected.vnx").string();
    ASSERT_TRUE(SaveCollectionFile(same, expected));
    EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(expected));
}

TEST_F(GamesOfAFile, DeleteAsksBeforeTakingOutAFileOfSeveralGames)
{
    ASSERT_TRUE(Start());
    AddBoth();
    List().SelectRow(2);
    prompts.yesNo.push_back(IPrompts::EAnswer::No);
    Trigger(ID_EDIT_DELETE_FILES);
    ASSERT_EQ(prompts.asked.filter(QStringLiteral("holds 3 games")).size(), 1)
        << prompts.asked.join(QStringLiteral("\n")).toStdString();
    EXPECT_EQ(List().GetItemCount(), 4);

    prompts.yesNo.push_back(IPrompts::EAnswer::Yes);
    Trigger(ID_EDIT_DELETE_FILES);
    EXPECT_EQ(Rows(), Texts{"one.sgf:Eve"});
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 1u);

    // A file of one game goes without a question.
    List().SelectRow(0);
    Trigger(ID_EDIT_DELETE_FILES);
    EXPECT_EQ(List().GetItemCount(), 0);
}

TEST_F(GamesOfAFile, RefreshFollowsTheGamesTheFileNowHolds)
{
    ASSERT_TRUE(Start());
    AddBoth();
    const int second = View().FindRow(m_several) + 1;
    ASSERT_EQ(List().GetItemGame(second), 1u);
    std::ofstream(m_several, std::ios::binary | std::ios::trunc)
        << "(;SZ[9]PB[Ann];B[aa])(;SZ[13]PB[Bert];B[bb])(;SZ[5]PB[Cid];B[cc])(;PB[Dan];B[dd])";
    Trigger(ID_EDIT_REFRESH);
    EXPECT_EQ(List().GetItemText(second, 0), "problems.sgf #2");
    EXPECT_EQ(List().GetItemText(second, 3), "Bert") << "changed in place";
    EXPECT_EQ(List().GetItemCount(), 5);
    EXPECT_GE(List().FindItem(m_several, 3), 0);

    // Down to one game: the file's row is named as a file of one game.
    std::ofstream(m_several, std::ios::binary | std::ios::trunc) << "(;PB[Solo];B[aa])";
    Trigger(ID_EDIT_REFRESH);
    EXPECT_EQ(List().GetItemCount(), 2);
    EXPECT_EQ(List().GetItemText(View().FindRow(m_several), 0), "problems.sgf");
}

TEST_F(GamesOfAFile, ThePreviewShowsTheRowsGame)
{
    ASSERT_TRUE(Start());
    AddBoth();
    CPreviewPane* pane = app->Frame()->Preview();
    const int third = List().FindItem(m_several, 2);
    ASSERT_GE(third, 0);
    QAbstractItemView* view = List().CurrentView();
    List().SelectionModel()->setCurrentIndex(view->model()->index(third, 0),
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QElapsedTimer waited;
    waited.start();
    while ((!pane->Position() || pane->Position()->board.Width() != 5) && waited.elapsed() < 5000)
        QTest::qWait(5);
    ASSERT_TRUE(pane->Position());
    EXPECT_EQ(pane->Position()->board.Width(), 5) << "the third game's board";
    EXPECT_EQ(pane->ShownPath(), m_several);
}
