#include "TestSupport.h"
#include "ViewFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"
#include "qtcore/FilterText.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

class IconView : public ViewFixture
{
protected:
    void AddGames(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            ASSERT_TRUE(doc.AddGameFile(dir.Write(name, "(;GM[1]PB[B]PW[W])"), 0));
        List().Model().Flush();
        QCoreApplication::processEvents();
    }
    QListView& Icons() { return *List().IconView(); }
    QWidget* Viewport() { return Icons().viewport(); }
    QRect RectOf(int row) { return Icons().visualRect(Icons().model()->index(row, 0)); }
    int RowOf(const std::string& name)
    {
        for (int r = 0; r < List().GetItemCount(); ++r)
            if (List().GetItemText(r, 0) == name)
                return r;
        return -1;
    }
    QLabel* DragImage() { return Viewport()->findChild<QLabel*>(QStringLiteral("dragImage")); }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), Viewport()->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(Viewport(), &event);
    }
    // Press on row, move in steps by delta and release at the end.
    void DragRow(int row, QPoint delta, bool* imageShown = nullptr)
    {
        const QPoint from = RectOf(row).center();
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, from + delta / 2, Qt::LeftButton);
        if (imageShown)
            *imageShown = DragImage() && DragImage()->isVisible();
        Mouse(QEvent::MouseMove, from + delta, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, from + delta, Qt::NoButton);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(IconView, EveryLabelHasItsWholeCellWhateverTheOtherRowsAreCalled)
{
    AddGames({"kato-sato-1999.sgf", "b.sgf"});
    for (int id : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST}) {
        view->OnCommand(id);
        QCoreApplication::processEvents();
        const QRect first = RectOf(0);
        const int wanted = std::min(Icons().fontMetrics().horizontalAdvance(QStringLiteral("kato-sato-1999.sgf")),
                                    Icons().gridSize().width() - 4);
        EXPECT_GE(first.width(), wanted) << "style " << id;
        EXPECT_EQ(first.size(), RectOf(1).size());
    }
}

TEST_F(IconView, DraggingAnIconMovesThatIconByThePointerMovementOnly)
{
    AddGames({"a.sgf", "b.sgf", "c.sgf"});
    List().SelectRow(0);
    List().SelectRow(1);
    const QPoint before[3] = {List().GetItemPosition(0), List().GetItemPosition(1), List().GetItemPosition(2)};
    bool shown = false;
    DragRow(1, QPoint(50, 20), &shown);
    EXPECT_TRUE(shown) << "the row's picture follows the pointer";
    EXPECT_FALSE(DragImage()->isVisible());
    EXPECT_EQ(List().GetItemPosition(1), before[1] + QPoint(50, 20));
    EXPECT_EQ(List().GetItemPosition(0), before[0]);
    EXPECT_EQ(List().GetItemPosition(2), before[2]);
    EXPECT_TRUE(RectOf(1).isValid());
    EXPECT_EQ(List().GetSelectedRows(), std::vector<int>({0, 1})) << "the selection stays as it was";
    EXPECT_EQ(doc.IsModified(), true) << "adding made it modified";
    doc.SetModifiedFlag(false);
    DragRow(2, QPoint(-10, 90));
    EXPECT_FALSE(doc.IsModified()) << "a drag changes nothing in the collection";

    // The moved icon is drawn at its new place at once.
    const QImage shot = Viewport()->grab().toImage();
    const QRect icon(RectOf(1).topLeft(), QSize(RectOf(1).width(), 36));
    int inked = 0;
    for (int y = icon.top(); y <= icon.bottom() && y < shot.height(); ++y)
        for (int x = icon.left(); x <= icon.right() && x < shot.width(); ++x)
            inked += shot.pixelColor(x, y) != shot.pixelColor(0, shot.height() - 1) ? 1 : 0;
    EXPECT_GT(inked, 50);
}

TEST_F(IconView, AReleaseOutsideTheListStillMovesTheIcon)
{
    AddGames({"a.sgf", "b.sgf"});
    view->OnCommand(ID_VIEW_SMALLICON);
    QCoreApplication::processEvents();
    const QPoint before = List().GetItemPosition(0);
    const QPoint from = RectOf(0).center();
    const QPoint outside(Viewport()->width() + 40, Viewport()->height() + 30);
    Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(QEvent::MouseMove, outside, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, outside, Qt::NoButton);
    EXPECT_EQ(List().GetItemPosition(0), before + (outside - from));
}

TEST_F(IconView, NoDragInTheListAndDetailsStyles)
{
    AddGames({"a.sgf", "b.sgf", "c.sgf"});
    view->OnCommand(ID_VIEW_LIST);
    QCoreApplication::processEvents();
    const QPoint before = List().GetItemPosition(1);
    bool shown = true;
    DragRow(1, QPoint(50, 20), &shown);
    EXPECT_FALSE(shown);
    EXPECT_EQ(List().GetItemPosition(1), before);
}

TEST_F(IconView, HandPlacedIconsSurviveStyleSwitchesAndSortsUntilLinedUp)
{
    AddGames({"a.sgf", "b.sgf", "c.sgf"});
    const QPoint gridPlace = List().GetItemPosition(RowOf("a.sgf"));
    DragRow(RowOf("a.sgf"), QPoint(200, 150));
    const QPoint placed = List().GetItemPosition(RowOf("a.sgf"));
    ASSERT_EQ(placed, gridPlace + QPoint(200, 150));

    view->OnCommand(ID_VIEW_DETAILS);
    view->OnCommand(ID_VIEW_SMALLICON);
    view->OnCommand(ID_VIEW_LARGEICON);
    QCoreApplication::processEvents();
    EXPECT_EQ(List().GetItemPosition(RowOf("a.sgf")), placed);

    const int rowBefore = RowOf("a.sgf");
    for (int click = 0; click < 2 && RowOf("a.sgf") == rowBefore; ++click)
        view->OnHeaderClick(0);
    QCoreApplication::processEvents();
    ASSERT_NE(RowOf("a.sgf"), rowBefore) << "the sort moved the row";
    EXPECT_EQ(List().GetItemPosition(RowOf("a.sgf")), placed);
    EXPECT_NE(List().GetItemPosition(RowOf("c.sgf")), placed);

    view->OnCommand(ID_VIEW_LINEUP);
    QCoreApplication::processEvents();
    EXPECT_NE(List().GetItemPosition(RowOf("a.sgf")), placed);
}

// The image that follows the pointer is the dragged row as the list shows
// it, also while the quick filter hides rows above it (the view's rows are
// then not the list's).
TEST_F(IconView, TheDragImageIsTheDraggedRowsPictureAtItsSize)
{
    AddGames({"keep-1.sgf", "drop.sgf", "keep-2.sgf"});
    List().SetRowFilter(MakeRowFilter(QStringLiteral("keep")));
    QCoreApplication::processEvents();
    ASSERT_EQ(List().GetShownCount(), 2);
    ASSERT_EQ(List().ShownRow(1), RowOf("keep-2.sgf"));

    const QRect rect = RectOf(1);
    const QPoint from = rect.center();
    Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    QCoreApplication::processEvents();
    const QImage shown = Viewport()->grab(rect).toImage();
    ASSERT_NE(shown, Viewport()->grab(RectOf(0)).toImage()) << "the two rows look different";
    Mouse(QEvent::MouseMove, from + QPoint(30, 12), Qt::LeftButton);
    ASSERT_TRUE(DragImage() && DragImage()->isVisible());
    EXPECT_EQ(DragImage()->size(), rect.size());
    EXPECT_EQ(DragImage()->pos(), rect.topLeft() + QPoint(30, 12));
    EXPECT_EQ(DragImage()->pixmap().toImage().convertToFormat(shown.format()), shown);
    Mouse(QEvent::MouseButtonRelease, from + QPoint(30, 12), Qt::NoButton);
    EXPECT_EQ(List().GetItemPosition(RowOf("keep-2.sgf")), rect.topLeft() + QPoint(30, 12));
}

TEST_F(IconView, AnIconDroppedPastTheTopOrLeftEdgeStaysWhereScrollingReachesIt)
{
    AddGames({"a.sgf", "b.sgf", "c.sgf"});
    for (int id : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON}) {
        view->OnCommand(id);
        QCoreApplication::processEvents();
        const QPoint before[2] = {List().GetItemPosition(1), List().GetItemPosition(2)};
        DragRow(1, QPoint(-before[0].x() - 300, 7));
        EXPECT_EQ(List().GetItemPosition(1), QPoint(0, before[0].y() + 7)) << "style " << id;
        DragRow(2, QPoint(5, -before[1].y() - 300));
        EXPECT_EQ(List().GetItemPosition(2), QPoint(before[1].x() + 5, 0)) << "style " << id;
        view->OnCommand(ID_VIEW_LINEUP);
    }
}

namespace {

bool IsGreen(const QColor& c)
{
    return c.green() > c.red() + 60 && c.green() > c.blue() + 60;
}
bool IsBlue(const QColor& c)
{
    return c.blue() > c.red() + 80 && c.blue() > c.green() + 80;
}
// Pixels of one kind in rect of what view's window shows.
int CountShown(QAbstractItemView& view, const QModelIndex& index, bool (*kind)(const QColor&))
{
    const QRect rect = view.visualRect(index);
    const QImage shot = view.viewport()->grab(rect).toImage();
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            count += kind(shot.pixelColor(x, y)) ? 1 : 0;
    return count;
}

} // namespace

// What the list shows: the unviewed picture is a white page with blue
// letters, the viewed one the same page on green, at both sizes.
TEST_F(IconView, ViewedAndUnviewedRowsShowTheirOwnPictures)
{
    ASSERT_TRUE(doc.AddGameFile(dir.Write("unviewed.sgf", "(;GM[1]PB[B])"), 0));
    ASSERT_TRUE(doc.AddGameFile(dir.Write("viewed.sgf", "(;GM[1]PB[B])"), ENTRY_VIEWED));
    List().Model().Flush();
    List().ClearSelection();
    const int unviewed = RowOf("unviewed.sgf");
    const int viewed = RowOf("viewed.sgf");
    for (int id : {ID_VIEW_LARGEICON, ID_VIEW_DETAILS}) {
        view->OnCommand(id);
        QCoreApplication::processEvents();
        QAbstractItemView& shown = *List().CurrentView();
        const QModelIndex unviewedIndex = shown.model()->index(unviewed, 0);
        const QModelIndex viewedIndex = shown.model()->index(viewed, 0);
        const int paper = id == ID_VIEW_LARGEICON ? 300 : 15;
        EXPECT_EQ(CountShown(shown, unviewedIndex, IsGreen), 0) << "style " << id;
        EXPECT_GT(CountShown(shown, viewedIndex, IsGreen), paper) << "style " << id;
        EXPECT_GT(CountShown(shown, unviewedIndex, IsBlue), 5) << "style " << id;
        EXPECT_GT(CountShown(shown, viewedIndex, IsBlue), 5) << "style " << id;
    }
}
