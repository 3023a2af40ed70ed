#include "FrameFixture.h"

#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DocFramework.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QKeySequence>

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
