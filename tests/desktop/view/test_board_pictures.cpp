#include "FrameFixture.h"
#include "ViewFixture.h"

#include "cache/HeaderCache.h"
#include "collection/GameEntry.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/BoardPictures.h"
#include "desktop/view/ReportListModel.h"
#include "files/FileStatus.h"
#include "settings/Settings.h"
#include "settings/StringTable.h"

#include <QCoreApplication>
#include <QImage>
#include <QListView>
#include <QTreeView>

namespace {

// The wood of a board picture, which no row picture has.
bool IsWood(const QColor& c)
{
    return std::abs(c.red() - 0xE3) < 12 && std::abs(c.green() - 0xB8) < 12 && std::abs(c.blue() - 0x62) < 12;
}

bool IsViewedGreen(const QColor& c)
{
    return c.green() > 0x90 && c.red() < 0x60 && c.blue() < 0x60;
}

class BoardPictures : public ViewFixture
{
protected:
    std::string AddGame(const char* name, const char* bytes)
    {
        const std::string path = dir.Write(name, bytes);
        EXPECT_TRUE(doc.AddGameFile(path, 0));
        List().Model().Flush();
        QCoreApplication::processEvents();
        return path;
    }
    // The list as painted now, after every picture asked for by painting it
    // was made and has reached the list.
    QImage Painted()
    {
        // No row selected or current: those are drawn tinted.
        List().SelectionModel()->clear();
        QWidget* viewport = List().CurrentView()->viewport();
        viewport->grab();
        List().BoardPictures().WaitUntilDone();
        QCoreApplication::processEvents();
        return viewport->grab().toImage();
    }
    // The box of the wood pixels within row's item, or an empty box.
    QRect WoodBox(const QImage& shot, int row)
    {
        QListView& icons = *List().IconView();
        const QRect item = icons.visualRect(icons.model()->index(row, 0)) & shot.rect();
        QRect box;
        for (int y = item.top(); y <= item.bottom(); ++y)
            for (int x = item.left(); x <= item.right(); ++x)
                if (IsWood(shot.pixelColor(x, y)))
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    int CountIn(const QImage& shot, const QRect& box, bool (*test)(const QColor&))
    {
        int count = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                count += test(shot.pixelColor(x, y)) ? 1 : 0;
        return count;
    }
};

} // namespace

TEST_F(BoardPictures, LargeIconsShowTheBoardOnceMadeAndTheOtherStylesStayAsTheyWere)
{
    AddGame("a.sgf", "(;SZ[9];B[ee];W[cc];B[gg])");
    AddGame("b.sgf", "(;SZ[19];B[pd];W[dp])");
    std::vector<QImage> before;
    for (int id : {ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
        view->OnCommand(id);
        before.push_back(Painted());
    }
    view->OnCommand(ID_VIEW_LARGEICON);
    const QImage plain = Painted();
    EXPECT_TRUE(WoodBox(plain, 0).isEmpty()) << "off, the rows keep their pictures";

    view->OnCommand(ID_VIEW_BOARD_PICTURES);
    const QImage boards = Painted();
    for (int row : {0, 1}) {
        const QRect box = WoodBox(boards, row);
        EXPECT_GE(box.width(), 56) << "row " << row;
        EXPECT_GE(box.height(), 56) << "row " << row;
        EXPECT_GT(CountIn(boards, box, [](const QColor& c) { return c.lightness() < 50; }), 3)
            << "black stones on row " << row;
    }
    const CBoardPicture* picture = List().BoardPictures().Find(dir.path().string() + "/a.sgf", 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->At(4, 4), EStone::Black);
    EXPECT_EQ(picture->At(2, 2), EStone::White);

    int i = 0;
    for (int id : {ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
        view->OnCommand(id);
        EXPECT_EQ(Painted(), before[static_cast<std::size_t>(i++)]) << "style " << id << " as without pictures";
    }
    view->OnCommand(ID_VIEW_LARGEICON);
    view->OnCommand(ID_VIEW_BOARD_PICTURES);
    EXPECT_EQ(Painted(), plain) << "off again, as it was";
}

TEST_F(BoardPictures, TheViewedMarkStaysVisibleOverTheCorner)
{
    const std::string seen = AddGame("seen.sgf", "(;SZ[9];B[ii];W[hh])");
    AddGame("unseen.sgf", "(;SZ[9];B[ii];W[hh])");
    ASSERT_TRUE(doc.ChangeFileFlags(seen, ENTRY_VIEWED, 0, List().FindItem(seen)));
    view->OnCommand(ID_VIEW_BOARD_PICTURES);
    const QImage shot = Painted();
    for (int row : {0, 1}) {
        const QRect board = WoodBox(shot, row);
        ASSERT_FALSE(board.isEmpty());
        // The lower right quarter, where the stones of both games stand too.
        const QRect corner(board.center(), board.bottomRight());
        const bool viewed = List().GetItemKey(row) == seen;
        EXPECT_EQ(CountIn(shot, corner, IsViewedGreen) > 10, viewed) << "row " << row;
        EXPECT_EQ(CountIn(shot, QRect(board.topLeft(), board.center()), IsViewedGreen), 0) << "row " << row;
    }
}

TEST_F(BoardPictures, ThePicturesShowWhereThePreviewOpensAGame)
{
    const std::string path = AddGame("problem.sgf", "(;SZ[9]AB[aa][bb]AW[ba];B[ca];W[ee])");
    view->OnCommand(ID_VIEW_BOARD_PICTURES);
    Painted();
    const CBoardPicture* end = List().BoardPictures().Find(path, 0);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->At(1, 0), EStone::Empty) << "taken by move 1";
    EXPECT_EQ(end->At(4, 4), EStone::White);

    WriteInt(store, settings::kPreviewAt, 2);
    view->ReadOpenAt();
    EXPECT_FALSE(List().BoardPictures().Find(path, 0)) << "made anew for the new choice";
    Painted();
    const CBoardPicture* start = List().BoardPictures().Find(path, 0);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->At(0, 0), EStone::Black);
    EXPECT_EQ(start->At(1, 0), EStone::White) << "the problem as posed";
    EXPECT_EQ(start->At(4, 4), EStone::Empty);
}

namespace {
class BoardPicturesFrame : public FrameTest
{
};
} // namespace

TEST_F(BoardPicturesFrame, TheOptionIsOffAtFirstAndRemembered)
{
    ASSERT_TRUE(Start());
    app->Router().UpdateAll();
    EXPECT_EQ(Act(ID_VIEW_BOARD_PICTURES)->text(), QStringLiteral("Board &Pictures"));
    EXPECT_FALSE(Act(ID_VIEW_BOARD_PICTURES)->isChecked());
    Trigger(ID_VIEW_BOARD_PICTURES);
    app->Router().UpdateAll();
    EXPECT_TRUE(Act(ID_VIEW_BOARD_PICTURES)->isChecked());
    ASSERT_TRUE(Restart());
    app->Router().UpdateAll();
    EXPECT_TRUE(Act(ID_VIEW_BOARD_PICTURES)->isChecked());
    EXPECT_TRUE(app->Frame()->View()->ListCtrl()->HasBoardPictures());
    Trigger(ID_VIEW_BOARD_PICTURES);
    Stop();
    EXPECT_EQ(CQtSettingsStore(SettingsPath()).GetProfileInt("Frame", "Board Pictures", -1), 0);
}

TEST_F(BoardPictures, EachGameOfAFileOfSeveralHasItsOwnBoard)
{
    const std::string path = AddGame("three.sgf", "(;SZ[9];B[aa])\n(;SZ[9];B[ii])\n(;SZ[9];W[ee])");
    ASSERT_EQ(List().GetItemCount(), 3);
    view->OnCommand(ID_VIEW_BOARD_PICTURES);
    Painted();
    const CBoardPictures& pictures = List().BoardPictures();
    ASSERT_TRUE(pictures.Find(path, 0) && pictures.Find(path, 1) && pictures.Find(path, 2));
    EXPECT_EQ(pictures.Find(path, 0)->At(0, 0), EStone::Black);
    EXPECT_EQ(pictures.Find(path, 1)->At(0, 0), EStone::Empty);
    EXPECT_EQ(pictures.Find(path, 1)->At(8, 8), EStone::Black) << "the second game's own move";
    EXPECT_EQ(pictures.Find(path, 2)->At(4, 4), EStone::White);
}

TEST_F(BoardPictures, AMadePictureIsStoredInTheHeaderCacheForTheNextOpen)
{
    SHeaderCacheOptions options;
    options.racyMarginNs = 0;
    doc.SetHeaderCache(CHeaderCache::Open((dir.path() / "cache").string(), (dir.path() / "c.vnx").string(), options));
    ASSERT_TRUE(doc.HeaderCache());
    const std::string path = AddGame("stored.sgf", "(;SZ[9];B[cc];W[gg])");
    view->OnCommand(ID_VIEW_BOARD_PICTURES);
    Painted();
    const CBoardPicture* made = List().BoardPictures().Find(path, 0);
    ASSERT_TRUE(made);
    SFileStatus status;
    ASSERT_TRUE(StatGameFile(path, status));
    // The document's own reads end, so it sees what the picture thread wrote.
    doc.FlushHeaderCache();
    std::string stored;
    ASSERT_TRUE(doc.HeaderCache()->LookupPicture(path, 0, kOpenAtEnd, status, stored));
    EXPECT_EQ(CBoardPicture::Decode(stored), *made);
}
