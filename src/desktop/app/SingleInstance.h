#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

// Hands a collection named on a second start to the program already running
// for this user: the first start listens on a local socket, a later start
// with a file sends the file's full path there and ends.
class CSingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit CSingleInstance(QString name, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // The socket name of this user's program on this display: a start on
    // another display (or under another user) runs a program of its own.
    static QString DefaultName();
    // The name for a user id and a display ($WAYLAND_DISPLAY, else $DISPLAY).
    static QString NameFor(qulonglong uid, const QString& display);

    // True when a running program took path (a full path).
    bool HandOff(const QString& path, int timeoutMs = 3000) const;
    // Starts listening; false when the name cannot be taken.
    bool Listen(std::function<void(const QString& path)> onOpen);
    bool IsListening() const;

private:
    void OnConnection();

    QString m_name;
    QLocalServer* m_server = nullptr;
    std::function<void(const QString&)> m_onOpen;
};
