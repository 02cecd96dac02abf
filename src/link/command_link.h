#pragma once
// The command link: the only road between the program and the instrument. It sends one command line
// and reads one answer line over the selected interface (RS-232 or GPIB), synchronously on the calling
// thread. A query is always SendCommand followed at once by ReadResponse; the answer lands in
// ResponseBuffer and LinkError tells whether it arrived. Observers (link_observer.h) may watch every
// exchange; they never change one.

#include "base/program_state.h"
#include "link/link_observer.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace orx {

class Clock;
class Dialogs;
class GpibService;
class SerialService;
class StatusPanels;

class CommandLink
{
public:
    // How long a serial answer may take: the read fails once strictly more than this has passed.
    static constexpr qint64 kAnswerTimeoutNs = 1'000'000'000;
    // Most characters one serial read keeps while waiting for the line feed; only the first 40
    // ever reach ResponseBuffer, the cap just keeps a chattering device from filling memory.
    static constexpr qsizetype kMaxLineLength = 1024;
    // After a time-out the answer may still come. Before the next command on the same port and
    // settings, input is read and thrown away until the line has been quiet this long (but never
    // longer than kLateAnswerWaitNs in all, nor once more than a line's worth of noise came), so an
    // answer up to about 1.5 s late is never taken as the answer to the next query.
    static constexpr qint64 kLateAnswerQuietNs = 500'000'000;
    static constexpr qint64 kLateAnswerWaitNs = 2'000'000'000;

    CommandLink(ProgramState& state, SerialService& serial, GpibService& gpib, Dialogs& dialogs,
                StatusPanels& status, const Clock& clock);

    void SendCommand(const QString& command);
    void ReadResponse();
    void SerialSend(const QString& command);
    void SerialReadLine(QString& text);
    void OpenSerialPort();
    void CloseSerialPort();

    // SendCommand and ReadResponse in one; true when the answer arrived (LinkError = 0).
    bool query(const QString& command);
    // The answer in ResponseBuffer read by the leading-number rule.
    double responseValue() const;
    // How many reads have failed so far: a long operation compares it before and after to learn
    // whether every answer of its queries arrived.
    qint64 failedReads() const { return m_failedReads; }

    SerialService& serial() { return m_serial; }
    GpibService& gpib() { return m_gpib; }

    // Observers are not owned; each must be removed before it goes. Adding one twice adds it once.
    void addObserver(LinkObserver* observer);
    void removeObserver(LinkObserver* observer);
    // A connect begins: the observers' times count from here.
    void noteConnectStarted();
    // The interface selected now: "COM2 9600" or "GPIB 8".
    QString interfaceName() const;
    // Whose exchanges follow, as observers see it in every moment: empty (the default) for the
    // panel's own, else the remote client's name. Whoever sets it sets it back.
    void setOrigin(const QString& origin) { m_origin = origin; }
    // Tells the observers a remark on the link's use from `origin`.
    void remark(const QString& origin, const QString& text, bool trouble);
    // The whole last answer that arrived, without its line feed (ResponseBuffer keeps only 40
    // characters of it); empty after a read that failed.
    const QString& lastAnswer() const { return m_lastAnswer; }

    // True when the last serial send could not reach the port (it could not be opened, or the device
    // went away under the write).
    bool lastSendFailed() const { return m_lastSendFailed; }

private:
    bool serialSelected() const { return m_state.InterfaceMode == 1; }
    void reportSerialTimeout();
    static void appendCapped(QString& text, const QString& received);
    void discardLateAnswer();
    void discardInput(const QByteArray& stale);
    // Calls `report(observer, moment)` for every observer; costs nothing when there is none.
    template <typename Report>
    void tell(Report report);

    ProgramState& m_state;
    SerialService& m_serial;
    GpibService& m_gpib;
    Dialogs& m_dialogs;
    StatusPanels& m_status;
    const Clock& m_clock;
    std::vector<LinkObserver*> m_observers;
    qint64 m_connectStartNs;
    QString m_origin;
    QString m_lastAnswer;
    bool m_lastSendFailed = false;
    // Where the last time-out happened (port and settings), while its answer may still come.
    std::optional<std::pair<int, QString>> m_overdueAnswer;
    qint64 m_failedReads = 0;
};

} // namespace orx
