#include "app/program_state.h"

#include <gtest/gtest.h>

using namespace orx;

TEST(ResponseText, AlwaysFortyCharacters)
{
    ResponseText buffer;
    EXPECT_EQ(buffer.text(), QString(40, u' '));
    buffer = QStringLiteral("1.234");
    EXPECT_EQ(buffer.text(), QStringLiteral("1.234") + QString(35, u' '));
    buffer = QString(50, u'x');
    EXPECT_EQ(buffer.text(), QString(40, u'x'));
    buffer = QString();
    EXPECT_EQ(buffer.text(), QString(40, u' '));
}

TEST(ProgramState, ProgramDirectoryEndsWithOneSeparator)
{
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/opt/orx")), QStringLiteral("/opt/orx/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/opt/orx/")), QStringLiteral("/opt/orx/"));
}

TEST(ProgramState, DefaultsFillPathsInterfaceAndLimits)
{
    ProgramState state;
    initialiseAtStart(state, QStringLiteral("/opt/orx"));
    state.ModelIndex = 2;
    state.InterfaceMode = 0;
    SetDefaults(state, 12);
    EXPECT_EQ(state.HelpFilePath, "/opt/orx/orx_help.pdf");
    EXPECT_EQ(state.DataFilePath, "/opt/orx/orx.ini");
    EXPECT_EQ(state.CsvHeader,
              "Record,Voltage (V),Current (A),Delay (100ms),OVP (V),OCP (A),OVP status,OCP status");
    EXPECT_EQ(state.GpibAddress, 12);
    EXPECT_EQ(state.InterfaceMode, 1);
    EXPECT_EQ(state.ModelIndex, 0);
    EXPECT_EQ(state.BaudSettings[2], "2400,n,8,1");
    EXPECT_EQ(state.ResponseBuffer.text().size(), 40);
}

TEST(ProgramState, LimitTableHoldsSinglePrecisionValues)
{
    ProgramState state;
    SetDefaults(state, 0);
    // Each entry is the float nearest the data-sheet decimal, not the double.
    EXPECT_EQ(double(state.VoltMaxHigh[2]), 61.79999923706055);
    EXPECT_EQ(double(state.VoltMaxLow[0]), 8.239999771118164);
    EXPECT_EQ(double(state.VoltMaxHigh[0]), 20.600000381469727);
    const struct
    {
        const LimitColumn& column;
        std::array<double, 3> decimals;
    } table[] = {{state.VoltMaxLow, {8.24, 15.45, 30.9}},
                 {state.VoltMaxHigh, {20.6, 30.9, 61.8}},
                 {state.CurrMaxLow, {20.6, 7.21, 6.18}},
                 {state.CurrMaxHigh, {10.3, 4.12, 3.4}},
                 {state.OvpMax, {22, 32, 65}},
                 {state.OcpMax, {22, 7.7, 6.6}}};
    for (const auto& row : table) {
        for (size_t m = 0; m < 3; ++m)
            EXPECT_EQ(row.column[m], static_cast<float>(row.decimals[m])) << row.decimals[m];
    }
}

TEST(ModelLimits, ModelIndexOfNames)
{
    EXPECT_EQ(modelIndexOf(QStringLiteral("ORX-A100")), 0);
    EXPECT_EQ(modelIndexOf(QStringLiteral("ORX-B200")), 1);
    EXPECT_EQ(modelIndexOf(QStringLiteral("ORX-C300")), 2);
    EXPECT_EQ(modelIndexOf(QStringLiteral("ORX-D400")), -1);
    EXPECT_EQ(modelIndexOf(QStringLiteral("orx-a100")), -1);
}
