#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

// Hands a collection named on a second start to the program already running
// for this user: the first start listens on a local socket, a later start
// with a file sends the file's full path there and ends. Both ends make sure
// the other is the same user, so no one else can take the files a user opens
// or hand the user files of theirs.
class CSingleInstance : public QObject
{
    Q_OBJECT
public:
    // A connection that has not sent a whole path by then is closed.
    static constexpr int kIdleTimeoutMs = 5000;

    // name: the socket's full path, or a bare name in the temporary folder.
    explicit CSingleInstance(QString name, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // The socket of this user's program on this display with this settings
    // file: a start on another display, under another user or with other
    // settings (another $XDG_CONFIG_HOME) runs a program of its own.
    static QString DefaultName(const QString& settingsPath);
    // The socket's file name for a user id, a display ($WAYLAND_DISPLAY, else
    // $DISPLAY) and a settings file, which is named by a hash of its path.
    static QString NameFor(qulonglong uid, const QString& display, const QString& settingsPath);
    // $XDG_RUNTIME_DIR when it is a folder of this user that no one else may
    // enter; otherwise the temporary folder.
    static QString SocketFolder();

    // The full path of the socket file.
    QString SocketPath() const;
    // The user a running program must be to be handed a file, and a program
    // handing one must be: the process's own unless told otherwise.
    void SetTrustedUid(qulonglong uid) { m_trustedUid = uid; }
    void SetIdleTimeout(int ms) { m_idleTimeoutMs = ms; }

    // True when a running program of the trusted user took path (a full path).
    bool HandOff(const QString& path, int timeoutMs = 3000) const;
    // HandOff, tried again while another program holds the lock (a busy
    // window answers late, or its socket's queue is full) until patienceMs
    // have passed.
    static constexpr int kHandOffPatienceMs = 10000;
    bool HandOffPatiently(const QString& path, int patienceMs = kHandOffPatienceMs, int timeoutMs = 3000) const;
    // Starts listening; false when the name cannot be taken, above all when
    // another program holds it: the one that listens holds a lock on a file
    // beside the socket (LockPath) for as long as it runs, busy or not.
    // onOpen gets every path handed over; one that holds NUL is refused
    // before.
    bool Listen(std::function<void(const QString& path)> onOpen);
    bool IsListening() const;
    // Another program holds the lock, so it listens (or is about to).
    bool AnotherIsRunning() const;
    QString LockPath() const;

private:
    bool TakeLock();
    void OnConnection();

    QString m_name;
    qulonglong m_trustedUid;
    int m_idleTimeoutMs = kIdleTimeoutMs;
    QLocalServer* m_server = nullptr;
    // The lock held while listening, -1 when none.
    int m_lockFd = -1;
    std::function<void(const QString&)> m_onOpen;
};
