#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/frame/AboutDlg.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/toolbar/CustToolBar.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/Settings.h"
#include "settings/StringTable.h"
#include "settings/WindowPlacementRecord.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {
const char* const kGameA = "Gu Li";
const char* const kGameB = "Weon Seong-jin";
const char* const kGameC = "Park Jung-hwan";

// The items of a menu as text, "-" for a separator, skipping hidden items.
QStringList Items(const QMenu* menu)
{
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return items;
}

void Drop(QWidget& target, QMimeData& data)
{
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
}
} // namespace

TEST_F(FrameTest, TheMenusHoldEveryItemSeparatorAndKeyInOrder)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *app->Frame();
    EXPECT_EQ(Items(frame.Menu(0)), L({"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...", "&Export...",
                                       "-", "Recent File", "-", "E&xit"}));
    EXPECT_EQ(Items(frame.Menu(1)),
              L({"&Add MGT Files...", "Add F&older...", "&Delete MGT Files", "Remove &Missing Files", "&Refresh\tF5",
                 "R&efresh All\tShift+F5", "-", "Mark As &Viewed", "Mark As &Unviewed", "-", "&Launch Viewer", "-",
                 "&Find...\tCtrl+F", "Find D&uplicates", "Select E&xtra Copies"}));
    EXPECT_EQ(Items(frame.Menu(2)),
              L({"&Toolbar", "&Status Bar", "&Preview", "&Players", "Position &Search\tCtrl+Shift+F", "-",
                 "Lar&ge Icons", "S&mall Icons", "Li&st", "&Details", "Board &Pictures", "-", "&Line Up Icons",
                 "&Auto Arrange", "-", "&Options...", "Show F&ull Path", "Sort by &Meaning", "Set &Font..."}));
    EXPECT_EQ(Items(frame.Menu(3)), L({"&About Varnex..."}));
    EXPECT_EQ(frame.Menu(0)->title(), QStringLiteral("&File"));

    EXPECT_EQ(Act(ID_FILE_NEW)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(Act(ID_FILE_OPEN)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(Act(ID_FILE_SAVE)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(Act(ID_EDIT_DELETE_FILES)->shortcut(), QKeySequence(Qt::Key_Delete));
    // A key a menu text shows is the key its action answers to.
    for (int m = 0; m < 4; ++m) {
        for (const QAction* action : frame.Menu(m)->actions()) {
            if (action->text().contains(QLatin1Char('\t'))) {
                EXPECT_EQ(action->shortcut(), QKeySequence(action->text().section(QLatin1Char('\t'), 1)))
                    << action->text().toStdString();
            }
        }
    }
    EXPECT_EQ(app->Router().findChild<QAction*>(QStringLiteral("ID_EDIT_ADD_FILES")), Act(ID_EDIT_ADD_FILES));
    EXPECT_EQ(Act(ID_EDIT_ADD_FILES)->statusTip(), QStringLiteral("Add MGT files into the database"));
    EXPECT_EQ(Act(ID_EDIT_ADD_FILES)->toolTip(), QStringLiteral("Add"));
}

TEST_F(FrameTest, TheIdleStepEnablesCommandsAndChecksTheBarToggles)
{
    ASSERT_TRUE(Start());
    RunIdle();
    EXPECT_TRUE(Act(ID_EDIT_ADD_FILES)->isEnabled());
    EXPECT_TRUE(Act(ID_FILE_NEW)->isEnabled());
    EXPECT_TRUE(Act(ID_APP_EXIT)->isEnabled());
    EXPECT_TRUE(Act(ID_VIEW_OPTIONS)->isEnabled());
    EXPECT_TRUE(Act(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_TRUE(Act(ID_VIEW_STATUS_BAR)->isChecked());

    Trigger(ID_VIEW_STATUS_BAR);
    RunIdle();
    EXPECT_TRUE(app->Frame()->statusBar()->isHidden());
    EXPECT_FALSE(Act(ID_VIEW_STATUS_BAR)->isChecked());
    Trigger(ID_VIEW_TOOLBAR);
    RunIdle();
    EXPECT_TRUE(app->Frame()->ToolBar()->isHidden());
    EXPECT_FALSE(Act(ID_VIEW_TOOLBAR)->isChecked());
}

TEST_F(FrameTest, TheCountPanesAreTwentyAverageCharactersWideAndRewrittenOnlyOnChange)
{
    ASSERT_TRUE(Start());
    CCountStatusBar& bar = *app->Frame()->CountStatusBar();
    const int average = QFontMetrics(bar.font()).averageCharWidth();
    EXPECT_EQ(bar.Pane(0)->width(), 20 * average);
    EXPECT_EQ(bar.Pane(1)->maximumWidth(), 20 * average);
    EXPECT_EQ(bar.MessagePane()->text(), QStringLiteral("Ready"));

    app->Doc().AddGameFile(Game(kGameA), 0);
    RunIdle();
    EXPECT_EQ(bar.PaneText(0), QStringLiteral("0 File(s) Selected"));
    EXPECT_EQ(bar.PaneText(1), QStringLiteral("Total 1 File(s)"));
    const int writes = bar.PaneWrites(1);
    RunIdle();
    bar.SetCounts(0, 1);
    EXPECT_EQ(bar.PaneWrites(1), writes);
    bar.SetCounts(0, 2);
    EXPECT_EQ(bar.PaneWrites(1), writes + 1);
}

TEST(CountStatusBarWidths, OneNumberServesBothPanesAndJunkReadsAsZero)
{
    EXPECT_EQ(CCountStatusBar::ParsePaneWidths("20,20", 2), (std::vector<int>{20, 20}));
    EXPECT_EQ(CCountStatusBar::ParsePaneWidths("15", 2), (std::vector<int>{15, 15}));
    EXPECT_EQ(CCountStatusBar::ParsePaneWidths("12,30,9", 2), (std::vector<int>{12, 30}));
    EXPECT_EQ(CCountStatusBar::ParsePaneWidths("x,7", 2), (std::vector<int>{0, 7}));
}

TEST_F(FrameTest, DroppedLocalFilesAreAddedInOrderWithoutAnEndOfBatch)
{
    ASSERT_TRUE(Start());
    app->Doc().AddGameFile(Game(kGameB), 0);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Game(kGameA))),
                  QUrl::fromLocalFile(QString::fromStdString(Game(kGameB))),
                  QUrl(QStringLiteral("https://example.org/x.sgf")),
                  QUrl::fromLocalFile(QString::fromStdString(Game(kGameC)))});
    // File URLs win over the text the drag also carries.
    data.setText(QStringLiteral("(;GN[dropped text])"));

    struct CHintLog : IDocView
    {
        std::vector<int> hints;
        void OnUpdate(int hint, const CHintPayload&) override
        {
            if (hint != hintIdle)
                hints.push_back(hint);
        }
    } log;
    app->Doc().AddView(&log);
    Drop(*app->Frame(), data);
    app->Doc().RemoveView(&log);

    EXPECT_EQ(log.hints, (std::vector<int>{hintFileAdded, hintFileAdded}));
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 3u);
    EXPECT_EQ(app->Frame()->View()->RowCount(), 3);
    EXPECT_EQ(app->Host().BatchDepth(), 0);
}

TEST_F(FrameTest, ADropOnTheListIsReadAsOneBatchLikeADropOnTheFrame)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *app->Frame();
    // The batch depth while each dropped file's row comes.
    struct CDepthLog : IDocView
    {
        CDesktopDocHost* host = nullptr;
        std::vector<int> depths;
        void OnUpdate(int hint, const CHintPayload&) override
        {
            if (hint == hintFileAdded)
                depths.push_back(host->BatchDepth());
        }
    } log;
    log.host = &app->Host();
    app->Doc().AddView(&log);
    QWidget* list = frame.View()->ListCtrl()->CurrentView()->viewport();
    for (QWidget* target : {static_cast<QWidget*>(&frame), list}) {
        app->Doc().DeleteContents();
        log.depths.clear();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Game(kGameA))),
                      QUrl::fromLocalFile(QString::fromStdString(Game(kGameC)))});
        Drop(*target, data);
        EXPECT_EQ(log.depths, (std::vector<int>{1, 1})) << (target == list ? "list" : "frame");
        EXPECT_EQ(app->Host().BatchDepth(), 0);
        EXPECT_EQ(frame.View()->RowCount(), 2);
    }
    app->Doc().RemoveView(&log);
}

TEST_F(FrameTest, ClosingIsRefusedWhileAFileIsBeingRead)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *app->Frame();
    bool closed = true;
    // The pump before the read runs this, as a click on the close box would.
    QTimer::singleShot(0, &frame, [&] { closed = frame.close(); });
    EXPECT_TRUE(app->Doc().AddGameFile(Game(kGameA), 0));
    EXPECT_FALSE(closed);
    EXPECT_TRUE(frame.isVisible());
    // Once the read is over the window closes, after the unsaved-changes question.
    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    EXPECT_TRUE(frame.close());
}

TEST_F(FrameTest, AQuitRequestDuringAReadWaitsForTheEndOfTheBatch)
{
    ASSERT_TRUE(Start());
    int quits = 0;
    app->SetQuitHandler([&] { ++quits; });
    QTimer::singleShot(0, app.get(), [] {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
    });
    app->Doc().AddGameFile(Game(kGameA), 0);
    EXPECT_TRUE(app->Host().IsQuitPending());
    EXPECT_TRUE(app->Frame()->isVisible());
    RunIdle();
    RunIdle();
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(app->Host().IsQuitPending());
}

TEST_F(FrameTest, ThePlacementAndMaximisedStateComeBackAfterARestart)
{
    ASSERT_TRUE(Start());
    app->Frame()->setGeometry(100, 80, 640, 420);
    ASSERT_TRUE(Restart());
    EXPECT_EQ(app->Frame()->geometry(), QRect(100, 80, 640, 420));

    app->Frame()->showMaximized();
    ASSERT_TRUE(Restart());
    EXPECT_TRUE(app->Frame()->isMaximized());
    EXPECT_EQ(app->Frame()->normalGeometry(), QRect(100, 80, 640, 420));

    // Opening another collection in the same run restores the stored placement too.
    app->Frame()->showNormal();
    app->Frame()->setGeometry(10, 10, 300, 300);
    app->Frame()->ActivateFrame();
    EXPECT_TRUE(app->Frame()->isMaximized());
}

TEST_F(FrameTest, AStoredPlacementShorterThanTheRecordIsIgnored)
{
    store = std::make_unique<CQtSettingsStore>(SettingsPath());
    CWindowPlacementRecord record;
    record.showCmd = CWindowPlacementRecord::kShowMaximized;
    record.left = 50;
    record.top = 50;
    record.right = 450;
    record.bottom = 350;
    store->WriteProfileBinary("Frame", "Placement", record.Encode().substr(0, 40));
    ASSERT_TRUE(Start());
    EXPECT_FALSE(app->Frame()->isMaximized());
    EXPECT_NE(app->Frame()->geometry(), QRect(50, 50, 400, 300));
}

TEST_F(FrameTest, APlacementOffEveryScreenIsBroughtBackOntoTheScreen)
{
    store = std::make_unique<CQtSettingsStore>(SettingsPath());
    CWindowPlacementRecord record;
    record.left = 40000;
    record.top = 40000;
    record.right = 40500;
    record.bottom = 40400;
    store->WriteProfileBinary("Frame", "Placement", record.Encode());
    ASSERT_TRUE(Start());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(app->Frame()->geometry()));
    EXPECT_EQ(app->Frame()->size(), QSize(500, 400));
}

TEST_F(FrameTest, TheToolbarDockingStateIsKeptAcrossARestart)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->Frame()->toolBarArea(app->Frame()->ToolBar()), Qt::TopToolBarArea);
    EXPECT_EQ(app->Frame()->ToolBar()->windowTitle(), QStringLiteral("Varnex Toolbar"));
    app->Frame()->addToolBar(Qt::LeftToolBarArea, app->Frame()->ToolBar());
    ASSERT_TRUE(Restart());
    EXPECT_EQ(app->Frame()->toolBarArea(app->Frame()->ToolBar()), Qt::LeftToolBarArea);
}

TEST_F(FrameTest, TheAboutBoxShowsTheVersionWithTwoDecimals)
{
    ASSERT_TRUE(Start());
    QString version;
    prompts.dialogs.push_back([&](QDialog& dialog) {
        version = static_cast<CAboutDlg&>(dialog).VersionText();
        return int(QDialog::Accepted);
    });
    Trigger(ID_APP_ABOUT);
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("dialog: About Varnex"));
    EXPECT_EQ(version, QStringLiteral("Varnex Version 1.08"));
}

TEST_F(FrameTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindowAndTheCollection)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *app->Frame();
    const std::string path = Game(kGameA);
    ASSERT_TRUE(app->Doc().AddGameFile(path, 0));
    ASSERT_TRUE(app->Doc().IsModified());

    prompts.saveChanges.push_back(IPrompts::EAnswer::Cancel);
    EXPECT_FALSE(frame.close());
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("save-changes: Untitled"));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(app->Doc().IsModified());
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 1u);
    EXPECT_NE(app->Doc().m_mapFiles.Find(path), nullptr);
    EXPECT_EQ(frame.View()->RowCount(), 1);

    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    EXPECT_TRUE(frame.close());
}

TEST_F(FrameTest, ClosingWithYesThenCancellingSaveAsKeepsTheWindowAndTheChanges)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *app->Frame();
    ASSERT_TRUE(app->Doc().AddGameFile(Game(kGameA), 0));

    prompts.saveChanges.push_back(IPrompts::EAnswer::Yes);
    prompts.saveFileName.push_back(QString());
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(prompts.asked.size(), 2) << "the question, then Save As";
    EXPECT_TRUE(prompts.asked.back().startsWith(QStringLiteral("save-file: Save As")));
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(app->Doc().IsModified());
    EXPECT_EQ(frame.View()->RowCount(), 1);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - Varnex"));

    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    EXPECT_TRUE(frame.close());
}

TEST_F(FrameTest, PlacementAndBarStateAreSavedEvenWhenTheCloseIsCancelled)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *app->Frame();
    ASSERT_TRUE(app->Doc().AddGameFile(Game(kGameA), 0));
    frame.setGeometry(110, 70, 520, 380);
    frame.addToolBar(Qt::LeftToolBarArea, frame.ToolBar());
    EXPECT_FALSE(ReadBinary(*store, settings::kBarState).has_value());

    prompts.saveChanges.push_back(IPrompts::EAnswer::Cancel);
    ASSERT_FALSE(frame.close());
    const std::optional<std::string> bytes = ReadBinary(*store, settings::kPlacement);
    ASSERT_TRUE(bytes.has_value());
    const std::optional<CWindowPlacementRecord> record = CWindowPlacementRecord::Decode(*bytes);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(QRect(QPoint(record->left, record->top), QPoint(record->right - 1, record->bottom - 1)),
              frame.normalGeometry());
    EXPECT_EQ(record->right - record->left, 520);
    const std::optional<std::string> bars = ReadBinary(*store, settings::kBarState);
    ASSERT_TRUE(bars.has_value());
    EXPECT_FALSE(bars->empty());

    EXPECT_EQ(*bars, frame.saveState().toStdString());

    prompts.saveChanges.push_back(IPrompts::EAnswer::No);
    EXPECT_TRUE(frame.close());
}
