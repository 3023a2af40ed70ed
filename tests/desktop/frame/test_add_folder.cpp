#include "FrameFixture.h"

#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <functional>

namespace {

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

// Calls back on every hint but the idle one.
struct CHintProbe : IDocView
{
    std::vector<int> hints;
    std::function<void(int)> onHint;
    void OnUpdate(int hint, const CHintPayload&) override
    {
        if (hint == hintIdle)
            return;
        hints.push_back(hint);
        if (onHint)
            onHint(hint);
    }
};

} // namespace

class AddFolderTest : public FrameTest
{
protected:
    // Five games in nested folders, one broken file and a text file.
    std::filesystem::path Tree()
    {
        const std::filesystem::path root = dir.path() / "archive";
        const char* const names[] = {"2001/a.sgf", "2001/b.SGF", "2002/q/c.mgt", "2002/d.sgf", "e.gph"};
        for (const char* name : names)
            dir.Write(std::string("archive/") + name, "(;GM[1]PB[" + std::string(name) + "]PW[W])");
        dir.Write("archive/2002/broken.sgf", "");
        dir.Write("archive/readme.txt", "not a game");
        return root;
    }

    QString MessageText() const { return app->Frame()->CountStatusBar()->MessagePane()->text(); }
};

TEST_F(AddFolderTest, AddFolderStandsBelowAddFilesAndAddsTheTreeWithASummary)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Act(ID_EDIT_ADD_FOLDER)->statusTip(),
              QStringLiteral("Add every game file in a folder and its subfolders to the collection"));
    const std::filesystem::path root = Tree();
    app->Doc().AddGameFile((root / "e.gph").string(), 0);

    prompts.folders.push_back(Q(root));
    CHintProbe probe;
    app->Doc().AddView(&probe);
    Trigger(ID_EDIT_ADD_FOLDER);
    app->Doc().RemoveView(&probe);

    EXPECT_TRUE(prompts.asked.back().startsWith(QStringLiteral("folder: ")));
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 5u);
    EXPECT_EQ(app->Frame()->View()->RowCount(), 5);
    EXPECT_EQ(probe.hints.back(), hintBatchDone);
    EXPECT_EQ(MessageText(), QStringLiteral("Added 4 game files (1 already present, 1 unreadable)"));
    EXPECT_EQ(app->Host().BatchDepth(), 0);
    EXPECT_FALSE(app->Doc().IsBusy());
    EXPECT_TRUE(app->Frame()->CountStatusBar()->CancelButton()->isHidden());
}

TEST_F(AddFolderTest, CancellingTheFolderDialogAddsNothing)
{
    ASSERT_TRUE(Start());
    prompts.folders.push_back(QString());
    Trigger(ID_EDIT_ADD_FOLDER);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 0u);
    EXPECT_FALSE(app->Doc().IsModified());
}

TEST_F(AddFolderTest, CancelInTheStatusBarStopsAfterTheCurrentFileAndKeepsWhatWasRead)
{
    ASSERT_TRUE(Start());
    prompts.folders.push_back(Q(Tree()));
    CCountStatusBar& bar = *app->Frame()->CountStatusBar();
    bool cancelShown = false;
    int added = 0;
    CHintProbe probe;
    probe.onHint = [&](int hint) {
        if (hint == hintFileAdded && ++added == 2) {
            cancelShown = bar.CancelButton()->isVisibleTo(&bar);
            bar.CancelButton()->click();
        }
    };
    app->Doc().AddView(&probe);
    Trigger(ID_EDIT_ADD_FOLDER);
    app->Doc().RemoveView(&probe);

    EXPECT_TRUE(cancelShown);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 2u);
    EXPECT_EQ(probe.hints.back(), hintBatchDone);
    EXPECT_EQ(MessageText(), QStringLiteral("Stopped after 2 of 6 files"));
    EXPECT_TRUE(bar.CancelButton()->isHidden());

    // The stop was for that batch only: the next one runs to its end.
    prompts.folders.push_back(Q(dir.path() / "archive"));
    Trigger(ID_EDIT_ADD_FOLDER);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 5u);
}

TEST_F(AddFolderTest, EscStopsAnAddFolderBatchThroughTheCancelButton)
{
    ASSERT_TRUE(Start());
    app->Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->Frame()));
    prompts.folders.push_back(Q(Tree()));
    bool stopSeen = false;
    int added = 0;
    CHintProbe probe;
    probe.onHint = [&](int hint) {
        if (hint != hintFileAdded || ++added != 2)
            return;
        stopSeen = PressEscUntilStopAsked();
    };
    app->Doc().AddView(&probe);
    Trigger(ID_EDIT_ADD_FOLDER);
    app->Doc().RemoveView(&probe);

    ASSERT_TRUE(stopSeen);
    EXPECT_EQ(app->Frame()->View()->RowCount(), 2);
    EXPECT_EQ(MessageText(), QStringLiteral("Stopped after 2 of 6 files"));
    EXPECT_TRUE(app->Frame()->CountStatusBar()->CancelButton()->isHidden());
}

TEST_F(AddFolderTest, AStopAskedWhileNoBatchRunsIsForgotten)
{
    ASSERT_TRUE(Start());
    app->Host().RequestStop();
    prompts.folders.push_back(Q(Tree()));
    Trigger(ID_EDIT_ADD_FOLDER);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 5u);
}

TEST_F(AddFolderTest, TheAddFilesBatchCanBeStoppedToo)
{
    ASSERT_TRUE(Start());
    const std::filesystem::path root = Tree();
    prompts.openFileNames.push_back({Q(root / "2001/a.sgf"), Q(root / "2001/b.SGF"), Q(root / "e.gph")});
    CHintProbe probe;
    probe.onHint = [&](int hint) {
        if (hint == hintFileAdded)
            app->Host().RequestStop();
    };
    app->Doc().AddView(&probe);
    Trigger(ID_EDIT_ADD_FILES);
    app->Doc().RemoveView(&probe);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 1u);
    EXPECT_EQ(MessageText(), QStringLiteral("Stopped after 1 of 3 files"));
}

TEST_F(AddFolderTest, ADroppedFolderIsWalkedAsOneBatch)
{
    ASSERT_TRUE(Start());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(Tree() / "2002"))});
    CHintProbe probe;
    app->Doc().AddView(&probe);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(app->Frame(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(app->Frame(), &drop);
    app->Doc().RemoveView(&probe);

    EXPECT_EQ(app->Doc().m_mapFiles.size(), 2u);
    EXPECT_EQ(probe.hints, (std::vector<int>{hintFileAdded, hintFileAdded, hintBatchDone}));
    EXPECT_EQ(MessageText(), QStringLiteral("Added 2 game files (0 already present, 1 unreadable)"));
}

TEST_F(AddFolderTest, ACollectionNamedOnTheCommandLineIsReadWithTheWindowAlreadyShown)
{
    const std::filesystem::path root = Tree();
    {
        CVarnexDoc doc;
        ASSERT_TRUE(doc.AddGameFile((root / "2001/a.sgf").string(), 0));
        ASSERT_TRUE(doc.AddGameFile((root / "e.gph").string(), 0));
        ASSERT_TRUE(SaveCollectionFile(doc, (dir.path() / "named.vnx").string()));
    }
    store = std::make_unique<CQtSettingsStore>(SettingsPath());
    app = std::make_unique<CVarnexApp>(*store, prompts);
    std::vector<bool> shownAtRead;
    CHintProbe probe;
    probe.onHint = [&](int hint) {
        if (hint == hintFileAdded)
            shownAtRead.push_back(app->Frame() != nullptr && app->Frame()->isVisible());
    };
    app->Doc().AddView(&probe);
    ASSERT_TRUE(app->InitInstance({Q(dir.path() / "named.vnx")}));
    app->Doc().RemoveView(&probe);
    EXPECT_EQ(shownAtRead, (std::vector<bool>{true, true}));
    EXPECT_EQ(app->Frame()->View()->RowCount(), 2);
}
