#pragma once
// The instrument's automatic memory sequence: the Autorun switch, and the start memory, cease memory
// and cycle count of the Auto Mode group with their limits and sends. Values written by the program
// are held within their limits and never sent; only the operator's finished actions on the three
// fields send, and each first switches the sequence off.

#include <optional>

class QObject;

namespace orx {

class CommandLink;
class FieldSends;
class NumericField;
class PanelStates;
struct Form1Controls;
struct Form1Members;
struct ProgramState;

class AutoMode
{
public:
    AutoMode(const Form1Controls& controls, const ProgramState& state, Form1Members& members,
             CommandLink& link, PanelStates& panelStates);

    void autorun_Click(int index);
    void SendAutoRange();
    void SendAutoCycles();
    void LimitStartMemory();
    void LimitEndMemory();
    void LimitCycleCount();

    // Wires the three fields' value changes to their limits and, through `sends`, their user actions
    // to the sends; `context` owns the connections.
    void connectFields(QObject* context, FieldSends& sends);

private:
    void switchSequenceOff();

    const Form1Controls& m_c;
    const ProgramState& m_state;
    Form1Members& m_members;
    CommandLink& m_link;
    PanelStates& m_panelStates;
};

// Shows the range the instrument reported (each part only when it was answered) without the two
// fields' limits fighting it: when the new start lies above the end the field shows, the end is
// written first, otherwise the start.
void showInstrumentRange(NumericField* stm, NumericField* endm, std::optional<double> start,
                         std::optional<double> end);

} // namespace orx
