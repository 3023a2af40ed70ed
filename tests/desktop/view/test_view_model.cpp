#include "desktop/view/ReportListModel.h"
#include "qtcore/ByteText.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

CReportRow MakeRow(const std::string& key, const std::string& name, const std::string& date)
{
    CReportRow row;
    row.key = key;
    row.cells = {name, date};
    return row;
}

std::unique_ptr<CReportListModel> MakeModel()
{
    auto model = std::make_unique<CReportListModel>();
    model->SetHeaders({"File Name", "Date"});
    return model;
}

} // namespace

TEST(ReportListModel, StaysConsistentThroughBatchesRemovalsSortsAndClearing)
{
    auto model = MakeModel();
    QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QItemSelectionModel selection(model.get());

    for (int i = 0; i < 50; ++i)
        model->Append(MakeRow("/g/" + std::to_string(i), std::to_string(i) + ".sgf", std::to_string(i % 7)));
    EXPECT_EQ(model->rowCount(), 0) << "the views hear of new rows at the flush";
    EXPECT_EQ(model->Count(), 50);
    model->Flush();
    EXPECT_EQ(model->rowCount(), 50);

    selection.select(model->index(10, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // One run of removals, then many scattered ones (told as a layout change).
    EXPECT_TRUE(model->RemoveKey("/g/3"));
    EXPECT_TRUE(model->RemoveKey("/g/4"));
    model->Flush();
    for (int i = 20; i < 50; i += 2)
        EXPECT_TRUE(model->RemoveKey("/g/" + std::to_string(i)));
    EXPECT_FALSE(model->RemoveKey("/g/20")) << "a key without a row changes nothing";
    model->Append(MakeRow("/g/new", "new.sgf", ""));
    model->Flush();
    EXPECT_EQ(model->rowCount(), 50 - 2 - 15 + 1);
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(model->Row(selection.selectedRows().front().row()).key, "/g/10") << "the selection follows its row";

    CSortState sort;
    sort.Click(1);
    model->Sort(sort, 1);
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(model->Row(selection.selectedRows().front().row()).key, "/g/10");
    EXPECT_EQ(model->Text(0, 1), "") << "the empty date sorts first ascending";

    model->Clear();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(model->Find("/g/10"), -1);
}

TEST(ReportListModel, FindsRowsByKeyAfterSortingAndRemovals)
{
    auto model = MakeModel();
    model->Append(MakeRow("/b", "b", "2"));
    model->Append(MakeRow("/a", "a", "3"));
    model->Append(MakeRow("/c", "c", "1"));
    CSortState sort;
    sort.Click(1);
    model->Sort(sort, 1);
    EXPECT_EQ(model->Find("/c"), 0);
    EXPECT_EQ(model->Find("/b"), 1);
    EXPECT_EQ(model->Find("/a"), 2);
    model->RemoveKey("/c");
    EXPECT_EQ(model->Find("/b"), 0);
    EXPECT_EQ(model->Find("/a"), 1);
    EXPECT_EQ(model->Find("/c"), -1);
    EXPECT_EQ(model->Find("/missing"), -1);
}

TEST(ReportListModel, TwoRowsWithOneKeyAreFoundInTurn)
{
    auto model = MakeModel();
    model->Append(MakeRow("/same", "first", ""));
    model->Append(MakeRow("/other", "other", ""));
    model->Append(MakeRow("/same", "second", ""));
    EXPECT_EQ(model->Find("/same"), 0);
    model->RemoveKey("/same");
    EXPECT_EQ(model->Find("/same"), 1);
    EXPECT_EQ(model->Text(1, 0), "second");
    model->RemoveKey("/same");
    EXPECT_EQ(model->Find("/same"), -1);
    EXPECT_EQ(model->Count(), 1);
}

TEST(ReportListModel, ShowsTheNameWithBytesThatAreNotUtf8AsLatin1AndTheCellsByOneCharsetWithoutChangingTheBytes)
{
    auto model = MakeModel();
    const std::string bytes = "Go \xE6\xA3\x8B \xE6\xA3 end \xFF";
    model->Append(MakeRow("/x", bytes, "t\xE9t\xE9"));
    model->Flush();
    // The file name is UTF-8 where it can be, each other byte its Latin-1 character.
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), QStringLiteral(u"Go \u68CB \u00E6\u00A3 end \u00FF"));
    // Not UTF-8: each byte shows as its Latin-1 character.
    EXPECT_EQ(model->data(model->index(0, 1)).toString(), QString::fromLatin1("t\xE9t\xE9"));
    EXPECT_EQ(model->Text(0, 0), bytes);
    EXPECT_EQ(model->Text(0, 1), "t\xE9t\xE9");
}

TEST(ReportListModel, ReservingAnAnnouncedCountIsCapped)
{
    auto model = MakeModel();
    // A count read from a damaged collection file must not allocate for it.
    EXPECT_NO_THROW(model->Reserve(2147483647));
    EXPECT_NO_THROW(model->Reserve(-5));
    EXPECT_EQ(model->Count(), 0);
}

TEST(ByteText, DecodesOverlongAndSurrogateFormsAsSingleBytes)
{
    EXPECT_EQ(BytesToDisplayText("\xC0\xAF"), QString(QChar(0xC0)) + QChar(0xAF));
    EXPECT_EQ(BytesToDisplayText("\xED\xA0\x80"), QString(QChar(0xED)) + QChar(0xA0) + QChar(0x80));
    EXPECT_EQ(BytesToDisplayText("\xF0\x9F\x98\x80"), QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(BytesToDisplayText(std::string("a\0b", 3)), QString(QStringLiteral("a")) + QChar(0) + QChar(u'b'));
}

TEST(ReportListModel, TwoRowsWithOneKeyKeepTheirOwnSelectionThroughASort)
{
    // A path added twice from outside the collection gives two rows with one
    // key; only the sort's own permutation tells them apart.
    auto model = MakeModel();
    model->Append(MakeRow("/g/twice", "twice.sgf", "2003"));
    model->Append(MakeRow("/g/other", "other.sgf", "2002"));
    model->Append(MakeRow("/g/twice", "twice.sgf", "2001"));
    model->Flush();
    QItemSelectionModel selection(model.get());
    selection.select(model->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection.setCurrentIndex(model->index(1, 0), QItemSelectionModel::NoUpdate);

    CSortState sort;
    sort.Click(1);
    model->Sort(sort, 2);
    ASSERT_EQ(model->Row(0).cells[1], "2001");
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows().front().row(), 2) << "the selected row is the one dated 2003";
    EXPECT_EQ(selection.currentIndex().row(), 1) << "the current row is still other.sgf";
    EXPECT_EQ(model->Row(1).key, "/g/other");
}
