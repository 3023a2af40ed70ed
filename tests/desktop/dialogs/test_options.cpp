#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/dialogs/ColumnHeadersPage.h"
#include "desktop/dialogs/NewColumnDlg.h"
#include "desktop/dialogs/OptionsSheet.h"
#include "desktop/dialogs/OthersPage.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include <filesystem>
#include <functional>

namespace {
const char* const kDefaultDefinitions =
    "Game Name:GN|Date:DT|Black:PB|Black Rank:BR|White:PW|White Rank:WR|Winner:$Winner|Opponent:$Opponent";

template <class T> T& Child(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1StringView(name));
    EXPECT_NE(child, nullptr) << name;
    return *child;
}

QStringList Lines(const QListWidget& list)
{
    QStringList lines;
    for (int i = 0; i < list.count(); ++i)
        lines << list.item(i)->text();
    return lines;
}

int Selected(const QListWidget& list)
{
    const QList<QListWidgetItem*> items = list.selectedItems();
    return items.isEmpty() ? -1 : list.row(items.front());
}

void Click(QWidget& parent, const char* button)
{
    QTest::mouseClick(&Child<QPushButton>(parent, button), Qt::LeftButton);
}

void Type(QLineEdit& edit, const QString& text)
{
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, text);
}
} // namespace

class OptionsTest : public FrameTest
{
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    CVarnexView& View() { return *app->Frame()->View(); }
    CReportListCtrl& List() { return *View().ListCtrl(); }
    QSettings& Ini() { return store->Settings(); }
    QString Value(const char* key) { return Ini().value(QLatin1StringView(key)).toString(); }

    QStringList Headers()
    {
        QStringList headers;
        for (const CColumnDef& column : View().Columns())
            headers << QString::fromStdString(column.m_strHeader);
        return headers;
    }

    // Runs the Options command with script driving the open sheet; the sheet's
    // own OK and Cancel buttons decide the answer.
    void Options(const std::function<void(COptionsSheet&)>& script)
    {
        // Pushed in front: the dialogs it opens take the answers queued before it.
        prompts.dialogs.push_front([script](QDialog& dialog) {
            auto* sheet = dynamic_cast<COptionsSheet*>(&dialog);
            EXPECT_NE(sheet, nullptr);
            if (!sheet)
                return int{QDialog::Rejected};
            sheet->show();
            script(*sheet);
            const int result = sheet->result();
            sheet->hide();
            return result;
        });
        Trigger(ID_VIEW_OPTIONS);
        EXPECT_TRUE(prompts.dialogs.empty()) << "a scripted dialog was not asked for";
    }

    // Queues the answer to the next new column dialog: type both fields, press OK.
    void NextNewColumn(const QString& header, const QString& signature)
    {
        prompts.dialogs.push_back([header, signature](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Enter New Column Header"));
            Type(Child<QLineEdit>(dialog, "headerEdit"), header);
            Type(Child<QLineEdit>(dialog, "signatureEdit"), signature);
            Click(dialog, "okButton");
            return dialog.result();
        });
    }

    void StoreIndex(const char* index)
    {
        Ini().setValue(QStringLiteral("Header/Index"), QString::fromLatin1(index));
        Ini().sync();
    }

    // Two games with the current columns, the first one selected: a refill
    // loses the selection, so it tells whether the rows were rebuilt.
    void AddGamesAndSelect()
    {
        app->Doc().AddGameFile(dir.Write("games/a.sgf", "(;GM[1]GN[First]PB[Kato]PW[Sato]RE[W+R]KM[6.5])"), 0);
        app->Doc().AddGameFile(dir.Write("games/b.sgf", "(;GM[1]GN[Second]PB[Sato]PW[Ito]RE[B+3.5]KM[0.5])"), 0);
        ASSERT_EQ(View().RowCount(), 2);
        List().SelectRow(0);
        ASSERT_EQ(View().SelectedCount(), 1);
    }
    bool RowsRefilled() { return View().SelectedCount() == 0; }
};

TEST_F(OptionsTest, TheSheetOpensOnColumnHeadersWithOkAndCancelOnly)
{
    Options([](COptionsSheet& sheet) {
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Options Setup Dialog"));
        QTabWidget* tabs = sheet.Tabs();
        ASSERT_EQ(tabs->count(), 2);
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("Column Headers"));
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("Others"));
        EXPECT_EQ(tabs->currentIndex(), 0);
        auto& box = Child<QDialogButtonBox>(sheet, "optionsButtons");
        EXPECT_EQ(box.standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        EXPECT_EQ(Lines(Child<QListWidget>(sheet, "availableList")).join(QLatin1Char('|')),
                  QLatin1StringView(kDefaultDefinitions));
        EXPECT_EQ(Lines(Child<QListWidget>(sheet, "headersList")),
                  L({"Game Name", "Date", "Black", "Black Rank", "White", "White Rank", "Winner", "Opponent"}));
        EXPECT_EQ(Child<QLineEdit>(sheet, "viewerEdit").text(), QStringLiteral("Glyphon.EXE"));
        EXPECT_EQ(Child<QLineEdit>(sheet, "myNamesEdit").text(), QString());
        Click(sheet, "cancelButton");
    });
    EXPECT_EQ(prompts.asked, L({"dialog: Options Setup Dialog"}));
}

TEST_F(OptionsTest, FirstOkWithoutStoredIndexWritesTheExplicitListAndRebuilds)
{
    AddGamesAndSelect();
    Options([](COptionsSheet& sheet) { Click(sheet, "okButton"); });
    EXPECT_EQ(Value("Misc/MGT Viewer"), QStringLiteral("Glyphon.EXE"));
    EXPECT_FALSE(Ini().contains(QStringLiteral("Misc/My Names")));
    EXPECT_EQ(Value("Header/Definition"), QLatin1StringView(kDefaultDefinitions));
    EXPECT_EQ(Value("Header/Index"), QStringLiteral("0|1|2|3|4|5|6|7"));
    EXPECT_TRUE(RowsRefilled());
}

TEST_F(OptionsTest, UnchangedListsAndViewerAloneWriteOnlyTheViewer)
{
    StoreIndex("3|0");
    Restart();
    AddGamesAndSelect();
    ASSERT_EQ(Headers(), L({"Black Rank", "Game Name"}));

    // Moving a column up and back down leaves the lists as loaded.
    Options([](COptionsSheet& sheet) {
        auto& headers = Child<QListWidget>(sheet, "headersList");
        headers.setCurrentRow(1);
        Click(sheet, "upButton");
        EXPECT_EQ(Lines(headers), L({"Game Name", "Black Rank"}));
        EXPECT_EQ(Selected(headers), 0);
        Click(sheet, "downButton");
        EXPECT_EQ(Selected(headers), 1);
        Click(sheet, "okButton");
    });
    EXPECT_EQ(Value("Misc/MGT Viewer"), QStringLiteral("Glyphon.EXE"));
    EXPECT_FALSE(Ini().contains(QStringLiteral("Header/Definition")));
    EXPECT_EQ(Value("Header/Index"), QStringLiteral("3|0"));
    EXPECT_FALSE(RowsRefilled());

    Options([](COptionsSheet& sheet) {
        sheet.Tabs()->setCurrentIndex(1);
        Type(Child<QLineEdit>(sheet, "viewerEdit"), QStringLiteral("goviewer --board"));
        Click(sheet, "okButton");
    });
    EXPECT_EQ(Value("Misc/MGT Viewer"), QStringLiteral("goviewer --board"));
    EXPECT_FALSE(Ini().contains(QStringLiteral("Header/Definition")));
    EXPECT_FALSE(Ini().contains(QStringLiteral("Misc/My Names")));
    EXPECT_FALSE(RowsRefilled());
}

TEST_F(OptionsTest, AChangeOfMyNamesAloneRefillsTheDerivedCells)
{
    StoreIndex("0|7");
    Ini().setValue(QStringLiteral("Misc/My Names"), QStringLiteral("kato"));
    Restart();
    AddGamesAndSelect();

    Options([](COptionsSheet& sheet) {
        sheet.Tabs()->setCurrentIndex(1);
        Type(Child<QLineEdit>(sheet, "myNamesEdit"), QStringLiteral("Kato"));
        Click(sheet, "okButton");
    });
    EXPECT_EQ(Value("Misc/My Names"), QStringLiteral("Kato"));
    EXPECT_FALSE(Ini().contains(QStringLiteral("Header/Definition")));
    EXPECT_TRUE(RowsRefilled());
    const int first = List().FindItem((dir.path() / "games/a.sgf").string());
    ASSERT_GE(first, 0);
    EXPECT_EQ(List().GetItemText(first, 2), "Sato");
}

TEST_F(OptionsTest, CancelAfterEditsLeavesSettingsAndViewAlone)
{
    AddGamesAndSelect();
    Options([](COptionsSheet& sheet) {
        auto& available = Child<QListWidget>(sheet, "availableList");
        available.setCurrentRow(0);
        Click(sheet, "removeButton");
        sheet.Tabs()->setCurrentIndex(1);
        Type(Child<QLineEdit>(sheet, "myNamesEdit"), QStringLiteral("Me"));
        Type(Child<QLineEdit>(sheet, "viewerEdit"), QStringLiteral("other"));
        Click(sheet, "cancelButton");
    });
    EXPECT_FALSE(Ini().contains(QStringLiteral("Misc/MGT Viewer")));
    EXPECT_FALSE(Ini().contains(QStringLiteral("Misc/My Names")));
    EXPECT_FALSE(Ini().contains(QStringLiteral("Header/Definition")));
    EXPECT_FALSE(Ini().contains(QStringLiteral("Header/Index")));
    EXPECT_EQ(Headers().size(), 8);
    EXPECT_FALSE(RowsRefilled());
}

TEST_F(OptionsTest, AnAddedColumnShowsCellsFromTheEntriesAlreadyRead)
{
    StoreIndex("0|1");
    Restart();
    List().SetStyle(CReportListCtrl::kStyleDetails);
    AddGamesAndSelect();
    List().SetColumnWidth(1, 150);
    // The files are gone: the new cells can only come from what was read.
    std::filesystem::remove_all(dir.path() / "games");

    NextNewColumn(QStringLiteral("Komi"), QStringLiteral("KM"));
    Options([](COptionsSheet& sheet) {
        auto& available = Child<QListWidget>(sheet, "availableList");
        auto& headers = Child<QListWidget>(sheet, "headersList");
        available.clearSelection();
        Click(sheet, "addButton");
        ASSERT_EQ(available.count(), 9);
        EXPECT_EQ(available.item(8)->text(), QStringLiteral("Komi:KM"));
        EXPECT_EQ(Selected(available), -1);
        EXPECT_EQ(Lines(headers), L({"Game Name", "Date"}));
        available.setCurrentRow(8);
        headers.clearSelection();
        Click(sheet, "showButton");
        EXPECT_EQ(Lines(headers), L({"Game Name", "Date", "Komi"}));
        EXPECT_EQ(headers.item(2)->toolTip(), QStringLiteral("KM: a game record property"));
        Click(sheet, "okButton");
    });
    EXPECT_EQ(Value("Header/Definition"), QLatin1StringView(kDefaultDefinitions) + QStringLiteral("|Komi:KM"));
    EXPECT_EQ(Value("Header/Index"), QStringLiteral("0|1|8"));
    EXPECT_EQ(Headers(), L({"Game Name", "Date", "Komi"}));
    ASSERT_EQ(View().RowCount(), 2);
    QStringList komi;
    for (int row = 0; row < 2; ++row)
        komi << QString::fromStdString(List().GetItemText(row, 3));
    komi.sort();
    EXPECT_EQ(komi, L({"0.5", "6.5"}));
    EXPECT_EQ(List().GetColumnWidth(1), 150);
    EXPECT_EQ(List().GetColumnWidth(3), 80);
}

TEST_F(OptionsTest, RemoveOfAShownDefinitionTakesItOutOfBothListsAndRenumbers)
{
    StoreIndex("6|1|3");
    Restart();
    Options([](COptionsSheet& sheet) {
        auto& available = Child<QListWidget>(sheet, "availableList");
        auto& headers = Child<QListWidget>(sheet, "headersList");
        available.setCurrentRow(1); // Date:DT, shown second
        Click(sheet, "removeButton");
        EXPECT_EQ(Lines(headers), L({"Winner", "Black Rank"}));
        EXPECT_EQ(available.count(), 7);
        EXPECT_EQ(Selected(available), 1);
        EXPECT_EQ(available.item(1)->text(), QStringLiteral("Black:PB"));
        // Not shown: only the Available line goes.
        Click(sheet, "removeButton");
        EXPECT_EQ(Lines(headers), L({"Winner", "Black Rank"}));
        Click(sheet, "okButton");
    });
    EXPECT_EQ(Value("Header/Definition"),
              QStringLiteral("Game Name:GN|Black Rank:BR|White:PW|White Rank:WR|Winner:$Winner|Opponent:$Opponent"));
    EXPECT_EQ(Value("Header/Index"), QStringLiteral("4|1"));
    EXPECT_EQ(Headers(), L({"Winner", "Black Rank"}));
}

TEST_F(OptionsTest, MoveButtonsFollowTheSelectionsAndIgnoreCaseDuplicates)
{
    StoreIndex("0|3");
    Restart();
    Options([](COptionsSheet& sheet) {
        auto& available = Child<QListWidget>(sheet, "availableList");
        auto& headers = Child<QListWidget>(sheet, "headersList");
        // Nothing selected: every button does nothing.
        for (const char* button : {"showButton", "hideButton", "upButton", "downButton", "removeButton"})
            Click(sheet, button);
        EXPECT_EQ(Lines(headers), L({"Game Name", "Black Rank"}));
        EXPECT_EQ(available.count(), 8);

        available.setCurrentRow(1);
        headers.setCurrentRow(1);
        Click(sheet, "showButton");
        EXPECT_EQ(Lines(headers), L({"Game Name", "Date", "Black Rank"}));
        EXPECT_EQ(Selected(headers), 1);
        Click(sheet, "showButton"); // already shown
        EXPECT_EQ(headers.count(), 3);

        headers.setCurrentRow(0);
        Click(sheet, "upButton");
        EXPECT_EQ(Selected(headers), 0);
        headers.setCurrentRow(2);
        Click(sheet, "downButton");
        EXPECT_EQ(Lines(headers), L({"Game Name", "Date", "Black Rank"}));

        Click(sheet, "hideButton");
        EXPECT_EQ(Lines(headers), L({"Game Name", "Date"}));
        EXPECT_EQ(Selected(headers), -1);
        headers.setCurrentRow(0);
        Click(sheet, "hideButton");
        EXPECT_EQ(Selected(headers), 0);
        EXPECT_EQ(Lines(headers), L({"Date"}));

        Click(sheet, "cancelButton");
    });
}

TEST_F(OptionsTest, DoubleClickOnADefinitionShowsIt)
{
    StoreIndex("0");
    Restart();
    Options([](COptionsSheet& sheet) {
        auto& available = Child<QListWidget>(sheet, "availableList");
        auto& headers = Child<QListWidget>(sheet, "headersList");
        available.setCurrentRow(7);
        emit available.itemDoubleClicked(available.item(7));
        EXPECT_EQ(Lines(headers), L({"Game Name", "Opponent"}));
        EXPECT_EQ(headers.item(1)->toolTip(), QStringLiteral("$Opponent: a derived value"));
        Click(sheet, "cancelButton");
    });
}

TEST_F(OptionsTest, TheNewColumnDialogChecksInOrderAndPutsTheFocusBack)
{
    prompts.dialogs.push_back([this](QDialog& dialog) {
        auto& header = Child<QLineEdit>(dialog, "headerEdit");
        auto& signature = Child<QLineEdit>(dialog, "signatureEdit");
        dialog.show();
        auto okFails = [&](const char* message, QLineEdit& field) {
            prompts.messages.clear();
            Click(dialog, "okButton");
            EXPECT_EQ(prompts.messages, QStringList{QString::fromUtf8(message)});
            EXPECT_EQ(dialog.focusWidget(), &field);
            EXPECT_EQ(field.selectedText(), field.text());
            EXPECT_EQ(dialog.result(), int{QDialog::Rejected});
        };
        okFails("This field can not be empty!", header);
        Type(header, QStringLiteral("Game:Name"));
        okFails("This string can not have the ':' character in it.", header);
        Type(header, QStringLiteral("date"));
        okFails("The column header name \"date\" is already used.", header);
        Type(header, QStringLiteral(" Dat"));
        okFails("This field can not be empty!", signature);
        Type(signature, QStringLiteral("a:b"));
        okFails("This string can not have the ':' character in it.", signature);
        Type(signature, QStringLiteral("RE\\"));
        okFails("This string can not end with the '\\' character.", signature);
        Type(signature, QStringLiteral("XYZ"));
        prompts.messages.clear();
        Click(dialog, "okButton");
        EXPECT_TRUE(prompts.messages.isEmpty());
        return dialog.result();
    });
    // Cancel with entries that would fail closes without a message.
    prompts.dialogs.push_back([this](QDialog& dialog) {
        dialog.show();
        Type(Child<QLineEdit>(dialog, "headerEdit"), QStringLiteral("Game Name"));
        prompts.messages.clear();
        Click(dialog, "cancelButton");
        EXPECT_TRUE(prompts.messages.isEmpty());
        return dialog.result();
    });
    Options([](COptionsSheet& sheet) {
        auto& available = Child<QListWidget>(sheet, "availableList");
        available.setCurrentRow(0);
        Click(sheet, "addButton");
        // Kept as typed, in front of the selected line, and selected.
        EXPECT_EQ(available.item(0)->text(), QStringLiteral(" Dat:XYZ"));
        EXPECT_EQ(Selected(available), 0);
        Click(sheet, "addButton");
        EXPECT_EQ(available.count(), 9);
        Click(sheet, "okButton");
    });
    EXPECT_TRUE(Value("Header/Definition").startsWith(QStringLiteral(" Dat:XYZ|Game Name:GN|")));
    EXPECT_EQ(Value("Header/Index"), QStringLiteral("1|2|3|4|5|6|7|8"));
}

TEST_F(OptionsTest, TheViewerFieldStopsTypingAtTheLimitAndRefusesALongerStoredValue)
{
    const QString stored(300, QLatin1Char('v'));
    Ini().setValue(QStringLiteral("Misc/MGT Viewer"), stored);
    Restart();
    Options([this, &stored](COptionsSheet& sheet) {
        auto& viewer = Child<QLineEdit>(sheet, "viewerEdit");
        EXPECT_EQ(viewer.text(), stored);
        Click(sheet, "okButton");
        EXPECT_EQ(sheet.result(), int{QDialog::Rejected});
        EXPECT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(sheet.Tabs()->currentIndex(), 1);
        EXPECT_EQ(sheet.focusWidget(), &viewer);

        // Shortening is allowed; typing past the limit is not.
        viewer.setFocus();
        viewer.setCursorPosition(300);
        for (int i = 0; i < 46; ++i)
            QTest::keyClick(&viewer, Qt::Key_Backspace);
        EXPECT_EQ(viewer.text().size(), 254);
        QTest::keyClicks(&viewer, QStringLiteral("xyz"));
        EXPECT_EQ(viewer.text(), QString(254, QLatin1Char('v')) + QStringLiteral("x"));
        Click(sheet, "okButton");
        EXPECT_EQ(sheet.result(), int{QDialog::Accepted});
    });
    EXPECT_EQ(Value("Misc/MGT Viewer"), QString(254, QLatin1Char('v')) + QStringLiteral("x"));
}

TEST_F(OptionsTest, BrowsePutsTheChosenProgramUnquotedIntoTheViewerField)
{
    prompts.programFileName.push_back(QStringLiteral("/opt/go tools/viewer"));
    prompts.programFileName.push_back(QString());
    Options([this](COptionsSheet& sheet) {
        sheet.Tabs()->setCurrentIndex(1);
        auto& viewer = Child<QLineEdit>(sheet, "viewerEdit");
        Type(viewer, QStringLiteral("missing.exe"));
        Click(sheet, "browseButton");
        EXPECT_EQ(viewer.text(), QStringLiteral("/opt/go tools/viewer"));
        Click(sheet, "browseButton"); // cancelled
        EXPECT_EQ(viewer.text(), QStringLiteral("/opt/go tools/viewer"));
        Click(sheet, "okButton");
    });
    const QString filter = COthersPage::ProgramFilter();
    EXPECT_EQ(
        prompts.asked.mid(1, 2),
        QStringList(
            {QStringLiteral("program-file: Select an MGT Viewer Program | %1 | missing.exe").arg(filter),
             QStringLiteral("program-file: Select an MGT Viewer Program | %1 | /opt/go tools/viewer").arg(filter)}));
    EXPECT_EQ(Value("Misc/MGT Viewer"), QStringLiteral("/opt/go tools/viewer"));
}

TEST_F(OptionsTest, AddingAColumnKeepsTheRowsSortedAndTheHeaderShowsTheSort)
{
    StoreIndex("0|1");
    Restart();
    List().SetStyle(CReportListCtrl::kStyleDetails);
    for (const char* name : {"Beta", "Alpha", "Gamma", "Delta", "Epsilon"})
        app->Doc().AddGameFile(dir.Write(std::string(name) + ".sgf", std::string("(;GN[") + name + "]KM[6.5])"), 0);
    auto names = [this] {
        QStringList shown;
        for (int row = 0; row < List().GetItemCount(); ++row)
            shown << QString::fromStdString(List().GetItemText(row, 1));
        return shown;
    };
    // The direction that differs from the order a refill puts the rows in.
    QStringList refillOrder;
    app->Doc().m_mapFiles.ForEach([&](const std::string&, const CGameEntry& entry) {
        refillOrder << QString::fromStdString(std::string(*entry.m_props.Find("GN")));
    });
    View().OnHeaderClick(1);
    if (names() == refillOrder)
        View().OnHeaderClick(1);
    const QStringList sorted = names();
    ASSERT_NE(sorted, refillOrder);
    QHeaderView* header = List().DetailsView()->header();
    const Qt::SortOrder order = View().SortState().IsAscending(1) ? Qt::AscendingOrder : Qt::DescendingOrder;
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), order);

    NextNewColumn(QStringLiteral("Komi"), QStringLiteral("KM"));
    Options([](COptionsSheet& sheet) {
        auto& available = Child<QListWidget>(sheet, "availableList");
        available.clearSelection();
        Click(sheet, "addButton");
        available.setCurrentRow(available.count() - 1);
        Child<QListWidget>(sheet, "headersList").clearSelection();
        Click(sheet, "showButton");
        Click(sheet, "okButton");
    });
    ASSERT_EQ(Headers(), L({"Game Name", "Date", "Komi"}));
    EXPECT_EQ(names(), sorted);
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(header->sortIndicatorOrder(), order);
}

TEST_F(OptionsTest, TheCharsetOfRecordsThatNameNoneIsChosenOnOthersAndShowsTheRowsAnew)
{
    // 常昊 in GBK, too short for the detector.
    const std::string path = dir.Write("games/short.sgf", "(;GM[1]PB[\xB3\xA3\xEA\xBB]PW[x];B[pd])");
    ASSERT_TRUE(app->Doc().AddGameFile(path, 0));
    const int row = List().FindItem(path);
    ASSERT_GE(row, 0);
    EXPECT_EQ(List().Model().ShownText(row, 3), QString::fromLatin1("\xB3\xA3\xEA\xBB"));
    Options([](COptionsSheet& sheet) {
        sheet.Tabs()->setCurrentIndex(1);
        auto& combo = Child<QComboBox>(sheet, "charsetCombo");
        EXPECT_EQ(combo.currentText(), QStringLiteral("Automatic"));
        combo.setCurrentIndex(combo.findText(QStringLiteral("GB18030")));
        Click(sheet, "okButton");
    });
    EXPECT_EQ(Value("Misc/Charset"), QStringLiteral("GB18030"));
    EXPECT_EQ(List().Model().ShownText(List().FindItem(path), 3), QStringLiteral(u"常昊"));
    // Back to automatic: the setting empties.
    Options([](COptionsSheet& sheet) {
        sheet.Tabs()->setCurrentIndex(1);
        auto& combo = Child<QComboBox>(sheet, "charsetCombo");
        EXPECT_EQ(combo.currentText(), QStringLiteral("GB18030"));
        combo.setCurrentIndex(0);
        Click(sheet, "okButton");
    });
    EXPECT_EQ(Value("Misc/Charset"), QString());
}
