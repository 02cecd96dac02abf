#pragma once
// Demo mode (`orx-panel --simulate [MODEL]`) puts a virtual instrument behind
// COM1 on a real pseudo-terminal and hides every other port and the GPIB library, so the program
// finds the instrument by its ordinary search, exactly as it would find a real one.

#include "sim/pty_server.h"

#include <QString>
#include <memory>

namespace orx {

class DemoInstrument
{
public:
    static constexpr int kBaud = 9600;
    static constexpr double kLoadOhms = 10.0;

    explicit DemoInstrument(int modelIndex);
    ~DemoInstrument();

    // Starts the instrument on its pty and maps the ports; false (with a reason) when it cannot.
    bool start(QString* error);
    QString devicePath() const;

private:
    std::unique_ptr<sim::PtyServer> m_server;
};

} // namespace orx
