#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/frame/DuplicateSearch.h"
#include "desktop/view/DuplicatesView.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

namespace {

// A game down the board's columns; mirrored left to right, turned half
// round, with a comment on every move when asked.
std::string ColumnGame(int count, bool mirrored, bool turned = false, const std::string& extra = "",
                       int firstColumn = 0)
{
    std::string text = "(;SZ[19]";
    for (int i = 0; i < count; ++i) {
        int x = firstColumn + i / 19;
        int y = i % 19;
        if (mirrored)
            x = 18 - x;
        if (turned)
            x = 18 - x, y = 18 - y;
        text += i % 2 == 0 ? ";B[" : ";W[";
        text += static_cast<char>('a' + x);
        text += static_cast<char>('a' + y);
        text += "]" + extra;
    }
    return text + ")";
}

} // namespace

class FindDuplicatesTest : public FrameTest
{
protected:
    // Two duplicate games and one alone, added to the collection.
    void AddGames()
    {
        Add("a1.sgf", ColumnGame(80, false));
        Add("a2.sgf", ColumnGame(80, true, false, "C[note]"));
        Add("a3.sgf", ColumnGame(80, false, true));
        // Another game: the columns from the right, colours swapped.
        std::string other = ColumnGame(80, true);
        for (char& c : other)
            c = c == 'B' ? 'W' : c == 'W' ? 'B' : c;
        Add("b.sgf", other);
        Add("c1.sgf", ColumnGame(55, true, true, "", 5));
        Add("c2.sgf", "(;SZ[19]C[lost the end]" + ColumnGame(60, false, false, "", 5).substr(8));
    }
    void Add(const std::string& name, const std::string& bytes)
    {
        const std::string path = dir.Write("games/" + name, bytes);
        ASSERT_TRUE(app->Doc().AddGameFile(path, 0)) << name;
    }
    std::string Path(const std::string& name) const { return (dir.path() / "games" / name).string(); }
    CVarnexView* View() const { return app->Frame()->View(); }
    std::vector<std::string> ShownKeys() const
    {
        std::vector<std::string> keys;
        CReportListCtrl* list = View()->ListCtrl();
        for (int i = 0; i < list->GetShownCount(); ++i)
            keys.push_back(list->GetItemKey(list->ShownRow(i)));
        return keys;
    }
    QString MessageText() const { return app->Frame()->CountStatusBar()->MessagePane()->text(); }
};

TEST_F(FindDuplicatesTest, ShowsEachGroupTogetherInEveryStyleAndLeavesByEscOrTheCommand)
{
    ASSERT_TRUE(Start());
    AddGames();
    EXPECT_EQ(Act(ID_EDIT_FIND_DUPLICATES)->text(), QStringLiteral("Find D&uplicates"));
    EXPECT_EQ(Act(ID_EDIT_SELECT_EXTRA_COPIES)->text(), QStringLiteral("Select E&xtra Copies"));
    const std::vector<std::string> groups = {Path("a2.sgf"), Path("a1.sgf"), Path("a3.sgf"), Path("c2.sgf"),
                                             Path("c1.sgf")};
    for (int style : {ID_VIEW_DETAILS, ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST}) {
        Trigger(style);
        Trigger(ID_EDIT_FIND_DUPLICATES);
        ASSERT_TRUE(View()->Duplicates().IsShowing());
        EXPECT_EQ(ShownKeys(), groups);
        RunIdle();
        EXPECT_EQ(MessageText(), QStringLiteral("5 files of 2 games"));
        EXPECT_TRUE(View()->FilterBar()->isVisible());
        EXPECT_TRUE(View()->FilterBar()->Note()->text().contains(QStringLiteral("Esc")));
        app->Router().UpdateAll();
        EXPECT_TRUE(Act(ID_EDIT_FIND_DUPLICATES)->isChecked());

        if (style == ID_VIEW_DETAILS || style == ID_VIEW_LIST) {
            QTest::keyClick(View()->ListCtrl()->CurrentView(), Qt::Key_Escape);
        } else {
            Trigger(ID_EDIT_FIND_DUPLICATES);
        }
        EXPECT_FALSE(View()->Duplicates().IsShowing());
        EXPECT_EQ(View()->ShownCount(), 6);
        EXPECT_FALSE(View()->FilterBar()->isVisible());
        RunIdle();
        EXPECT_EQ(MessageText(), QStringLiteral("Ready"));
    }
    // Esc in the filter's field leaves the view as well.
    Trigger(ID_EDIT_FIND_DUPLICATES);
    Trigger(ID_EDIT_FIND);
    QTest::keyClick(View()->FilterBar()->Field(), Qt::Key_Escape);
    EXPECT_FALSE(View()->Duplicates().IsShowing());
}

TEST_F(FindDuplicatesTest, SelectExtraCopiesAndDeleteKeepOneFileOfEachGame)
{
    ASSERT_TRUE(Start());
    AddGames();
    app->Router().UpdateAll();
    EXPECT_FALSE(Act(ID_EDIT_SELECT_EXTRA_COPIES)->isEnabled());
    Trigger(ID_EDIT_FIND_DUPLICATES);
    Trigger(ID_EDIT_SELECT_EXTRA_COPIES);
    std::vector<std::string> selected;
    for (int row : View()->ListCtrl()->GetSelectedRows())
        selected.push_back(View()->ListCtrl()->GetItemKey(row));
    std::sort(selected.begin(), selected.end());
    EXPECT_EQ(selected, (std::vector<std::string>{Path("a1.sgf"), Path("a3.sgf"), Path("c1.sgf")}));
    // Whole rows, as a click selects them, in every column of the details.
    Trigger(ID_VIEW_DETAILS);
    QItemSelectionModel* selection = View()->ListCtrl()->SelectionModel();
    for (int shown = 0; shown < View()->ListCtrl()->GetShownCount(); ++shown) {
        const bool extra = shown == 1 || shown == 2 || shown == 4;
        EXPECT_EQ(selection->isRowSelected(shown, QModelIndex()), extra) << shown;
    }

    Trigger(ID_EDIT_DELETE_FILES);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 3u);
    EXPECT_NE(app->Doc().m_mapFiles.Find(Path("a2.sgf")), nullptr);
    EXPECT_NE(app->Doc().m_mapFiles.Find(Path("c2.sgf")), nullptr);
    EXPECT_TRUE(std::filesystem::exists(Path("a1.sgf")));
    // Each game is held in one file now: no duplicates are left to show.
    RunIdle();
    EXPECT_EQ(MessageText(), QStringLiteral("0 files of 0 games"));
    EXPECT_TRUE(View()->Duplicates().IsShowing());
    EXPECT_EQ(View()->ShownCount(), 0);
}

TEST_F(FindDuplicatesTest, SelectExtraCopiesAfterTheKeptCopyWasDeletedStillLeavesOneCopyOfEachGame)
{
    ASSERT_TRUE(Start());
    AddGames();
    Trigger(ID_EDIT_FIND_DUPLICATES);
    // The copies Select Extra Copies would keep: a2 of three files, c2 of two.
    CReportListCtrl* list = View()->ListCtrl();
    list->ClearSelection();
    list->SelectRows({list->FindItem(Path("a2.sgf")), list->FindItem(Path("c2.sgf"))});
    Trigger(ID_EDIT_DELETE_FILES);
    RunIdle();
    // c1 is the only file of its game now and leaves the view.
    EXPECT_EQ(ShownKeys(), (std::vector<std::string>{Path("a1.sgf"), Path("a3.sgf")}));
    EXPECT_EQ(MessageText(), QStringLiteral("2 files of 1 game"));

    Trigger(ID_EDIT_SELECT_EXTRA_COPIES);
    std::vector<std::string> selected;
    for (int row : list->GetSelectedRows())
        selected.push_back(list->GetItemKey(row));
    EXPECT_EQ(selected, (std::vector<std::string>{Path("a3.sgf")}));
    Trigger(ID_EDIT_DELETE_FILES);
    std::vector<std::string> left;
    app->Doc().m_mapFiles.ForEach([&left](const std::string& path, const CGameEntry&) { left.push_back(path); });
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{Path("a1.sgf"), Path("b.sgf"), Path("c1.sgf")}));
    RunIdle();
    EXPECT_EQ(MessageText(), QStringLiteral("0 files of 0 games"));
}

TEST_F(FindDuplicatesTest, ASecondSearchReadsOnlyFilesNewOrChanged)
{
    ASSERT_TRUE(Start());
    AddGames();
    // d has the size of a1 but another game.
    std::string d = ColumnGame(80, false);
    d[10] = 'b';
    Add("d.sgf", d);
    Trigger(ID_EDIT_FIND_DUPLICATES);
    EXPECT_EQ(app->Frame()->DuplicateSearch().Finder().KnownFiles(), 7u);
    Trigger(ID_EDIT_FIND_DUPLICATES);

    // Now a copy of a1 with its old size and time, as cp -p leaves it: the
    // change time still tells, so d is read again and joins a1's game.
    const auto time = std::filesystem::last_write_time(Path("d.sgf"));
    dir.Write("games/d.sgf", ColumnGame(80, false));
    std::filesystem::last_write_time(Path("d.sgf"), time);
    Add("e.sgf", ColumnGame(80, true, true));
    Trigger(ID_EDIT_FIND_DUPLICATES);
    EXPECT_EQ(ShownKeys(), (std::vector<std::string>{Path("a2.sgf"), Path("a1.sgf"), Path("a3.sgf"), Path("d.sgf"),
                                                     Path("e.sgf"), Path("c2.sgf"), Path("c1.sgf")}));
    EXPECT_EQ(app->Frame()->DuplicateSearch().Finder().KnownFiles(), 8u);

    Trigger(ID_EDIT_FIND_DUPLICATES);

    // A new time makes it read again.
    std::filesystem::last_write_time(Path("d.sgf"), time + std::chrono::seconds(5));
    Trigger(ID_EDIT_FIND_DUPLICATES);
    EXPECT_EQ(ShownKeys().size(), 7u);
}

TEST_F(FindDuplicatesTest, FileExitDuringTheSearchStopsItAndClosesTheWindow)
{
    ASSERT_TRUE(Start());
    AddGames();
    // Runs inside the first pump of the search; the close then asks about
    // the unsaved additions, as any close does.
    QTimer::singleShot(0, app->Frame(), [this] { Trigger(ID_APP_EXIT); });
    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    Trigger(ID_EDIT_FIND_DUPLICATES);
    EXPECT_FALSE(app->Frame()->isVisible());
    EXPECT_FALSE(app->Frame()->DuplicateSearch().IsRunning());
    EXPECT_FALSE(app->Doc().IsBusy());
}

TEST_F(FindDuplicatesTest, EscStopsTheSearchAndLeavesTheListAsItWas)
{
    ASSERT_TRUE(Start());
    app->Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->Frame()));
    AddGames();
    bool stopSeen = false;
    // Runs inside the first pump of the search.
    QTimer::singleShot(0, app->Frame(), [&] { stopSeen = PressEscUntilStopAsked(); });
    Trigger(ID_EDIT_FIND_DUPLICATES);
    ASSERT_TRUE(stopSeen);
    EXPECT_FALSE(View()->Duplicates().IsShowing());
    EXPECT_EQ(View()->ShownCount(), 6);
    EXPECT_EQ(MessageText(), QStringLiteral("Finding duplicates stopped"));
    EXPECT_TRUE(app->Frame()->CountStatusBar()->CancelButton()->isHidden());
    // The next search runs to its end.
    Trigger(ID_EDIT_FIND_DUPLICATES);
    EXPECT_TRUE(View()->Duplicates().IsShowing());
}

// Each game of a file of several is a game: the view shows the rows of the
// copies, two of them in one file, and counts the files that hold them.
TEST_F(FindDuplicatesTest, GamesOfOneFileAreCopiesOfEachOtherAndOfAFileOfOneGame)
{
    ASSERT_TRUE(Start());
    Add("several.sgf", ColumnGame(80, false) + "\n" + ColumnGame(80, false, false, "", 6) + "\n()\n" +
                           ColumnGame(80, true) + "\n" + ColumnGame(30, false, false, "", 12));
    Add("single.sgf", ColumnGame(80, false, true, "", 6));
    Trigger(ID_EDIT_FIND_DUPLICATES);
    ASSERT_TRUE(View()->Duplicates().IsShowing());
    CReportListCtrl* list = View()->ListCtrl();
    std::vector<std::pair<std::string, std::uint32_t>> shown;
    for (int i = 0; i < list->GetShownCount(); ++i)
        shown.emplace_back(list->GetItemKey(list->ShownRow(i)), list->GetItemGame(list->ShownRow(i)));
    const std::vector<std::pair<std::string, std::uint32_t>> groups = {
        {Path("several.sgf"), 0}, {Path("several.sgf"), 2}, {Path("several.sgf"), 1}, {Path("single.sgf"), 0}};
    EXPECT_EQ(shown, groups);
    RunIdle();
    EXPECT_EQ(MessageText(), QStringLiteral("2 files of 2 games"));

    // The single file only: the file's own later copy goes with the file,
    // which holds a kept copy.
    Trigger(ID_EDIT_SELECT_EXTRA_COPIES);
    std::vector<std::pair<std::string, std::uint32_t>> selected;
    for (int row : list->GetSelectedRows())
        selected.emplace_back(list->GetItemKey(row), list->GetItemGame(row));
    EXPECT_EQ(selected, (std::vector<std::pair<std::string, std::uint32_t>>{{Path("single.sgf"), 0}}));
}
