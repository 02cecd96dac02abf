#include "remote/remote_preference.h"

#include "remote/remote_server.h"

#include <QSettings>

namespace orx {
namespace {

const QString kOnKey = QStringLiteral("remote/on");
const QString kPortKey = QStringLiteral("remote/port");

} // namespace

std::optional<quint16> remotePortOf(const QString& text)
{
    bool number = false;
    const uint port = text.toUInt(&number);
    if (!number || port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

RemotePreference savedRemotePreference()
{
    const QSettings settings;
    RemotePreference preference;
    preference.on = settings.value(kOnKey, false).toBool();
    preference.port = remotePortOf(settings.value(kPortKey).toString()).value_or(RemoteServer::kDefaultPort);
    return preference;
}

void saveRemotePreference(const RemotePreference& preference)
{
    QSettings settings;
    settings.setValue(kOnKey, preference.on);
    settings.setValue(kPortKey, preference.port);
}

void startRemoteAsPreferred(RemoteServer& server, std::optional<quint16> commandLinePort)
{
    const RemotePreference preference = savedRemotePreference();
    if (commandLinePort)
        server.start(*commandLinePort);
    else if (preference.on)
        server.start(preference.port);
}

QString remoteSummary(const RemoteServer& server)
{
    if (!server.error().isEmpty())
        return QStringLiteral("Remote: port %1 %2")
            .arg(server.port())
            .arg(server.portTaken() ? QStringLiteral("in use") : QStringLiteral("not served"));
    if (!server.listening())
        return QString();
    const qsizetype clients = server.clients().size();
    return QStringLiteral("Remote: %1, %2 client%3")
        .arg(server.port())
        .arg(clients)
        .arg(clients == 1 ? "" : "s");
}

QString remoteResource(quint16 port)
{
    return QStringLiteral("TCPIP::127.0.0.1::%1::SOCKET").arg(port);
}

} // namespace orx
