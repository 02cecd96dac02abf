#include "base/program_state.h"

#include <QDir>

namespace orx {

ResponseText& ResponseText::operator=(const QString& text)
{
    m_text = text.left(kLength);
    if (m_text.size() < kLength)
        m_text.append(QString(kLength - m_text.size(), u' '));
    return *this;
}

QString withTrailingSeparator(const QString& directory)
{
    const QChar separator = QDir::separator();
    QString path = QDir::toNativeSeparators(directory);
    if (!path.endsWith(separator))
        path.append(separator);
    return path;
}

void initialiseAtStart(ProgramState& state, const QString& programDirectory)
{
    state.AppPath = withTrailingSeparator(programDirectory);
    state.ConnectStarted = 0;
    state.ConnectDone = 0;
    state.CsvHeader = kCsvHeader;
}

void SetDefaults(ProgramState& state, int gpibServiceAddress)
{
    state.HelpFilePath = state.AppPath + QStringLiteral("orx_help.pdf");
    state.DataFilePath = state.AppPath + QStringLiteral("orx.ini");
    state.CsvHeader = kCsvHeader;
    state.GpibAddress = static_cast<qint16>(gpibServiceAddress);
    state.InterfaceMode = 1;
    state.BaudSettings = {QStringLiteral("9600,n,8,1"), QStringLiteral("4800,n,8,1"),
                          QStringLiteral("2400,n,8,1"), QStringLiteral("1200,n,8,1")};
    state.ModelIndex = 0;
    state.VoltMaxLow = kVoltMaxLow;
    state.VoltMaxHigh = kVoltMaxHigh;
    state.CurrMaxLow = kCurrMaxLow;
    state.CurrMaxHigh = kCurrMaxHigh;
    state.OvpMax = kOvpMax;
    state.OcpMax = kOcpMax;
}

ModelLimits limitsOf(const ProgramState& state)
{
    const auto m = static_cast<size_t>(heldModelIndex(state.ModelIndex));
    return {state.VoltMaxLow[m],  state.VoltMaxHigh[m], state.CurrMaxLow[m],
            state.CurrMaxHigh[m], state.OvpMax[m],      state.OcpMax[m]};
}

} // namespace orx
