// The channel between two launches of the program for the hand-over of a file: a
// per-user local socket on which a waiting instance listens. A later launch that
// reaches it tells it to give up its open-files dialog.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace dualvex {

class CInstanceChannel : public QObject {
    Q_OBJECT
  public:
    // The hand-over message number the waiting dialog reacts to.
    static constexpr quint32 kHandOverMessage = 0x5A17;

    explicit CInstanceChannel(QObject* parent = nullptr);
    ~CInstanceChannel() override;
    CInstanceChannel(const CInstanceChannel&) = delete;
    CInstanceChannel& operator=(const CInstanceChannel&) = delete;

    // Sends the hand-over message to a waiting instance; false when none listens.
    static bool NotifyWaitingInstance(int timeoutMs = 2000);
    // Starts listening as the waiting instance. A socket left behind by a crashed
    // instance is removed first.
    bool Listen();
    static QString SocketName();

  signals:
    // A later launch asked this waiting instance to give way.
    void HandOverRequested();

  private:
    void OnNewConnection();

    QLocalServer* m_server = nullptr;
};

} // namespace dualvex
