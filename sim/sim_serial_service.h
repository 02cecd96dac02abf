#pragma once
// A serial-port service with virtual instruments behind its ports, for tests and window-level tests.
// Time is a manual clock: waiting for input moves the clock on instead of sleeping, so a time-out
// costs no real time, and instruments see that clock.
//
//     ManualClock clock;
//     sim::Instrument orx(0);
//     sim::SimSerialService serial(clock);
//     serial.attachInstrument(3, &orx, 2400); // COM3, 2400 baud
//     serial.addEmptyPort(1);                 // COM1 opens but nothing answers; COM2, COM4 absent
//
// The open port's line is a WireModel, unpaced: every written line is passed to the instrument when
// the port's settings name its baud rate, and its answer and a line feed then wait as input.
// Every call that matters is recorded: log() gives, in order, "port 3", "settings 2400,n,8,1",
// "open COM3", "open COM2 failed", "close COM3" and the written lines as "COM3 2400,n,8,1: *IDN?";
// lines() gives the written lines alone, commands() just their text ("*IDN?").

#include "link/clock.h"
#include "link/serial_service.h"
#include "sim/sim_fault.h"
#include "sim/wire_model.h"

#include <QMap>
#include <QSet>
#include <QStringList>

namespace orx::sim {

class Instrument;

class SimSerialService : public SerialService
{
public:
    explicit SimSerialService(ManualClock& clock);

    // Puts an instrument (not owned; it must outlive the service) behind COM`port`, answering at
    // `baud`. A port that already had one gets the new one.
    void attachInstrument(int port, Instrument* instrument, int baud);
    // A port that opens but has nothing connected.
    void addEmptyPort(int port);
    // Another program holds the port: it exists but cannot be opened.
    void setPortInUse(int port, bool inUse)
    {
        if (inUse)
            m_portsInUse.insert(port);
        else
            m_portsInUse.remove(port);
    }

    // Faults of every port with an instrument. Unplugged: such ports can no longer be opened, and a
    // port that is open receives nothing and passes nothing on. Late answers arrive lateMs after
    // the line that asked for them; babble is a stream of noise pieces every 20 ms of the clock.
    void setFault(Fault fault) { m_wire.setFault(fault); }
    Fault fault() const { return m_wire.fault(); }
    void setLateMs(int ms) { m_wire.setLateMs(ms); }

    QStringList log() const { return m_log; }
    QStringList lines() const;
    QStringList commands() const { return m_commands; }
    void clearLog();

    // SerialService
    void setPortNumber(int port) override;
    int portNumber() const override { return m_portNumber; }
    void setSettings(const QString& settings) override;
    QString settings() const override { return m_settings; }
    bool setOpen(bool open) override;
    bool isOpen() const override { return m_openPort != 0; }
    OpenFailure lastOpenFailure() const override { return m_openFailure; }
    bool devicePresent() const override;
    void write(const QByteArray& text) override;
    QByteArray takeInput() override;
    void waitForInput(int msecs) override;

private:
    struct Port
    {
        Instrument* instrument = nullptr;
        int baud = 0;
    };

    static QString portName(int port);
    void closePort();
    void releaseDue();

    ManualClock& m_clock;
    QMap<int, Port> m_ports;
    WireModel m_wire{nullptr, 0, false}; // the open port's line, unpaced

    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    int m_openPort = 0; // the port that is open, 0 when closed
    QSet<int> m_portsInUse;
    OpenFailure m_openFailure = OpenFailure::None;
    QByteArray m_input; // received, not yet taken

    QStringList m_log;
    QStringList m_commands;
};

// The baud rate of a settings text such as "2400,n,8,1"; 0 when it names none.
int baudOfSettings(const QString& settings);

} // namespace orx::sim
