#include "desktop/app/SingleInstance.h"

#include <QDataStream>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace {
// A path is a length-prefixed byte block; a longer message is not ours.
constexpr qint64 kMaxMessage = 64 * 1024;
} // namespace

CSingleInstance::CSingleInstance(QString name, QObject* parent) : QObject(parent), m_name(std::move(name)) {}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::NameFor(qulonglong uid, const QString& display)
{
    QString name = QStringLiteral("Pellmore-Varnex-%1").arg(uid);
    if (!display.isEmpty()) {
        // A Wayland display may be a path; the name must stay one file name.
        QString part = display;
        part.replace(QLatin1Char('/'), QLatin1Char('_'));
        name += QLatin1Char('-') + part;
    }
    return name;
}

QString CSingleInstance::DefaultName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    return NameFor(static_cast<qulonglong>(::getuid()), display);
}

bool CSingleInstance::HandOff(const QString& path, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
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
        // Another program of this user already listens: it keeps the name.
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
            socket->write("1");
            socket->flush();
            socket->disconnectFromServer();
            if (!bytes.isEmpty() && m_onOpen)
                m_onOpen(QFile::decodeName(bytes));
        });
    }
}
