#pragma once
// A GPIB device service with virtual instruments at primary addresses, for tests and window-level
// tests. Writes go to the instrument at the current primary address; its answer waits there until
// read. Every call is recorded: log() gives, in order, "address 8", "apply", "apply failed",
// "GPIB8: *IDN?" (a write), "GPIB5: *IDN? failed" (a write with nobody there), "read GPIB8",
// "read GPIB8 failed" and "local GPIB8"; lines() gives the writes alone, commands() just their text.
//
//     sim::Instrument orx(1);
//     sim::SimGpibService gpib(clock);
//     gpib.attachInstrument(8, &orx);

#include "base/program_state.h"
#include "link/clock.h"
#include "link/gpib_service.h"
#include "sim/sim_fault.h"

#include <QHash>
#include <QStringList>
#include <optional>

namespace orx::sim {

class Instrument;

class SimGpibService : public GpibService
{
public:
    static constexpr int kDefaultAddress = kDefaultGpibAddress;

    // Without a clock the instruments' time stands still (their automatic sequence does not step).
    SimGpibService();
    explicit SimGpibService(const Clock& clock);

    // Puts an instrument (not owned; it must outlive the service) at a primary address.
    void attachInstrument(int address, Instrument* instrument);

    // No usable GPIB interface: applying the configuration fails, and so does every transfer.
    void setInterfaceAvailable(bool available) { m_available = available; }
    // Applying the configuration fails while this address is selected.
    void setFailingAddress(std::optional<int> address) { m_failingAddress = address; }
    // Silence (and Late, since a read does not wait): instruments act on writes, but no answer can
    // be read. Garbage: noise is read instead of each answer. Unplugged: no device answers at all.
    void setFault(Fault fault) { m_fault = fault; }

    QStringList log() const { return m_log; }
    QStringList lines() const;
    QStringList commands() const { return m_commands; }
    void clearLog();

    // GpibService
    int primaryAddress() const override { return m_address; }
    bool setPrimaryAddress(int address) override;
    bool applyConfiguration() override;
    bool write(const QByteArray& text) override;
    std::optional<QByteArray> read() override;
    bool goToLocal() override;

private:
    qint64 nowMs() const { return m_clock ? m_clock->nanoseconds() / 1'000'000 : 0; }
    QString device() const { return QStringLiteral("GPIB%1").arg(m_address); }
    Instrument* instrumentHere() const;

    const Clock* m_clock = nullptr;
    QHash<int, Instrument*> m_instruments;
    QHash<int, QByteArray> m_pending; // unread answer per address
    bool m_available = true;
    std::optional<int> m_failingAddress;
    Fault m_fault = Fault::None;
    quint32 m_noiseSeed = 1;
    int m_address = kDefaultAddress;

    QStringList m_log;
    QStringList m_commands;
};

} // namespace orx::sim
