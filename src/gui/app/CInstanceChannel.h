// The channel between two launches of the program for the hand-over of a file: a
// per-user local socket on which a waiting instance listens. A later launch that
// reaches it tells it to give up its open-files dialog.
//
// Roles are claimed under a per-user lock file, and a waiting instance stops
// listening before it confirms a hand-over, so of any number of launches started
// together each finds either no partner (and waits) or exactly one (and pairs).
#pragma once

#include <QObject>
#include <QString>

#include <functional>

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

    enum class Role { Paired, Waiting, Alone, Failed };

    // Under the lock: hands over to a waiting instance and runs paired (Paired), or
    // runs announce and starts listening as the waiting instance (Waiting); with
    // mayWait false it returns Alone instead of listening. Failed with a message in
    // error when the channel cannot be used.
    Role Claim(const std::function<void()>& paired, const std::function<void()>& announce, QString& error,
               bool mayWait = true);

    // Sends the hand-over message to a waiting instance and waits for it to confirm
    // that it gave way; false when none listens or none confirms.
    static bool NotifyWaitingInstance(int timeoutMs = 10000);
    // Starts listening as the waiting instance. A socket left behind by a crashed
    // instance is removed first. False with a message in error when that fails.
    bool Listen(QString* error = nullptr);
    static QString SocketName();

  signals:
    // A later launch asked this waiting instance to give way.
    void HandOverRequested();

  private:
    void OnNewConnection();

    QLocalServer* m_server = nullptr;
};

} // namespace dualvex
