#include "desktop/app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <optional>

#ifdef Q_OS_UNIX
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
    struct ucred credentials {};
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
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISSOCK(info.st_mode) && static_cast<qulonglong>(info.st_uid) == uid;
}
#else
// Named pipes elsewhere answer to the system's own access rules.
bool PeerIs(qintptr, qulonglong) { return true; }
bool SocketFileOf(const QString&, qulonglong) { return true; }
#endif
} // namespace

CSingleInstance::CSingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)), m_trustedUid(static_cast<qulonglong>(::geteuid()))
{
}

CSingleInstance::~CSingleInstance() = default;

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
    struct stat info {};
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

bool CSingleInstance::Listen(std::function<void(const QString&)> onOpen)
{
    {
        // Another program already listens: it keeps the name.
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(200))
            return false;
    }
    m_onOpen = std::move(onOpen);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnConnection);
    if (m_server->listen(m_name))
        return true;
    // A socket left behind by a program that ended without cleaning up.
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
