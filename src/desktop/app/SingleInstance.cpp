#include "desktop/app/SingleInstance.h"

#include "files/FlockRetrying.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <optional>

#include <fcntl.h>
#ifdef Q_OS_UNIX
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#endif
#include <unistd.h>

namespace {
// A path is a length-prefixed byte block; a longer message is not ours.
constexpr qint64 kMaxMessage = 64 * 1024;
// Enough of the settings path's hash to tell settings files apart.
constexpr qsizetype kSettingsHashChars = 12;

#ifdef Q_OS_UNIX
// The user at the other end of a connected local socket.
std::optional<qulonglong> PeerUid(qintptr fd)
{
#if defined(SO_PEERCRED)
    struct ucred credentials
    {
    };
    socklen_t size = sizeof credentials;
    if (::getsockopt(static_cast<int>(fd), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        size != sizeof credentials)
        return std::nullopt;
    return static_cast<qulonglong>(credentials.uid);
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (::getpeereid(static_cast<int>(fd), &uid, &gid) != 0)
        return std::nullopt;
    return static_cast<qulonglong>(uid);
#endif
}

bool PeerIs(qintptr fd, qulonglong uid)
{
    const std::optional<qulonglong> peer = PeerUid(fd);
    return peer && *peer == uid;
}

// A socket file of uid itself, not a link to one: anyone may create a name
// in the shared temporary folder first.
bool SocketFileOf(const QString& path, qulonglong uid)
{
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISSOCK(info.st_mode) && static_cast<qulonglong>(info.st_uid) == uid;
}

// The lock file of the socket, opened without following a link; -1 when it
// cannot be, or is not a regular file of this user's.
int OpenLockFile(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}
#else
// Named pipes elsewhere answer to the system's own access rules.
bool PeerIs(qintptr, qulonglong)
{
    return true;
}
bool SocketFileOf(const QString&, qulonglong)
{
    return true;
}
#endif
} // namespace

CSingleInstance::CSingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)), m_trustedUid(static_cast<qulonglong>(::geteuid()))
{
}

CSingleInstance::~CSingleInstance()
{
    // The socket goes before the lock, so a start that takes the lock never
    // finds the socket of a live program.
    delete m_server;
    m_server = nullptr;
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

QString CSingleInstance::NameFor(qulonglong uid, const QString& display, const QString& settingsPath)
{
    QString name = QStringLiteral("Pellmore-Varnex-%1").arg(uid);
    if (!display.isEmpty()) {
        // A Wayland display may be a path; the name must stay one file name.
        QString part = display;
        part.replace(QLatin1Char('/'), QLatin1Char('_'));
        name += QLatin1Char('-') + part;
    }
    if (!settingsPath.isEmpty()) {
        const QByteArray path = QFile::encodeName(QFileInfo(settingsPath).absoluteFilePath());
        const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex();
        name += QLatin1Char('-') + QString::fromLatin1(hash.left(kSettingsHashChars));
    }
    return name;
}

QString CSingleInstance::SocketFolder()
{
#ifdef Q_OS_UNIX
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat info
    {
    };
    if (runtime.startsWith('/') && ::stat(runtime.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::geteuid() && (info.st_mode & 077) == 0)
        return QDir::cleanPath(QFile::decodeName(runtime));
#endif
    return QDir::cleanPath(QDir::tempPath());
}

QString CSingleInstance::DefaultName(const QString& settingsPath)
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    return SocketFolder() + QLatin1Char('/') + NameFor(static_cast<qulonglong>(::getuid()), display, settingsPath);
}

QString CSingleInstance::SocketPath() const
{
    // Where the local server puts a bare name.
    if (m_name.startsWith(QLatin1Char('/')))
        return m_name;
    return QDir::cleanPath(QDir::tempPath()) + QLatin1Char('/') + m_name;
}

bool CSingleInstance::HandOff(const QString& path, int timeoutMs) const
{
    // The file's owner says who made the socket; the peer's credentials say
    // who listens on it now.
    if (!SocketFileOf(SocketPath(), m_trustedUid))
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    if (!PeerIs(socket.socketDescriptor(), m_trustedUid))
        return false;
    QByteArray message;
    {
        QDataStream out(&message, QIODevice::WriteOnly);
        out << QFile::encodeName(path);
    }
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running program answers one byte once it has the path.
    if (!socket.waitForReadyRead(timeoutMs))
        return false;
    return socket.read(1) == QByteArrayLiteral("1");
}

bool CSingleInstance::HandOffPatiently(const QString& path, int patienceMs, int timeoutMs) const
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (HandOff(path, timeoutMs))
            return true;
        const qint64 left = patienceMs - waited.elapsed();
        if (left <= 0 || !AnotherIsRunning())
            return false;
        // A full queue refuses at once: no need to knock again at once.
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 100)));
    }
}

QString CSingleInstance::LockPath() const
{
    return SocketPath() + QStringLiteral(".lock");
}

bool CSingleInstance::AnotherIsRunning() const
{
#ifdef Q_OS_UNIX
    const int fd = OpenLockFile(LockPath(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool held = FlockRetrying(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
#else
    return false;
#endif
}

bool CSingleInstance::TakeLock()
{
#ifdef Q_OS_UNIX
    if (m_lockFd >= 0)
        return true;
    const int fd = OpenLockFile(LockPath(), O_RDWR | O_CREAT);
    if (fd < 0)
        return false;
    if (FlockRetrying(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
#endif
    return true;
}

bool CSingleInstance::Listen(std::function<void(const QString&)> onOpen)
{
    // Whether a program runs is the lock's answer, never a probe's: a busy
    // window may not accept a connection in time, yet still owns the
    // socket. The program holding the lock may remove a socket it finds;
    // it can only be one left by a program that ended.
    if (!TakeLock())
        return false;
    m_onOpen = std::move(onOpen);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
    if (m_server->listen(m_name))
        return true;
    // Another user's socket is not ours to remove, lock or no lock.
    if (!SocketFileOf(SocketPath(), static_cast<qulonglong>(::geteuid())))
        return false;
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}

bool CSingleInstance::IsListening() const
{
    return m_server != nullptr && m_server->isListening();
}

void CSingleInstance::OnConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!PeerIs(socket->socketDescriptor(), m_trustedUid)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // A connection that never sends its path would hold a descriptor for
        // as long as the program runs.
        QTimer::singleShot(m_idleTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() > kMaxMessage) {
                socket->abort();
                return;
            }
            QDataStream in(socket);
            in.startTransaction();
            QByteArray bytes;
            in >> bytes;
            if (!in.commitTransaction())
                return;
            disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
            // No file name holds NUL: such a path would name another file.
            const bool taken = !bytes.isEmpty() && !bytes.contains('\0');
            socket->write(taken ? "1" : "0");
            socket->flush();
            socket->disconnectFromServer();
            if (taken && m_onOpen)
                m_onOpen(QFile::decodeName(bytes));
        });
    }
}
