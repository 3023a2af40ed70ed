#include "ScriptedPrompts.h"

#include "desktop/app/CommandRouter.h"
#include "desktop/toolbar/CustToolBar.h"
#include "desktop/toolbar/ToolBarCustomizeDialog.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

namespace {
constexpr int kNew = ID_FILE_NEW;
constexpr int kOpen = ID_FILE_OPEN;
constexpr int kAdd = ID_EDIT_ADD_FILES;
constexpr int kAbout = ID_APP_ABOUT;

// Scripted prompts that also keep the icon of each message box.
class CIconPrompts : public CScriptedPrompts
{
public:
    void MessageBox(QWidget* parent, const QString& text, EIcon icon) override
    {
        CScriptedPrompts::MessageBox(parent, text, icon);
        icons.push_back(icon);
    }
    std::vector<EIcon> icons;
};

std::vector<int> ResourceCommands()
{
    return CToolBarLayout::FromResource(ToolBarResource(IDR_MAINFRAME)).Commands();
}

// Every entry the dialog can offer: the default layout, then the buttons
// that are offered but not on the bar by default.
std::vector<int> OfferedCommands()
{
    std::vector<int> commands = ResourceCommands();
    commands.push_back(ID_EDIT_ADD_FOLDER);
    commands.push_back(ID_VIEW_POSITION_SEARCH);
    return commands;
}

std::vector<int> ListCommands(const QListWidget* list)
{
    std::vector<int> commands;
    for (int i = 0; i < list->count(); ++i)
        commands.push_back(list->item(i)->data(Qt::UserRole).toInt());
    return commands;
}

void Click(QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QPushButton*>(QLatin1StringView(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

class ToolBarTest : public testing::Test
{
protected:
    void SetUp() override { MakeBar(); }
    void TearDown() override { prompts.ExpectAllUsed(); }

    // A frame with a freshly loaded bar over the same store, as at a new start.
    void MakeBar(bool flat = true)
    {
        bar = nullptr;
        frame = std::make_unique<QMainWindow>();
        bar = new CCustToolBar(router, store, prompts, frame.get());
        ASSERT_TRUE(bar->Create(flat));
        ASSERT_TRUE(bar->LoadToolBar(IDR_MAINFRAME));
        frame->addToolBar(Qt::TopToolBarArea, bar);
        frame->statusBar();
        frame->resize(640, 200);
        frame->show();
    }

    std::vector<int> BarCommands() const
    {
        std::vector<int> commands;
        for (QAction* action : bar->actions())
            commands.push_back(action->isSeparator() ? 0 : action->data().toInt());
        return commands;
    }

    std::optional<std::string> Stored() const { return store.GetProfileBinary("", "Toolbar"); }

    // Opens the dialog with the bar's Customize and runs script inside it.
    void InDialog(const std::function<void(CToolBarCustomizeDialog&)>& script)
    {
        prompts.dialogs.push_back([script](QDialog& dialog) {
            auto* customize = dynamic_cast<CToolBarCustomizeDialog*>(&dialog);
            EXPECT_NE(customize, nullptr);
            if (customize)
                script(*customize);
            return int{QDialog::Accepted};
        });
        bar->Customize();
        EXPECT_TRUE(prompts.dialogs.empty());
    }

    CCommandRouter router;
    CMemorySettingsStore store;
    CIconPrompts prompts;
    std::unique_ptr<QMainWindow> frame;
    CCustToolBar* bar = nullptr;
};
} // namespace

TEST_F(ToolBarTest, FirstStartShowsTheResourceButtonsThroughTheRoutersActions)
{
    EXPECT_EQ(BarCommands(), ResourceCommands());
    EXPECT_EQ(bar->ButtonCount(), 23) << "21 on the bar, Add Folder and Position Search offered";
    EXPECT_EQ(bar->actions().at(0), router.FindAction(kNew));
    EXPECT_FALSE(Stored().has_value()) << "nothing is written before customisation or destruction";
    for (QAction* action : bar->actions()) {
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->data().toInt();
        }
    }
    EXPECT_EQ(router.FindAction(kAdd)->toolTip(), QStringLiteral("Add"));
    EXPECT_EQ(router.FindAction(kAdd)->statusTip(), QStringLiteral("Add MGT files into the database"));
}

TEST_F(ToolBarTest, UnknownResourceFailsToLoad)
{
    CCustToolBar other(router, store, prompts);
    EXPECT_FALSE(other.LoadToolBar(129));
    EXPECT_TRUE(other.actions().isEmpty());
}

TEST_F(ToolBarTest, DialogListsEveryResourceEntryWithPictureAndToolTipText)
{
    bar->ApplyLayout(CToolBarLayout());
    InDialog([](CToolBarCustomizeDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Customize Toolbar"));
        const QListWidget* available = dialog.AvailableList();
        ASSERT_EQ(available->count(), 23);
        EXPECT_EQ(ListCommands(available), OfferedCommands());
        EXPECT_EQ(dialog.CurrentList()->count(), 0);
        for (int i = 0; i < available->count(); ++i) {
            const QListWidgetItem* item = available->item(i);
            const int command = item->data(Qt::UserRole).toInt();
            if (command == 0) {
                EXPECT_EQ(item->text(), QStringLiteral("Separator"));
                continue;
            }
            EXPECT_FALSE(item->icon().isNull()) << command;
            const bool noTip = command == ID_FILE_NEW || command == ID_FILE_OPEN || command == ID_FILE_SAVE ||
                               command == ID_FILE_SAVE_AS || command == ID_APP_ABOUT;
            EXPECT_EQ(item->text().isEmpty(), noTip) << command;
        }
        EXPECT_EQ(available->item(5)->text(), QStringLiteral("Add"));
        EXPECT_EQ(available->item(18)->text(), QStringLiteral("Line Up"));
    });
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("dialog: Customize Toolbar")});
}

TEST_F(ToolBarTest, OpeningTheDialogStoresTheLayoutShownThen)
{
    bar->ApplyLayout(CToolBarLayout({kAbout, 0, kNew}));
    InDialog([this](CToolBarCustomizeDialog&) { EXPECT_EQ(Stored(), CToolBarLayout({kAbout, 0, kNew}).Encode()); });
}

TEST_F(ToolBarTest, DialogButtonsChangeTheBarAtOnce)
{
    InDialog([this](CToolBarCustomizeDialog& dialog) {
        QListWidget* current = dialog.CurrentList();
        QListWidget* available = dialog.AvailableList();
        EXPECT_EQ(ListCommands(available), (std::vector<int>{0, 0, 0, 0, ID_EDIT_ADD_FOLDER, ID_VIEW_POSITION_SEARCH}));

        // Remove New and Open.
        current->setCurrentRow(0);
        Click(dialog, "removeButton");
        Click(dialog, "removeButton");
        EXPECT_EQ(BarCommands().front(), ID_FILE_SAVE);
        EXPECT_EQ(ListCommands(available),
                  (std::vector<int>{kNew, kOpen, 0, 0, 0, 0, ID_EDIT_ADD_FOLDER, ID_VIEW_POSITION_SEARCH}));

        // Open goes back in before Save As (now row 1).
        current->setCurrentRow(1);
        available->setCurrentRow(1);
        Click(dialog, "addButton");
        const std::vector<int> afterAdd = BarCommands();
        EXPECT_EQ((std::vector<int>(afterAdd.begin(), afterAdd.begin() + 4)),
                  (std::vector<int>{ID_FILE_SAVE, kOpen, ID_FILE_SAVE_AS, 0}));
        EXPECT_EQ(current->currentRow(), 2) << "the bar button chosen stays chosen";

        // Move Open to the front, then the last button one place up.
        current->setCurrentRow(1);
        Click(dialog, "upButton");
        EXPECT_EQ(BarCommands().front(), kOpen);
        EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("upButton"))->isEnabled());
        Click(dialog, "downButton");
        EXPECT_EQ(BarCommands()[1], kOpen);

        current->setCurrentRow(current->count() - 1);
        EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("downButton"))->isEnabled());
        Click(dialog, "upButton");
        const std::vector<int> shown = BarCommands();
        EXPECT_EQ((std::vector<int>(shown.end() - 2, shown.end())), (std::vector<int>{kAbout, 0}));

        // A separator stays available after it was added.
        current->clearSelection();
        current->setCurrentRow(-1);
        available->setCurrentRow(available->count() - 3);
        Click(dialog, "addButton");
        EXPECT_EQ(BarCommands().back(), 0);
        EXPECT_EQ(ListCommands(current), BarCommands());
    });
}

TEST_F(ToolBarTest, ResetGoesBackToTheLayoutAtOpeningNotTheResources)
{
    const CToolBarLayout before({kAbout, 0, kAdd, kNew});
    bar->ApplyLayout(before);
    InDialog([&](CToolBarCustomizeDialog& dialog) {
        dialog.CurrentList()->setCurrentRow(0);
        Click(dialog, "removeButton");
        Click(dialog, "removeButton");
        dialog.AvailableList()->setCurrentRow(0);
        Click(dialog, "addButton");
        EXPECT_NE(bar->CurrentLayout(), before);
        Click(dialog, "resetButton");
        EXPECT_EQ(bar->CurrentLayout(), before);
        EXPECT_EQ(ListCommands(dialog.CurrentList()), before.Commands());
        EXPECT_EQ(dialog.AvailableList()->count(), 23 - 3);
    });
    EXPECT_EQ(BarCommands(), before.Commands());
}

TEST_F(ToolBarTest, HelpSaysHelpsAreNotAvailableWithoutAnIcon)
{
    InDialog([](CToolBarCustomizeDialog& dialog) { Click(dialog, "helpButton"); });
    ASSERT_EQ(prompts.messages, QStringList{QStringLiteral("Helps are not available.")});
    EXPECT_EQ(prompts.icons, std::vector<IPrompts::EIcon>{IPrompts::EIcon::None});
}

TEST_F(ToolBarTest, CloseEndsTheDialogAndKeepsTheChanges)
{
    InDialog([](CToolBarCustomizeDialog& dialog) {
        dialog.CurrentList()->setCurrentRow(0);
        Click(dialog, "removeButton");
        Click(dialog, "closeButton");
        EXPECT_EQ(dialog.result(), int{QDialog::Accepted});
    });
    EXPECT_EQ(BarCommands().front(), kOpen);
}

TEST_F(ToolBarTest, LayoutSurvivesARestartWithTheSameStore)
{
    const CToolBarLayout chosen({kAdd, 0, 0, kAbout, kNew});
    bar->ApplyLayout(chosen);
    frame.reset();
    EXPECT_EQ(Stored(), chosen.Encode()) << "the bar stores its layout when it is destroyed";
    MakeBar();
    EXPECT_EQ(BarCommands(), chosen.Commands());
}

TEST_F(ToolBarTest, EmptyBarStaysEmptyAfterARestartAndStillOffersEverything)
{
    InDialog([](CToolBarCustomizeDialog& dialog) {
        dialog.CurrentList()->setCurrentRow(0);
        while (dialog.CurrentList()->count() > 0)
            Click(dialog, "removeButton");
        EXPECT_EQ(dialog.AvailableList()->count(), 23);
        EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("removeButton"))->isEnabled());
    });
    frame.reset();
    MakeBar();
    EXPECT_TRUE(bar->actions().isEmpty());
    InDialog([](CToolBarCustomizeDialog& dialog) { EXPECT_EQ(dialog.AvailableList()->count(), 23); });
}

TEST_F(ToolBarTest, StoredValuesThatDoNotFitTheBarAreIgnored)
{
    const std::string bad[] = {
        std::string("\x05\x00\x00", 3),
        std::string("\xFF\xFF\xFF\x7F", 4) + std::string(8, '\0'),
        CToolBarLayout({kNew, ID_VIEW_OPTIONS}).Encode(),
        CToolBarLayout({kNew, kNew}).Encode(),
    };
    for (const std::string& bytes : bad) {
        store.WriteProfileBinary("", "Toolbar", bytes);
        frame.reset();
        // The destroyed bar wrote its own layout over the value; put it back.
        store.WriteProfileBinary("", "Toolbar", bytes);
        MakeBar();
        EXPECT_EQ(BarCommands(), ResourceCommands());
    }
}

TEST_F(ToolBarTest, ApplyingLayoutsAgainAndAgainReusesSeparators)
{
    // The resource layout already made four separators.
    const auto ownActions = [this] { return bar->findChildren<QAction*>(Qt::FindDirectChildrenOnly).size(); };
    const auto before = ownActions();
    for (int i = 0; i < 5; ++i)
        bar->ApplyLayout(CToolBarLayout({0, kNew, 0, 0}));
    EXPECT_EQ(ownActions(), before);
    for (int i = 0; i < 5; ++i)
        bar->ApplyLayout(CToolBarLayout({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ownActions(), before + 2);
    EXPECT_EQ(BarCommands(), std::vector<int>(6, 0));
}

TEST_F(ToolBarTest, ContextMenuOffersCustomizeEnabledWithItsPrompt)
{
    QMenu* menu = bar->CreateContextMenu();
    ASSERT_EQ(menu->actions().size(), 1);
    QAction* item = menu->actions().front();
    EXPECT_EQ(item->text(), QStringLiteral("&Customize..."));
    EXPECT_TRUE(item->isEnabled());
    EXPECT_EQ(item->data().toInt(), 500);
    EXPECT_EQ(router.FindAction(500), nullptr) << "the item is the bar's own, not a routed command";

    emit menu->hovered(item);
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("Customize the toolbar buttons."));
    prompts.dialogs.push_back([](QDialog&) { return int{QDialog::Rejected}; });
    item->trigger();
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("dialog: Customize Toolbar")});
}

TEST_F(ToolBarTest, RightClickOnTheBarRunsTheMenuAndItsItemOpensTheDialog)
{
    bool sawMenu = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        sawMenu = true;
        QAction* item = menu->actions().value(0);
        menu->setActiveAction(item);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint inside(bar->width() - 5, bar->height() / 2);
    prompts.dialogs.push_back([](QDialog&) { return int{QDialog::Rejected}; });
    QContextMenuEvent event(QContextMenuEvent::Mouse, inside, bar->mapToGlobal(inside));
    QApplication::sendEvent(bar, &event);
    EXPECT_TRUE(sawMenu);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("dialog: Customize Toolbar")});
}

TEST_F(ToolBarTest, ShiftDoubleClickOpensTheDialogAndAPlainOneDoesNot)
{
    bar->ApplyLayout(CToolBarLayout({kNew}));
    const QPoint empty(bar->width() - 5, bar->height() / 2);
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_TRUE(prompts.asked.isEmpty());
    prompts.dialogs.push_back([](QDialog&) { return int{QDialog::Rejected}; });
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::ShiftModifier, empty);
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("dialog: Customize Toolbar")});
}

TEST_F(ToolBarTest, FlatBarHasFlatButtonsAndAGripperRaisedBarHasNeither)
{
    EXPECT_TRUE(bar->IsFlat());
    EXPECT_TRUE(bar->isMovable());
    auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(router.FindAction(kAdd)));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->autoRaise());

    frame.reset();
    MakeBar(false);
    EXPECT_FALSE(bar->IsFlat());
    EXPECT_FALSE(bar->isMovable());
    for (QAction* action : bar->actions()) {
        if (auto* raised = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
            EXPECT_FALSE(raised->autoRaise());
        }
    }
    // Buttons added later by customisation follow the same style.
    bar->ApplyLayout(CToolBarLayout({kAbout}));
    EXPECT_FALSE(qobject_cast<QToolButton*>(bar->widgetForAction(router.FindAction(kAbout)))->autoRaise());
}

TEST_F(ToolBarTest, ButtonsWithoutToolTipTextShowNoToolTip)
{
    auto* newButton = qobject_cast<QToolButton*>(bar->widgetForAction(router.FindAction(kNew)));
    auto* addButton = qobject_cast<QToolButton*>(bar->widgetForAction(router.FindAction(kAdd)));
    ASSERT_TRUE(newButton && addButton);
    router.FindAction(kNew)->setText(QStringLiteral("&New"));
    QHelpEvent newTip(QEvent::ToolTip, QPoint(2, 2), newButton->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(newButton, &newTip);
    EXPECT_TRUE(QToolTip::text().isEmpty());
    QHelpEvent addTip(QEvent::ToolTip, QPoint(2, 2), addButton->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(addButton, &addTip);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Add"));
    QToolTip::hideText();
}

TEST_F(ToolBarTest, BarThatWasNeverLoadedLeavesTheStoredLayoutAlone)
{
    const std::string stored = CToolBarLayout({kAbout}).Encode();
    store.WriteProfileBinary("", "Toolbar", stored);
    {
        CCustToolBar unloaded(router, store, prompts);
        unloaded.Create(true);
    }
    EXPECT_EQ(Stored(), stored);
}

TEST_F(ToolBarTest, LayoutIsStoredWholeEvenWhenTheActionsAreGoneFirst)
{
    const CToolBarLayout chosen({kAdd, 0, kAbout});
    {
        auto ownRouter = std::make_unique<CCommandRouter>();
        QMainWindow window;
        auto* ownBar = new CCustToolBar(*ownRouter, store, prompts, &window);
        ASSERT_TRUE(ownBar->LoadToolBar(IDR_MAINFRAME));
        ownBar->ApplyLayout(chosen);
        ownRouter.reset();
        EXPECT_EQ(ownBar->actions().size(), 1) << "only the separator is left on the bar";
    }
    EXPECT_EQ(Stored(), chosen.Encode());
}
