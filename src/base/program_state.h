#pragma once
// The program-wide state shared by every window and procedure. One instance lives for the whole run;
// the names are the ones the rest of the program (and the instrument's manual) use.

#include "base/model_limits.h"

#include <QString>
#include <array>

namespace orx {

// A text of exactly 40 characters: shorter texts are padded with blanks on the right, longer ones cut.
class ResponseText
{
public:
    static constexpr qsizetype kLength = 40;

    ResponseText() : m_text(kLength, u' ') {}
    ResponseText& operator=(const QString& text);
    const QString& text() const { return m_text; }
    operator const QString&() const { return m_text; }

private:
    QString m_text;
};

inline const QString kCsvHeader =
    QStringLiteral("Record,Voltage (V),Current (A),Delay (100ms),OVP (V),OCP (A),OVP status,OCP status");

inline constexpr int kDefaultGpibAddress = 8;

struct ProgramState
{
    QString AppPath;          // program directory, always ending with the platform's separator
    QString CsvHeader;        // header line of the memory data file
    QString DataFilePath;     // the current memory data file
    QString HelpFilePath;     // the help document in the program directory
    qint16 InterfaceMode = 1; // 1 = RS-232, anything else = GPIB
    ResponseText ResponseBuffer;
    qint16 LinkError = 0;      // 1 when the last read failed
    qint16 ConnectStarted = 0; // set when a connect begins; silences serial time-out reports
    qint16 ConnectDone = 0;    // set when a connect has run to its end
    QString ModelName;
    qint16 ModelIndex = 0; // column of the limit table: 0, 1 or 2
    std::array<QString, 4> BaudSettings;
    qint16 BaudIndex = 0;
    qint16 ComPort = 1;
    std::array<qint16, 5> PortList{}; // entries 1..PortCount; entry 0 unused
    qint16 PortCount = 0;
    qint16 GpibAddress = 0;
    qint16 GpibAvailable = 0;
    bool ProtectionTripped = false;

    LimitColumn VoltMaxLow{};
    LimitColumn VoltMaxHigh{};
    LimitColumn CurrMaxLow{};
    LimitColumn CurrMaxHigh{};
    LimitColumn OvpMax{};
    LimitColumn OcpMax{};
};

// The limits of the model the program has selected now (an index outside the table reads as the
// nearest model).
ModelLimits limitsOf(const ProgramState& state);

// The program directory with exactly one trailing separator.
QString withTrailingSeparator(const QString& directory);

// The start procedure's first steps: program directory, cleared connect flags, file header.
void initialiseAtStart(ProgramState& state, const QString& programDirectory);

// Defaults that need no window: paths, interface, baud settings, model and the limit table. The GPIB
// address is the one the GPIB service holds at start.
void SetDefaults(ProgramState& state, int gpibServiceAddress);

} // namespace orx
