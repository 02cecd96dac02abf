#pragma once
// A serial port driven by a test: it records what is written and delivers scripted bytes at scripted
// moments of a manual clock. Waiting advances that clock, so a time-out costs no real time.

#include "link/clock.h"
#include "link/serial_service.h"

#include <QByteArrayList>
#include <QList>
#include <functional>

namespace orx::test {

class ScriptedSerial : public SerialService
{
public:
    explicit ScriptedSerial(ManualClock& clock) : m_clock(clock) {}

    // Bytes that arrive `afterMs` after the next write (or after now when nothing is written later).
    void answerNextWrite(const QByteArray& bytes, qint64 afterMs = 0)
    {
        m_onNextWrite.append({afterMs, bytes});
    }
    void setPortNumber(int port) override { m_port = port; }
    int portNumber() const override { return m_port; }
    void setSettings(const QString& settings) override { m_settings = settings; }
    QString settings() const override { return m_settings; }
    bool setOpen(bool open) override;
    bool isOpen() const override { return m_open; }
    void write(const QByteArray& text) override;
    QByteArray takeInput() override;
    void waitForInput(int msecs) override;

    // When set, answers every write at once with what it returns for the written text.
    std::function<QByteArray(const QByteArray& written)> responder;

    bool openFails = false; // the port cannot be opened
    QByteArrayList written; // every write, in order
    int waits = 0;          // calls of waitForInput

private:
    struct Delivery
    {
        qint64 atNs;
        QByteArray bytes;
    };
    void releaseDue();

    ManualClock& m_clock;
    int m_port = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    bool m_open = false;
    QByteArray m_input;
    QList<Delivery> m_scheduled;                    // due at a moment of the clock
    QList<QPair<qint64, QByteArray>> m_onNextWrite; // (delay ms, bytes), armed by the next write
};

} // namespace orx::test
