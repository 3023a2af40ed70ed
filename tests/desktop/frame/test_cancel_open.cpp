#include "FrameFixture.h"

#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/app/DocFramework.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

std::string U32(std::uint32_t v)
{
    std::string out;
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    return out;
}

// Calls back on every game file added.
struct CAddedProbe : IDocView
{
    int added = 0;
    std::function<void(int)> onAdded;
    void OnUpdate(int hint, const CHintPayload&) override
    {
        if (hint == hintFileAdded && onAdded)
            onAdded(++added);
    }
};

} // namespace

class CancelOpenTest : public FrameTest
{
protected:
    // A collection file of the given records, in this order, each with its
    // own flags word so a record that comes back can be told from a new one.
    QString WriteCollection(const std::vector<std::string>& paths)
    {
        std::string bytes = U32(0xFFFFFF94) + U32(static_cast<std::uint32_t>(paths.size()));
        for (std::size_t i = 0; i < paths.size(); ++i) {
            AppendCollectionString(bytes, paths[i]);
            bytes += U32(FlagsOf(i));
        }
        return QString::fromStdString(dir.Write("stored.vnx", bytes));
    }
    static std::uint32_t FlagsOf(std::size_t i) { return i % 2 == 0 ? 1u : 0u; }

    std::vector<std::string> Games(int n)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i)
            paths.push_back(Game(("g" + std::to_string(i)).c_str()));
        return paths;
    }

    void Open(const QString& file)
    {
        prompts.openFileName.push_back(file);
        Trigger(ID_FILE_OPEN);
    }

    CCountStatusBar& Bar() const { return *app->Frame()->CountStatusBar(); }
    QString MessageText() const { return Bar().MessagePane()->text(); }

    // The unread records as (path, flags), in their order.
    std::vector<std::pair<std::string, std::uint32_t>> Unread() const
    {
        std::vector<std::pair<std::string, std::uint32_t>> out;
        for (const CUnreadEntry& entry : app->Doc().m_unread)
            out.emplace_back(entry.path, entry.flags);
        return out;
    }
};

TEST_F(CancelOpenTest, CancelWhileOpeningKeepsTheRowsReadAndTheRestUnreadSoASaveLosesNothing)
{
    const std::vector<std::string> games = Games(7);
    const QString file = WriteCollection(games);
    ASSERT_TRUE(Start());

    bool shownAtFirst = false;
    int progressMaximum = 0;
    CAddedProbe probe;
    probe.onAdded = [&](int added) {
        if (added == 1) {
            shownAtFirst = Bar().CancelButton()->isVisibleTo(&Bar()) && Bar().ProgressBar()->isVisibleTo(&Bar());
            progressMaximum = Bar().ProgressBar()->maximum();
        }
        if (added == 3)
            Bar().CancelButton()->click();
    };
    app->Doc().AddView(&probe);
    Open(file);
    app->Doc().RemoveView(&probe);

    EXPECT_TRUE(shownAtFirst);
    EXPECT_EQ(progressMaximum, 7);
    // The file in hand when Cancel was pressed is the last one read.
    EXPECT_EQ(app->Frame()->View()->RowCount(), 3);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 3u);
    EXPECT_EQ(Unread(),
              (std::vector<std::pair<std::string, std::uint32_t>>{
                  {games[3], FlagsOf(3)}, {games[4], FlagsOf(4)}, {games[5], FlagsOf(5)}, {games[6], FlagsOf(6)}}));
    EXPECT_EQ(MessageText(), QStringLiteral("Stopped after 3 of 7 files"));
    EXPECT_TRUE(Bar().CancelButton()->isHidden());
    EXPECT_TRUE(Bar().ProgressBar()->isHidden());
    EXPECT_FALSE(app->Doc().IsModified());
    EXPECT_EQ(app->Framework().PathName(), file);
    EXPECT_EQ(app->Host().BatchDepth(), 0);
    EXPECT_FALSE(app->Host().StopRequested());

    // Saved and opened again, every record is there with its flags.
    app->Router().Execute(ID_FILE_SAVE);
    Open(file);
    EXPECT_EQ(app->Frame()->View()->RowCount(), 7);
    EXPECT_TRUE(app->Doc().m_unread.empty());
    for (std::size_t i = 0; i < games.size(); ++i) {
        const CGameEntry* entry = app->Doc().m_mapFiles.Find(games[i]);
        ASSERT_NE(entry, nullptr) << games[i];
        EXPECT_EQ(entry->m_nFlags, FlagsOf(i)) << games[i];
    }
    EXPECT_EQ(MessageText(), Bar().IdleText());
}

TEST_F(CancelOpenTest, EscWhileOpeningStopsTooAndNamesOnlyTheFilesThatFailed)
{
    std::vector<std::string> games = Games(5);
    const std::string away = (dir.path() / "games" / "away.sgf").string();
    games.insert(games.begin() + 1, away);
    const QString file = WriteCollection(games);
    ASSERT_TRUE(Start());
    app->Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app->Frame()));

    bool stopSeen = false;
    CAddedProbe probe;
    probe.onAdded = [&](int added) {
        if (added != 2)
            return;
        stopSeen = PressEscUntilStopAsked();
    };
    app->Doc().AddView(&probe);
    Open(file);
    app->Doc().RemoveView(&probe);

    ASSERT_TRUE(stopSeen);
    // g0, away (unreadable), g1 read; g2..g4 not read.
    EXPECT_EQ(app->Frame()->View()->RowCount(), 2);
    EXPECT_EQ(Unread(),
              (std::vector<std::pair<std::string, std::uint32_t>>{
                  {away, FlagsOf(1)}, {games[3], FlagsOf(3)}, {games[4], FlagsOf(4)}, {games[5], FlagsOf(5)}}));
    EXPECT_EQ(MessageText(), QStringLiteral("Stopped after 3 of 6 files; 1 game file could not be read"));
    EXPECT_FALSE(app->Doc().IsModified());

    // Saved and opened again, only the file that is away stays unread.
    app->Router().Execute(ID_FILE_SAVE);
    Open(file);
    EXPECT_EQ(app->Frame()->View()->RowCount(), 5);
    EXPECT_EQ(Unread(), (std::vector<std::pair<std::string, std::uint32_t>>{{away, FlagsOf(1)}}));
}
