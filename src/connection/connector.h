#pragma once
// Finds the instrument and makes the panel reflect it: the automatic search over every usable serial
// port at every baud rate and then every GPIB address, the identification from the identity answer,
// and the read-back of the whole state, with progress shown in a small dialog. It also connects again
// without a search, to the same instrument on the same port and settings (or GPIB address).

#include "connection/link_watch.h"

#include <QString>
#include <functional>
#include <optional>

class QTimer;
class QWidget;

namespace orx {

class CommandLink;
class Dialogs;
class Form2;
class InterfaceSelection;
class PanelStates;
class ReadBack;
class SetpointEntry;
struct Form1Controls;
struct Form1Members;
struct ProgramState;

class Connector
{
public:
    struct Parts
    {
        PanelStates& panelStates;
        InterfaceSelection& interfaceSelection;
        ReadBack& readBack;
        SetpointEntry& setpoints;
    };

    Connector(QWidget* mainWindow, const Form1Controls& controls, ProgramState& state, Form1Members& members,
              CommandLink& link, Dialogs& dialogs, Parts parts, QTimer& timer1, QTimer& timer2,
              std::function<bool()> programEnding);

    void StartConnect();
    void Timer2_Timer();
    void ConnectInstrument();
    void ShowModel(int modelIndex);
    // Enables the panel after a connect, or shows it not connected when the last answer went missing.
    void ShowConnectResult();

    // Connects again, without a search, on the port and settings (or GPIB address) still selected:
    // only an identity answer equal to the last connect's is taken, and then the whole state is read
    // back as a connect reads it (monitoring resumes when the output is on). Panel states are the
    // caller's.
    RejoinResult Rejoin();

    // The read-back that ends a connect: the whole state, the auto mode and the output (which starts
    // or stops the monitoring), with its progress in `progress` when there is one.
    void readInstrumentState(Form2* progress = nullptr);

private:
    // Each search returns the identity answer of the instrument it found.
    std::optional<QString> searchSerial(Form2& dialog);
    std::optional<QString> searchGpib(Form2& dialog);
    bool tryIdentity(QString& identity);
    void identify(const QString& identity);
    void resumeMonitoring();
    void reportNotFound();
    bool letEventsRunAndCheckEnding();

    QWidget* m_mainWindow;
    const Form1Controls& m_c;
    ProgramState& m_state;
    Form1Members& m_members;
    CommandLink& m_link;
    Dialogs& m_dialogs;
    Parts m_parts;
    QTimer& m_timer1;
    QTimer& m_timer2;
    std::function<bool()> m_programEnding;
};

} // namespace orx
