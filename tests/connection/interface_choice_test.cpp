#include "support/panel_harness.h"

#include "connection/interface_selection.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

// Connected over COM3 at 2400 baud, COM1 usable too, an instrument waiting at GPIB address 8.
struct Connected : PanelHarness
{
    sim::Instrument serialOrx{0};
    sim::Instrument gpibOrx{1};
    Connected()
    {
        serial.addEmptyPort(1);
        serial.attachInstrument(3, &serialOrx, 2400);
        gpib.attachInstrument(8, &gpibOrx);
        connected();
        serial.clearLog();
        gpib.clearLog();
    }
};

} // namespace

TEST(InterfaceChoice, PortAndBaudChoicesSwitchTheOutputOffAndCloseThePort)
{
    const std::function<void(Connected&, int)> choose[] = {
        [](Connected& h, int i) { h.c().port->setCurrentIndex(i); },
        [](Connected& h, int i) { h.c().baud->setCurrentIndex(i); },
        [](Connected& h, int i) {
            h.c().mnubaudItem[i]->trigger();
        }};
    const struct
    {
        const char* name;
        int control, index;
        QStringList log;
        int checkedCom, checkedBaud;
    } cases[] = {
        {"port list", 0, 0, {"close COM3", "port 1"}, 1, 2},
        {"baud list", 1, 1, {"close COM3", "settings 4800,n,8,1"}, 3, 1},
        // the list's own handling runs first, then the menu's
        {"baud menu", 2, 3, {"close COM3", "settings 1200,n,8,1", "settings 1200,n,8,1"}, 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Connected h;
        h.c().output->select(1);
        choose[c.control](h, c.index);
        EXPECT_TRUE(h.c().output->isSelected(0)) << "the output is switched off first";
        const QStringList log = h.serial.log();
        const qsizetype closed = log.indexOf("close COM3");
        EXPECT_EQ(log.mid(closed), c.log);
        EXPECT_TRUE(log.mid(0, closed).contains("COM3 2400,n,8,1: :OUTP:STAT 0"))
            << "before the port is closed";
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(h.c().mnucom[i]->isChecked(), i + 1 == c.checkedCom) << i;
            EXPECT_EQ(h.c().mnubaudItem[i]->isChecked(), i == c.checkedBaud) << i;
        }
    }
}

// Every rule of the text: identity_test.
TEST(InterfaceChoice, AddressFieldHoldsOnlyAddresses)
{
    Connected h;
    for (const auto& [typed, shown] : {std::pair("31", "8"), std::pair("12", "12")}) {
        h.c().gpibaddr->setText(QString::fromLatin1(typed));
        EXPECT_EQ(h.c().gpibaddr->text(), QString::fromLatin1(shown)) << typed;
    }
    EXPECT_TRUE(h.gpib.log().isEmpty()) << "editing alone checks nothing";
}

// Which texts are addresses is identity_test's; here the asking, and the device checked at the address.
TEST(InterfaceChoice, GpibMenuAsksTwiceThenFallsBackToEight)
{
    const QStringList prompts = {"Please input a valid primary address of the GPIB",
                                 "Please retype a valid primary address of the GPIB"};
    const struct
    {
        QStringList answers;
        int prompts;
        const char* field;
    } cases[] = {
        {{"-1", "-1"}, 2, "8"},
        {{"abc", "5"}, 2, "5"},
        {{""}, 1, "0"}, // Cancel or an empty answer is address 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers.join(u'|').toStdString());
        Connected h;
        for (const QString& answer : c.answers)
            h.dialogs.inputAnswers.enqueue(answer);
        h.c().mnugpib->trigger();
        EXPECT_EQ(h.dialogs.inputPrompts, prompts.mid(0, c.prompts));
        EXPECT_EQ(h.c().gpibaddr->text(), QString::fromLatin1(c.field));
        EXPECT_EQ(h.gpib.commands(), QStringList{"*IDN?"});
        EXPECT_TRUE(h.gpib.lines().first().startsWith(QStringLiteral("GPIB%1: *IDN?").arg(c.field)))
            << "the device is checked at that address";
    }
}

TEST(InterfaceChoice, GpibDeviceThatAnswersBecomesTheInterface)
{
    Connected h;
    h.dialogs.inputAnswers.enqueue(QStringLiteral("8"));
    h.c().mnugpib->trigger();
    EXPECT_EQ(h.gpib.log(), QStringList({"address 8", "apply", "GPIB8: *IDN?", "read GPIB8"}));
    EXPECT_TRUE(h.c().con->isSelected(0));
    EXPECT_EQ(h.state.InterfaceMode, 0);
    EXPECT_EQ(h.state.GpibAddress, 8);
    EXPECT_EQ(h.c().SBar1->panelText(2), "GPIB mode");
    EXPECT_FALSE(h.c().port->isEnabled());
    EXPECT_TRUE(h.dialogs.messages.isEmpty());

    emit h.c().mnuport->aboutToShow(); // opening the Port menu goes back to RS232: nothing sent
    EXPECT_TRUE(h.c().con->isSelected(1));
    EXPECT_EQ(h.state.InterfaceMode, 1);
    EXPECT_TRUE(h.c().port->isEnabled()) << "the lists usable again";
    EXPECT_EQ(h.gpib.log().size(), 4);
}

TEST(InterfaceChoice, SilentGpibAddressGivesTheDisconnectedPanel)
{
    Connected h;
    h.c().gpibaddr->setText(QStringLiteral("9"));
    QTest::keyClick(h.c().gpibaddr, Qt::Key_Return);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0],
              (ScriptedDialogs::Message{"Communication error! Please check the interface.", "Warning"}));
    EXPECT_EQ(h.c().SBar1->panelText(1), "Communication error!");
    EXPECT_FALSE(h.c().Frame2->isEnabled());
    EXPECT_TRUE(h.c().Frame1->isEnabled());
    EXPECT_TRUE(h.c().mnufile->menuAction()->isEnabled()) << "the Edit and Device menus stay as they were";
    EXPECT_TRUE(h.c().mnudevice->menuAction()->isEnabled());
}

TEST(InterfaceChoice, GpibServiceFailureFallsBackToRs232)
{
    Connected h;
    h.gpib.setFailingAddress(8);
    h.c().con->select(0);
    EXPECT_TRUE(h.c().con->isSelected(1));
    EXPECT_EQ(h.state.InterfaceMode, 1);
    EXPECT_TRUE(h.dialogs.messages.isEmpty());
    EXPECT_TRUE(h.c().port->isEnabled());

    // From the menu the same failure is reported like a device that does not answer.
    // (Choosing GPIB by its option checks the device itself: the failure above came from that check.)
    h.dialogs.inputAnswers.enqueue(QStringLiteral("8"));
    h.c().mnugpib->trigger();
    EXPECT_EQ(h.dialogs.messages.size(), 1);
}
