#pragma once
// The virtual instrument the benchmarks measure against: served on a pseudo-terminal that paces
// both directions at the real wire speed, reached as COM1 (the other ports mapped away).

#include "sim/pty_server.h"

#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <optional>

namespace orx::bench {

// Starts the instrument with its link in `dir`; nothing (and the reason printed) when it cannot.
inline std::unique_ptr<sim::PtyServer> startPacedInstrument(const QTemporaryDir& dir, int baud,
                                                            std::optional<double> loadOhms = std::nullopt)
{
    sim::PtyOptions options;
    options.baud = baud;
    options.paced = true;
    options.loadOhms = loadOhms;
    options.linkPath = dir.filePath(QStringLiteral("orx"));
    auto server = std::make_unique<sim::PtyServer>(options);
    QString error;
    if (!server->start(&error)) {
        std::fprintf(stderr, "cannot start the virtual instrument: %s\n", qPrintable(error));
        return nullptr;
    }
    qputenv("ORX_COM1", options.linkPath.toLocal8Bit());
    for (const char* other : {"ORX_COM2", "ORX_COM3", "ORX_COM4"})
        qputenv(other, QByteArray());
    return server;
}

} // namespace orx::bench
