#include "gui/app/CInstanceChannel.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include <unistd.h>

namespace dualvex {

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

bool CInstanceChannel::NotifyWaitingInstance(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(SocketName());
    if (!socket.waitForConnected(timeoutMs)) return false;
    QDataStream(&socket) << kHandOverMessage;
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool CInstanceChannel::Listen()
{
    if (m_server) return true;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceChannel::OnNewConnection);
    if (m_server->listen(SocketName())) return true;
    // Nobody answered on the name before we got here, so what is left is stale.
    QLocalServer::removeServer(SocketName());
    return m_server->listen(SocketName());
}

void CInstanceChannel::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->bytesAvailable() >= static_cast<qint64>(sizeof(quint32))) {
                quint32 message = 0;
                QDataStream(socket) >> message;
                if (message == kHandOverMessage) emit HandOverRequested();
            }
        });
    }
}

} // namespace dualvex
