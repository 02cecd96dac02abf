#pragma once
// The panel as the instrument's gateway: a raw SCPI socket on the loopback (127.0.0.1 and ::1, never
// another address). Each line a client sends is one command, sent through the panel's command link
// exactly as the panel sends its own; the answer to a query goes back to the client that asked.
//
// Lines of every client wait in one queue in arrival order and run only while the link is free (the
// predicate given: no operation of the panel under way), one per turn of the event loop, so the
// panel's own exchanges are never split and its timers keep their pace. When a client has sent
// settings and then been quiet for kQuietMs, the panel reads the instrument's state back (the
// function given), so the window shows what the script did. A client that sends garbage (a line too
// long, binary input, a flood past the queue's bound) is closed; the others go on. What happens to
// clients and lines is told to the link's observers, marked with the client.

#include "remote/remote_lines.h"
#include "remote/remote_queue.h"

#include <QDateTime>
#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

class QTcpServer;
class QTcpSocket;

namespace orx {

class Clock;
class CommandLink;
class TransferGate;
struct ProgramState;

// The link is free for a remote line when the panel is connected, no transfer runs and no operation
// of the panel let the events now running run (pending_events.h).
bool linkIsFree(const ProgramState& state, const TransferGate& transfers);

class RemoteServer : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 5025;
    static constexpr int kQuietMs = 500;
    static constexpr int kMaxClients = 16;
    static constexpr int kMaxEvents = 200; // remarks the window keeps

    struct Parts
    {
        CommandLink& link;
        const Clock& clock;
        std::function<bool()> linkFree;
        std::function<void()> readBack;
    };

    struct ClientInfo
    {
        QString name; // "127.0.0.1:53122"
        QDateTime since;
        qint64 lines = 0; // lines the client sent
    };

    explicit RemoteServer(Parts parts, QObject* parent = nullptr);
    ~RemoteServer() override;

    // Listens on the loopback at `port` (0: any free port); false with error() when it cannot.
    bool start(quint16 port);
    // Closes every client and stops listening; every waiting line is dropped.
    void stop();

    bool listening() const;
    // The port served, or the one the last start could not serve.
    quint16 port() const { return m_port; }
    QString error() const { return m_error; }
    bool portTaken() const { return m_portTaken; }
    QList<QHostAddress> listeningAddresses() const;
    QList<ClientInfo> clients() const;
    QStringList events() const { return m_events; }
    qsizetype waitingLines() const { return m_queue.size(); }

signals:
    // Listening, a client, its count of lines or the remarks changed.
    void changed();

private:
    struct Client;

    void accept(QTcpServer* server);
    void readFrom(quint64 id);
    void left(quint64 id);
    void close(quint64 id, const QString& why);
    void quiet(quint64 id);
    void serveWaiting();
    void run(const RemoteQueue::Entry& entry);
    void dropExpired();
    void remark(const QString& origin, const QString& text, bool trouble = true);

    Parts m_parts;
    std::vector<std::unique_ptr<QTcpServer>> m_servers;
    std::map<quint64, std::unique_ptr<Client>> m_clients;
    quint64 m_nextId = 1;
    quint16 m_port = 0;
    QString m_error;
    bool m_portTaken = false;
    RemoteQueue m_queue;
    QTimer m_serveTimer;
    QStringList m_events;
    bool m_serving = false;
};

} // namespace orx
