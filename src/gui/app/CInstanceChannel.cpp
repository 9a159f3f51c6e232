#include "gui/app/CInstanceChannel.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace dualvex {

namespace {

// The socket file a name stands for: QLocalServer puts plain names in the temp folder.
QString SocketPath(const QString& name)
{
    return name.contains(QLatin1Char('/')) ? name : QDir(QDir::tempPath()).filePath(name);
}

// Holds the per-user lock that makes claiming a role atomic between processes.
class ClaimLock {
  public:
    explicit ClaimLock(const QString& path)
    {
        const QByteArray name = QFile::encodeName(path);
        // Never followed through a link, and only ever our own file.
        m_fd = open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
        struct stat st {};
        if (m_fd >= 0 && (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid())) {
            close(m_fd);
            m_fd = -1;
            errno = EPERM;
        }
        while (m_fd >= 0 && flock(m_fd, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            close(m_fd);
            m_fd = -1;
        }
    }
    ~ClaimLock()
    {
        if (m_fd >= 0) close(m_fd);
    }
    ClaimLock(const ClaimLock&) = delete;
    ClaimLock& operator=(const ClaimLock&) = delete;
    bool Held() const { return m_fd >= 0; }

  private:
    int m_fd = -1;
};

} // namespace

CInstanceChannel::CInstanceChannel(QObject* parent) : QObject(parent) {}

CInstanceChannel::~CInstanceChannel() = default;

QString CInstanceChannel::SocketName()
{
    // A private settings folder (tests, portable use) gets its own channel too.
    const QByteArray configDir = qgetenv("DUALVEX_CONFIG_DIR");
    if (!configDir.isEmpty())
        return QDir(QString::fromLocal8Bit(configDir)).filePath(QStringLiteral("handover.sock"));
    const QByteArray runtimeDir = qgetenv("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty())
        return QDir(QString::fromLocal8Bit(runtimeDir)).filePath(QStringLiteral("dualvex-handover.sock"));
    return QStringLiteral("dualvex-handover-%1").arg(getuid());
}

CInstanceChannel::Role CInstanceChannel::Claim(const std::function<void()>& paired,
                                               const std::function<void()>& announce, QString& error,
                                               bool mayWait)
{
    const QString lockPath = SocketPath(SocketName()) + QStringLiteral(".lock");
    const ClaimLock lock(lockPath);
    if (!lock.Held()) {
        error = QStringLiteral("Die Übergabe ist nicht möglich: %1 lässt sich nicht anlegen (%2).")
                    .arg(lockPath, QString::fromLocal8Bit(strerror(errno)));
        return Role::Failed;
    }
    if (NotifyWaitingInstance()) {
        if (paired) paired();
        return Role::Paired;
    }
    if (!mayWait) return Role::Alone;
    if (announce) announce();
    return Listen(&error) ? Role::Waiting : Role::Failed;
}

bool CInstanceChannel::NotifyWaitingInstance(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(SocketName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    QDataStream(&socket) << kHandOverMessage;
    socket.waitForBytesWritten(timeoutMs);
    // The partner has stopped listening when it confirms, so no later launch can
    // pair with it again.
    while (socket.bytesAvailable() < static_cast<qint64>(sizeof(quint32)))
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    quint32 answer = 0;
    QDataStream(&socket) >> answer;
    socket.disconnectFromServer();
    return answer == kHandOverMessage;
}

bool CInstanceChannel::Listen(QString* error)
{
    if (m_server && m_server->isListening()) return true;
    const QString path = SocketPath(SocketName());
    // The kernel keeps socket paths to sizeof(sun_path) - 1 bytes; a longer one
    // would be cut or refused, and a partner could never find us.
    if (QFile::encodeName(path).size() >= static_cast<qsizetype>(sizeof(sockaddr_un::sun_path))) {
        if (error != nullptr)
            *error = QStringLiteral(
                         "Die Übergabe ist nicht möglich: der Pfad %1 ist zu lang (höchstens %2 Bytes).")
                         .arg(path)
                         .arg(sizeof(sockaddr_un::sun_path) - 1);
        return false;
    }
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &CInstanceChannel::OnNewConnection);
    }
    if (m_server->listen(SocketName())) return true;
    // Nobody answered on the name before we got here, so what is left is stale.
    QLocalServer::removeServer(SocketName());
    if (m_server->listen(SocketName())) return true;
    if (error != nullptr)
        *error = QStringLiteral("Die Übergabe ist nicht möglich: unter %1 kann nicht gewartet werden (%2).")
                     .arg(path, m_server->errorString());
    return false;
}

void CInstanceChannel::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->bytesAvailable() >= static_cast<qint64>(sizeof(quint32))) {
                quint32 message = 0;
                QDataStream(socket) >> message;
                if (message != kHandOverMessage) continue;
                // Stop listening first: the partner confirms only to a waiter that is gone.
                m_server->close();
                QDataStream(socket) << kHandOverMessage;
                socket->waitForBytesWritten(1000);
                emit HandOverRequested();
            }
        });
    }
}

} // namespace dualvex
