#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

namespace {

class SortMeaning : public FrameTest
{
protected:
    CVarnexView& View() const { return *app->Frame()->View(); }

    // The Black Rank cells (column 4 of the default columns), top to bottom.
    std::vector<std::string> Ranks() const
    {
        std::vector<std::string> ranks;
        for (int r = 0; r < View().ListCtrl()->GetItemCount(); ++r)
            ranks.push_back(View().ListCtrl()->GetItemText(r, 4));
        return ranks;
    }
};

} // namespace

TEST_F(SortMeaning, TheCheckedItemSortsRanksByStrengthAndIsRemembered)
{
    ASSERT_TRUE(Start());
    Trigger(ID_VIEW_DETAILS);
    int n = 0;
    // 段 in GB2312, in a record that names it.
    for (const char* rank : {"2d", "10k", "1p", "\xB6\xCE\x33", "3\xB6\xCE", "1k"}) {
        const std::string path =
            dir.Write("games/" + std::to_string(n++) + ".sgf", std::string("(;CA[gb2312]PB[x]BR[") + rank + "];B[pd])");
        ASSERT_TRUE(app->Doc().AddGameFile(path, 0));
    }
    app->Doc().UpdateAllViews(hintBatchDone);
    app->Router().UpdateAll();
    EXPECT_FALSE(Act(ID_VIEW_SORT_MEANING)->isChecked());
    EXPECT_EQ(Act(ID_VIEW_SORT_MEANING)->text(), QStringLiteral("Sort by &Meaning"));
    View().OnHeaderClick(4);
    ASSERT_TRUE(View().SortState().IsAscending(4));
    EXPECT_EQ(Ranks(), (std::vector<std::string>{"10k", "1k", "1p", "2d", "3\xB6\xCE", "\xB6\xCE\x33"}));

    Trigger(ID_VIEW_SORT_MEANING);
    app->Router().UpdateAll();
    EXPECT_TRUE(Act(ID_VIEW_SORT_MEANING)->isChecked());
    EXPECT_EQ(Ranks(), (std::vector<std::string>{"10k", "1k", "2d", "3\xB6\xCE", "1p", "\xB6\xCE\x33"}));

    app->Doc().SetModifiedFlag(false);
    ASSERT_TRUE(Restart());
    app->Router().UpdateAll();
    EXPECT_TRUE(Act(ID_VIEW_SORT_MEANING)->isChecked());
    EXPECT_TRUE(View().SortState().m_bByMeaning);
    Trigger(ID_VIEW_SORT_MEANING);
    Stop();
    EXPECT_EQ(CQtSettingsStore(SettingsPath()).GetProfileInt("Header", "Sort by Meaning", -1), 0);
}
