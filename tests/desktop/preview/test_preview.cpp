#include "FrameFixture.h"

#include "desktop/preview/BoardView.h"
#include "desktop/preview/PreviewPane.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "collection/ReadHooks.h"
#include "game/BoardLabels.h"
#include "game/GameTimeline.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSlider>

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
        List()->SelectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
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

    template <typename T> T* Child(const char* name) const
    {
        return Pane()->findChild<T*>(QString::fromUtf8(name));
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
    const std::map<std::string, std::string> rows = {{a, "X..../.O.../...../...../....."},
                                                     {b, "...../...../..X../...../....O"},
                                                     {c, ".../.X./..."}};
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
    EXPECT_TRUE(prompts.asked.back().startsWith(QStringLiteral("save-file: Save Diagram As | PNG Images (*.png)|*.png|| | png")));
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

} // namespace
