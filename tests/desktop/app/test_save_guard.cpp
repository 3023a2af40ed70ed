#include "CliRunner.h"
#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DocFramework.h"
#include "files/CollectionLock.h"
#include "settings/StringTable.h"

#include <sys/stat.h>

namespace {

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

QString Text(int id, const QString& path)
{
    return QString::asprintf(LoadResString(id).c_str(), path.toUtf8().constData());
}

} // namespace

TEST_F(FrameTest, SaveAsksBeforeOverwritingWhatAnotherProgramWroteMeanwhile)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->Doc().AddGameFile(Game("Cho"), 0));
    const auto file = dir.path() / "games.vnx";
    prompts.saveFileName.push_back(Q(file));
    Trigger(ID_FILE_SAVE);
    ASSERT_EQ(app->Framework().PathName(), Q(file));

    // The command-line tool adds a game while the window has the file open.
    const auto config = dir.path() / "config";
    std::filesystem::create_directories(config);
    const CCliResult added = RunCli({"add", file.string(), Game("Lee")}, dir.path(), config);
    ASSERT_EQ(added.exitCode, 0) << added.err;
    const std::string theirs = ReadFileBytes(file);
    ASSERT_TRUE(app->Doc().AddGameFile(Game("Park"), 0));

    // No saves nothing and keeps the changes; Save As is still there.
    prompts.yesNo.push_back(IPrompts::EAnswer::No);
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(prompts.asked.back(), QStringLiteral("yes-no: ") + Text(IDS_CHANGED_ON_DISK, Q(file)));
    EXPECT_EQ(ReadFileBytes(file), theirs);
    EXPECT_TRUE(app->Doc().IsModified());

    const auto copy = dir.path() / "copy.vnx";
    prompts.saveFileName.push_back(Q(copy));
    Trigger(ID_FILE_SAVE_AS);
    EXPECT_TRUE(std::filesystem::exists(copy));
    prompts.saveFileName.push_back(Q(file));
    Trigger(ID_FILE_SAVE_AS);
    ASSERT_EQ(app->Framework().PathName(), Q(file)) << "the dialog confirmed the replacement";
    ASSERT_TRUE(app->Doc().AddGameFile(Game("Choi"), 0));
    ASSERT_EQ(RunCli({"add", file.string(), Game("Lee")}, dir.path(), config).exitCode, 0);

    // Closing with unsaved changes asks the same; No keeps the window open.
    const std::string theirsAgain = ReadFileBytes(file);
    prompts.saveChanges.push_back(IPrompts::EAnswer::Yes);
    prompts.yesNo.push_back(IPrompts::EAnswer::No);
    EXPECT_FALSE(app->Framework().CanCloseFrame());
    EXPECT_EQ(ReadFileBytes(file), theirsAgain);

    // Yes overwrites; the next Save asks nothing.
    prompts.yesNo.push_back(IPrompts::EAnswer::Yes);
    Trigger(ID_FILE_SAVE);
    EXPECT_NE(ReadFileBytes(file), theirsAgain);
    EXPECT_FALSE(app->Doc().IsModified());
    const qsizetype asked = prompts.asked.size();
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(prompts.asked.size(), asked);
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 3u);
}

TEST_F(FrameTest, ASaveWhileAnotherProgramHoldsTheCollectionSavesNothing)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->Doc().AddGameFile(Game("Cho"), 0));
    const auto file = dir.path() / "games.vnx";
    prompts.saveFileName.push_back(Q(file));
    Trigger(ID_FILE_SAVE);
    const std::string before = ReadFileBytes(file);
    ASSERT_TRUE(app->Doc().AddGameFile(Game("Lee"), 0));

    CCollectionLock other(file.string());
    ASSERT_EQ(other.TryLock(), CCollectionLock::EState::Locked);
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(prompts.messages, QStringList{Text(IDS_COLLECTION_IN_USE, Q(file))});
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_TRUE(app->Doc().IsModified());
}

TEST_F(FrameTest, APipeIsNeitherOpenedNorReplacedAndNothingWaitsForIt)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(app->Doc().AddGameFile(Game("Cho"), 0));
    const auto fifo = dir.path() / "pipe.vnx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    prompts.saveFileName.push_back(Q(fifo));
    Trigger(ID_FILE_SAVE_AS);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("not a regular file")))
        << prompts.messages[0].toStdString();
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(app->Doc().IsModified());

    EXPECT_FALSE(app->Framework().OpenDocumentFile(Q(fifo), false));
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[1].contains(QStringLiteral("not a regular file")))
        << prompts.messages[1].toStdString();
    EXPECT_EQ(app->Doc().m_mapFiles.size(), 1u);
}
