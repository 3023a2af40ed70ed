#include "FrameFixture.h"

#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DocFramework.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

#include <filesystem>

namespace {

std::string U32(std::uint32_t v)
{
    std::string out;
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    return out;
}

std::string Record(const std::string& path, std::uint32_t flags)
{
    std::string out;
    AppendCollectionString(out, path);
    return out + U32(flags);
}

} // namespace

TEST_F(FrameTest, GameFilesThatAreAwayAreNamedKeptAndRemovedOnlyOnRequest)
{
    ASSERT_TRUE(Start());
    const std::string here = Game("here");
    const std::string away = (dir.path() / "games" / "away.sgf").string();
    const std::string bytes = U32(0xFFFFFF94) + U32(2) + Record(away, 1) + Record(here, 0);
    const QString file = QString::fromStdString(dir.Write("c.vnx", bytes));

    ASSERT_TRUE(app->Framework().OpenDocumentFile(file));
    EXPECT_EQ(app->Frame()->View()->RowCount(), 1);
    EXPECT_EQ(app->Frame()->CountStatusBar()->NoticePane()->text(), QStringLiteral("1 game file could not be read"));
    app->Router().UpdateAll();
    ASSERT_TRUE(Act(ID_EDIT_REMOVE_MISSING)->isEnabled());

    // Saved without the file in place, the collection still names it.
    app->Router().Execute(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(file.toStdString()), U32(0xFFFFFF94) + U32(2) + Record(here, 0) + Record(away, 1));

    app->Router().Execute(ID_EDIT_REMOVE_MISSING);
    EXPECT_TRUE(app->Doc().IsModified());
    app->Router().UpdateAll();
    EXPECT_FALSE(Act(ID_EDIT_REMOVE_MISSING)->isEnabled());
    app->Router().Execute(ID_FILE_SAVE);
    EXPECT_EQ(ReadFileBytes(file.toStdString()), U32(0xFFFFFF94) + U32(1) + Record(here, 0));
}

TEST_F(FrameTest, TheFiltersCountAndTheFilesThatCouldNotBeReadAreShownTogether)
{
    ASSERT_TRUE(Start());
    const std::string kim = Game("kim");
    const std::string lee = Game("lee");
    std::string bytes = U32(0xFFFFFF94) + U32(5) + Record(kim, 0) + Record(lee, 0);
    for (const char* name : {"away1.sgf", "away2.sgf", "away3.sgf"})
        bytes += Record((dir.path() / "games" / name).string(), 0);
    const QString file = QString::fromStdString(dir.Write("c.vnx", bytes));
    ASSERT_TRUE(app->Framework().OpenDocumentFile(file));
    CCountStatusBar& bar = *app->Frame()->CountStatusBar();
    EXPECT_EQ(bar.NoticePane()->text(), QStringLiteral("3 game files could not be read"));

    Trigger(ID_EDIT_FIND);
    QTest::keyClicks(app->Frame()->View()->FilterBar()->Field(), QStringLiteral("kim"));
    RunIdle();
    EXPECT_TRUE(bar.MessagePane()->isVisible());
    EXPECT_EQ(bar.MessagePane()->text(), QStringLiteral("1 of 2 File(s) shown"));
    EXPECT_TRUE(bar.NoticePane()->isVisible());
    EXPECT_EQ(bar.NoticePane()->text(), QStringLiteral("3 game files could not be read"));

    // The next command prompt takes the notice's place, as any message does.
    app->Frame()->statusBar()->showMessage(QStringLiteral("a command prompt"));
    app->Frame()->statusBar()->clearMessage();
    EXPECT_TRUE(bar.NoticePane()->isHidden());
    EXPECT_TRUE(bar.MessagePane()->isVisible());
}

TEST_F(FrameTest, AFileOfAnotherKindIsNeitherOpenedNorOverwritten)
{
    ASSERT_TRUE(Start());
    std::string other(1000, 'x');
    // A negative first value and a negative count: taken for an empty collection once.
    other.replace(0, 8, U32(0xFFFFFF00) + U32(0xFFFFFFF0));
    const std::string path = dir.Write("other.vnx", other);
    EXPECT_FALSE(app->Framework().OpenDocumentFile(QString::fromStdString(path)));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("not a Varnex collection file")));
    EXPECT_EQ(app->Framework().PathName(), QString());
    EXPECT_EQ(ReadFileBytes(path), other);
}
