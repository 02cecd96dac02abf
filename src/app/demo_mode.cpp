#include "app/demo_mode.h"

namespace orx {

DemoInstrument::DemoInstrument(int modelIndex)
{
    sim::PtyOptions options;
    options.modelIndex = modelIndex;
    options.baud = kBaud;
    options.loadOhms = kLoadOhms;
    options.serialNumber = QStringLiteral("DEMO0001");
    m_server = std::make_unique<sim::PtyServer>(options);
}

DemoInstrument::~DemoInstrument() = default;

bool DemoInstrument::start(QString* error)
{
    if (!m_server->start(error))
        return false;
    qputenv("ORX_COM1", devicePath().toLocal8Bit());
    for (const char* other : {"ORX_COM2", "ORX_COM3", "ORX_COM4", "ORX_GPIB_LIBRARY"})
        qputenv(other, QByteArray());
    return true;
}

QString DemoInstrument::devicePath() const
{
    return m_server->devicePath();
}

} // namespace orx
