#include "panel/read_back.h"

#include "app/form1.h"
#include "app/program_state.h"
#include "connection/panel_states.h"
#include "support/scripted_panel.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

struct ReadBackFixture : ::testing::Test, ScriptedPanel
{
    ReadBack& readBack() { return form->readBack(); }
};

const QList<QByteArray> kFullOrder = {":MEAS?",      ":MEAS:CURR?",      ":VOLT?",
                                      ":CURR?",      ":CURR:PROT:TRIP?", ":VOLT:PROT:TRIP?",
                                      ":VOLT:PROT?", ":VOLT:PROT:STAT?", ":VOLT:PROT:STAT 1",
                                      ":CURR:PROT?", ":CURR:PROT:STAT?"};

} // namespace

TEST_F(ReadBackFixture, FullReadBackInOrderFillsThePanel)
{
    readBack().ReadBackAll();
    EXPECT_EQ(sent, kFullOrder);
    EXPECT_EQ(c().disv->text(), "12.346V") << "the read-back rounds";
    EXPECT_EQ(c().disc->text(), "0.500A");
    EXPECT_EQ(c().setv->value(), 5.0);
    EXPECT_EQ(c().setc->value(), 1.0);
    EXPECT_EQ(c().ovp->value(), 6.0);
    EXPECT_EQ(c().ocp->value(), 2.0);
    EXPECT_TRUE(c().ovpen->isSelected(1));
    EXPECT_TRUE(c().ocpen->isSelected(0));
    EXPECT_FALSE(state.ProtectionTripped);
    EXPECT_FALSE(c().clearovp->isEnabled());
}

TEST_F(ReadBackFixture, TripAnswersAreJudgedByTheirValueAlone)
{
    const struct
    {
        const char* name;
        std::optional<QByteArray> answer; // nothing: no answer at all
        bool tripped;
    } cases[] = {
        {"1.000", QByteArray("1.000\n"), true}, {"+1 after a blank", QByteArray(" +1\n"), true},
        {"1E0", QByteArray("1E0\n"), true},     {"0", QByteArray("0\n"), false},
        {"2", QByteArray("2\n"), false},        {"0.999", QByteArray("0.999\n"), false},
        {"empty", QByteArray("\n"), false},     {"no answer", std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        if (c.answer)
            answers[":CURR:PROT:TRIP?"] = *c.answer;
        else
            answers.remove(":CURR:PROT:TRIP?");
        readBack().ReadBackAll();
        EXPECT_EQ(state.ProtectionTripped, c.tripped);
        EXPECT_EQ(this->c().clearocp->isEnabled(), c.tripped);
        EXPECT_EQ(this->c().ovcpmsg->text(), c.tripped ? kOcpTripMessage : QString());
        EXPECT_EQ(sent.contains(":VOLT:PROT:TRIP?"), !c.tripped)
            << "checked only without an over-current trip";
        EXPECT_TRUE(sent.endsWith(":CURR:PROT:STAT?")) << "the protection is read in every case";
    }
}

TEST_F(ReadBackFixture, OverVoltageTripShowsItsMessage)
{
    answers[":VOLT:PROT:TRIP?"] = "1\n";
    readBack().ReadBackAll();
    EXPECT_TRUE(state.ProtectionTripped);
    EXPECT_TRUE(c().clearovp->isEnabled());
    EXPECT_FALSE(c().clearocp->isEnabled());
    EXPECT_EQ(c().ovcpmsg->text(), kOvpTripMessage);
    EXPECT_FALSE(c().ovpen->option(0)->isEnabled());
}

TEST_F(ReadBackFixture, ReadBackWithoutTripLeavesAnEarlierMessage)
{
    c().ovcpmsg->setText(kOvpTripMessage);
    readBack().ReadBackAll();
    EXPECT_EQ(c().ovcpmsg->text(), kOvpTripMessage);
}

TEST_F(ReadBackFixture, UnansweredQueryKeepsItsControlAndTheNextIsAsked)
{
    c().setv->setValue(7.5);
    c().disv->setText(QStringLiteral("9.999V"));
    answers.remove(":VOLT?");
    answers.remove(":MEAS?");
    readBack().ReadBackAll();
    EXPECT_EQ(c().setv->value(), 7.5);
    EXPECT_EQ(c().disv->text(), "9.999V");
    EXPECT_EQ(c().setc->value(), 1.0);
    EXPECT_EQ(sent, kFullOrder);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ReadBackFixture, ProtectionStateThatNamesNoOptionLeavesTheSelection)
{
    c().ovpen->select(1);
    c().ocpen->select(0);
    const struct
    {
        QByteArray answer;
        int ovpen;
    } cases[] = {{"2\n", 1},   {"-1\n", 1},  {"0.4\n", 0}, {"1.4\n", 1},
                 {"1.5\n", 1}, {"0.5\n", 0}, {"2.5\n", 0}}; // halves go to the even neighbour
    for (const auto& c : cases) {
        answers[":VOLT:PROT:STAT?"] = c.answer;
        readBack().ReadProtection();
        EXPECT_TRUE(this->c().ovpen->isSelected(c.ovpen)) << c.answer.constData();
    }
}
