#include "link/command_link.h"

#include "app/numbers.h"
#include "link/clock.h"
#include "link/gpib_service.h"
#include "link/serial_service.h"
#include "ui/dialogs.h"
#include "ui/status_panels.h"

#include <algorithm>

namespace orx {
namespace {

// Characters cross the wire one byte each; nothing beyond Latin-1 is ever sent or expected.
QByteArray toWire(const QString& text)
{
    return text.toLatin1();
}

QString fromWire(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace

CommandLink::CommandLink(ProgramState& state, SerialService& serial, GpibService& gpib, Dialogs& dialogs,
                         StatusPanels& status, const Clock& clock)
    : m_state(state), m_serial(serial), m_gpib(gpib), m_dialogs(dialogs), m_status(status), m_clock(clock)
{}

void CommandLink::SendCommand(const QString& command)
{
    if (serialSelected()) {
        SerialSend(command);
        return;
    }
    // GPIB: the command goes out exactly as given; ending the message is the service's business.
    // A failed write is ignored, as every GPIB error is when sending.
    m_gpib.write(toWire(command));
}

void CommandLink::SerialSend(const QString& command)
{
    OpenSerialPort();
    if (!m_serial.isOpen())
        return;
    // An answer that arrived after its read gave up would otherwise be taken as the answer to the
    // next query, shifting every answer after it by one.
    m_serial.takeInput();
    m_serial.write(toWire(command + u'\r'));
}

void CommandLink::ReadResponse()
{
    m_state.LinkError = 1;
    if (serialSelected()) {
        QString text = m_state.ResponseBuffer;
        SerialReadLine(text);
        m_state.ResponseBuffer = text;
    } else {
        m_state.ResponseBuffer = QString();
        if (const auto answer = m_gpib.read())
            m_state.ResponseBuffer = fromWire(*answer);
        // An empty answer leaves the buffer blank; an answer that starts with a blank counts as failed
        // too.
        if (m_state.ResponseBuffer.text().front() != u' ')
            m_state.LinkError = 0;
    }
    if (m_state.LinkError != 0)
        ++m_failedReads;
}

void CommandLink::SerialReadLine(QString& text)
{
    m_state.LinkError = 0;
    OpenSerialPort();
    text.clear();
    if (!m_serial.isOpen()) {
        // A port that cannot be opened fails at once, as a time-out would, without the wait.
        m_state.LinkError = 1;
        reportSerialTimeout();
        return;
    }
    const qint64 start = m_clock.nanoseconds();
    for (;;) {
        appendCapped(text, fromWire(m_serial.takeInput()));
        if (!text.isEmpty() && text.back() == u'\n')
            break;
        const qint64 elapsed = m_clock.nanoseconds() - start;
        if (elapsed > kAnswerTimeoutNs) {
            m_state.LinkError = 1;
            CloseSerialPort();
            reportSerialTimeout();
            return;
        }
        // Sleep on the port until input comes or the answer time is up (at least 1 ms, so that a
        // read still running at exactly one second waits on past it).
        const qint64 remainingMs = std::max<qint64>(1, (kAnswerTimeoutNs - elapsed + 999'999) / 1'000'000);
        m_serial.waitForInput(static_cast<int>(remainingMs));
    }
    text.chop(1); // the line feed only; a carriage return before it stays
}

void CommandLink::OpenSerialPort()
{
    if (!m_serial.isOpen())
        m_serial.setOpen(true);
}

void CommandLink::CloseSerialPort()
{
    if (m_serial.isOpen())
        m_serial.setOpen(false);
}

bool CommandLink::query(const QString& command)
{
    SendCommand(command);
    ReadResponse();
    return m_state.LinkError == 0;
}

double CommandLink::responseValue() const
{
    return leadingNumber(m_state.ResponseBuffer.text());
}

void CommandLink::reportSerialTimeout()
{
    if (m_state.ConnectStarted != 0)
        return;
    m_dialogs.messageBox(QStringLiteral("Communication error!"), QStringLiteral("Warning"));
    m_status.setPanelText(1, QStringLiteral("Communication error"));
}

void CommandLink::appendCapped(QString& text, const QString& received)
{
    if (received.isEmpty())
        return;
    text += received;
    if (text.size() > kMaxLineLength) {
        // Keep the head (what the buffer will show) and the last character (the line-feed test).
        const QChar last = text.back();
        text.truncate(kMaxLineLength - 1);
        text.append(last);
    }
}

} // namespace orx
