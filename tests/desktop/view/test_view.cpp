#include "TestSupport.h"
#include "ViewFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/view/FontRecordQt.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

std::string Record(const std::string& gn, const std::string& dt, const std::string& pb, const std::string& re = {})
{
    return "(;GM[1]FF[4]GN[" + gn + "]DT[" + dt + "]PB[" + pb + "]BR[3d]PW[White]WR[2k]RE[" + re + "];B[aa])";
}

class CNoDropView : public CVarnexView
{
public:
    using CVarnexView::CVarnexView;
    bool RegisterDropTarget() override { return false; }
};

class ReportView : public ViewFixture
{
protected:
    void Reopen()
    {
        CloseView();
        doc.DeleteContents();
        OpenView();
    }

    std::string Cell(int row, int column) { return List().GetItemText(row, column); }
    CCmdUI Update(int id)
    {
        CCmdUI ui;
        EXPECT_TRUE(view->OnUpdateCommand(id, ui));
        return ui;
    }
    // Three games, added one by one as the add-files command does.
    std::vector<std::string> AddThree()
    {
        std::vector<std::string> paths = {dir.Write("b.sgf", Record("Beta", "2001-03-01", "Kato")),
                                          dir.Write("a.sgf", Record("Alpha", "1999-12-31", "Sato")),
                                          dir.Write("c.sgf", Record("Gamma", "", "Ito"))};
        for (const std::string& path : paths)
            EXPECT_TRUE(doc.AddGameFile(path, 0));
        doc.UpdateAllViews(hintBatchDone);
        return paths;
    }
};

} // namespace

TEST_F(ReportView, StartsInLargeIconsWithTheDefaultColumnsAndBlackText)
{
    EXPECT_EQ(List().GetStyle(), CReportListCtrl::kStyleLargeIcons);
    EXPECT_FALSE(view->IsFullPath());
    EXPECT_EQ(List().GetTextColor(), QColor(0, 0, 0));
    ASSERT_EQ(List().GetColumnCount(), 9);
    EXPECT_EQ(List().Model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("File Name"));
    EXPECT_EQ(List().Model().headerData(8, Qt::Horizontal).toString(), QStringLiteral("Opponent"));
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(List().GetColumnWidth(c), 80);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ReportView, AFailedDropRegistrationIsReportedAndTheViewStillWorks)
{
    CScriptedPrompts otherPrompts;
    CNoDropView other(doc, store, otherPrompts);
    EXPECT_TRUE(other.Create());
    EXPECT_EQ(otherPrompts.messages, QStringList{QStringLiteral("Cannot register for drop target!")});
    other.AddRow("/x/y.sgf");
    EXPECT_EQ(other.RowCount(), 1);
}

TEST_F(ReportView, HintsKeepTheRowsInStepWithTheCollection)
{
    QAbstractItemModelTester tester(&List().Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const std::string viewed = dir.Write("viewed.sgf", Record("Seen", "2000", "Honda", "B+R"));
    const std::string plain = dir.Write("plain.sgf", Record("New", "2001", "Ueda"));
    ASSERT_TRUE(doc.AddGameFile(viewed, ENTRY_VIEWED));
    ASSERT_TRUE(doc.AddGameFile(plain, 0));
    ASSERT_EQ(view->RowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "viewed.sgf");
    EXPECT_EQ(Cell(0, 1), "Seen");
    EXPECT_EQ(Cell(0, 3), "Honda");
    EXPECT_EQ(Cell(0, 7), "Honda") << "the winner column";
    EXPECT_EQ(List().GetItemImage(0), 1);
    EXPECT_EQ(List().GetItemImage(1), 0);
    EXPECT_EQ(view->FindRow(plain), 1);

    // Flags changed: only that row's image.
    ASSERT_TRUE(doc.ChangeFileFlags(viewed, 0, ENTRY_VIEWED, view->FindRow(viewed)));
    EXPECT_EQ(List().GetItemImage(0), 0);
    EXPECT_EQ(Cell(0, 1), "Seen");
    // And back: the viewed bit alone chooses the viewed image.
    ASSERT_TRUE(doc.ChangeFileFlags(plain, ENTRY_VIEWED, 0, view->FindRow(plain)));
    EXPECT_EQ(List().GetItemImage(1), 1);
    EXPECT_EQ(List().GetItemImage(0), 0);
    ASSERT_TRUE(doc.ChangeFileFlags(plain, 0, ENTRY_VIEWED, view->FindRow(plain)));
    EXPECT_EQ(List().GetItemImage(1), 0);

    // A path the collection does not hold still gets a row, with empty cells.
    const std::string stranger = "/nowhere/else.sgf";
    doc.UpdateAllViews(hintFileAdded, CHintPayload{&stranger});
    ASSERT_EQ(view->RowCount(), 3);
    EXPECT_EQ(Cell(2, 0), "else.sgf");
    EXPECT_EQ(Cell(2, 1), "");
    EXPECT_EQ(List().GetItemImage(2), 0);

    const std::string missing = "/not/there.sgf";
    doc.UpdateAllViews(hintFileRemoved, CHintPayload{&missing});
    EXPECT_EQ(view->RowCount(), 3);

    // Added with no path: the rows are refilled from the collection.
    doc.UpdateAllViews(hintFileAdded);
    EXPECT_EQ(view->RowCount(), 2);
    EXPECT_EQ(view->FindRow(stranger), -1);

    ASSERT_TRUE(doc.RemoveGameFile(plain));
    EXPECT_EQ(view->RowCount(), 1);
    EXPECT_EQ(view->FindRow(plain), -1);

    doc.UpdateAllViews(hintLoadCount, CHintPayload{nullptr, 2000000000});
    EXPECT_EQ(view->RowCount(), 1);
    doc.DeleteContents();
    EXPECT_EQ(view->RowCount(), 0);
}

TEST_F(ReportView, SameFileNamesInTwoFoldersGiveTwoRowsAndFullPathShowsThem)
{
    std::filesystem::create_directory(dir.path() / "one");
    std::filesystem::create_directory(dir.path() / "two");
    const std::string first = dir.Write("one/game.sgf", Record("A", "2000", "X"));
    const std::string second = dir.Write("two/game.sgf", Record("B", "1990", "Y"));
    ASSERT_TRUE(doc.AddGameFile(first, 0));
    ASSERT_TRUE(doc.AddGameFile(second, 0));
    EXPECT_EQ(Cell(0, 0), "game.sgf");
    EXPECT_EQ(Cell(1, 0), "game.sgf");
    EXPECT_EQ(List().GetItemKey(0), first);
    EXPECT_EQ(List().GetItemKey(1), second);

    // Sorted by date, then full path on: full paths, and the order stays.
    view->OnHeaderClick(2);
    ASSERT_EQ(List().GetItemKey(0), second);
    view->OnCommand(ID_VIEW_FULL_PATH);
    EXPECT_TRUE(Update(ID_VIEW_FULL_PATH).m_checked);
    EXPECT_EQ(Cell(0, 0), second);
    EXPECT_EQ(Cell(1, 0), first);
    view->OnCommand(ID_VIEW_FULL_PATH);
    EXPECT_EQ(Cell(0, 0), "game.sgf");

    view->OnCommand(ID_VIEW_FULL_PATH);
    Reopen();
    EXPECT_TRUE(view->IsFullPath());
    ASSERT_TRUE(doc.AddGameFile(first, 0));
    EXPECT_EQ(Cell(0, 0), first);
}

TEST_F(ReportView, DeleteRemovesTheSelectedFilesFromTheCollectionButNotFromDisk)
{
    const std::vector<std::string> paths = AddThree();
    const std::string fourth = dir.Write("d.sgf", Record("Delta", "2005", "Abe"));
    ASSERT_TRUE(doc.AddGameFile(fourth, 0));
    EXPECT_FALSE(Update(ID_EDIT_DELETE_FILES).m_enabled);

    List().SelectRow(0);
    List().SelectRow(1);
    List().SelectRow(3);
    EXPECT_EQ(view->SelectedCount(), 3);
    EXPECT_TRUE(Update(ID_EDIT_DELETE_FILES).m_enabled);
    const std::string kept = List().GetItemKey(2);

    doc.SetModifiedFlag(false);
    view->OnCommand(ID_EDIT_DELETE_FILES);
    EXPECT_EQ(view->RowCount(), 1);
    EXPECT_EQ(doc.m_mapFiles.size(), 1u);
    EXPECT_NE(doc.m_mapFiles.Find(kept), nullptr);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(prompts.asked.isEmpty()) << "no question is asked";
    for (const std::string& path : paths)
        EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::exists(fourth));
    EXPECT_EQ(view->SelectedCount(), 0);
    EXPECT_FALSE(Update(ID_EDIT_DELETE_FILES).m_enabled);
}

TEST_F(ReportView, DeleteEndsForARowWhosePathTheCollectionDoesNotHold)
{
    const std::string stranger = "/nowhere/else.sgf";
    doc.UpdateAllViews(hintFileAdded, CHintPayload{&stranger});
    List().SelectRow(0);
    view->OnCommand(ID_EDIT_DELETE_FILES);
    EXPECT_EQ(view->RowCount(), 0);
}

TEST_F(ReportView, IdleSendsTheSelectedAndTotalCounts)
{
    AddThree();
    QSignalSpy spy(view.get(), &CVarnexView::StatusCounts);
    List().SelectRow(1);
    doc.OnIdle();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 3);
}

TEST_F(ReportView, HeaderClicksSortAscendingThenDescendingAndTheSortIsKept)
{
    AddThree();
    view->OnCommand(ID_VIEW_DETAILS);
    QTreeView* tree = List().DetailsView();
    QHeaderView* header = tree->header();
    const QPoint dateHeader(header->sectionViewportPosition(2) + 10, header->height() / 2);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, dateHeader);
    EXPECT_EQ(view->SortState().m_nColSortCur, 2);
    EXPECT_EQ(Cell(0, 2), "");
    EXPECT_EQ(Cell(1, 2), "1999-12-31");
    EXPECT_EQ(Cell(2, 2), "2001-03-01");

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, dateHeader);
    EXPECT_EQ(Cell(0, 2), "2001-03-01");
    EXPECT_EQ(Cell(2, 2), "") << "empty cells come last when descending";

    // Closing and reopening: a new batch is sorted the same way.
    CloseView();
    EXPECT_EQ(store.GetProfileInt("Header", "ColSortCur", -1), 2);
    EXPECT_EQ(store.GetProfileInt("Header", "ColSort", 0), 0);
    doc.DeleteContents();
    OpenView();
    // Added out of the sorted order: the end of the batch puts them in it.
    for (const char* name : {"c.sgf", "a.sgf", "b.sgf"})
        ASSERT_TRUE(doc.AddGameFile((dir.path() / name).string(), 0));
    EXPECT_EQ(Cell(0, 2), "") << "rows are appended while the batch runs";
    doc.UpdateAllViews(hintBatchDone);
    EXPECT_EQ(Cell(0, 2), "2001-03-01");
    EXPECT_EQ(Cell(1, 2), "1999-12-31");
    EXPECT_EQ(Cell(2, 2), "");
}

TEST_F(ReportView, ASortColumnThatNoLongerExistsBecomesNone)
{
    store.WriteProfileString("Header", "Index", "0|1");
    CloseView();
    store.WriteProfileInt("Header", "ColSortCur", 5);
    store.WriteProfileInt("Header", "ColSort", 0x20);
    OpenView();
    const std::vector<std::string> paths = AddThree();
    EXPECT_EQ(view->SortState().m_nColSortCur, -1);
    EXPECT_EQ(List().GetItemKey(0), paths[0]) << "the rows stay as added";
}

TEST_F(ReportView, StylesAreCheckedAndOnlyTheDisplayStyleIsRestored)
{
    for (int id : {ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS, ID_VIEW_LARGEICON}) {
        view->OnCommand(id);
        for (int other : {ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS, ID_VIEW_LARGEICON})
            EXPECT_EQ(Update(other).m_checked, other == id);
    }
    EXPECT_EQ(List().CurrentView(), List().IconView());
    EXPECT_TRUE(Update(ID_VIEW_LINEUP).m_enabled);
    view->OnCommand(ID_VIEW_AUTOARRANGE);
    EXPECT_TRUE(Update(ID_VIEW_AUTOARRANGE).m_checked);
    EXPECT_FALSE(Update(ID_VIEW_LINEUP).m_enabled);
    view->OnCommand(ID_VIEW_DETAILS);
    EXPECT_EQ(List().GetStyle(), CReportListCtrl::kStyleDetails | CReportListCtrl::kAutoArrange);
    EXPECT_EQ(List().CurrentView(), List().DetailsView());
    view->OnCommand(ID_VIEW_DETAILS);
    EXPECT_EQ(List().GetStyle(), CReportListCtrl::kStyleDetails | CReportListCtrl::kAutoArrange);
    view->OnCommand(ID_VIEW_AUTOARRANGE);
    EXPECT_FALSE(Update(ID_VIEW_LINEUP).m_enabled) << "details has nothing to line up";
    view->OnCommand(ID_VIEW_LIST);
    EXPECT_FALSE(Update(ID_VIEW_LINEUP).m_enabled);
    view->OnCommand(ID_VIEW_SMALLICON);
    EXPECT_TRUE(Update(ID_VIEW_LINEUP).m_enabled);

    view->OnCommand(ID_VIEW_DETAILS);
    view->OnCommand(ID_VIEW_AUTOARRANGE);
    Reopen();
    EXPECT_EQ(List().GetStyle(), CReportListCtrl::kStyleDetails) << "auto arrange is not restored";
    EXPECT_EQ(store.GetProfileInt("Frame", "Style", 0), CReportListCtrl::kStyleDetails | CReportListCtrl::kAutoArrange)
        << "the whole style word is stored";
}

TEST_F(ReportView, ASelectionSurvivesAStyleSwitch)
{
    AddThree();
    List().SelectRow(2);
    view->OnCommand(ID_VIEW_DETAILS);
    view->OnCommand(ID_VIEW_LIST);
    EXPECT_EQ(List().GetSelectedRows(), std::vector<int>{2});
    EXPECT_TRUE(List().IconView()->selectionModel()->isSelected(List().IconView()->model()->index(2, 0)));
}

TEST_F(ReportView, ColumnWidthsAreStoredOnlyInTheDetailsStyle)
{
    List().SetColumnWidth(0, 150);
    CloseView();
    EXPECT_EQ(store.GetProfileInt("Header", "nWidth", 0), 0);

    OpenView();
    view->OnCommand(ID_VIEW_DETAILS);
    List().SetColumnWidth(0, 150);
    List().SetColumnWidth(2, 33);
    Reopen();
    EXPECT_EQ(store.GetProfileInt("Header", "nWidth", 0), 9);
    EXPECT_EQ(List().GetColumnWidth(0), 150);
    EXPECT_EQ(List().GetColumnWidth(1), 80);
    EXPECT_EQ(List().GetColumnWidth(2), 33);

    // A rebuild of the columns stores the widths first.
    List().SetColumnWidth(1, 99);
    store.WriteProfileString("Header", "Index", "3|0");
    view->LoadColumns();
    ASSERT_EQ(List().GetColumnCount(), 3);
    EXPECT_EQ(List().Model().headerData(1, Qt::Horizontal).toString(), QStringLiteral("Black Rank"));
    EXPECT_EQ(List().GetColumnWidth(1), 99);
    EXPECT_EQ(List().GetColumnWidth(2), 33);
}

TEST_F(ReportView, AChosenFontAndColourAreShownStoredAndRestored)
{
    AddThree();
    view->OnCommand(ID_VIEW_DETAILS);
    QFont bold = view->ListCtrl()->GetListFont();
    bold.setBold(true);
    bold.setPixelSize(17);
    prompts.fonts.push_back(std::make_pair(bold, QColor(255, 0, 0)));
    view->OnCommand(ID_VIEW_SET_FONT);
    EXPECT_EQ(List().GetStyle(), CReportListCtrl::kStyleDetails) << "the style is kept";
    EXPECT_TRUE(List().DetailsView()->font().bold());
    EXPECT_EQ(List().DetailsView()->font().pixelSize(), 17);
    EXPECT_EQ(List().Model().data(List().Model().index(0, 1), Qt::ForegroundRole).value<QBrush>().color(),
              QColor(255, 0, 0));

    // Cancelling changes nothing.
    prompts.fonts.push_back(std::nullopt);
    view->OnCommand(ID_VIEW_SET_FONT);
    EXPECT_TRUE(List().GetListFont().bold());

    Reopen();
    EXPECT_EQ(store.GetProfileInt("Misc", "Text Color", 0), 0x0000FF);
    const auto stored = store.GetProfileBinary("Misc", "Logfont");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 60u);
    EXPECT_TRUE(List().GetListFont().bold());
    EXPECT_EQ(List().GetListFont().pixelSize(), 17);
    EXPECT_EQ(List().GetTextColor(), QColor(255, 0, 0));
}

TEST_F(ReportView, AStoredFontOfTheWrongLengthIsIgnored)
{
    const QFont before = List().GetListFont();
    CloseView();
    CLogFontRecord huge = RecordFromFont(before);
    huge.lfHeight = -90;
    store.WriteProfileBinary("Misc", "Logfont", huge.Encode() + "x");
    store.WriteProfileInt("Misc", "Text Color", 0x00FF8040);
    OpenView();
    EXPECT_EQ(QFontInfo(List().GetListFont()).pixelSize(), QFontInfo(before).pixelSize());
    EXPECT_EQ(List().GetTextColor(), QColor(0x40, 0x80, 0xFF));
}

TEST_F(ReportView, ExportWritesTheListAsShownWithTabsAndCrLf)
{
    AddThree();
    EXPECT_FALSE(Update(ID_FILE_EXPORT).m_enabled) << "only in the details style";
    view->OnCommand(ID_VIEW_DETAILS);
    EXPECT_TRUE(Update(ID_FILE_EXPORT).m_enabled);
    store.WriteProfileString("Header", "Index", "0|1");
    view->LoadColumns();
    view->FillRows();
    view->OnHeaderClick(0);

    const std::string out = (dir.path() / "list.txt").string();
    prompts.saveFileName.push_back(QString::fromStdString(out));
    view->OnCommand(ID_FILE_EXPORT);
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("save-file: Save List To A Text File | "
                                                   "Text File (*.txt)|*.txt|All Files (*.*)|*.*|| | txt"));
    const std::string expected = "a.sgf\tAlpha\t1999-12-31\r\n"
                                 "b.sgf\tBeta\t2001-03-01\r\n"
                                 "c.sgf\tGamma\t\r\n";
    EXPECT_EQ(ReadFileBytes(out), expected);

    // Cancelling leaves the file as it was.
    prompts.saveFileName.push_back(QString());
    view->OnCommand(ID_FILE_EXPORT);
    EXPECT_EQ(ReadFileBytes(out), expected);

    doc.DeleteContents();
    EXPECT_FALSE(Update(ID_FILE_EXPORT).m_enabled) << "nothing to export";
}

TEST_F(ReportView, ExportCutsLongCellsAndKeepsInvalidUtf8Unchanged)
{
    view->OnCommand(ID_VIEW_DETAILS);
    store.WriteProfileString("Header", "Index", "0");
    view->LoadColumns();
    const std::string name = "\xB0\xD7\xC6\xE5 \xE6\xA3";
    const std::string path = dir.Write("odd.sgf", "(;GN[" + name + "\t" + std::string(250, 'x') + "])");
    ASSERT_TRUE(doc.AddGameFile(path, 0));
    List().Model().Flush();
    const QString shown = List().Model().data(List().Model().index(0, 1)).toString();
    EXPECT_TRUE(shown.startsWith(QString(QChar(0xB0)) + QChar(0xD7) + QChar(0xC6) + QChar(0xE5)));

    const std::string out = (dir.path() / "odd.txt").string();
    prompts.saveFileName.push_back(QString::fromStdString(out));
    view->OnCommand(ID_FILE_EXPORT);
    const std::string cell = (name + "\t" + std::string(250, 'x')).substr(0, 199);
    EXPECT_EQ(ReadFileBytes(out), "odd.sgf\t" + cell + "\r\n");
}

TEST_F(ReportView, CorpusGamesFillTheDetailsView)
{
    VARNEX_REQUIRE_CORPUS();
    const auto folder = CorpusDir() / "SabakiHQ__sgf" / "tests" / "sgf";
    int added = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (item.is_regular_file() && doc.AddGameFile(item.path().string(), 0))
            ++added;
    }
    doc.UpdateAllViews(hintBatchDone);
    ASSERT_GT(added, 3);
    EXPECT_EQ(view->RowCount(), added);
    view->OnCommand(ID_VIEW_DETAILS);
    for (int r = 0; r < view->RowCount(); ++r)
        EXPECT_FALSE(List().Model().data(List().Model().index(r, 0)).toString().isEmpty());
}

TEST_F(ReportView, FilesDroppedOnTheListAreHandedOnInOrderEvenWhenTheyComeWithText)
{
    const std::string a = dir.Write("drop1.sgf", Record("One", "2000", "P"));
    const std::string b = dir.Write("drop2.sgf", Record("Two", "2001", "Q"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)), QUrl::fromLocalFile(QString::fromStdString(b))});
    files.setText(QStringLiteral("(;GN[text too])"));

    for (int id : {ID_VIEW_LARGEICON, ID_VIEW_DETAILS}) {
        view->OnCommand(id);
        dropped.clear();
        QWidget* target = List().CurrentView()->viewport();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        EXPECT_EQ(dropped, (std::vector<std::vector<std::string>>{{a, b}}));
    }

    EXPECT_TRUE(prompts.asked.isEmpty()) << "a file drop asks nothing";
}

TEST_F(ReportView, DestroyingTheWindowRemovesEveryRowOnce)
{
    AddThree();
    view->Destroy();
    EXPECT_EQ(view->RowCount(), 0);
    store.WriteProfileInt("Frame", "Style", 77);
    view->Destroy();
    EXPECT_EQ(store.GetProfileInt("Frame", "Style", 0), 77) << "a second call stores nothing";
}

TEST_F(ReportView, AnExportThatHitsAFullDiskKeepsTheOldListAndSaysSo)
{
    view->OnCommand(ID_VIEW_DETAILS);
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(doc.AddGameFile(dir.Write("game-with-a-long-name-" + std::to_string(i) + ".sgf", "(;GN[x])"), 0));
    const std::string out = dir.Write("list.txt", "the old list\r\n");
    prompts.saveFileName.push_back(QString::fromStdString(out));
    {
        CFileSizeLimit limit(512);
        view->OnCommand(ID_FILE_EXPORT);
    }
    EXPECT_EQ(ReadFileBytes(out), "the old list\r\n");
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(
        prompts.messages[0].startsWith(QStringLiteral("Cannot write the list to %1.").arg(QString::fromStdString(out))))
        << prompts.messages[0].toStdString();
}
