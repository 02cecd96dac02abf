#pragma once
// Pieces the benchmarks share: dialogs and a status bar that show nothing, CPU clocks, and a serial
// service that counts the characters crossing the wire.

#include "link/serial_service.h"
#include "ui/dialogs.h"
#include "ui/status_panels.h"

namespace orx::bench {

class NoDialogs : public Dialogs
{
public:
    void messageBox(const QString&, const QString&) override {}
    QString inputBox(const QString&, const QString&, const QString& answer) override { return answer; }
    QString openFileName(const QString&) override { return {}; }
    QString saveFileName(const QString&) override { return {}; }
    bool openDocument(const QString&) override { return false; }
};

class NoStatus : public StatusPanels
{
public:
    void setPanelText(int, const QString&) override {}
    QString panelText(int) const override { return {}; }
};

// Passes everything to another serial service and counts the characters written and received.
class CountingSerial : public SerialService
{
public:
    explicit CountingSerial(SerialService& inner) : m_inner(inner) {}

    void setPortNumber(int port) override { m_inner.setPortNumber(port); }
    int portNumber() const override { return m_inner.portNumber(); }
    void setSettings(const QString& settings) override { m_inner.setSettings(settings); }
    QString settings() const override { return m_inner.settings(); }
    bool setOpen(bool open) override { return m_inner.setOpen(open); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void write(const QByteArray& text) override
    {
        characters += text.size();
        m_inner.write(text);
    }
    QByteArray takeInput() override
    {
        const QByteArray input = m_inner.takeInput();
        characters += input.size();
        return input;
    }
    void waitForInput(int msecs) override { m_inner.waitForInput(msecs); }

    qint64 characters = 0; // both directions

private:
    SerialService& m_inner;
};

// CPU time of the whole process and of the calling thread, in seconds.
double processCpuSeconds();
double threadCpuSeconds();

// Seconds a number of characters needs on the wire at a baud rate (10 bits a character).
inline double wireSeconds(qint64 characters, int baud)
{
    return double(characters) * 10.0 / baud;
}

} // namespace orx::bench
