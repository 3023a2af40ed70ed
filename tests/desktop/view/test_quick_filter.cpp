#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/DuplicatesView.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <map>

namespace {

class QuickFilter : public FrameTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Start());
        Trigger(ID_VIEW_DETAILS);
        // Black players: a Kim, a Lee, and a Kim whose white player is Lee.
        AddGame("a", "Kim Jiwoo", "Cho");
        AddGame("b", "Lee Sedol", "Otake");
        AddGame("c", "KIM Sunwoo", "Lee Changho");
        app->Doc().UpdateAllViews(hintBatchDone);
    }

    void AddGame(const char* name, const char* black, const char* white)
    {
        const std::string path = dir.Write(std::string("games/") + name + ".sgf",
                                           std::string("(;GM[1]PB[") + black + "]PW[" + white + "];B[pd])");
        ASSERT_TRUE(app->Doc().AddGameFile(path, 0));
    }

    CVarnexView& View() const { return *app->Frame()->View(); }
    CReportListCtrl& List() const { return *View().ListCtrl(); }

    void Type(const QString& text)
    {
        QLineEdit* field = View().FilterBar()->Field();
        field->clear();
        QTest::keyClicks(field, text);
    }

    // The file names the list shows, top to bottom.
    QStringList Shown() const
    {
        QStringList names;
        for (int i = 0; i < List().GetShownCount(); ++i)
            names << QString::fromStdString(List().GetItemText(List().ShownRow(i), 0));
        return names;
    }
};

} // namespace

TEST_F(QuickFilter, FindOpensTheFieldAndEveryWordMustMatchSomeCellWhateverTheCase)
{
    EXPECT_TRUE(View().FilterBar()->isHidden());
    EXPECT_EQ(Act(ID_EDIT_FIND)->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    Trigger(ID_EDIT_FIND);
    EXPECT_FALSE(View().FilterBar()->isHidden());

    const QStringList all = Shown();
    Type(QStringLiteral("kim"));
    EXPECT_EQ(Shown().size(), 2);
    Type(QStringLiteral("kim lee"));
    EXPECT_EQ(Shown(), L({"c.sgf"}));
    // The file-name cell counts too.
    Type(QStringLiteral("  B.SGF "));
    EXPECT_EQ(Shown(), L({"b.sgf"}));
    Type(QStringLiteral("nobody"));
    EXPECT_EQ(List().GetShownCount(), 0);
    EXPECT_EQ(List().GetItemCount(), 3);

    // Esc empties and hides the field; every row comes back in its order.
    QTest::keyClick(View().FilterBar()->Field(), Qt::Key_Escape);
    EXPECT_TRUE(View().FilterBar()->isHidden());
    EXPECT_EQ(Shown(), all);
    EXPECT_FALSE(List().IsFiltering());
}

TEST_F(QuickFilter, TheFirstPaneCountsTheRowsShownAndTheTotalStaysAllRows)
{
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("kim"));
    RunIdle();
    CCountStatusBar& bar = *app->Frame()->CountStatusBar();
    EXPECT_EQ(bar.MessagePane()->text(), QStringLiteral("2 of 3 File(s) shown"));
    EXPECT_EQ(bar.PaneText(1), QStringLiteral("Total 3 File(s)"));
    Type(QString());
    RunIdle();
    EXPECT_EQ(bar.MessagePane()->text(), QStringLiteral("Ready"));
}

TEST_F(QuickFilter, SelectAllAndDeleteActOnTheRowsShownOnly)
{
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("lee"));
    List().CurrentView()->selectAll();
    EXPECT_EQ(List().GetSelectedCount(), 2);
    RunIdle();
    ASSERT_TRUE(Act(ID_EDIT_DELETE_FILES)->isEnabled());
    Trigger(ID_EDIT_DELETE_FILES);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 1u);
    Type(QString());
    EXPECT_EQ(Shown(), L({"a.sgf"}));
}

TEST_F(QuickFilter, ExportWritesTheRowsShownInTheirOrder)
{
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("kim"));
    const std::string out = (dir.path() / "out.txt").string();
    prompts.saveFileName.push_back(QString::fromStdString(out));
    RunIdle();
    ASSERT_TRUE(Act(ID_FILE_EXPORT)->isEnabled());
    Trigger(ID_FILE_EXPORT);
    const std::string text = ReadFileBytes(out);
    std::string expected;
    for (int i = 0; i < List().GetShownCount(); ++i) {
        const int row = List().ShownRow(i);
        for (int c = 0; c <= static_cast<int>(View().Columns().size()); ++c)
            expected += (c > 0 ? "\t" : "") + List().GetItemText(row, c);
        expected += "\r\n";
    }
    EXPECT_EQ(text, expected);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_EQ(text.find("b.sgf"), std::string::npos);

    // With nothing shown there is nothing to export.
    Type(QStringLiteral("nobody"));
    RunIdle();
    EXPECT_FALSE(Act(ID_FILE_EXPORT)->isEnabled());
}

TEST_F(QuickFilter, RowsAddedWhileTheFilterIsOnAppearOnlyWhenTheyMatch)
{
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("kim"));
    AddGame("d", "Park", "Yoda");
    AddGame("e", "Kim Myungwan", "Yoda");
    EXPECT_EQ(List().GetItemCount(), 5);
    EXPECT_EQ(List().GetShownCount(), 3);
    EXPECT_TRUE(Shown().contains(QStringLiteral("e.sgf")));
}

TEST_F(QuickFilter, AChangedCellIsMatchedByItsNewText)
{
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("games"));
    EXPECT_EQ(List().GetShownCount(), 0);
    // Full paths put the folder name into the first cell.
    Trigger(ID_VIEW_FULL_PATH);
    EXPECT_EQ(List().GetShownCount(), 3);
}

TEST_F(QuickFilter, EveryDisplayStyleShowsTheFilteredRows)
{
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("lee"));
    for (int id : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
        Trigger(id);
        EXPECT_EQ(List().CurrentView()->model()->rowCount(), 2) << id;
    }
}

// A row selected before the filter changes stays selected while it is
// shown, and again when every row comes back; the current row too.
TEST_F(QuickFilter, TheSelectionOfTheRowsStillShownSurvivesTheFilter)
{
    Trigger(ID_EDIT_FIND);
    List().SelectRow(0); // a.sgf, a Kim
    List().SelectRow(1); // b.sgf, no Kim
    QItemSelectionModel& selection = *List().SelectionModel();
    selection.setCurrentIndex(selection.model()->index(0, 0), QItemSelectionModel::NoUpdate);

    Type(QStringLiteral("kim"));
    ASSERT_EQ(Shown(), L({"a.sgf", "c.sgf"}));
    EXPECT_EQ(List().GetSelectedRows(), std::vector<int>({0}));
    EXPECT_EQ(List().GetSelectedCount(), 1);
    EXPECT_EQ(List().ShownRow(selection.currentIndex().row()), 0);

    Type(QString());
    EXPECT_EQ(List().GetSelectedRows(), std::vector<int>({0}));
    EXPECT_EQ(List().ShownRow(selection.currentIndex().row()), 0);
}

// The cells of a row are searched one by one: the end of one cell and the
// start of the next never make a word.
TEST_F(QuickFilter, AWordNeverMatchesAcrossTwoCells)
{
    ASSERT_TRUE(
        app->Doc().AddGameFile(dir.Write("games/final.sgf", "(;GM[1]GN[Final]PB[Kim Jiwoo]BR[9d]PW[Cho];B[pd])"), 0));
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("jiwoo9d"));
    EXPECT_EQ(List().GetShownCount(), 0);
    Type(QStringLiteral("sgffinal"));
    EXPECT_EQ(List().GetShownCount(), 0);
    Type(QStringLiteral("jiwoo 9d"));
    EXPECT_EQ(Shown(), L({"final.sgf"}));
}

TEST_F(QuickFilter, FieldTermsLookInTheRecordShownOrNotDecodedAsTheListShowsIt)
{
    // EV, RE and DT are no columns; the Chinese record names its charset.
    const std::string path = dir.Write("games/d.sgf", "(;CA[gb2312]PB[\xB9\xC5\xC1\xA6]PW[Lee Sedol]EV[Mind Sports]"
                                                      "RE[W+R]DT[2016-03-05];B[pd])");
    ASSERT_TRUE(app->Doc().AddGameFile(path, 0));
    app->Doc().UpdateAllViews(hintBatchDone);
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("event:sports"));
    EXPECT_EQ(Shown(), L({"d.sgf"}));
    Type(QStringLiteral("player:\"lee sedol\" -winner:lee"));
    EXPECT_EQ(Shown(), L({"b.sgf"}));
    // Key clicks carry no Chinese; the text is set as an input method would.
    View().FilterBar()->Field()->setText(QStringLiteral("loser:\u53e4\u529b date:2010..2019 result:W+"));
    EXPECT_EQ(Shown(), L({"d.sgf"}));
    Type(QStringLiteral("player:lee -date:2016"));
    EXPECT_EQ(Shown(), L({"b.sgf", "c.sgf"}));
}

// A Korean record whose CA names UTF-8 though its bytes are CP949, and draws
// written in Chinese, Japanese and Korean, each in its own charset.
TEST_F(QuickFilter, TheWinnerIsReadAsTheListShowsTheResultAndEveryDrawHasNone)
{
    const std::string lee = "\xC0\xCC\xBC\xBC\xB5\xB9";  // 이세돌
    const std::string park = "\xB9\xDA\xC1\xA4\xC8\xAF"; // 박정환
    const std::pair<const char*, std::string> games[] = {
        {"k", "CA[UTF-8]PB[" + lee + "]PW[" + park +
                  "]EV[\xC7\xD1\xB1\xB9\xB1\xE2\xBF\xF8 \xB4\xEB\xB1\xB9]" // 한국기원 대국
                  "RE[226\xBC\xF6 \xB9\xE9\xBA\xD2\xB0\xE8\xBD\xC2]"},     // 226수 백불계승
        {"gb", "CA[gb2312]PB[Gu]PW[Chang]RE[\xBA\xCD\xC6\xE5]"},           // 和棋
        {"gb1", "CA[gb2312]PB[Gu]PW[Chang]RE[\xBA\xCD]"},                  // 和
        {"sj", "CA[SJIS]PB[Cho]PW[Iyama]RE[\x8E\x9D\x8C\xE9]"},            // 持碁
        {"sj2", "CA[SJIS]PB[Cho]PW[Iyama]RE[\x83\x57\x83\x53]"},           // ジゴ
        {"kr", "CA[EUC-KR]PB[Lee]PW[Park]RE[\xB9\xAB\xBD\xC2\xBA\xCE]"},   // 무승부
    };
    for (const auto& [name, props] : games)
        ASSERT_TRUE(
            app->Doc().AddGameFile(dir.Write(std::string("games/") + name + ".sgf", "(;GM[1]" + props + ";B[pd])"), 0));
    app->Doc().UpdateAllViews(hintBatchDone);
    // The Winner column of the default columns.
    const auto winner = [this](const char* file) {
        for (int row = 0; row < List().GetItemCount(); ++row)
            if (List().GetItemText(row, 0) == file)
                return List().GetItemText(row, 7);
        ADD_FAILURE() << file;
        return std::string();
    };
    EXPECT_EQ(winner("k.sgf"), park);
    for (const char* draw : {"gb.sgf", "gb1.sgf", "sj.sgf", "sj2.sgf", "kr.sgf"})
        EXPECT_EQ(winner(draw), "") << draw;

    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("result:jigo"));
    EXPECT_EQ(Shown(), L({"gb.sgf", "gb1.sgf", "sj.sgf", "sj2.sgf", "kr.sgf"}));
    View().FilterBar()->Field()->setText(QStringLiteral("winner:\ubc15\uc815\ud658 loser:\uc774\uc138\ub3cc"));
    EXPECT_EQ(Shown(), L({"k.sgf"}));
}

TEST_F(QuickFilter, AnUnknownFieldTurnsTheTextRedAndItsToolTipSaysWhy)
{
    Trigger(ID_EDIT_FIND);
    QLineEdit* field = View().FilterBar()->Field();
    const QColor normal = field->palette().color(QPalette::Text);
    EXPECT_TRUE(field->toolTip().contains(QStringLiteral("player:")));
    Type(QStringLiteral("playr:kim"));
    EXPECT_TRUE(View().FilterBar()->HasProblems());
    EXPECT_EQ(field->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_TRUE(field->toolTip().contains(QStringLiteral("Unknown field \"playr:\"")));
    // The term still filters, as a word.
    EXPECT_EQ(List().GetShownCount(), 0);
    Type(QStringLiteral("player:kim"));
    EXPECT_FALSE(View().FilterBar()->HasProblems());
    EXPECT_EQ(field->palette().color(QPalette::Text), normal);
    EXPECT_FALSE(field->toolTip().contains(QStringLiteral("Unknown")));
    EXPECT_EQ(Shown(), L({"a.sgf", "c.sgf"}));
}

TEST_F(QuickFilter, TheRowsShownPassTheModelChecksThroughFilterAndDuplicatesView)
{
    QAbstractItemModel* shown = List().CurrentView()->model();
    ASSERT_NE(shown, static_cast<QAbstractItemModel*>(&List().Model())) << "the views show the filter's rows";
    QAbstractItemModelTester tester(shown, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::map<std::string, std::string> key;
    for (int row = 0; row < List().GetItemCount(); ++row)
        key[List().GetItemText(row, 0)] = List().GetItemKey(row);

    // The copy to keep first: c before a; b's group has no other row left.
    View().Duplicates().Show({{key["c.sgf"], key["a.sgf"]}, {key["b.sgf"], std::string("/nowhere/b.sgf")}});
    EXPECT_EQ(Shown(), (QStringList{QStringLiteral("c.sgf"), QStringLiteral("a.sgf")}));
    Trigger(ID_EDIT_FIND);
    Type(QStringLiteral("kim"));
    EXPECT_EQ(Shown(), (QStringList{QStringLiteral("c.sgf"), QStringLiteral("a.sgf")}));

    // Rows come, change, are sorted and go while both apply.
    AddGame("d", "Kim Jiwoo", "Kim Sunwoo");
    app->Doc().UpdateAllViews(hintBatchDone);
    ASSERT_TRUE(app->Doc().ChangeFileFlags(key["c.sgf"], ENTRY_VIEWED, 0, View().FindRow(key["c.sgf"])));
    View().OnHeaderClick(0);
    ASSERT_TRUE(app->Doc().RemoveGameFile(key["a.sgf"]));
    RunIdle();
    EXPECT_EQ(View().Duplicates().Games(), 0);
    EXPECT_TRUE(Shown().isEmpty()) << "a game left in one file is a duplicate no more";

    View().Duplicates().Hide();
    EXPECT_EQ(Shown().size(), 2) << "c and d";
    Type(QString());
    EXPECT_EQ(Shown().size(), 3);
}
