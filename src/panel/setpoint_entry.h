#pragma once
// Set-point entry on the main window: the limit rules of the eight voltage, current and protection
// fields (the channel's four and the Memory group's four), the sends of the channel's four fields on
// the operator's actions, and the range choice that goes with a voltage.
//
// A value change from any source runs the field's rule; a correction is itself a value change, so
// the rule runs again on the corrected value. Only finished user actions on a field send.

class QObject;

namespace orx {

class CommandLink;
class FieldSends;
class NumericField;
struct Form1Controls;
struct ProgramState;

class SetpointEntry
{
public:
    SetpointEntry(const Form1Controls& controls, const ProgramState& state, CommandLink& link);

    void LimitVoltageField(NumericField* voltage, NumericField* current);
    void LimitCurrentField(NumericField* current, NumericField* voltage);
    void LimitOvpField(NumericField* level);
    void LimitOcpField(NumericField* level);

    void SendVoltageSetpoint(NumericField* voltage, NumericField* current);
    void SendCurrentSetpoint(NumericField* current);
    void SendOvpLevel(NumericField* level);
    void SendOcpLevel(NumericField* level);

    // Runs the four rules once on all eight fields (after the model changed); sends nothing.
    void LimitAllFields();

    // Wires every field's value changes to its rule and, through `sends`, the channel fields' user
    // actions to their sends; `context` owns the connections.
    void connectFields(QObject* context, FieldSends& sends);

private:
    const Form1Controls& m_c;
    const ProgramState& m_state;
    CommandLink& m_link;
};

} // namespace orx
