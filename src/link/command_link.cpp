#include "link/command_link.h"

#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/status_panels.h"
#include "link/clock.h"
#include "link/gpib_service.h"
#include "link/serial_service.h"

#include <algorithm>
#include <utility>

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
    : m_state(state), m_serial(serial), m_gpib(gpib), m_dialogs(dialogs), m_status(status), m_clock(clock),
      m_connectStartNs(clock.nanoseconds())
{}

QString CommandLink::interfaceName() const
{
    if (!serialSelected())
        return QStringLiteral("GPIB %1").arg(m_gpib.primaryAddress());
    return QStringLiteral("COM%1 %2").arg(m_serial.portNumber()).arg(m_serial.settings().section(u',', 0, 0));
}

template <typename Report>
void CommandLink::tell(Report report)
{
    if (m_observers.empty())
        return;
    const LinkMoment at{m_clock.nanoseconds() - m_connectStartNs, m_clock.wallMilliseconds(), interfaceName(),
                        m_origin};
    for (LinkObserver* observer : m_observers)
        report(*observer, at);
}

void CommandLink::SendCommand(const QString& command)
{
    if (serialSelected()) {
        SerialSend(command);
        return;
    }
    // GPIB: the command goes out exactly as given; ending the message is the service's business.
    // A failed write is ignored, as every GPIB error is when sending.
    const QByteArray bytes = toWire(command);
    if (m_gpib.write(bytes))
        tell([&bytes](LinkObserver& o, const LinkMoment& at) { o.sent(at, bytes); });
    else
        tell([&bytes](LinkObserver& o, const LinkMoment& at) { o.gpibWriteFailed(at, bytes); });
}

void CommandLink::SerialSend(const QString& command)
{
    OpenSerialPort();
    m_lastSendFailed = !m_serial.isOpen();
    if (m_lastSendFailed)
        return;
    // An answer that arrived after its read gave up would otherwise be taken as the answer to the
    // next query, shifting every answer after it by one.
    discardLateAnswer();
    discardInput(m_serial.takeInput());
    const QByteArray bytes = toWire(command + u'\r');
    m_serial.write(bytes);
    m_lastSendFailed = !m_serial.isOpen(); // the device went away under the write
    tell([&bytes](LinkObserver& o, const LinkMoment& at) { o.sent(at, bytes); });
}

void CommandLink::discardInput(const QByteArray& stale)
{
    if (!stale.isEmpty())
        tell([&stale](LinkObserver& o, const LinkMoment& at) { o.staleInputDiscarded(at, stale); });
}

// After a time-out on this port and these settings, waits for the line to fall quiet, throwing away
// what comes meanwhile: the answer that was too late. Another port or baud rate (the connect search)
// needs no wait: a late answer there is not the next query's.
void CommandLink::discardLateAnswer()
{
    if (!m_overdueAnswer)
        return;
    const auto [port, settings] = *m_overdueAnswer;
    m_overdueAnswer.reset();
    if (port != m_serial.portNumber() || settings != m_serial.settings())
        return;
    const qint64 start = m_clock.nanoseconds();
    qint64 quietSince = start;
    qsizetype discarded = 0;
    for (;;) {
        const QByteArray late = m_serial.takeInput();
        const qint64 now = m_clock.nanoseconds();
        if (!late.isEmpty()) {
            discardInput(late);
            quietSince = now;
            discarded += late.size();
        }
        const qint64 quietLeft = kLateAnswerQuietNs - (now - quietSince);
        const qint64 waitLeft = kLateAnswerWaitNs - (now - start);
        // More than a line's worth is noise, not a late answer: waiting for quiet would not end.
        if (quietLeft <= 0 || waitLeft <= 0 || discarded > kMaxLineLength)
            return;
        m_serial.waitForInput(static_cast<int>((std::min(quietLeft, waitLeft) + 999'999) / 1'000'000));
    }
}

void CommandLink::ReadResponse()
{
    m_state.LinkError = 1;
    m_lastAnswer.clear();
    if (serialSelected()) {
        QString text = m_state.ResponseBuffer;
        SerialReadLine(text);
        m_state.ResponseBuffer = text;
        if (m_state.LinkError == 0)
            m_lastAnswer = text;
    } else {
        m_state.ResponseBuffer = QString();
        const auto answer = m_gpib.read();
        if (answer) {
            m_state.ResponseBuffer = fromWire(*answer);
            tell([&answer](LinkObserver& o, const LinkMoment& at) { o.received(at, *answer); });
        } else {
            tell([](LinkObserver& o, const LinkMoment& at) { o.gpibReadFailed(at); });
        }
        // An empty answer leaves the buffer blank; an answer that starts with a blank counts as failed
        // too.
        if (m_state.ResponseBuffer.text().front() != u' ') {
            m_state.LinkError = 0;
            m_lastAnswer = fromWire(*answer);
        }
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
            tell([&text](LinkObserver& o, const LinkMoment& at) { o.timedOut(at, toWire(text)); });
            m_state.LinkError = 1;
            m_overdueAnswer = std::pair{m_serial.portNumber(), m_serial.settings()};
            CloseSerialPort();
            reportSerialTimeout();
            return;
        }
        // Sleep on the port until input comes or the answer time is up (at least 1 ms, so that a
        // read still running at exactly one second waits on past it).
        const qint64 remainingMs = std::max<qint64>(1, (kAnswerTimeoutNs - elapsed + 999'999) / 1'000'000);
        m_serial.waitForInput(static_cast<int>(remainingMs));
    }
    tell([&text](LinkObserver& o, const LinkMoment& at) { o.received(at, toWire(text)); });
    text.chop(1); // the line feed only; a carriage return before it stays
}

void CommandLink::OpenSerialPort()
{
    if (!m_serial.isOpen() && !m_serial.setOpen(true))
        tell([](LinkObserver& o, const LinkMoment& at) { o.openFailed(at); });
}

void CommandLink::CloseSerialPort()
{
    if (m_serial.isOpen())
        m_serial.setOpen(false);
}

void CommandLink::addObserver(LinkObserver* observer)
{
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void CommandLink::removeObserver(LinkObserver* observer)
{
    std::erase(m_observers, observer);
}

void CommandLink::noteConnectStarted()
{
    m_connectStartNs = m_clock.nanoseconds();
    tell([](LinkObserver& o, const LinkMoment& at) { o.connectStarted(at); });
}

void CommandLink::remark(const QString& origin, const QString& text, bool trouble)
{
    const QString own = std::exchange(m_origin, origin);
    tell([&text, trouble](LinkObserver& o, const LinkMoment& at) { o.remarked(at, text, trouble); });
    m_origin = own;
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
