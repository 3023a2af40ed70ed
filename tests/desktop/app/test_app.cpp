#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/app/DocFramework.h"
#include "desktop/app/QtPrompts.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/app/WaitCursor.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QGuiApplication>

namespace {
const char* const kGameA = "Gu Li";
const char* const kGameB = "Weon Seong-jin";

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}
} // namespace

TEST_F(FrameTest, SaveOpenAndNewRoundTripWithTheUnsavedChangesQuestion)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(app->Frame()->windowTitle(), QStringLiteral("Untitled - Varnex"));
    ASSERT_TRUE(app->Doc().AddGameFile(Game(kGameA), 1));
    ASSERT_TRUE(app->Doc().AddGameFile(Game(kGameB), 0));
    ASSERT_TRUE(app->Doc().IsModified());

    // New on a modified collection asks first; Cancel keeps everything.
    prompts.saveChanges.push_back(IPrompts::EAnswer::Cancel);
    Trigger(ID_FILE_NEW);
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("save-changes: Untitled"));
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 2u);

    const QString saved = Q(dir.path() / "games.vnx");
    prompts.saveFileName.push_back(saved);
    Trigger(ID_FILE_SAVE);
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_TRUE(
        prompts.asked.back().startsWith(QStringLiteral("save-file: Save As | Varnex Files (*.vnx)|*.vnx|| | vnx")));
    EXPECT_FALSE(app->Doc().IsModified());
    EXPECT_EQ(app->Frame()->windowTitle(), QStringLiteral("games.vnx - Varnex"));
    EXPECT_EQ(app->Framework().PathName(), saved);

    // Not modified: New asks nothing and empties the list.
    const qsizetype asked = prompts.asked.size();
    Trigger(ID_FILE_NEW);
    EXPECT_EQ(prompts.asked.size(), asked);
    EXPECT_EQ(app->Frame()->View()->RowCount(), 0);
    EXPECT_EQ(app->Frame()->windowTitle(), QStringLiteral("Untitled - Varnex"));

    prompts.openFileName.push_back(saved);
    Trigger(ID_FILE_OPEN);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 2u);
    EXPECT_EQ(app->Doc().m_mapFiles.Find(Game(kGameA))->m_nFlags, 1u);
    EXPECT_FALSE(app->Doc().IsModified());
    EXPECT_EQ(app->Frame()->View()->RowCount(), 2);
    EXPECT_EQ(app->Host().BatchDepth(), 0);

    // Yes saves to the known path without a dialog, then the collection empties.
    app->Doc().RemoveGameFile(Game(kGameB));
    prompts.saveChanges.push_back(IPrompts::EAnswer::Yes);
    Trigger(ID_FILE_NEW);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 0u);
    ASSERT_TRUE(app->Framework().OpenDocumentFile(saved));
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 1u);
}

TEST_F(FrameTest, ACollectionThatCannotBeReadIsReportedAndKeepsTheOpenOne)
{
    ASSERT_TRUE(Start());
    app->Doc().AddGameFile(Game(kGameA), 0);
    const QString kept = Q(dir.path() / "kept.vnx");
    prompts.saveFileName.push_back(kept);
    Trigger(ID_FILE_SAVE_AS);
    app->Doc().AddGameFile(Game(kGameB), 0);

    // Cut after its version mark and count: a collection, but not a whole one.
    const std::string cut = dir.Write("cut.vnx", std::string("\x94\xff\xff\xff\x05\x00\x00\x00\x03", 9));
    // A game record named as a collection does not even start like one.
    const std::string game = Game("Given as a collection");
    for (const std::string& path : {cut, game}) {
        prompts.saveChanges.push_back(IPrompts::EAnswer::No);
        prompts.openFileName.push_back(QString::fromStdString(path));
        Trigger(ID_FILE_OPEN);
        EXPECT_EQ(app->Doc().m_mapFiles.size(), 2u) << path;
        EXPECT_EQ(app->Frame()->View()->RowCount(), 2) << path;
        EXPECT_TRUE(app->Doc().IsModified()) << path;
        EXPECT_EQ(app->Framework().PathName(), kept) << path;
        EXPECT_EQ(app->Frame()->windowTitle(), QStringLiteral("kept.vnx - Varnex")) << path;
    }
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("cut.vnx is not a complete collection file")))
        << prompts.messages[0].toStdString();
    EXPECT_TRUE(prompts.messages[1].contains(QStringLiteral(".sgf is not a Varnex collection file.")))
        << prompts.messages[1].toStdString();
    EXPECT_EQ(app->RecentFiles().Files(), QStringList{kept});
}

TEST_F(FrameTest, RecentFilesKeepFourNewestFirstAcrossARestart)
{
    ASSERT_TRUE(Start());
    QStringList paths;
    for (int i = 0; i < 5; ++i) {
        paths << Q(dir.path() / ("c" + std::to_string(i) + ".vnx"));
        prompts.saveFileName.push_back(paths.back());
        Trigger(ID_FILE_SAVE_AS);
    }
    // Saving the second again moves it up instead of repeating it.
    prompts.saveFileName.push_back(paths[2]);
    Trigger(ID_FILE_SAVE_AS);
    const QStringList expected{paths[2], paths[4], paths[3], paths[1]};
    EXPECT_EQ(app->RecentFiles().Files(), expected);

    ASSERT_TRUE(Restart());
    // No file named: the most recent collection is opened again.
    EXPECT_EQ(app->RecentFiles().Files(), expected);
    EXPECT_EQ(app->Framework().PathName(), paths[2]);
    app->Frame()->RefreshRecentFiles();
    RunIdle();
    EXPECT_EQ(Act(ID_FILE_MRU_FILE1)->text(), QStringLiteral("&1 ") + paths[2]);
    EXPECT_TRUE(Act(ID_FILE_MRU_FILE4)->isEnabled());
}

TEST_F(FrameTest, TheRecentFileItemIsGreyedWhileTheListIsEmpty)
{
    ASSERT_TRUE(Start());
    RunIdle();
    EXPECT_EQ(Act(ID_FILE_MRU_FILE1)->text(), QStringLiteral("Recent File"));
    EXPECT_FALSE(Act(ID_FILE_MRU_FILE1)->isEnabled());
    EXPECT_FALSE(Act(ID_FILE_MRU_FILE2)->isVisible());
}

TEST_F(FrameTest, AMostRecentCollectionThatIsGoneIsReportedAndLeavesTheList)
{
    store = std::make_unique<CQtSettingsStore>(SettingsPath());
    const std::string kept = dir.Write("kept.vnx", "");
    store->WriteProfileString("Recent File List", "File1", (dir.path() / "gone.vnx").string());
    store->WriteProfileString("Recent File List", "File2", kept);
    ASSERT_TRUE(Start());
    EXPECT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(app->RecentFiles().Files(), QStringList{QString::fromStdString(kept)});
    EXPECT_TRUE(app->Framework().PathName().isEmpty());
    EXPECT_TRUE(app->Frame()->isVisible());
}

TEST_F(FrameTest, AFileOnTheCommandLineIsOpenedInsteadOfTheMostRecentOne)
{
    store = std::make_unique<CQtSettingsStore>(SettingsPath());
    const std::filesystem::path curDir = std::filesystem::canonical(dir.path()) / "cur";
    std::filesystem::create_directories(curDir);
    const std::string recent = dir.Write("recent.vnx", "");
    store->WriteProfileString("Recent File List", "File1", recent);
    dir.Write("named.vnx", "");
    // The name is relative to the folder the program starts in, not to "cur dir".
    store->WriteProfileString("Misc", "cur dir", curDir.string());
    std::filesystem::current_path(dir.path());
    ASSERT_TRUE(Start({QStringLiteral("named.vnx")}));
    EXPECT_EQ(app->Framework().PathName(), Q(dir.path() / "named.vnx"));
    EXPECT_EQ(std::filesystem::current_path(), curDir);
}

TEST_F(FrameTest, ACommandLineFileThatCannotBeOpenedEndsTheProgram)
{
    EXPECT_FALSE(Start({Q(dir.path() / "missing.vnx")}));
    EXPECT_EQ(app->ExitCode(), 1);
    EXPECT_EQ(prompts.messages.size(), 1);
}

TEST_F(FrameTest, TheCurrentFolderIsSavedUpTo199Characters)
{
    ASSERT_TRUE(Start());
    std::filesystem::path folder = dir.path();
    while (folder.string().size() < 199) {
        const std::size_t room = 199 - folder.string().size() - 1;
        folder /= std::string(std::min<std::size_t>(room == 0 ? 1 : room, 50), 'd');
    }
    ASSERT_EQ(folder.string().size(), 199u);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    app->SaveCurrentDirectory();
    EXPECT_EQ(store->GetProfileString("Misc", "cur dir"), folder.string());

    const std::filesystem::path longer = folder / "";
    std::filesystem::create_directories(folder / "e");
    std::filesystem::current_path(folder / "e");
    ASSERT_EQ(std::filesystem::current_path().string().size(), 201u);
    app->SaveCurrentDirectory();
    EXPECT_EQ(store->GetProfileString("Misc", "cur dir"), folder.string());
}

TEST_F(FrameTest, AStoredCurrentFolderThatIsGoneIsIgnored)
{
    store = std::make_unique<CQtSettingsStore>(SettingsPath());
    store->WriteProfileString("Misc", "cur dir", (dir.path() / "nowhere").string());
    const auto before = std::filesystem::current_path();
    ASSERT_TRUE(Start());
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(FrameTest, TheAddCommandAsksForGameFilesWithItsTitleAndFilter)
{
    ASSERT_TRUE(Start());
    prompts.openFileNames.push_back({QString::fromStdString(Game(kGameA)), QString::fromStdString(Game(kGameB))});
    Trigger(ID_EDIT_ADD_FILES);
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_EQ(prompts.asked.back(),
              QStringLiteral("open-files: Add Game Files into the Collection | MGT Files (*.mgt, *.sgf)|*.mgt;*.sgf|"
                             "Glyphon Files (*.gph)|*.gph|All Files (*.*)|*.*||"));
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 2u);
    EXPECT_EQ(app->Host().BatchDepth(), 0);
}

TEST(QtPromptsFilter, TheProgramsFilterBecomesQtNameFilters)
{
    EXPECT_EQ(CQtPrompts::ToQtFilters(QStringLiteral(
                  "MGT Files (*.mgt, *.sgf)|*.mgt;*.sgf|Glyphon Files (*.gph)|*.gph|All Files (*.*)|*.*||")),
              L({"MGT Files (*.mgt, *.sgf) (*.mgt *.sgf)", "Glyphon Files (*.gph) (*.gph)", "All Files (*.*) (*)"}));
    EXPECT_TRUE(CQtPrompts::ToQtFilters(QStringLiteral("||")).isEmpty());
}

TEST_F(FrameTest, TheHostsBusyPointersNestLeaveOthersAloneAndEndWithTheHost)
{
    ASSERT_TRUE(Start());
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        CWaitCursor outer;
        {
            CDesktopDocHost host(prompts);
            // An end without a begin must not take the outer pointer away.
            host.EndWaitCursor();
            host.BeginWaitCursor();
            host.BeginWaitCursor();
            host.EndWaitCursor();
        }
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
