#pragma once
// The serial-port service over a real serial device (QSerialPort). It blocks on the calling thread
// and never runs other events, as the command link requires. A device that cannot be opened, fails
// or vanishes while open is reported by the port staying closed or by input never arriving; it never
// raises anything.

#include "link/serial_service.h"

#include <QSerialPort>

namespace orx {

class QtSerialService : public SerialService
{
public:
    static constexpr int kDefaultPort = 1;
    // How long a write may take to reach the device driver before the rest is left to the event loop.
    static constexpr int kWriteTimeoutMs = 1000;
    // The most unread input kept; a device that chatters while nobody reads cannot fill memory.
    static constexpr qint64 kReadBufferBytes = 64 * 1024;

    QtSerialService();

    void setPortNumber(int port) override;
    int portNumber() const override { return m_portNumber; }
    void setSettings(const QString& settings) override;
    QString settings() const override { return m_settingsText; }
    bool setOpen(bool open) override;
    bool isOpen() const override { return m_port.isOpen(); }
    OpenFailure lastOpenFailure() const override { return m_openFailure; }
    bool devicePresent() const override;
    void write(const QByteArray& text) override;
    QByteArray takeInput() override;
    void waitForInput(int msecs) override;

private:
    bool open();
    void close();
    void applySettings();
    void fetchPendingInput();

    QSerialPort m_port;
    int m_portNumber = kDefaultPort;
    QString m_settingsText = QStringLiteral("9600,n,8,1");
    OpenFailure m_openFailure = OpenFailure::None;
};

} // namespace orx
