#include "FrameFixture.h"

#include "cache/HeaderCache.h"
#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DocFramework.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "files/FileStatus.h"
#include "qtcore/CacheFolder.h"
#include "settings/StringTable.h"

#include <QKeySequence>
#include <QLabel>

#include <fstream>

TEST_F(FrameTest, RefreshReadsChangedGameFilesAgainAndGivesReturnedOnesTheirRows)
{
    ASSERT_TRUE(Start());
    const std::string changed = Game("Before");
    const std::string kept = Game("Kept");
    const std::string away = (dir.path() / "games" / "away.sgf").string();
    CVarnexDoc stored;
    for (const std::string& path : {changed, kept, away})
        stored.m_mapFiles.Insert(path, std::make_unique<CGameEntry>());
    const std::string file = (dir.path() / "c.vnx").string();
    ASSERT_TRUE(SaveCollectionFile(stored, file));
    ASSERT_TRUE(app->Framework().OpenDocumentFile(QString::fromStdString(file)));
    CReportListCtrl* list = app->Frame()->View()->ListCtrl();
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(Act(ID_EDIT_REFRESH)->shortcut(), QKeySequence(Qt::Key_F5));

    std::ofstream(changed, std::ios::binary | std::ios::trunc) << "(;GN[After]PB[Afterwards]PW[White];B[pd])";
    dir.Write("games/away.sgf", "(;PB[Back]PW[White];B[pd])");
    const int row = app->Frame()->View()->FindRow(changed);
    Trigger(ID_EDIT_REFRESH);

    ASSERT_EQ(list->GetItemCount(), 3);
    EXPECT_EQ(app->Frame()->View()->FindRow(changed), row);
    EXPECT_EQ(list->GetItemText(row, 1), "After");
    EXPECT_GE(app->Frame()->View()->FindRow(away), 0);
    EXPECT_TRUE(app->Doc().m_unread.empty());
    // The records are the same ones: nothing to save.
    EXPECT_FALSE(app->Doc().IsModified());
}

// A file changed through a shared memory mapping keeps its status, so its
// header-cache row stays trusted though it no longer says what the file
// holds. Such a row is made here through the cache itself: the values of
// another game under the file's own status.
TEST_F(FrameTest, RefreshAllReadsAFileWhoseCacheRowIsStaleWhereRefreshTrustsIt)
{
    ASSERT_TRUE(Start());
    const std::string game = Game("Fresh");
    CVarnexDoc stored;
    stored.m_mapFiles.Insert(game, std::make_unique<CGameEntry>());
    const std::string file = (dir.path() / "c.vnx").string();
    ASSERT_TRUE(SaveCollectionFile(stored, file));
    {
        const std::shared_ptr<CHeaderCache> cache = CHeaderCache::Open(HeaderCacheFolder(), file);
        ASSERT_TRUE(cache);
        SFileStatus status;
        ASSERT_TRUE(StatGameFile(game, status));
        CPropertyTable stale;
        stale.Set("PB", "Stale");
        stale.Set("PW", "White");
        // Taken well after the file's last change, so the row is trusted.
        cache->Record(game, status, WallClockNs() + 60'000'000'000, stale);
        cache->Flush();
    }
    ASSERT_TRUE(app->Framework().OpenDocumentFile(QString::fromStdString(file)));
    CReportListCtrl* list = app->Frame()->View()->ListCtrl();
    const int blackColumn = 3;
    ASSERT_EQ(list->GetItemCount(), 1);
    ASSERT_EQ(list->GetItemText(0, blackColumn), "Stale") << "the open took the cache's row";

    EXPECT_EQ(Act(ID_EDIT_REFRESH_ALL)->shortcut(), QKeySequence(QStringLiteral("Shift+F5")));
    Trigger(ID_EDIT_REFRESH);
    EXPECT_EQ(list->GetItemText(0, blackColumn), "Stale") << "Refresh reads only files whose status changed";
    Trigger(ID_EDIT_REFRESH_ALL);
    EXPECT_EQ(list->GetItemText(0, blackColumn), "Fresh");
    EXPECT_EQ(app->Frame()->CountStatusBar()->MessagePane()->text(),
              QStringLiteral("Read every game file again: 1 read, 0 unreadable"));
    EXPECT_FALSE(app->Doc().IsModified());

    // The row read again replaced the stale one in the cache.
    app->Router().Execute(ID_FILE_NEW);
    ASSERT_TRUE(app->Framework().OpenDocumentFile(QString::fromStdString(file)));
    EXPECT_EQ(list->GetItemText(0, blackColumn), "Fresh");
}
