#pragma once
// Whether the panel serves remote clients and on which port: the operator's choice in the Remote
// window, kept between runs; the command line can start the server for one run without changing it.

#include <QString>
#include <optional>

namespace orx {

class RemoteServer;

struct RemotePreference
{
    bool on = false; // off until the operator switches it on
    quint16 port = 5025;
};

// A port the server can listen on (1 to 65535) written as a number; nothing for anything else.
std::optional<quint16> remotePortOf(const QString& text);

RemotePreference savedRemotePreference();
void saveRemotePreference(const RemotePreference& preference);

// Starts the server on the port of the command line when there is one, else as the saved choice says.
void startRemoteAsPreferred(RemoteServer& server, std::optional<quint16> commandLinePort);

// The main window's field: "Remote: 5025, 1 client", "Remote: port 5025 in use", or empty when off.
QString remoteSummary(const RemoteServer& server);

// The VISA resource string of the server: "TCPIP::127.0.0.1::5025::SOCKET".
QString remoteResource(quint16 port);

} // namespace orx
