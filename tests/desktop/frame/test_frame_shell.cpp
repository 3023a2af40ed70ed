#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DocFramework.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/frame/ProgramIcon.h"
#include "desktop/toolbar/CustToolBar.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QImage>
#include <QLabel>
#include <QToolButton>

TEST_F(FrameTest, TheWindowAndTheAboutBoxCarryTheProgramIcon)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(app->Frame()->windowIcon().isNull());
    EXPECT_FALSE(ProgramIcon().pixmap(32, 32).isNull());
    EXPECT_FALSE(ProgramIcon().availableSizes().isEmpty());
}

TEST_F(FrameTest, WithoutTheFlatStyleTheBarHasRaisedButtonsAndStaysPut)
{
    store = std::make_unique<CQtSettingsStore>(SettingsPath());
    store->WriteProfileInt("Frame", "Flatbar", 0);
    ASSERT_TRUE(Start());
    CCustToolBar& bar = *app->Frame()->ToolBar();
    EXPECT_FALSE(bar.isMovable());
    EXPECT_FALSE(bar.isFloatable());
    int buttons = 0;
    for (QAction* action : bar.actions()) {
        if (auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(action))) {
            EXPECT_FALSE(button->autoRaise());
            ++buttons;
        }
    }
    EXPECT_GT(buttons, 5);
}

TEST_F(FrameTest, TheFlatBarCanBeMovedAway)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(app->Frame()->ToolBar()->isMovable());
}

TEST_F(FrameTest, CountPanesGrowToShowLargeCountsWhole)
{
    ASSERT_TRUE(Start());
    CCountStatusBar& bar = *app->Frame()->CountStatusBar();
    const int average = QFontMetrics(bar.font()).averageCharWidth();
    bar.SetCounts(3373, 100000);
    for (int pane : {0, 1}) {
        const QLabel* label = bar.Pane(pane);
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
    }
    bar.SetCounts(100000, 100000);
    EXPECT_GE(bar.Pane(0)->contentsRect().width(),
              bar.Pane(0)->fontMetrics().horizontalAdvance(QStringLiteral("100000 File(s) Selected")));
    bar.SetCounts(1, 1);
    EXPECT_EQ(bar.Pane(0)->width(), 20 * average) << "never narrower than the stored width";
}

TEST_F(FrameTest, ACollectionThatCannotBeOpenedLeavesTheOpenOneAsItWas)
{
    ASSERT_TRUE(Start());
    app->Doc().AddGameFile(Game("Kato"), 0);
    const QString saved = QString::fromStdString((dir.path() / "kept.vnx").string());
    prompts.saveFileName.push_back(saved);
    app->Router().Execute(ID_FILE_SAVE_AS);
    ASSERT_EQ(app->Framework().PathName(), saved);

    const QString missing = QString::fromStdString((dir.path() / "gone.vnx").string());
    EXPECT_FALSE(app->Framework().OpenDocumentFile(missing, false));
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Cannot open %1: No such file or directory").arg(missing)});
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 1u);
    EXPECT_EQ(app->Frame()->View()->RowCount(), 1);
    EXPECT_EQ(app->Framework().PathName(), saved);
}

TEST_F(FrameTest, TheSmallIconsAndListPicturesAreDrawnApart)
{
    ASSERT_TRUE(Start());
    const QImage small(QStringLiteral(":/toolbar/smallicons.png"));
    const QImage list(QStringLiteral(":/toolbar/list.png"));
    ASSERT_FALSE(small.isNull());
    ASSERT_EQ(small.size(), list.size());
    int differing = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            differing += small.pixel(x, y) != list.pixel(x, y) ? 1 : 0;
    EXPECT_GT(differing, small.width() * small.height() / 5);
}
