#pragma once
// The virtual ORX instrument: one power supply of any of the three models, answering the command
// set one line at a time. It holds set-points and protection levels inside the model's limits, a
// resistive load so that measurements follow constant-voltage / constant-current behaviour, latched
// OVP and OCP trips, 100 setting memories with delays, the automatic memory sequence and the
// local/remote state.
//
// The model is pure: no event loop, no I/O, no clock of its own. Each line comes with the time of a
// monotonic clock in milliseconds, which drives the automatic sequence; the serial and GPIB services
// and the pty server feed it.
//
// Values the panel never sends are treated as a real supply would: a number beyond the active range
// is held at the limit and "Data out of range" goes onto the error queue; an unknown command or a
// malformed argument changes nothing and queues an error; an unknown query gets no answer.
//
// Ranges: a voltage is held to the active range's maximum. A current is taken up to the model's
// maximum (the low range's) in either range, because the panel sends a current before the range
// command that goes with the next voltage: ":CURR 15.000" on an ORX-A100 in the high range is held
// as 15.000, and the next range command settles it: the low range keeps it, the high range lowers it
// to the high range's maximum and queues "Data out of range" (so "5 V, 15 A, then :VOLT:RANG LOW"
// reads back 15.000). Until then the output regulates to the range's maximum. Any set-point a range
// change lowers queues that error.

#include "sim/auto_sequence.h"
#include "sim/error_queue.h"
#include "sim/instrument_settings.h"

#include <QString>
#include <optional>

namespace orx::sim {

class Instrument
{
public:
    explicit Instrument(int modelIndex = 0);

    // One received line (without or with its CR/LF) at `nowMs`; the answer text without terminator,
    // or nothing when the line is not a query (or not a query the instrument knows).
    std::optional<QString> handleLine(const QString& line, qint64 nowMs);

    // Lets the instrument's own clock run to `nowMs` (the automatic sequence steps on it).
    void advanceTo(qint64 nowMs);

    // Identity: "QZ.Inc,<model>,<serial>,<version>".
    int modelIndex() const { return m_model; }
    QString modelName() const;
    QString identity() const;
    void setSerialNumber(const QString& serial) { m_serial = serial; }
    void setFirmwareVersion(const QString& version) { m_version = version; }

    // The resistive load on the output terminals. A load below 0 ohms (or not a number) is refused.
    bool setLoadOhms(double ohms);
    void setOpenCircuit();
    std::optional<double> loadOhms() const { return m_loadOhms; } // nothing = open circuit

    // What ":MEAS?" and ":MEAS:CURR?" report: 0 while the output is off.
    double measuredVoltage() const;
    double measuredCurrent() const;

    // Test hooks: the operator presses the output key on the front panel; a protection trips now
    // whatever the output (switching it off); the GPIB go-to-local message.
    void frontPanelOutputOff();
    void forceTrip(Protection protection);
    void goToLocal() { m_remote = false; }
    // A fault: the next "*SAV" of `memory` is lost, as a save the instrument missed would be.
    void ignoreNextSave(int memory) { m_ignoredSave = memory; }

    // The instrument's state, for tests and for the demo.
    const Settings& active() const { return m_active; }
    bool outputOn() const { return m_outputOn; }
    bool highRange() const { return m_highRange; }
    bool tripped(Protection protection) const;
    bool isRemote() const { return m_remote; }
    bool autoRunning() const { return m_sequence.running(); }
    int autoMemory() const { return m_sequence.currentMemory(); }
    const AutoPlan& autoPlan() const { return m_plan; }
    const Settings& memory(int number) const;
    void setMemory(int number, const Settings& settings);
    size_t pendingErrors() const { return m_errors.size(); }

private:
    struct Command;
    static const Command* findCommand(const QString& header);

    // Queries.
    std::optional<QString> identify(const QString&);
    std::optional<QString> nextError(const QString&);
    std::optional<QString> voltageSetpoint(const QString&);
    std::optional<QString> currentSetpoint(const QString&);
    std::optional<QString> ovpLevel(const QString&);
    std::optional<QString> ocpLevel(const QString&);
    std::optional<QString> rangeQuery(const QString&);
    std::optional<QString> measureVoltage(const QString&);
    std::optional<QString> measureCurrent(const QString&);
    std::optional<QString> outputState(const QString&);
    std::optional<QString> ovpState(const QString&);
    std::optional<QString> ocpState(const QString&);
    std::optional<QString> ovpTrip(const QString&);
    std::optional<QString> ocpTrip(const QString&);
    std::optional<QString> autoState(const QString&);
    std::optional<QString> autoStart(const QString&);
    std::optional<QString> autoEnd(const QString&);
    std::optional<QString> autoCycles(const QString&);
    std::optional<QString> autoDelay(const QString&);

    // Settings.
    std::optional<QString> clearStatus(const QString&);
    std::optional<QString> returnToLocal(const QString&);
    std::optional<QString> setVoltage(const QString& argument);
    std::optional<QString> setCurrent(const QString& argument);
    std::optional<QString> setOvpLevel(const QString& argument);
    std::optional<QString> setOcpLevel(const QString& argument);
    std::optional<QString> setRange(const QString& argument);
    std::optional<QString> setOutput(const QString& argument);
    std::optional<QString> setOvpState(const QString& argument);
    std::optional<QString> setOcpState(const QString& argument);
    std::optional<QString> clearOvp(const QString&);
    std::optional<QString> clearOcp(const QString&);
    std::optional<QString> saveMemory(const QString& argument);
    std::optional<QString> recallMemory(const QString& argument);
    std::optional<QString> setAutoDelay(const QString& argument);
    std::optional<QString> setAutoRun(const QString& argument);
    std::optional<QString> setAutoStart(const QString& argument);
    std::optional<QString> setAutoEnd(const QString& argument);
    std::optional<QString> setAutoCycles(const QString& argument);

    // Rules shared by the commands.
    std::optional<qint64> milliArgument(const QString& argument);
    std::optional<qint64> wholeArgument(const QString& argument);
    std::optional<int> memoryArgument(const QString& argument);
    qint64 heldWithin(qint64 value, qint64 maximum);
    bool applyMemory(int number);
    void fitSetpointsToRange();
    qint64 rangeMaxCurrent() const;
    qint64 regulatedCurrent() const;
    bool checkProtection(); // true when a protection tripped just now
    void trip(Protection protection);

    int m_model;
    QString m_serial = QStringLiteral("SN000001");
    QString m_version = QStringLiteral("1.00");
    MilliLimits m_limits;
    Settings m_active;
    MemoryBank m_memories;
    bool m_highRange = false;
    bool m_outputOn = false;
    bool m_ovpTripped = false;
    bool m_ocpTripped = false;
    bool m_remote = false;
    std::optional<double> m_loadOhms; // nothing = open circuit
    AutoPlan m_plan{0, 9, 1};         // factory sequence: memories 0 to 9, once
    AutoSequence m_sequence;
    qint64 m_nowMs = 0;
    std::optional<int> m_ignoredSave;
    ErrorQueue m_errors;
};

} // namespace orx::sim
