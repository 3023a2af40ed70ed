#include "TestSupport.h"
#include "ViewFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/ProgramStart.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"
#include "desktop/view/ViewerLaunch.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <sstream>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// Scripted prompts that start programs for real.
class CRealStartPrompts : public CScriptedPrompts
{
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) override
    {
        CScriptedPrompts::StartDetached(program, arguments);
        return StartDetachedProgram(program, arguments);
    }
};

// A viewer that writes the arguments it got, NUL after each, into one file
// per start in its record folder.
class CRecordingViewer
{
public:
    explicit CRecordingViewer(const fs::path& folder, const std::string& viewerFolder = "my viewer")
        : m_records(folder / "records")
    {
        fs::create_directories(m_records);
        fs::create_directories(folder / viewerFolder);
        m_script = folder / viewerFolder / "record.sh";
        std::ofstream(m_script) << "#!/bin/sh\n"
                                   "d='"
                                << m_records.string()
                                << "'\n"
                                   "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$d/.$$\" && "
                                   "mv \"$d/.$$\" \"$d/call.$$\"\n";
        fs::permissions(m_script, fs::perms::owner_all);
    }
    // The setting as a user would type it: quoted, since the folder has a blank.
    std::string Setting(const std::string& extra = {}) const { return '"' + m_script.string() + '"' + extra; }
    // The script's path as the file system has it, as Browse gives it.
    std::string Path() const { return m_script.string(); }
    // The argument lists of count starts, waited for (the viewer runs detached).
    std::multiset<std::vector<std::string>> WaitForCalls(std::size_t count) const
    {
        QDeadlineTimer deadline(20000);
        std::multiset<std::vector<std::string>> calls;
        while (!deadline.hasExpired()) {
            calls.clear();
            for (const fs::directory_entry& entry : fs::directory_iterator(m_records)) {
                if (entry.path().filename().string().rfind("call.", 0) != 0)
                    continue;
                const std::string bytes = ReadFileBytes(entry.path());
                std::vector<std::string> args;
                std::size_t from = 0;
                for (std::size_t nul; (nul = bytes.find('\0', from)) != std::string::npos; from = nul + 1)
                    args.push_back(bytes.substr(from, nul - from));
                calls.insert(args);
            }
            if (calls.size() >= count)
                break;
            QThread::msleep(20);
        }
        return calls;
    }

private:
    fs::path m_records;
    fs::path m_script;
};

// The fields of /proc/<pid>/stat after the command name: state, parent,
// group, session, ...; empty once the process is gone.
std::vector<std::string> ProcStat(long pid)
{
    const std::string stat = ReadFileBytes("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t name = stat.rfind(')');
    std::vector<std::string> fields;
    if (name == std::string::npos)
        return fields;
    std::istringstream in(stat.substr(name + 1));
    for (std::string field; in >> field;)
        fields.push_back(field);
    return fields;
}

bool IsZombieOrGone(long pid)
{
    const std::vector<std::string> fields = ProcStat(pid);
    return fields.empty() || fields[0] == "Z";
}

// Scripted prompts whose starts outlast the stretch a launch lets the event
// loop wait, and that queue something to run while a launch is under way.
class CSlowStartPrompts : public CScriptedPrompts
{
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) override
    {
        if (whileLaunching)
            QMetaObject::invokeMethod(QCoreApplication::instance(), std::exchange(whileLaunching, {}),
                                      Qt::QueuedConnection);
        QThread::msleep(40);
        return CScriptedPrompts::StartDetached(program, arguments);
    }
    std::function<void()> whileLaunching;
};

std::string Game(const std::string& name)
{
    return "(;GM[1]FF[4]GN[" + name + "]PB[Black]PW[White];B[aa])";
}

class ViewerLaunch : public ViewFixture
{
protected:
    std::vector<std::string> AddGames(int count)
    {
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(dir.Write("g" + std::to_string(i) + ".sgf", Game("G" + std::to_string(i))));
            EXPECT_TRUE(doc.AddGameFile(paths.back(), 0));
        }
        doc.SetModifiedFlag(false);
        return paths;
    }
    bool Enabled(int id)
    {
        CCmdUI ui;
        EXPECT_TRUE(view->OnUpdateCommand(id, ui));
        return ui.m_enabled;
    }
    std::uint32_t Flags(const std::string& path) { return doc.m_mapFiles.Find(path)->m_nFlags; }
    // A view over the same document whose starts are real.
    void UseRealStarts()
    {
        CloseView();
        view = std::make_unique<CVarnexView>(doc, store, real);
        ASSERT_TRUE(view->Create());
        doc.AddView(view.get());
    }

    // Starts programs for real, for the tests that make a view over it.
    CRealStartPrompts real;
};

} // namespace

TEST(ViewerCommand, SplitsTheSettingLikeAShellAndAppendsThePathUnchanged)
{
    const std::string path = "/g/a \"b\" $(rm -rf x) 'c'.sgf";
    const auto quoted = BuildViewerCommand("\"/opt/go viewer/view\" --fullscreen ", path);
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->program, "/opt/go viewer/view");
    EXPECT_EQ(quoted->arguments, (std::vector<std::string>{"--fullscreen", path}));

    const auto single = BuildViewerCommand("rec.sh --opt 'single quoted' two\\ words", path);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->program, "rec.sh");
    EXPECT_EQ(single->arguments, (std::vector<std::string>{"--opt", "single quoted", "two words", path}));

    const auto bare = BuildViewerCommand("Glyphon.EXE", "-x.sgf");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->program, "Glyphon.EXE");
    EXPECT_EQ(bare->arguments, std::vector<std::string>{"-x.sgf"});

    EXPECT_FALSE(BuildViewerCommand("   ", path));
    EXPECT_FALSE(BuildViewerCommand("\"\"", path));
}

TEST(ViewerCommand, ASettingNamingARunnableFileWholeIsThatProgramAlone)
{
    CTempDir dir;
    fs::create_directories(dir.path() / "My Viewer");
    const std::string program = dir.Write("My Viewer/view --board", "#!/bin/sh\n");
    const std::string plain = dir.Write("My Viewer/plain file", "text\n");
    fs::permissions(program, fs::perms::owner_all);
    const auto whole = BuildViewerCommand(program, "/g/a.sgf");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->program, program);
    EXPECT_EQ(whole->arguments, std::vector<std::string>{"/g/a.sgf"});

    // Not runnable, or not there: split as always.
    const auto notRunnable = BuildViewerCommand(plain, "/g/a.sgf");
    ASSERT_TRUE(notRunnable);
    EXPECT_EQ(notRunnable->program, (dir.path() / "My").string());
    const auto folder = BuildViewerCommand((dir.path() / "My Viewer").string(), "/g/a.sgf");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->program, (dir.path() / "My").string());
}

TEST(ProgramStart, OnlyAProgramThatReallyStartsCountsAsStarted)
{
    CTempDir dir;
    const std::string plain = dir.Write("not-executable.sh", "#!/bin/sh\n");
    EXPECT_FALSE(StartDetachedProgram((dir.path() / "missing").string(), {}));
    EXPECT_FALSE(StartDetachedProgram(plain, {}));
    EXPECT_FALSE(StartDetachedProgram(dir.path().string(), {}));
    EXPECT_FALSE(StartDetachedProgram("", {}));
    EXPECT_FALSE(StartDetachedProgram("no-such-program-anywhere-on-the-path", {"\xff"}));
    EXPECT_TRUE(StartDetachedProgram("true", {}));
    EXPECT_TRUE(StartDetachedProgram("true", {"\xff\xfe"}));
}

TEST(ProgramStart, AStartedProgramRunsOnItsOwnAndIsReapedWhileQtKeepsItsChildren)
{
    CTempDir dir;
    const fs::path script = dir.path() / "tell.sh";
    const fs::path info = dir.path() / "info";
    std::ofstream(script) << "#!/bin/sh\ncat /proc/$$/stat /proc/$$/status > '" << info.string() << ".part' && mv '"
                          << info.string() << ".part' '" << info.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all);

    // A child of Qt's own that has ended and waits for Qt to collect it.
    QProcess qtChild;
    qtChild.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")});
    ASSERT_TRUE(qtChild.waitForStarted());
    QDeadlineTimer deadline(20000);
    while (!IsZombieOrGone(qtChild.processId()) && !deadline.hasExpired())
        QThread::msleep(10);

    // A signal we ignore stays ignored across exec unless the start resets it.
    struct sigaction ignore = {};
    struct sigaction before = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGUSR1, &ignore, &before);
    const bool started = StartDetachedProgram(script.string(), {});
    sigaction(SIGUSR1, &before, nullptr);
    ASSERT_TRUE(started);
    while (!fs::exists(info) && !deadline.hasExpired())
        QThread::msleep(10);
    const std::string told = ReadFileBytes(info);
    const long pid = std::strtol(told.c_str(), nullptr, 10);
    ASSERT_GT(pid, 0) << told;
    const std::size_t ignored = told.find("SigIgn:");
    ASSERT_NE(ignored, std::string::npos);
    const unsigned long long mask = std::strtoull(told.c_str() + ignored + 7, nullptr, 16);
    EXPECT_EQ(mask & (1ull << (SIGUSR1 - 1)), 0u) << "SIGUSR1 still ignored";
    std::istringstream stat(told.substr(told.find(')') + 1));
    std::string state, parent, group, session;
    stat >> state >> parent >> group >> session;
    EXPECT_EQ(session, std::to_string(pid)) << "leads its own session";

    // Once it has ended it is collected; a zombie would stay in /proc.
    while (!ProcStat(pid).empty() && !deadline.hasExpired()) {
        ReapEndedPrograms();
        QThread::msleep(10);
    }
    EXPECT_TRUE(ProcStat(pid).empty()) << "left as a zombie";
    errno = 0;
    EXPECT_EQ(waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    ASSERT_TRUE(qtChild.waitForFinished());
    EXPECT_EQ(qtChild.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(qtChild.exitCode(), 3) << "Qt's child was taken from it";
}

TEST(ProgramStart, TheViewerGetsEachPathAsOneArgumentByteForByte)
{
    CTempDir dir;
    CRecordingViewer viewer(dir.path());
    CScriptedPrompts noPrompts;
    CRealStartPrompts prompts;
    const std::vector<std::string> paths = {"/games/with blanks/a b.sgf",
                                            "/games/\"quoted\".sgf",
                                            "/games/$(touch owned)$HOME`id`.sgf",
                                            "-leading-dash.sgf",
                                            std::string("/games/latin1-\xe9\xff.sgf"),
                                            "/games/it's;&|.sgf"};
    for (const std::string& path : paths)
        EXPECT_TRUE(StartViewer(prompts, viewer.Setting(" --fullscreen"), path)) << path;
    std::multiset<std::vector<std::string>> expected;
    for (const std::string& path : paths)
        expected.insert({"--fullscreen", path});
    EXPECT_EQ(viewer.WaitForCalls(paths.size()), expected);
    EXPECT_FALSE(fs::exists(fs::current_path() / "owned"));
}

TEST_F(ViewerLaunch, TheThreeCommandsNeedASelectedRow)
{
    AddGames(2);
    for (int id : {ID_EDIT_LAUNCH_VIEWER, ID_EDIT_MARK_VIEWED, ID_EDIT_MARK_UNVIEWED}) {
        EXPECT_TRUE(view->HasCommand(id));
        EXPECT_FALSE(Enabled(id));
    }
    List().SelectRow(1);
    for (int id : {ID_EDIT_LAUNCH_VIEWER, ID_EDIT_MARK_VIEWED, ID_EDIT_MARK_UNVIEWED})
        EXPECT_TRUE(Enabled(id));
}

TEST_F(ViewerLaunch, AMissingViewerIsTriedForEveryFileAndReportedOnce)
{
    const auto paths = AddGames(3);
    for (int r = 0; r < 3; ++r)
        List().SelectRow(r);
    prompts.startSucceeds = false;
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
#ifdef Q_OS_LINUX
    // No Linux desktop has the other platform's default: the desktop's own
    // opener takes its place.
    const std::string fallback = "xdg-open";
#else
    const std::string fallback = "Glyphon.EXE";
#endif
    ASSERT_EQ(prompts.starts.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(prompts.starts[i].program, fallback) << "the default viewer";
        EXPECT_EQ(prompts.starts[i].arguments, std::vector<std::string>{List().GetItemKey(static_cast<int>(i))});
    }
    const QStringList failed{QStringLiteral("Failed to start the viewer program: %1 \n"
                                            "Set your viewer program in View > Options > Others.")
                                 .arg(QString::fromStdString(fallback))};
    EXPECT_EQ(prompts.messages, failed);
    EXPECT_EQ(store.GetProfileString("Misc", "MGT Viewer", "absent"), "absent") << "nothing is written";
    for (const std::string& path : paths)
        EXPECT_EQ(Flags(path), 0u);

    // The default as the Options sheet writes it back stands for the same.
    prompts.messages.clear();
    prompts.starts.clear();
    store.WriteProfileString("Misc", "MGT Viewer", "Glyphon.EXE");
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    ASSERT_EQ(prompts.starts.size(), 3u);
    EXPECT_EQ(prompts.starts[0].program, fallback);
    EXPECT_EQ(prompts.messages, failed);
    for (const std::string& path : paths)
        EXPECT_EQ(Flags(path), 0u);
    EXPECT_FALSE(doc.IsModified());

    // A viewer of the user's own that fails gets no such advice.
    prompts.messages.clear();
    store.WriteProfileString("Misc", "MGT Viewer", "/opt/gone/viewer -\xe9");
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_EQ(prompts.messages,
              QStringList{QStringLiteral("Failed to start the viewer program: /opt/gone/viewer -\u00e9 ")});
}

TEST_F(ViewerLaunch, MoreThanTwentyGamesAtOnceAreOpenedOnlyWhenTheUserSaysYes)
{
    AddGames(21);
    view->OnCommand(ID_VIEW_DETAILS);
    List().SelectRow(0);
    List().SelectRow(1);
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_EQ(prompts.starts.size(), 2u) << "a few games open without a question";

    for (int r = 0; r < 20; ++r)
        List().SelectRow(r);
    prompts.starts.clear();
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_EQ(prompts.starts.size(), 20u) << "twenty still open without a question";
    EXPECT_FALSE(prompts.asked.join(QLatin1Char('\n')).contains(QStringLiteral("yes-no")));

    List().SelectRow(20);
    prompts.starts.clear();
    prompts.yesNo.push_back(IPrompts::EAnswer::No);
    QTest::keyClick(List().CurrentView(), Qt::Key_Return);
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_TRUE(prompts.asked.back().contains(QStringLiteral("Open 21 games in the viewer?")))
        << prompts.asked.back().toStdString();
    EXPECT_TRUE(prompts.starts.empty());
    EXPECT_EQ(Flags(List().GetItemKey(20)), 0u);

    prompts.yesNo.push_back(IPrompts::EAnswer::Yes);
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_EQ(prompts.starts.size(), 21u);
    EXPECT_EQ(Flags(List().GetItemKey(20)), 1u);
}

TEST_F(ViewerLaunch, OnlyFilesWhoseViewerStartedAreMarkedAndALaterFailureIsSilent)
{
    AddGames(3);
    for (int r = 0; r < 3; ++r)
        List().SelectRow(r);
    store.WriteProfileString("Misc", "MGT Viewer", "\"/opt/go viewer/view\" -f");
    prompts.startResults = {true, false, true};
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_TRUE(prompts.messages.isEmpty());
    ASSERT_EQ(prompts.starts.size(), 3u);
    EXPECT_EQ(prompts.starts[0].program, "/opt/go viewer/view");
    EXPECT_EQ(prompts.starts[0].arguments, (std::vector<std::string>{"-f", List().GetItemKey(0)}));
    EXPECT_EQ(List().GetItemImage(0), 1);
    EXPECT_EQ(List().GetItemImage(1), 0);
    EXPECT_EQ(List().GetItemImage(2), 1);
    EXPECT_EQ(Flags(List().GetItemKey(1)), 0u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(List().GetSelectedCount(), 3) << "the selection stays";
}

TEST_F(ViewerLaunch, MarksChangeOnlyRowsWhoseStateDiffers)
{
    const auto paths = AddGames(3);
    List().SelectRow(0);
    view->OnCommand(ID_EDIT_MARK_VIEWED);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(List().GetItemImage(0), 1);

    doc.SetModifiedFlag(false);
    view->OnCommand(ID_EDIT_MARK_VIEWED);
    EXPECT_FALSE(doc.IsModified()) << "already viewed";
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_EQ(prompts.starts.size(), 1u);
    EXPECT_FALSE(doc.IsModified()) << "launching a viewed file changes nothing";

    List().SelectRow(2);
    view->OnCommand(ID_EDIT_MARK_UNVIEWED);
    EXPECT_TRUE(doc.IsModified());
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(List().GetItemImage(r), 0);
    for (const std::string& path : paths)
        EXPECT_EQ(Flags(path), 0u);
}

TEST_F(ViewerLaunch, DoubleClickAndEnterLaunchTheViewer)
{
    AddGames(3);
    List().Model().Flush();
    QAbstractItemView* icons = List().CurrentView();
    const QRect second = icons->visualRect(icons->model()->index(1, 0));
    QTest::mouseDClick(icons->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts.starts.size(), 1u);
    EXPECT_EQ(prompts.starts[0].arguments, std::vector<std::string>{List().GetItemKey(1)});

    view->OnCommand(ID_VIEW_DETAILS);
    List().ClearSelection();
    List().SelectRow(2);
    QTest::keyClick(List().CurrentView(), Qt::Key_Return);
    ASSERT_EQ(prompts.starts.size(), 2u);
    EXPECT_EQ(prompts.starts[1].arguments, std::vector<std::string>{List().GetItemKey(2)});
    EXPECT_EQ(List().GetItemImage(2), 1);
}

TEST_F(ViewerLaunch, TheRecordingViewerGetsTheRowPathsFromTheCommand)
{
    CRecordingViewer recorder(dir.path());
    doc.RemoveView(view.get());
    view->Destroy();
    view = std::make_unique<CVarnexView>(doc, store, real);
    ASSERT_TRUE(view->Create());
    doc.AddView(view.get());
    const std::string odd = dir.Write("odd \"name\" $x -\xe9.sgf", Game("Odd"));
    ASSERT_TRUE(doc.AddGameFile(odd, 0));
    const std::string plain = dir.Write("-plain.sgf", Game("Plain"));
    ASSERT_TRUE(doc.AddGameFile(plain, 0));
    store.WriteProfileString("Misc", "MGT Viewer", recorder.Setting());
    List().SelectRow(0);
    List().SelectRow(1);
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_TRUE(real.messages.isEmpty());
    EXPECT_EQ(recorder.WaitForCalls(2), (std::multiset<std::vector<std::string>>{{odd}, {plain}}));
    EXPECT_EQ(Flags(odd), 1u);
    EXPECT_EQ(Flags(plain), 1u);
}

TEST_F(ViewerLaunch, ALongLaunchRunsEventsRefusesToRunTwiceAndSkipsRowsRemovedMeanwhile)
{
    CSlowStartPrompts slow;
    doc.RemoveView(view.get());
    view->Destroy();
    view = std::make_unique<CVarnexView>(doc, store, slow);
    ASSERT_TRUE(view->Create());
    doc.AddView(view.get());
    AddGames(3);
    std::vector<std::string> keys;
    for (int r = 0; r < 3; ++r) {
        List().SelectRow(r);
        keys.push_back(List().GetItemKey(r));
    }
    bool ran = false;
    slow.whileLaunching = [&] {
        ran = true;
        EXPECT_FALSE(Enabled(ID_EDIT_LAUNCH_VIEWER));
        view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
        EXPECT_TRUE(doc.RemoveGameFile(keys[2]));
    };
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_TRUE(ran) << "no events ran during the launch";
    ASSERT_EQ(slow.starts.size(), 2u);
    EXPECT_EQ(slow.starts[0].arguments, std::vector<std::string>{keys[0]});
    EXPECT_EQ(slow.starts[1].arguments, std::vector<std::string>{keys[1]});
    EXPECT_EQ(Flags(keys[0]), 1u);
    EXPECT_EQ(Flags(keys[1]), 1u);
    EXPECT_EQ(List().GetItemCount(), 2);
    EXPECT_TRUE(Enabled(ID_EDIT_LAUNCH_VIEWER));
}

TEST_F(ViewerLaunch, AViewerChosenWithBrowseInAFolderWithABlankStarts)
{
    CRecordingViewer recorder(dir.path(), "My Viewer");
    UseRealStarts();
    const std::string game = AddGames(1).front();
    real.programFileName.push_back(QString::fromStdString(recorder.Path()));
    real.dialogs.push_back([](QDialog& dialog) {
        dialog.show();
        auto* browse = dialog.findChild<QPushButton*>(QStringLiteral("browseButton"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
        EXPECT_TRUE(browse && ok);
        if (!browse || !ok)
            return int{QDialog::Rejected};
        QTest::mouseClick(browse, Qt::LeftButton);
        QTest::mouseClick(ok, Qt::LeftButton);
        return dialog.result();
    });
    view->OnCommand(ID_VIEW_OPTIONS);
    ASSERT_EQ(store.GetProfileString("Misc", "MGT Viewer"), recorder.Path()) << "Browse writes the path unquoted";
    List().SelectRow(0);
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_TRUE(real.messages.isEmpty()) << real.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(recorder.WaitForCalls(1), (std::multiset<std::vector<std::string>>{{game}}));
    EXPECT_EQ(Flags(game), 1u);
    real.ExpectAllUsed();
}

TEST_F(ViewerLaunch, AStoredViewerThatIsNotUtf8StartsAsItsBytes)
{
    // A Latin-1 folder name, and an argument in Latin-1 too.
    CRecordingViewer recorder(dir.path(), "viewer \xe9t\xe9");
    UseRealStarts();
    const std::string game = AddGames(1).front();
    store.WriteProfileString("Misc", "MGT Viewer", recorder.Setting(" caf\xe9"));
    List().SelectRow(0);
    view->OnCommand(ID_EDIT_LAUNCH_VIEWER);
    EXPECT_TRUE(real.messages.isEmpty());
    EXPECT_EQ(recorder.WaitForCalls(1), (std::multiset<std::vector<std::string>>{{"caf\xe9", game}}));
}
