#include "FrameFixture.h"

#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DocFramework.h"
#include "desktop/preview/BoardPainter.h"
#include "desktop/preview/BoardView.h"
#include "desktop/preview/PreviewPane.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "game/BoardLabels.h"
#include "game/GameTimeline.h"
#include "reader/GameRecordReader.h"
#include "reader/ReadHooks.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

#include <cmath>

#include <filesystem>

namespace {

class PreviewTest : public FrameTest
{
protected:
    CPreviewPane* Pane() const { return app->Frame()->Preview(); }
    CReportListCtrl* List() const { return app->Frame()->View()->ListCtrl(); }

    // Adds the games through the Add command, in this order.
    void Add(const std::vector<std::string>& paths)
    {
        QStringList files;
        for (const std::string& path : paths)
            files << QString::fromStdString(path);
        prompts.openFileNames.push_back(files);
        Trigger(ID_EDIT_ADD_FILES);
    }

    void MakeCurrent(const std::string& path)
    {
        const int row = List()->FindItem(path);
        ASSERT_GE(row, 0);
        QAbstractItemView* view = List()->CurrentView();
        const QModelIndex index = view->model()->index(row, 0);
        List()->SelectionModel()->setCurrentIndex(index,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // Waits for the pane to show the game of path, read on its own thread.
    bool WaitShown(const std::string& path)
    {
        QElapsedTimer waited;
        waited.start();
        while (Pane()->ShownPath() != path && waited.elapsed() < 5000)
            QTest::qWait(5);
        return Pane()->ShownPath() == path;
    }

    std::string ShownRows() const
    {
        return Pane()->Position() ? BoardRows(Pane()->Position()->board) : std::string("<none>");
    }

    template <typename T> T* Child(const char* name) const { return Pane()->findChild<T*>(QString::fromUtf8(name)); }

    // The pane shows the current row's game, or nothing when there is none.
    void ExpectShowsTheCurrentRow(const char* when)
    {
        const int current = List()->CurrentRow();
        if (current >= 0) {
            EXPECT_TRUE(WaitShown(List()->GetItemKey(current))) << when;
            return;
        }
        QTest::qWait(20);
        EXPECT_EQ(Pane()->ShownPath(), "") << when;
        EXPECT_EQ(Pane()->Position(), nullptr) << when;
        EXPECT_EQ(Pane()->Board()->Note(), QStringLiteral("No game")) << when;
        EXPECT_TRUE(Child<QLabel>("previewInfo")->text().isEmpty()) << when;
    }

    // Where a child widget stands in the pane, once the pane is laid out.
    QPoint PlaceOf(const char* name)
    {
        Pane()->layout()->activate();
        QCoreApplication::processEvents();
        QWidget* child = Child<QWidget>(name);
        return child->mapTo(Pane(), QPoint(0, 0));
    }
};

TEST_F(PreviewTest, ThePaneFollowsTheCurrentRowByTheArrowKeysInEveryStyle)
{
    ASSERT_TRUE(Start());
    const std::string a = dir.Write("a.sgf", "(;SZ[5];B[aa];W[bb])");
    const std::string b = dir.Write("b.sgf", "(;SZ[5]AB[cc];W[ee])");
    const std::string c = dir.Write("c.sgf", "(;SZ[3];B[bb])");
    Add({a, b, c});
    ASSERT_TRUE(app->Frame()->PreviewDock()->isVisible());
    const std::map<std::string, std::string> rows = {
        {a, "X..../.O.../...../...../....."}, {b, "...../...../..X../...../....O"}, {c, ".../.X./..."}};
    for (int id : {ID_VIEW_DETAILS, ID_VIEW_LIST, ID_VIEW_LARGEICON, ID_VIEW_SMALLICON}) {
        Trigger(id);
        MakeCurrent(List()->GetItemKey(List()->ShownRow(0)));
        std::string current = List()->GetItemKey(List()->CurrentRow());
        ASSERT_TRUE(WaitShown(current)) << id;
        EXPECT_EQ(ShownRows(), rows.at(current)) << id;

        // The list flows down in the details and list styles, across in the icon styles.
        QAbstractItemView* view = List()->CurrentView();
        view->setFocus();
        QTest::keyClick(view, id == ID_VIEW_DETAILS || id == ID_VIEW_LIST ? Qt::Key_Down : Qt::Key_Right);
        const std::string next = List()->GetItemKey(List()->CurrentRow());
        ASSERT_NE(next, current) << id;
        ASSERT_TRUE(WaitShown(next)) << id;
        EXPECT_EQ(ShownRows(), rows.at(next)) << id;
    }
}

TEST_F(PreviewTest, TheKeysAndTheSliderStepThroughTheGameWhileThePaneHasFocus)
{
    ASSERT_TRUE(Start());
    const std::string game = dir.Write("g.sgf", "(;SZ[3]AB[aa];W[cc];B[bb];W[ca])");
    Add({game});
    MakeCurrent(game);
    ASSERT_TRUE(WaitShown(game));
    EXPECT_EQ(Pane()->ShownMove(), 3);
    EXPECT_EQ(Child<QLabel>("previewMoveLabel")->text(), QStringLiteral("Move 3 of 3"));

    CBoardView* board = Pane()->Board();
    board->setFocus();
    QTest::keyClick(board, Qt::Key_Home);
    EXPECT_EQ(ShownRows(), "X../.../...");
    QTest::keyClick(board, Qt::Key_Right);
    EXPECT_EQ(ShownRows(), "X../.../..O");
    QTest::keyClick(board, Qt::Key_End);
    EXPECT_EQ(ShownRows(), "X.O/.X./..O");
    QTest::keyClick(board, Qt::Key_Left);
    EXPECT_EQ(Pane()->ShownMove(), 2);
    EXPECT_EQ(Child<QSlider>("previewSlider")->value(), 2);
    Child<QSlider>("previewSlider")->setValue(1);
    EXPECT_EQ(ShownRows(), "X../.../..O");
    EXPECT_EQ(Child<QLabel>("previewMoveLabel")->text(), QStringLiteral("Move 1 of 3"));
}

TEST_F(PreviewTest, TheOpeningPositionAndThePaneItselfAreRemembered)
{
    ASSERT_TRUE(Start());
    const std::string game = dir.Write("g.sgf", "(;SZ[3]AB[aa];W[cc];B[bb];W[ca])");
    Add({game});
    MakeCurrent(game);
    ASSERT_TRUE(WaitShown(game));
    auto* showAt = Child<QComboBox>("previewShowAt");
    showAt->setCurrentIndex(showAt->findData(CPreviewPane::kShowStart));
    EXPECT_EQ(Pane()->ShownMove(), 0);

    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    ASSERT_TRUE(Restart());
    Add({game});
    EXPECT_EQ(Child<QComboBox>("previewShowAt")->currentData().toInt(), CPreviewPane::kShowStart);
    MakeCurrent(game);
    ASSERT_TRUE(WaitShown(game));
    EXPECT_EQ(ShownRows(), "X../.../...");

    Trigger(ID_VIEW_PREVIEW);
    EXPECT_TRUE(app->Frame()->PreviewDock()->isHidden());
    EXPECT_FALSE(Act(ID_VIEW_PREVIEW)->isChecked());
    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    ASSERT_TRUE(Restart());
    EXPECT_TRUE(app->Frame()->PreviewDock()->isHidden());
    app->Router().UpdateAll();
    EXPECT_FALSE(Act(ID_VIEW_PREVIEW)->isChecked());

    // Hidden, the pane reads nothing; shown again, it catches up.
    Add({game});
    MakeCurrent(game);
    QTest::qWait(50);
    EXPECT_EQ(Pane()->ShownPath(), "");
    Trigger(ID_VIEW_PREVIEW);
    EXPECT_TRUE(WaitShown(game));
}

TEST_F(PreviewTest, TheDiagramGoesToTheClipboardAndIntoAPngFile)
{
    ASSERT_TRUE(Start());
    const std::string game = dir.Write("g.sgf", "(;SZ[9];B[ee])");
    Add({game});
    MakeCurrent(game);
    ASSERT_TRUE(WaitShown(game));

    Pane()->Board()->CopyAction()->trigger();
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.width(), copied.height());
    // The centre of the board holds the black stone.
    const QColor centre = copied.pixelColor(copied.width() / 2, copied.height() / 2);
    EXPECT_LT(centre.lightness(), 60);

    const QString png = QString::fromStdString((dir.path() / "diagram.png").string());
    prompts.saveFileName.push_back(png);
    Pane()->Board()->SaveAction()->trigger();
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_TRUE(prompts.asked.back().startsWith(
        QStringLiteral("save-file: Save Diagram As | PNG Images (*.png)|*.png|| | png")));
    const QImage saved(png, "PNG");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), copied.size());
}

TEST_F(PreviewTest, GameInformationIsDecodedAndABinaryRecordSaysItsMovesCannotBeShown)
{
    ASSERT_TRUE(Start());
    const std::string chinese =
        dir.Write("zh.sgf", "(;CA[gb2312]SZ[5]PB[\xD6\xD0]BR[9d]PW[W]RE[B+R]KM[7.5]GC[\xD6\xD0];B[ab];W[aa];B[ba])");
    std::string bytes("\x06\x01\x00\x00\x00", 5);
    bytes += std::string(12, '\0');
    bytes += std::string("\x01\x00\x00\x00", 4);
    bytes += std::string("\x17\x00\x05Honda", 8);
    const std::string binary = dir.Write("old.sgf", bytes);
    Add({chinese, binary});

    MakeCurrent(chinese);
    ASSERT_TRUE(WaitShown(chinese));
    const QString info = Child<QLabel>("previewInfo")->text();
    EXPECT_TRUE(info.contains(QString::fromUtf8("Black: \xE4\xB8\xAD (9d)"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Komi: 7.5")));
    EXPECT_TRUE(info.contains(QStringLiteral("Moves: 3")));
    EXPECT_TRUE(info.contains(QStringLiteral("Captures: black 1, white 0"))) << info.toStdString();

    MakeCurrent(binary);
    ASSERT_TRUE(WaitShown(binary));
    EXPECT_EQ(Pane()->Position(), nullptr);
    const QString binaryInfo = Child<QLabel>("previewInfo")->text();
    EXPECT_TRUE(binaryInfo.contains(QStringLiteral("Black: Honda")));
    EXPECT_TRUE(binaryInfo.contains(QStringLiteral("its moves cannot be shown"))) << binaryInfo.toStdString();
}

TEST_F(PreviewTest, ASizeNoBoardHasIsNotedAndARecordPastTheLimitIsRefused)
{
    ASSERT_TRUE(Start());
    const std::string odd = dir.Write("odd.sgf", "(;SZ[99999]PB[Odd];B[aa];W[sb])");
    const std::string huge = dir.Write("huge.sgf", "(;PB[Huge];B[aa])");
    Add({odd, huge});
    // It grows past the limit after the list has read it.
    std::filesystem::resize_file(huge, kMaxRecordBytes + 1);

    MakeCurrent(odd);
    ASSERT_TRUE(WaitShown(odd));
    ASSERT_NE(Pane()->Position(), nullptr);
    EXPECT_EQ(Pane()->Position()->board.Width(), 19);
    EXPECT_EQ(Pane()->Position()->board.At(18, 1), EStone::White);
    const QString info = Child<QLabel>("previewInfo")->text();
    EXPECT_TRUE(info.contains(QStringLiteral("A board size that cannot be played"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Moves: 2"))) << info.toStdString();

    MakeCurrent(huge);
    ASSERT_TRUE(WaitShown(huge));
    EXPECT_EQ(Pane()->Position(), nullptr);
    const QString hugeInfo = Child<QLabel>("previewInfo")->text();
    EXPECT_TRUE(hugeInfo.contains(QStringLiteral("Larger than 64 MiB"))) << hugeInfo.toStdString();
    EXPECT_FALSE(hugeInfo.contains(QStringLiteral("board size")));
}

TEST_F(PreviewTest, ThePaneNeverShowsAGameTheListDoesNotShow)
{
    ASSERT_TRUE(Start());
    Trigger(ID_VIEW_DETAILS);
    const std::string kim = dir.Write("kim.sgf", "(;SZ[5]PB[Kim];B[aa])");
    const std::string lee = dir.Write("lee.sgf", "(;SZ[5]PB[Lee];B[bb])");
    Add({kim, lee});
    MakeCurrent(lee);
    ASSERT_TRUE(WaitShown(lee));

    // A Find term that hides the current row.
    Trigger(ID_EDIT_FIND);
    QLineEdit* field = app->Frame()->View()->FilterBar()->Field();
    QTest::keyClicks(field, QStringLiteral("kim"));
    ASSERT_EQ(List()->GetShownCount(), 1);
    ExpectShowsTheCurrentRow("after a Find term hid the current row");
    // The term taken back: the row chosen again is shown again.
    field->clear();
    MakeCurrent(lee);
    ASSERT_TRUE(WaitShown(lee));

    // Another collection, then a new one.
    CVarnexDoc other;
    other.m_mapFiles.Insert(kim, std::make_unique<CGameEntry>());
    const std::string file = (dir.path() / "other.vnx").string();
    ASSERT_TRUE(SaveCollectionFile(other, file));
    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    ASSERT_TRUE(app->Framework().OpenDocumentFile(QString::fromStdString(file)));
    ExpectShowsTheCurrentRow("after opening another collection");

    MakeCurrent(kim);
    ASSERT_TRUE(WaitShown(kim));
    Trigger(ID_FILE_NEW);
    ASSERT_EQ(List()->GetItemCount(), 0);
    ExpectShowsTheCurrentRow("after File > New");
}

TEST_F(PreviewTest, TheSliderAndTheOpeningChoiceKeepTheirPlaceWhateverTheGameInformation)
{
    ASSERT_TRUE(Start());
    const std::string bare = dir.Write("bare.sgf", "(;SZ[9];B[ee];W[cc])");
    const std::string words(400, 'x');
    std::string longWords;
    for (int i = 0; i < 60; ++i)
        longWords += "a long event name ";
    const std::string rich =
        dir.Write("rich.sgf", "(;SZ[9]PB[Black player with a long name]BR[9d]PW[White player]WR[9d]RE[W+0.5]"
                              "DT[2002-05-20,21]EV[" +
                                  longWords + "]KM[6.5]HA[0]GC[" + words + "];B[ee]C[" + longWords + "];W[cc])");
    Add({bare, rich});
    app->Frame()->resize(900, 700);
    QCoreApplication::processEvents();

    MakeCurrent(bare);
    ASSERT_TRUE(WaitShown(bare));
    const QPoint slider = PlaceOf("previewSlider");
    const QPoint showAt = PlaceOf("previewShowAt");
    MakeCurrent(rich);
    ASSERT_TRUE(WaitShown(rich));
    ASSERT_GE(Child<QLabel>("previewInfo")->text().count(QLatin1Char('\n')), 8);
    EXPECT_EQ(PlaceOf("previewSlider"), slider);
    EXPECT_EQ(PlaceOf("previewShowAt"), showAt);
}

TEST_F(PreviewTest, OpenAtAMoveShowsThatMove)
{
    ASSERT_TRUE(Start());
    const std::string game = dir.Write("g.sgf", "(;SZ[3];B[aa];W[cc];B[bb])");
    Add({game});
    auto* showAt = Child<QComboBox>("previewShowAt");
    showAt->setCurrentIndex(showAt->findData(CPreviewPane::kShowMove));
    Child<QSpinBox>("previewMoveNumber")->setValue(2);
    MakeCurrent(game);
    ASSERT_TRUE(WaitShown(game));
    EXPECT_EQ(Pane()->ShownMove(), 2);
    EXPECT_EQ(ShownRows(), "X../.../..O");
    EXPECT_EQ(Child<QLabel>("previewMoveLabel")->text(), QStringLiteral("Move 2 of 3"));
    EXPECT_EQ(Child<QSlider>("previewSlider")->value(), 2);
}

// The ring on the last move is drawn in the colour of the other side: its
// pixels are light on a black stone and dark on a white one, and a stone
// that is not the last move has none.
TEST(BoardPainter, TheLastMoveCarriesARingOnABlackStoneAndOnAWhiteOne)
{
    const SGameRecord record = ReadGameRecordBytes("(;SZ[5];B[bb];W[dd])");
    ASSERT_TRUE(record.HasGame());
    const CGameTimeline timeline(record);
    constexpr qreal kCell = 40;
    // The ring runs a quarter cell from the point's centre; it is looked for
    // on the diagonal, away from the grid lines, as the lightest and the
    // darkest pixel between a fifth and a third of a cell out.
    const auto ringLightness = [&](const QImage& image, int x, int y, bool lightest) {
        const qreal origin = (0.8 + 0.5) * kCell;
        int found = lightest ? 0 : 255;
        for (qreal r = 0.2 * kCell; r <= 0.33 * kCell; r += 0.5) {
            const qreal off = r / std::sqrt(2.0);
            const int l =
                image.pixelColor(qRound(origin + x * kCell + off), qRound(origin + y * kCell + off)).lightness();
            found = lightest ? std::max(found, l) : std::min(found, l);
        }
        return found;
    };
    const QImage afterBlack = RenderDiagram(timeline.At(1), kCell, 1);
    EXPECT_GT(ringLightness(afterBlack, 1, 1, true), 200) << "a light ring on the black stone";
    const QImage afterWhite = RenderDiagram(timeline.At(2), kCell, 1);
    EXPECT_LT(ringLightness(afterWhite, 3, 3, false), 60) << "a dark ring on the white stone";
    EXPECT_LT(ringLightness(afterWhite, 1, 1, true), 60) << "the black stone has no ring any more";
    const QImage start = RenderDiagram(timeline.At(0), kCell, 1);
    EXPECT_GT(ringLightness(start, 3, 3, false), 120) << "wood where no stone is";
    EXPECT_GT(ringLightness(RenderDiagram(timeline.At(1), kCell, 1), 3, 3, false), 120) << "no stone, no ring";
}

} // namespace
