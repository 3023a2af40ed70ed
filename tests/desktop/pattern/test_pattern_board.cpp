#include "desktop/pattern/ContinuationTable.h"
#include "desktop/pattern/DateProfile.h"
#include "desktop/pattern/PatternBoard.h"
#include "desktop/pattern/PatternPanel.h"
#include "game/Board.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A board on its own, large enough for clicks to land on their points.
class PatternBoardTest : public testing::Test
{
protected:
    void SetUp() override
    {
        board.resize(400, 400);
        board.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&board));
    }

    void Click(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(&board, Qt::LeftButton, modifiers, board.PointCentre(x, y));
    }

    void Drag(int x1, int y1, int x2, int y2)
    {
        QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, board.PointCentre(x1, y1));
        QMouseEvent move(QEvent::MouseMove, board.PointCentre(x2, y2), board.mapToGlobal(board.PointCentre(x2, y2)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&board, &move);
        QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, board.PointCentre(x2, y2));
    }

    CPatternBoard board;
};

TEST_F(PatternBoardTest, ClicksCycleStonesShiftMarksAnythingCtrlCyclesMaybes)
{
    QSignalSpy edited(&board, &CPatternBoard::SketchEdited);
    Click(3, 3);
    EXPECT_EQ(board.Sketch().SignAt(3, 3), 'X');
    Click(3, 3);
    EXPECT_EQ(board.Sketch().SignAt(3, 3), 'O');
    Click(3, 3);
    EXPECT_EQ(board.Sketch().SignAt(3, 3), '.');
    Click(4, 2, Qt::ShiftModifier);
    EXPECT_EQ(board.Sketch().SignAt(4, 2), '*');
    Click(4, 2);
    EXPECT_EQ(board.Sketch().SignAt(4, 2), '.') << "a wildcard clicked becomes empty";
    Click(5, 5, Qt::ControlModifier);
    EXPECT_EQ(board.Sketch().SignAt(5, 5), 'x');
    Click(5, 5, Qt::ControlModifier);
    EXPECT_EQ(board.Sketch().SignAt(5, 5), 'o');
    Click(5, 5, Qt::ControlModifier);
    EXPECT_EQ(board.Sketch().SignAt(5, 5), 'x');
    EXPECT_EQ(edited.count(), 8);
    EXPECT_FALSE(board.Sketch().HasRect()) << "clicks choose no rectangle";
}

TEST_F(PatternBoardTest, DraggingChoosesTheRectangleInEitherDirectionAndItsTextFollows)
{
    Click(2, 3);
    Click(3, 2);
    Click(3, 2);
    Drag(6, 5, 0, 0);
    ASSERT_TRUE(board.Sketch().HasRect());
    EXPECT_EQ(board.Sketch().Rect(), (SSketchRect{0, 0, 7, 6}));
    EXPECT_EQ(board.Sketch().RegionText(), "aa:gf");
    EXPECT_EQ(board.Sketch().RowsText(), "......./......./...O.../..X..../......./.......");
    EXPECT_EQ(board.Sketch().SignAt(2, 3), 'X') << "a drag changes no sign";
    EXPECT_EQ(board.Sketch().Kind(), ERectKind::Corner);
}

TEST(PatternSketch, TheKindFollowsTheEdgesTheRectangleTouches)
{
    CPatternSketch sketch;
    EXPECT_EQ(sketch.Kind(), ERectKind::WholeBoard);
    EXPECT_EQ(sketch.RegionText(), "all");
    sketch.SetRect(18, 18, 12, 13);
    EXPECT_EQ(sketch.Kind(), ERectKind::Corner);
    EXPECT_EQ(sketch.RegionText(), "mn:ss");
    sketch.SetRect(0, 5, 4, 12);
    EXPECT_EQ(sketch.Kind(), ERectKind::Side);
    sketch.SetRect(5, 14, 9, 18);
    EXPECT_EQ(sketch.Kind(), ERectKind::Side);
    sketch.SetRect(0, 3, 18, 8);
    EXPECT_EQ(sketch.Kind(), ERectKind::Side) << "the full width held, sliding up and down";
    sketch.SetRect(5, 5, 9, 9);
    EXPECT_EQ(sketch.Kind(), ERectKind::Centre);
    sketch.SetRect(0, 0, 18, 18);
    EXPECT_EQ(sketch.Kind(), ERectKind::WholeBoard);
    EXPECT_EQ(sketch.RegionText(), "all");
    EXPECT_STREQ(RectKindWords(ERectKind::Corner), "corner");
    EXPECT_STREQ(RectKindWords(ERectKind::Side), "side");
    EXPECT_STREQ(RectKindWords(ERectKind::Centre), "centre");
    EXPECT_STREQ(RectKindWords(ERectKind::WholeBoard), "whole board");
}

TEST(PatternSketch, PlayingTakesOffStonesWithoutLibertiesAndFromBoardCopiesStones)
{
    CPatternSketch sketch(9);
    CBoard board(9, 9);
    board.Put(0, 0, EStone::White);
    board.Put(1, 0, EStone::Black);
    sketch.SetFromBoard(board);
    sketch.SetRect(0, 0, 3, 3);
    sketch.SetSign(2, 2, '*');
    EXPECT_EQ(sketch.RowsText(), "OX../..../..*./....");
    sketch.Play(0, 1, EStone::Black);
    EXPECT_EQ(sketch.RowsText(), ".X../X.../..*./....") << "the white corner stone is taken";
    sketch.Clear();
    EXPECT_FALSE(sketch.HasRect());
    EXPECT_EQ(sketch.SignAt(1, 0), '.');
}

TEST_F(PatternBoardTest, EnterSearchesAndAClickOnALetterChoosesItsContinuation)
{
    QSignalSpy search(&board, &CPatternBoard::SearchRequested);
    QSignalSpy letter(&board, &CPatternBoard::LetterClicked);
    board.setFocus();
    QTest::keyClick(&board, Qt::Key_Return);
    EXPECT_EQ(search.count(), 1);
    board.SetLetters({{15, 3, EStone::Black, QStringLiteral("A")}, {16, 2, EStone::White, QStringLiteral("B")}});
    Click(16, 2);
    ASSERT_EQ(letter.count(), 1);
    EXPECT_EQ(letter.at(0).at(0).toInt(), 1);
    EXPECT_EQ(board.Sketch().SignAt(16, 2), '.') << "a letter's click draws nothing";
    QTest::keyClick(&board, Qt::Key_A);
    QTest::keyClick(&board, Qt::Key_C);
    ASSERT_EQ(letter.count(), 2) << "no continuation has the letter C";
    EXPECT_EQ(letter.at(1).at(0).toInt(), 0);
}

TEST(ContinuationTable, RowsShowLetterColourGamesShareAndWins)
{
    CContinuationTable table;
    table.SetRows(
        {{QStringLiteral("A"), 2, 3, EStone::White, 6, 3, 2}, {QStringLiteral("B"), 3, 2, EStone::Black, 2, 0, 0}}, 8);
    ASSERT_EQ(table.rowCount(), 2);
    const auto text = [&](int row, int column) { return table.item(row, column)->text().toStdString(); };
    EXPECT_EQ(text(0, CContinuationTable::kLetter), "A");
    EXPECT_EQ(text(0, CContinuationTable::kColour), "White");
    EXPECT_EQ(text(0, CContinuationTable::kGames), "6");
    EXPECT_EQ(text(0, CContinuationTable::kShare), "75.0 %");
    EXPECT_EQ(text(0, CContinuationTable::kWins), "50.0 % / 33.3 %");
    EXPECT_EQ(text(1, CContinuationTable::kWins), "0.0 % / 0.0 %");
    QSignalSpy chosen(&table, &CContinuationTable::RowChosen);
    emit table.cellClicked(1, CContinuationTable::kGames);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 1);
    EXPECT_EQ(ContinuationLetter(0).toStdString(), "A");
    EXPECT_EQ(ContinuationLetter(25).toStdString(), "Z");
    EXPECT_EQ(ContinuationLetter(26).toStdString(), "a");
    EXPECT_TRUE(ContinuationLetter(52).isEmpty());
}

TEST(DateProfile, BarsSpanTheYearsAndHoverNamesYearAndCount)
{
    CDateProfile profile;
    profile.resize(208, 70);
    profile.SetYears({{1990, 3}, {1999, 1}});
    // Ten bars of 20 points from x = 4.
    EXPECT_EQ(profile.YearAt(QPoint(5, 30)), 1990);
    EXPECT_EQ(profile.YearAt(QPoint(200, 30)), 1999);
    EXPECT_EQ(profile.YearAt(QPoint(105, 30)), 1995);
    EXPECT_EQ(profile.YearAt(QPoint(1, 30)), 0);
    EXPECT_EQ(CDateProfile::BarText(1990, 3).toStdString(), "1990: 3 games");
    EXPECT_EQ(CDateProfile::BarText(1999, 1).toStdString(), "1999: 1 game");
}

TEST(PatternPanel, TheKindIsShownInWords)
{
    CPatternPanel panel;
    EXPECT_EQ(panel.KindLabel()->text().toStdString(), "Pattern: whole board");
    CPatternSketch sketch;
    sketch.SetRect(0, 0, 6, 6);
    panel.Board()->SetSketch(sketch);
    panel.UpdateKind();
    EXPECT_EQ(panel.KindLabel()->text().toStdString(), "Pattern: corner");
}

} // namespace
