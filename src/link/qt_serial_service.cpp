#include "link/qt_serial_service.h"

#include "link/com_port_names.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace orx {
namespace {

// Upper bound on the reads one takeInput makes from the driver: enough to empty any realistic
// backlog, and a device that never stops sending cannot hold the caller.
constexpr int kMaxFetchesPerTake = 16;

} // namespace

QtSerialService::QtSerialService()
{
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(kReadBufferBytes);
    applySettings();
}

void QtSerialService::setPortNumber(int port)
{
    if (port == m_portNumber)
        return;
    // The open device would no longer be the port the number names.
    close();
    m_portNumber = port;
}

void QtSerialService::setSettings(const QString& settings)
{
    // A text that cannot be read leaves the port as it was.
    if (!parseSerialSettings(settings))
        return;
    m_settingsText = settings;
    applySettings();
}

void QtSerialService::applySettings()
{
    const auto parsed = parseSerialSettings(m_settingsText);
    if (!parsed)
        return;
    // QSerialPort keeps these while closed and applies them on open; while open they act at once.
    m_port.setBaudRate(parsed->baudRate);
    m_port.setParity(parsed->parity);
    m_port.setDataBits(parsed->dataBits);
    m_port.setStopBits(parsed->stopBits);
}

bool QtSerialService::setOpen(bool open)
{
    if (!open) {
        close();
        return true;
    }
    return this->open();
}

bool QtSerialService::open()
{
    if (m_port.isOpen())
        return true;
    const QString device = comPortDevice(m_portNumber);
    if (device.isEmpty()) {
        m_openFailure = OpenFailure::NoSuchPort;
        return false;
    }
    m_port.setPortName(device);
    m_port.clearError();
    // Opening applies the held settings; a device that refuses them (1.5 stop bits on most drivers)
    // fails to open.
    if (m_port.open(QIODevice::ReadWrite)) {
        m_openFailure = OpenFailure::None;
        return true;
    }
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        m_openFailure = OpenFailure::NoSuchPort;
        break;
    case QSerialPort::PermissionError: // locked by another program, or not ours to open
        m_openFailure = OpenFailure::InUse;
        break;
    default:
        m_openFailure = OpenFailure::Other;
        break;
    }
    return false;
}

// The device file (or the link to it) is there; it is neither opened nor locked to find out.
bool QtSerialService::devicePresent() const
{
    const QString device = comPortDevice(m_portNumber);
    return !device.isEmpty() && QFileInfo::exists(device);
}

void QtSerialService::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

void QtSerialService::write(const QByteArray& text)
{
    if (!m_port.isOpen() || text.isEmpty())
        return;
    m_port.write(text);
    // Hand the text to the driver now: no event loop runs while the link waits for the answer.
    const QDeadlineTimer deadline(kWriteTimeoutMs, Qt::PreciseTimer);
    while (m_port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_port.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    // A device that vanished under an open port fails its writes: the port is closed, so that the
    // next opening finds out (and the link can tell that its send went nowhere).
    if (m_port.error() == QSerialPort::ResourceError || m_port.error() == QSerialPort::WriteError)
        close();
}

QByteArray QtSerialService::takeInput()
{
    if (!m_port.isOpen())
        return QByteArray();
    fetchPendingInput();
    return m_port.readAll();
}

void QtSerialService::fetchPendingInput()
{
    // Input reaches QSerialPort's buffer only when it reads the driver; without an event loop that
    // happens here. A zero wait reads what is there and never blocks.
    for (int i = 0; i < kMaxFetchesPerTake && m_port.bytesAvailable() < kReadBufferBytes; ++i) {
        if (!m_port.waitForReadyRead(0))
            break;
    }
}

void QtSerialService::waitForInput(int msecs)
{
    if (msecs <= 0)
        return;
    const QDeadlineTimer deadline(msecs, Qt::PreciseTimer);
    if (m_port.isOpen()) {
        if (m_port.bytesAvailable() > 0)
            return;
        // Returns early with input, or early without it when the device failed or vanished.
        m_port.waitForReadyRead(msecs);
        if (m_port.bytesAvailable() > 0)
            return;
    }
    // A closed, failed or vanished port waits out the time, so a caller looping on it never spins.
    const qint64 remaining = deadline.remainingTime();
    if (remaining > 0)
        QThread::msleep(static_cast<unsigned long>(remaining));
}

} // namespace orx
