#include "remote/remote_server.h"

#include "base/program_state.h"
#include "link/clock.h"
#include "link/command_link.h"
#include "memory/transfer_run.h"
#include "ui/pending_events.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace orx {
namespace {

// How soon lines that wait for a busy link are offered again.
constexpr int kRetryMs = 20;
// Most bytes a client's socket holds before the server has read them: a flood waits in the sender.
constexpr qint64 kReadBufferBytes = 64 * 1024;

QString peerName(const QTcpSocket& socket)
{
    const QHostAddress address = socket.peerAddress();
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(address.toString())
                             : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(socket.peerPort());
}

QString faultText(RemoteLineFeeder::Fault fault)
{
    return fault == RemoteLineFeeder::Fault::TooLong
               ? QStringLiteral("a line over %1 characters").arg(RemoteLineFeeder::kMaxLineLength)
               : QStringLiteral("binary input");
}

} // namespace

bool linkIsFree(const ProgramState& state, const TransferGate& transfers)
{
    return state.ConnectDone == 1 && !transfers.running() && !insideOperation();
}

struct RemoteServer::Client
{
    QTcpSocket* socket = nullptr; // a child of the server
    QString name;
    QDateTime since = QDateTime::currentDateTime();
    qint64 lines = 0;
    RemoteLineFeeder feeder;
    QTimer quiet;
    bool settingsSent = false; // settings sent since the last read-back

    QString origin() const { return QStringLiteral("remote ") + name; }

    ~Client()
    {
        // It may be in the middle of one of its own signals: it goes once they are done.
        socket->disconnect();
        socket->abort();
        socket->deleteLater();
    }
};

RemoteServer::RemoteServer(Parts parts, QObject* parent) : QObject(parent), m_parts(std::move(parts))
{
    m_serveTimer.setSingleShot(true);
    connect(&m_serveTimer, &QTimer::timeout, this, &RemoteServer::serveWaiting);
}

RemoteServer::~RemoteServer()
{
    m_clients.clear();
}

bool RemoteServer::start(quint16 port)
{
    stop();
    m_error.clear();
    m_portTaken = false;
    m_port = port;
    for (const QHostAddress& address :
         {QHostAddress(QHostAddress::LocalHost), QHostAddress(QHostAddress::LocalHostIPv6)}) {
        auto server = std::make_unique<QTcpServer>();
        const bool first = m_servers.empty();
        if (!server->listen(address, first ? port : m_port)) {
            // The IPv6 loopback is a courtesy: a machine without it is served on 127.0.0.1 alone.
            if (!first)
                continue;
            m_portTaken = server->serverError() == QAbstractSocket::AddressInUseError;
            m_error = m_portTaken
                          ? QStringLiteral("Port %1 is in use by another program.").arg(port)
                          : QStringLiteral("Port %1 cannot be used: %2").arg(port).arg(server->errorString());
            emit changed();
            return false;
        }
        m_port = server->serverPort();
        QTcpServer* raw = server.get();
        connect(raw, &QTcpServer::newConnection, this, [this, raw] { accept(raw); });
        m_servers.push_back(std::move(server));
    }
    emit changed();
    return true;
}

void RemoteServer::stop()
{
    while (!m_clients.empty())
        close(m_clients.begin()->first, QStringLiteral("the panel stopped serving"));
    m_servers.clear();
    m_queue = RemoteQueue(); // what departed clients left waiting, and a read-back
    m_serveTimer.stop();
    m_error.clear();
    m_portTaken = false;
    emit changed();
}

bool RemoteServer::listening() const
{
    return !m_servers.empty();
}

QList<QHostAddress> RemoteServer::listeningAddresses() const
{
    QList<QHostAddress> addresses;
    for (const auto& server : m_servers)
        addresses.append(server->serverAddress());
    return addresses;
}

QList<RemoteServer::ClientInfo> RemoteServer::clients() const
{
    QList<ClientInfo> list;
    for (const auto& [id, client] : m_clients)
        list.append({client->name, client->since, client->lines});
    return list;
}

void RemoteServer::accept(QTcpServer* server)
{
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        socket->setParent(this);
        if (qsizetype(m_clients.size()) >= kMaxClients) {
            remark(QStringLiteral("remote ") + peerName(*socket),
                   QStringLiteral("refused: %1 clients are connected already").arg(kMaxClients));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const quint64 id = m_nextId++;
        auto client = std::make_unique<Client>();
        client->socket = socket;
        client->name = peerName(*socket);
        socket->setReadBufferSize(kReadBufferBytes);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1); // an answer is one small line
        client->quiet.setSingleShot(true);
        client->quiet.setInterval(kQuietMs);
        connect(&client->quiet, &QTimer::timeout, this, [this, id] { quiet(id); });
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readFrom(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { left(id); });
        remark(client->origin(), QStringLiteral("client connected"), false);
        m_clients.emplace(id, std::move(client));
        emit changed();
        readFrom(id); // what it sent before it was accepted
    }
}

void RemoteServer::readFrom(quint64 id)
{
    const auto it = m_clients.find(id);
    if (it == m_clients.end())
        return;
    Client& client = *it->second;
    QList<QByteArray> lines;
    const RemoteLineFeeder::Fault fault = client.feeder.feed(client.socket->readAll(), lines);
    const qint64 now = m_parts.clock.nanoseconds();
    for (const QByteArray& line : lines) {
        if (!m_queue.push(id, client.origin(), line, now)) {
            close(id, QStringLiteral("more than %1 lines waiting").arg(RemoteQueue::kMaxLinesPerClient));
            return;
        }
        ++client.lines;
        client.settingsSent = client.settingsSent || !isRemoteQuery(line);
    }
    if (fault != RemoteLineFeeder::Fault::None) {
        close(id, faultText(fault));
        return;
    }
    if (!lines.isEmpty()) {
        client.quiet.start();
        emit changed();
        serveWaiting();
    }
}

void RemoteServer::quiet(quint64 id)
{
    const auto it = m_clients.find(id);
    if (it == m_clients.end() || !it->second->settingsSent)
        return;
    it->second->settingsSent = false;
    m_queue.pushReadBack(id, m_parts.clock.nanoseconds());
    serveWaiting();
}

// Its waiting lines still run (their answers go nowhere): what it sent before leaving was meant.
void RemoteServer::left(quint64 id)
{
    const auto it = m_clients.find(id);
    if (it == m_clients.end())
        return;
    remark(it->second->origin(), QStringLiteral("client left"), false);
    if (it->second->settingsSent)
        m_queue.pushReadBack(id, m_parts.clock.nanoseconds());
    m_clients.erase(it);
    emit changed();
    serveWaiting();
}

void RemoteServer::close(quint64 id, const QString& why)
{
    const auto it = m_clients.find(id);
    if (it == m_clients.end())
        return;
    const qsizetype dropped = m_queue.removeClient(id);
    remark(it->second->origin(),
           dropped == 0
               ? QStringLiteral("client closed: %1").arg(why)
               : QStringLiteral("client closed: %1; %2 waiting lines dropped").arg(why).arg(dropped));
    m_clients.erase(it);
    emit changed();
}

void RemoteServer::serveWaiting()
{
    if (m_serving)
        return;
    dropExpired();
    if (m_queue.empty())
        return;
    if (!m_parts.linkFree()) {
        m_serveTimer.start(kRetryMs);
        return;
    }
    m_serving = true;
    run(*m_queue.takeNext());
    m_serving = false;
    // One line per turn of the event loop: the panel's timers get their turn between lines.
    if (!m_queue.empty())
        m_serveTimer.start(0);
}

void RemoteServer::run(const RemoteQueue::Entry& entry)
{
    if (entry.line.isEmpty()) {
        m_parts.readBack();
        return;
    }
    CommandLink& link = m_parts.link;
    const QString command = QString::fromLatin1(entry.line);
    link.setOrigin(entry.origin);
    const bool query = isRemoteQuery(entry.line);
    const bool answered = query ? link.query(command) : (link.SendCommand(command), false);
    link.setOrigin(QString());
    const auto it = m_clients.find(entry.client);
    if (!answered || it == m_clients.end())
        return;
    QByteArray answer = link.lastAnswer().toLatin1();
    if (answer.endsWith('\r'))
        answer.chop(1);
    // Out at once, not at the event loop's next turn: the client waits for nothing but the wire.
    it->second->socket->write(answer + '\n');
    it->second->socket->flush();
}

void RemoteServer::dropExpired()
{
    for (const RemoteQueue::Entry& entry : m_queue.takeExpired(m_parts.clock.nanoseconds())) {
        if (!entry.line.isEmpty())
            remark(entry.origin, QStringLiteral("dropped after waiting %1 s: %2")
                                     .arg(RemoteQueue::kMaxWaitNs / 1'000'000'000)
                                     .arg(QString::fromLatin1(entry.line)));
    }
}

void RemoteServer::remark(const QString& origin, const QString& text, bool trouble)
{
    m_parts.link.remark(origin, text, trouble);
    m_events.append(QStringLiteral("%1  %2  %3")
                        .arg(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")), origin, text));
    if (m_events.size() > kMaxEvents)
        m_events.removeFirst();
    emit changed();
}

} // namespace orx
