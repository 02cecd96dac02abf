#pragma once
// Reads the instrument's present state into the panel: measurements, set-points, protection levels
// and switches, and the trip states. Only queries are sent here; a query without an answer leaves its
// control as it was and the next query goes on.

#include <QString>

namespace orx {

class CommandLink;
class OptionGroup;
class PanelStates;
struct Form1Controls;
struct ProgramState;

inline const QString kOcpTripMessage =
    QStringLiteral("The overcurrent protection is tripped and not cleared!");
inline const QString kOvpTripMessage =
    QStringLiteral("The overvoltage protection is tripped and not cleared!");

// A trip answer means tripped only when its value is exactly 1, whether or not it arrived.
bool isTripAnswer(const QString& answer);

// Selects the option whose index is the whole number of an answer's value (0 "OFF", 1 "ON"); a value
// that names no option leaves the selection as it is.
void selectOptionOfValue(OptionGroup* group, double value);

class ReadBack
{
public:
    ReadBack(const Form1Controls& controls, ProgramState& state, CommandLink& link, PanelStates& panelStates);

    void ReadMeasurements();
    void ReadSetpoints();
    void ReadProtection();
    void ReadBackAll();

private:
    const Form1Controls& m_c;
    ProgramState& m_state;
    CommandLink& m_link;
    PanelStates& m_panelStates;
};

} // namespace orx
