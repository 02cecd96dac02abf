#pragma once
// Members of the main window that several groups of procedures share.

#include <QString>

namespace orx {

struct Form1Members
{
    float StepSize = 0.001f;    // step of the eight entry fields' arrows
    qint16 AutoStartMemory = 0; // start memory of the automatic sequence the instrument holds
    qint16 AutoEndMemory = 0;   // its end memory
    qint16 GpibChecked = 0;     // the GPIB device was just checked; the GPIB option must not check again
    QString InstrumentIdentity; // identity answer of the instrument the last connect identified
};

} // namespace orx
