#include "TestSupport.h"
#include "ViewFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

// 棋基础 (GB2312), 囲碁 (Shift_JIS), 바둑 (EUC-KR).
const std::string kGb = "\xC6\xE5\xBB\xF9\xB4\xA1";
const std::string kSjis = "\x88\xCD\x8C\xE9";
const std::string kKr = "\xB9\xD9\xB5\xCF";

class CharsetView : public ViewFixture
{
protected:
    std::string Add(const std::string& name, const std::string& ca, const std::string& black)
    {
        const std::string path = dir.Write(name, "(;GM[1]FF[4]CA[" + ca + "]GN[Game]PB[" + black + "]PW[White];B[aa])");
        EXPECT_TRUE(doc.AddGameFile(path, 0));
        return path;
    }
    CReportListModel& Model() { return view->ListCtrl()->Model(); }
    // The Black column of the default columns.
    QString Shown(int row)
    {
        Model().Flush();
        return Model().data(Model().index(row, 3)).toString();
    }
};

} // namespace

TEST_F(CharsetView, ChineseJapaneseAndKoreanNamesAreShownDecodedAndKeptAsBytes)
{
    Add("gb.sgf", "gb2312", kGb);
    Add("sjis.sgf", "SJIS", kSjis);
    Add("kr.sgf", "EUC-KR", kKr);
    EXPECT_EQ(Shown(0), QStringLiteral(u"棋基础"));
    EXPECT_EQ(Shown(1), QStringLiteral(u"囲碁"));
    EXPECT_EQ(Shown(2), QStringLiteral(u"바둑"));
    // Sorting and export keep working on the bytes.
    EXPECT_EQ(view->ListCtrl()->GetItemText(0, 3), kGb);
    ASSERT_EQ(Model().ShownTexts(1).size(), 9u);
    EXPECT_EQ(Model().ShownText(1, 3), QStringLiteral(u"囲碁"));
}

TEST_F(CharsetView, DecodedTextsFollowTheRowsThroughSortingAndFullPath)
{
    Add("a.sgf", "gb2312", kGb);
    Add("b.sgf", "Shift_JIS", kSjis);
    // By bytes the Shift_JIS name (0x88...) comes before the GB one (0xC6...).
    view->OnHeaderClick(3);
    EXPECT_EQ(view->ListCtrl()->GetItemText(0, 3), kSjis);
    EXPECT_EQ(Shown(0), QStringLiteral(u"囲碁"));
    view->OnHeaderClick(3);
    EXPECT_EQ(view->ListCtrl()->GetItemText(0, 3), kGb);
    EXPECT_EQ(Shown(0), QStringLiteral(u"棋基础"));
    EXPECT_EQ(Shown(1), QStringLiteral(u"囲碁"));

    // The file-name cell changes; the row keeps its record's charset.
    view->ListCtrl()->SetItemText(0, 0, "/x/" + std::string("a.sgf"));
    EXPECT_EQ(Shown(0), QStringLiteral(u"棋基础"));
    EXPECT_EQ(Model().ShownText(0, 0), QStringLiteral("/x/a.sgf"));
}

// 홍창호 in EUC-KR is also valid UTF-8 ("ȫâȣ"): the charset the record
// names decides, as long as the bytes decode cleanly in it.
TEST_F(CharsetView, TheNamedCharsetWinsOverUtf8WhenTheBytesAreBoth)
{
    const std::string name = "\xC8\xAB\xC3\xA2\xC8\xA3";
    Add("kr.sgf", "EUC-KR", name);
    Add("utf8.sgf", "", name);
    EXPECT_EQ(Shown(0), QStringLiteral(u"홍창호"));
    EXPECT_EQ(Shown(1), QString::fromUtf8(name)) << "without a CA, valid UTF-8 is UTF-8";
}

TEST_F(CharsetView, MyNamesMatchThePlayersAsTheListShowsThem)
{
    // Typed as text: UTF-8, as the Others page stores it.
    store.WriteProfileString("Misc", "My Names",
                             "Someone,\xE6\xA3\x8B\xE5\x9F\xBA\xE7\xA1\x80,\xE5\x9B\xB2\xE7\xA2\x81");
    Add("gb.sgf", "gb2312", kGb);
    Add("sjis.sgf", "SJIS", kSjis);
    Add("kr.sgf", "EUC-KR", kKr);
    CReportListCtrl& list = *view->ListCtrl();
    EXPECT_EQ(list.GetItemText(0, 8), "White");
    EXPECT_EQ(list.GetItemText(1, 8), "White");
    EXPECT_EQ(list.GetItemText(2, 8), "") << "not one of the names";
}

TEST_F(CharsetView, ShortGbkNamesWithoutCaTakeTheCharsetOfTheirFolderOnceTheBatchIsRead)
{
    // 常昊 first, before the folder has told anything; then records whose
    // events are long enough to detect; then one that names Big5.
    auto write = [&](const std::string& name, const std::string& props) {
        EXPECT_TRUE(doc.AddGameFile(dir.Write("gbk/" + name, "(;GM[1]" + props + ";B[aa])"), 0));
    };
    write("1.sgf", "PB[\xB3\xA3\xEA\xBB]PW[x]");
    write("2.sgf",
          "PB[\xB9\xC5\xC1\xA6]PW[x]EV[\xB5\xDA\xB6\xFE\xBD\xEC\xD6\xD0\xB9\xFA\xCE\xA7\xC6\xE5\xBC\xD7\xBC\xB6"
          "\xC1\xAA\xC8\xFC]");
    write("3.sgf",
          "PB[\xC4\xF4\xCE\xC0\xC6\xBD]PW[x]EV[\xD6\xD0\xB9\xFA\xCE\xA7\xC6\xE5\xC3\xFB\xC8\xCB\xD5\xBD\xBE\xF6"
          "\xC8\xFC\xB5\xDA\xC8\xFD\xBE\xD6]");
    write("4.sgf", "CA[Big5]PB[\xC2\xBF\xBD\xC3\xA5\xAD]PW[x]");
    // The same short name in another folder stays as before.
    EXPECT_TRUE(doc.AddGameFile(dir.Write("other/5.sgf", "(;GM[1]PB[\xB3\xA3\xEA\xBB]PW[x];B[aa])"), 0));
    doc.UpdateAllViews(hintBatchDone);
    std::map<std::string, QString> black;
    for (int r = 0; r < view->ListCtrl()->GetItemCount(); ++r)
        black[view->ListCtrl()->GetItemText(r, 0)] = Shown(r);
    EXPECT_EQ(black["1.sgf"], QStringLiteral(u"常昊"));
    EXPECT_EQ(black["3.sgf"], QStringLiteral(u"聂卫平"));
    EXPECT_EQ(black["4.sgf"], QStringLiteral(u"聶衛平"));
    EXPECT_EQ(black["5.sgf"], QString::fromLatin1("\xB3\xA3\xEA\xBB"));
    // The filter sees the names as shown.
    view->SetFilterText(QStringLiteral(u"black:常昊"));
    EXPECT_EQ(view->ShownCount(), 1);
}

TEST_F(CharsetView, TheCharsetChosenForRecordsThatNameNoneIsReadFromTheSettings)
{
    store.WriteProfileString("Misc", "Charset", "GB18030");
    CloseView();
    OpenView();
    EXPECT_TRUE(doc.AddGameFile(dir.Write("other/5.sgf", "(;GM[1]PB[\xB3\xA3\xEA\xBB]PW[x];B[aa])"), 0));
    EXPECT_EQ(Shown(0), QStringLiteral(u"常昊"));
}
