#include "base/program_state.h"

#include <gtest/gtest.h>

using namespace orx;

TEST(ProgramState, ResponseBufferIsAlwaysFortyCharacters)
{
    ResponseText buffer;
    EXPECT_EQ(buffer.text(), QString(40, u' '));
    for (const QString& stored : {QStringLiteral("1.234"), QString(50, u'x'), QString()}) {
        buffer = stored;
        EXPECT_EQ(buffer.text(), stored.left(40).leftJustified(40, u' '));
    }
}

TEST(ProgramState, ProgramDirectoryEndsWithOneSeparator)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/orx", "/opt/orx/"}, {"/opt/orx/", "/opt/orx/"}, {"/", "/"}};
    for (const auto& [directory, path] : cases)
        EXPECT_EQ(withTrailingSeparator(QString::fromLatin1(directory)), QString::fromLatin1(path));
}

TEST(ProgramState, DefaultsFillPathsAndInterface)
{
    ProgramState state;
    initialiseAtStart(state, QStringLiteral("/opt/orx"));
    state.ModelIndex = 2;
    state.InterfaceMode = 0;
    SetDefaults(state, 12);
    EXPECT_EQ(state.HelpFilePath, "/opt/orx/orx_help.pdf");
    EXPECT_EQ(state.DataFilePath, "/opt/orx/orx.ini");
    EXPECT_EQ(state.GpibAddress, 12);
    EXPECT_EQ(state.InterfaceMode, 1);
    EXPECT_EQ(state.ModelIndex, 0);
    EXPECT_EQ(modelIndexOf(QStringLiteral("ORX-B200")), 1);
    EXPECT_EQ(modelIndexOf(QStringLiteral("orx-b200")), -1);
}
