#include "FrameFixture.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DocFramework.h"
#include "desktop/app/ElidePath.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/app/SingleInstance.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/VarnexView.h"
#include "settings/StringTable.h"

#include <QDataStream>
#include <QDialog>
#include <QLocalSocket>

#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A user id no test runs as.
constexpr uid_t kOtherUser = 65534;

QString Q(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

bool WaitFor(const std::function<bool()>& done, int ms = 10000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms)
        QTest::qWait(10);
    return done();
}

// Sends path as a later start does, without blocking: the test's own event
// loop serves both ends. The answer byte lands in the socket's buffer.
QLocalSocket* SendPath(QObject* owner, const QString& name, const QByteArray& path)
{
    QByteArray message;
    {
        QDataStream out(&message, QIODevice::WriteOnly);
        out << path;
    }
    auto* socket = new QLocalSocket(owner);
    QObject::connect(socket, &QLocalSocket::connected, socket, [socket, message] { socket->write(message); });
    socket->connectToServer(name);
    return socket;
}

// HandOff blocks until the running program answers, so it runs on a thread
// of its own while this one serves the listening end.
bool HandOffFromAnotherThread(const CSingleInstance& instance, const QString& path)
{
    std::atomic<int> result{-1};
    std::thread sender([&] { result = instance.HandOff(path, 3000) ? 1 : 0; });
    WaitFor([&] { return result != -1; });
    sender.join();
    return result == 1;
}

// Sets $XDG_RUNTIME_DIR for a test and puts the old value back.
class CRuntimeDir
{
public:
    explicit CRuntimeDir(const QByteArray& value)
        : m_old(qgetenv("XDG_RUNTIME_DIR")), m_had(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
    {
        qputenv("XDG_RUNTIME_DIR", value);
    }
    ~CRuntimeDir() { m_had ? qputenv("XDG_RUNTIME_DIR", m_old) : qunsetenv("XDG_RUNTIME_DIR"); }

private:
    QByteArray m_old;
    bool m_had;
};

// A program of another user listening on path: a child that became that user
// before it made the socket, and answers every hand-off the way ours does.
class CForeignListener
{
public:
    CForeignListener(const std::string& path, uid_t uid)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::alarm(60);
            if (::setgid(uid) != 0 || ::setuid(uid) != 0)
                ::_exit(2);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
            if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
                ::listen(fd, 8) != 0)
                ::_exit(3);
            (void)!::write(ready[1], "r", 1);
            for (;;) {
                const int peer = ::accept(fd, nullptr, nullptr);
                if (peer < 0)
                    continue;
                char buffer[4096];
                (void)!::read(peer, buffer, sizeof buffer);
                (void)!::write(peer, "1", 1);
                ::close(peer);
            }
        }
        ::close(ready[1]);
        char byte = 0;
        m_ready = m_pid > 0 && ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    ~CForeignListener()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool Ready() const { return m_ready; }

private:
    pid_t m_pid = -1;
    bool m_ready = false;
};

uid_t OwnerOf(const std::string& path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0 ? info.st_uid : static_cast<uid_t>(-1);
}
} // namespace

TEST(SingleInstanceName, IsPerUserPerDisplayAndPerSettingsFile)
{
    EXPECT_EQ(CSingleInstance::NameFor(1000, QStringLiteral(":0"), QString()),
              QStringLiteral("Pellmore-Varnex-1000-:0"));
    EXPECT_NE(CSingleInstance::NameFor(1000, QStringLiteral(":0"), QString()),
              CSingleInstance::NameFor(1000, QStringLiteral(":1"), QString()));
    EXPECT_NE(CSingleInstance::NameFor(1000, QStringLiteral(":0"), QString()),
              CSingleInstance::NameFor(1001, QStringLiteral(":0"), QString()));
    // A Wayland display given as a path stays one socket file name.
    EXPECT_EQ(CSingleInstance::NameFor(7, QStringLiteral("/run/user/7/wayland-0"), QString()),
              QStringLiteral("Pellmore-Varnex-7-_run_user_7_wayland-0"));

    // A start with other settings (make run's own) is a program of its own.
    const QString mine = QStringLiteral("/home/u/.config/Pellmore/Varnex.conf");
    const QString sample = QStringLiteral("/src/build/release/sample/config/Pellmore/Varnex.conf");
    const QString name = CSingleInstance::NameFor(7, QStringLiteral(":0"), mine);
    EXPECT_TRUE(name.startsWith(QStringLiteral("Pellmore-Varnex-7-:0-"))) << name.toStdString();
    EXPECT_EQ(name, CSingleInstance::NameFor(7, QStringLiteral(":0"), mine));
    EXPECT_NE(name, CSingleInstance::NameFor(7, QStringLiteral(":0"), sample));
    EXPECT_NE(CSingleInstance::DefaultName(mine), CSingleInstance::DefaultName(sample));
    EXPECT_FALSE(name.contains(QLatin1Char('/')));
}

TEST(SingleInstanceName, TheSocketLivesInThePrivateRuntimeFolder)
{
    CTempDir dir;
    const std::filesystem::path runtime = dir.path() / "runtime";
    std::filesystem::create_directory(runtime);
    ASSERT_EQ(::chmod(runtime.c_str(), 0700), 0);
    const CRuntimeDir variable(QByteArray::fromStdString(runtime.string()));
    const QString settings = Q(dir.path() / "Varnex.conf");
    const QString name = CSingleInstance::DefaultName(settings);
    EXPECT_TRUE(name.startsWith(Q(runtime) + QLatin1Char('/'))) << name.toStdString();

    CSingleInstance listener(name);
    ASSERT_TRUE(listener.Listen([](const QString&) {}));
    struct stat info
    {
    };
    ASSERT_EQ(::lstat(QFile::encodeName(listener.SocketPath()).constData(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);

    // A runtime folder others may enter, or none: the temporary folder as before.
    ASSERT_EQ(::chmod(runtime.c_str(), 0755), 0);
    const QString temp = QDir::cleanPath(QDir::tempPath()) + QLatin1Char('/');
    EXPECT_TRUE(CSingleInstance::DefaultName(settings).startsWith(temp));
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(CSingleInstance::DefaultName(settings).startsWith(temp));
}

TEST(SingleInstance, OnlyTheSameUserHandsOffOrIsHandedAFile)
{
    CTempDir dir;
    const QString name = Q(dir.path() / "varnex.sock");
    QStringList opened;
    CSingleInstance running(name);
    ASSERT_TRUE(running.Listen([&](const QString& path) { opened << path; }));

    CSingleInstance same(name);
    EXPECT_TRUE(HandOffFromAnotherThread(same, QStringLiteral("/a.vnx")));
    EXPECT_EQ(opened, QStringList{QStringLiteral("/a.vnx")});

    // The socket as another user's: the later start keeps its file.
    CSingleInstance wary(name);
    wary.SetTrustedUid(::geteuid() + 1);
    EXPECT_FALSE(HandOffFromAnotherThread(wary, QStringLiteral("/b.vnx")));

    // A running program that trusts another user takes nothing from us.
    const QString otherName = Q(dir.path() / "other.sock");
    CSingleInstance strict(otherName);
    strict.SetTrustedUid(::geteuid() + 1);
    ASSERT_TRUE(strict.Listen([&](const QString& path) { opened << path; }));
    EXPECT_FALSE(HandOffFromAnotherThread(CSingleInstance(otherName), QStringLiteral("/c.vnx")));
    EXPECT_EQ(opened.size(), 1);
}

TEST(SingleInstance, ASocketOfAnotherUserIsNeverHandedAFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to listen as another user";
    CTempDir dir;
    // The other user must be able to make its socket here.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string path = (dir.path() / "taken.sock").string();
    {
        CForeignListener foreign(path, kOtherUser);
        ASSERT_TRUE(foreign.Ready());
        ASSERT_EQ(OwnerOf(path), kOtherUser);
        EXPECT_FALSE(CSingleInstance(QString::fromStdString(path)).HandOff(QStringLiteral("/a.vnx"), 1000));
        // Given to us, the file passes the owner check; the peer is still the other user.
        ASSERT_EQ(::chown(path.c_str(), ::geteuid(), ::getegid()), 0);
        EXPECT_FALSE(CSingleInstance(QString::fromStdString(path)).HandOff(QStringLiteral("/a.vnx"), 1000));
    }

    // Our own program, but the socket file made over to another user.
    const QString ours = Q(dir.path() / "ours.sock");
    CSingleInstance running(ours);
    ASSERT_TRUE(running.Listen([](const QString&) { ADD_FAILURE() << "handed a file"; }));
    ASSERT_EQ(::chown(QFile::encodeName(ours).constData(), kOtherUser, kOtherUser), 0);
    EXPECT_FALSE(HandOffFromAnotherThread(CSingleInstance(ours), QStringLiteral("/a.vnx")));
}

TEST(SingleInstance, AConnectionThatSendsNoWholePathIsClosed)
{
    CTempDir dir;
    const QString name = Q(dir.path() / "varnex.sock");
    CSingleInstance running(name);
    running.SetIdleTimeout(100);
    ASSERT_TRUE(running.Listen([](const QString&) { ADD_FAILURE() << "handed a file"; }));
    QLocalSocket silent;
    QLocalSocket partial;
    silent.connectToServer(name);
    partial.connectToServer(name);
    ASSERT_TRUE(silent.waitForConnected(1000));
    ASSERT_TRUE(partial.waitForConnected(1000));
    partial.write(QByteArray("\0\0", 2));
    EXPECT_TRUE(WaitFor(
        [&] {
            return silent.state() == QLocalSocket::UnconnectedState &&
                   partial.state() == QLocalSocket::UnconnectedState;
        },
        5000));
}

TEST(SingleInstance, ABusyProgramWhoseQueueIsFullKeepsItsChannel)
{
    CTempDir dir;
    const QString name = Q(dir.path() / "varnex.sock");
    const std::string path = name.toStdString();
    QStringList opened;
    CSingleInstance running(name);
    ASSERT_TRUE(running.Listen([&](const QString& handed) { opened << handed; }));
    struct stat before
    {
    };
    ASSERT_EQ(::lstat(path.c_str(), &before), 0);

    // Busy: this thread serves no events while connections fill the queue,
    // until the system refuses the next one at once.
    std::vector<int> queued;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    for (int i = 0; i < 100000; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        ASSERT_GE(fd, 0);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            break;
        }
        queued.push_back(fd);
    }
    ASSERT_FALSE(queued.empty());

    CSingleInstance second(name);
    EXPECT_TRUE(second.AnotherIsRunning());
    EXPECT_FALSE(second.HandOffPatiently(QStringLiteral("/late.vnx"), 300, 100));
    EXPECT_FALSE(second.Listen([](const QString&) { ADD_FAILURE() << "the second start took the channel"; }));
    EXPECT_FALSE(second.IsListening());
    struct stat after
    {
    };
    ASSERT_EQ(::lstat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);

    // Once the window serves its queue again, a later start reaches it.
    for (const int fd : queued)
        ::close(fd);
    EXPECT_TRUE(HandOffFromAnotherThread(CSingleInstance(name), QStringLiteral("/a.vnx")));
    EXPECT_EQ(opened, QStringList{QStringLiteral("/a.vnx")});
}

TEST(SingleInstance, ASocketLeftByAProgramThatEndedIsTakenOver)
{
    CTempDir dir;
    const QString name = Q(dir.path() / "varnex.sock");
    {
        // Bound, then closed without removing the file, as by a crash.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, name.toStdString().c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    QStringList opened;
    {
        CSingleInstance first(name);
        EXPECT_FALSE(first.AnotherIsRunning());
        ASSERT_TRUE(first.Listen([](const QString&) {}));
    }
    // The lock went with the program that held it.
    CSingleInstance next(name);
    EXPECT_FALSE(next.AnotherIsRunning());
    ASSERT_TRUE(next.Listen([&](const QString& handed) { opened << handed; }));
    EXPECT_TRUE(HandOffFromAnotherThread(CSingleInstance(name), QStringLiteral("/b.vnx")));
    EXPECT_EQ(opened, QStringList{QStringLiteral("/b.vnx")});
}

class HandOffTest : public FrameTest
{
protected:
    HandOffTest() { instanceName = Q(dir.path() / "varnex.sock"); }
};

TEST_F(HandOffTest, AProgramOfAnotherUserDoesNotStopTheStart)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to listen as another user";
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    CForeignListener foreign(instanceName.toStdString(), kOtherUser);
    ASSERT_TRUE(foreign.Ready());
    const std::string named = dir.Write("named.vnx", "");
    ASSERT_TRUE(Start({QString::fromStdString(named)}));
    EXPECT_TRUE(app->Frame()->isVisible());
    EXPECT_EQ(app->Framework().PathName(), QString::fromStdString(named));
}

TEST_F(HandOffTest, AFloodOfHandOffsOpensOneAtATimeOutsideDialogsWithOneMessage)
{
    ASSERT_TRUE(Start());
    app->Doc().AddGameFile(Game("Kato"), 0);
    const QString kept = Q(dir.path() / "kept.vnx");
    prompts.saveFileName.push_back(kept);
    Trigger(ID_FILE_SAVE_AS);

    // Every message box runs a modal loop of its own, as the real one does.
    int depth = 0;
    int deepest = 0;
    prompts.duringMessage = [&] {
        deepest = std::max(deepest, ++depth);
        QDialog box;
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        QTest::qWait(20);
        --depth;
    };

    // The user has a dialog open while the hand-offs arrive.
    auto modal = std::make_unique<QDialog>();
    modal->setWindowModality(Qt::ApplicationModal);
    modal->show();
    ASSERT_EQ(QApplication::activeModalWidget(), modal.get());

    constexpr int kFlood = 200;
    std::vector<QLocalSocket*> senders;
    // A game file given as a collection first, then paths that do not exist.
    senders.push_back(SendPath(app.get(), instanceName, QFile::encodeName(QString::fromStdString(Game("Given")))));
    ASSERT_TRUE(WaitFor([&] { return senders[0]->bytesAvailable() > 0; }));
    for (int i = 0; i < kFlood; ++i)
        senders.push_back(SendPath(app.get(), instanceName,
                                   QFile::encodeName(Q(dir.path() / ("gone" + std::to_string(i) + ".vnx")))));
    ASSERT_TRUE(WaitFor([&] {
        return std::all_of(senders.begin(), senders.end(), [](QLocalSocket* s) { return s->bytesAvailable() > 0; });
    }));
    for (QLocalSocket* sender : senders)
        EXPECT_EQ(sender->read(1), QByteArray("1"));
    QTest::qWait(300);
    EXPECT_TRUE(prompts.messages.isEmpty()) << "opened inside the dialog's loop";

    modal.reset();
    ASSERT_TRUE(WaitFor([&] { return !prompts.messages.isEmpty(); }));
    QTest::qWait(500);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(deepest, 1);
    const QString& text = prompts.messages[0];
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot open %1 collections.").arg(kFlood + 1))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Given.sgf is not a Varnex collection file."))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("... and %1 more.").arg(kFlood + 1 - 5))) << text.toStdString();
    // Not one of them took the place of the open collection.
    EXPECT_EQ(app->Framework().PathName(), kept);
    EXPECT_EQ(app->Frame()->View()->RowCount(), 1);
    EXPECT_EQ(app->RecentFiles().Files(), QStringList{kept});
}

TEST_F(HandOffTest, AHandedPathHoldingNulIsRefused)
{
    ASSERT_TRUE(Start());
    const std::string collection = dir.Write("a.vnx", "");
    QLocalSocket* sender =
        SendPath(app.get(), instanceName, QByteArray::fromStdString(collection + std::string("\0junk", 5)));
    ASSERT_TRUE(WaitFor([&] { return sender->bytesAvailable() > 0; }));
    EXPECT_EQ(sender->read(1), QByteArray("0"));
    QTest::qWait(300);
    EXPECT_TRUE(app->RecentFiles().IsEmpty());
    EXPECT_TRUE(app->Framework().PathName().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(FrameTest, AVeryLongPathIsElidedInTheOpenMessage)
{
    ASSERT_TRUE(Start());
    std::filesystem::path folder = dir.path();
    for (int i = 0; i < 8; ++i)
        folder /= std::string(120, static_cast<char>('a' + i));
    std::filesystem::create_directories(folder);
    const std::string game = (folder / "game.vnx").string();
    std::ofstream(game) << "(;GM[1]PB[Long])";
    for (const std::string& path : {(folder / "gone.vnx").string(), game})
        EXPECT_FALSE(app->Framework().OpenDocumentFile(QString::fromStdString(path), false));
    ASSERT_EQ(prompts.messages.size(), 2);
    for (const QString& text : prompts.messages) {
        EXPECT_LT(text.size(), 2 * kMaxShownPath + 100) << text.toStdString();
        EXPECT_TRUE(text.contains(QChar(0x2026))) << text.toStdString();
    }
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("gone.vnx: No such file")));
    EXPECT_TRUE(prompts.messages[1].contains(QStringLiteral("game.vnx is not a Varnex collection file.")));
}
