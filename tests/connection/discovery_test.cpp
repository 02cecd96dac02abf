#include "support/panel_harness.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

QStringList entries(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->itemText(i));
    return out;
}

} // namespace

TEST(Discovery, PortListMenusAndGpibFollowWhatIsUsable)
{
    const ScriptedDialogs::Message none{"Not valid connecting interface!", ""},
        oneHeld{"COM1 is in use by another program. It is left out of the search.", "Warning"},
        allHeld{"COM1, COM3 are in use by other programs. They are left out of the search.", "Warning"};
    const struct
    {
        const char* name;
        QList<int> ports, inUse; // inUse: held by another program
        bool gpib;
        std::optional<int> gpibFailsAt;
        bool loads;
        QList<ScriptedDialogs::Message> messages = {};
    } cases[] = {
        {"COM2 and COM4", {2, 4}, {}, false, {}, true},
        {"all ports and GPIB", {1, 2, 3, 4}, {}, true, {}, true},
        {"GPIB only", {}, {}, true, {}, true},
        {"GPIB driver failing at address 17", {3}, {}, true, 17, true},
        {"nothing", {}, {}, false, {}, false, {none}},
        {"COM1 held", {1, 2}, {1}, false, {}, true, {oneHeld}},
        {"every port held: said before the program ends", {1, 3}, {1, 3}, false, {}, false, {allHeld, none}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelHarness h;
        for (int port : c.ports)
            h.serial.addEmptyPort(port);
        for (int port : c.inUse)
            h.serial.setPortInUse(port, true);
        h.gpib.setInterfaceAvailable(c.gpib);
        h.gpib.setFailingAddress(c.gpibFailsAt);
        EXPECT_EQ(h.createAndLoad(), c.loads);
        QStringList list; // the usable ports
        for (int port : c.ports) {
            if (!c.inUse.contains(port))
                list.append(QStringLiteral("COM%1").arg(port));
        }
        EXPECT_EQ(entries(h.c().port), list);
        for (int n = 0; n < 4; ++n) // COM1's item is enabled at start whether or not the port exists
            EXPECT_EQ(h.c().mnucom[n]->isEnabled(),
                      n == 0 || list.contains(QStringLiteral("COM%1").arg(n + 1)))
                << "COM" << n + 1;
        EXPECT_EQ(h.state.PortCount, list.size());
        for (int i = 0; i < list.size(); ++i)
            EXPECT_EQ(QStringLiteral("COM%1").arg(h.state.PortList[size_t(i + 1)]), list[i]);
        const bool serial = !list.isEmpty();
        const bool gpib = c.gpib && !c.gpibFailsAt;
        EXPECT_EQ(h.state.GpibAvailable, gpib ? 1 : 0);
        EXPECT_EQ(QList<bool>({h.c().con->option(1)->isEnabled(), h.c().port->isEnabled(),
                               h.c().mnurs232->menuAction()->isEnabled()}),
                  QList<bool>(3, serial));
        EXPECT_EQ(QList<bool>({h.c().con->option(0)->isEnabled(), h.c().gpibaddr->isEnabled(),
                               h.c().mnugpib->isEnabled()}),
                  QList<bool>(3, gpib));
        EXPECT_EQ(h.form->timer2().isActive(), c.loads);
        EXPECT_EQ(h.dialogs.messages, c.messages);
        if (!c.inUse.isEmpty() && c.loads) {
            EXPECT_EQ(h.c().SBar1->panelText(1), "COM1 is in use by another program.");
        }
        EXPECT_TRUE(h.serial.commands().isEmpty()) << "discovery sends nothing";
    }
}

TEST(Discovery, ComMenuItemsSelectTheirEntryAndCheckMark)
{
    PanelHarness h;
    h.serial.addEmptyPort(2);
    h.serial.addEmptyPort(4);
    h.gpib.setInterfaceAvailable(false);
    h.connected(); // nothing answers: the menus work all the same
    h.c().mnucom[3]->trigger();
    EXPECT_EQ(h.c().port->currentText(), "COM4");
    EXPECT_EQ(h.rewriting.portNumber(), 4);
    EXPECT_EQ(h.state.ComPort, 4);
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(h.c().mnucom[n]->isChecked(), n == 3);
    // COM1 was not found: the list keeps its entry, the menu and the service take COM1.
    h.c().mnucom[0]->trigger();
    EXPECT_EQ(h.c().port->currentText(), "COM4");
    EXPECT_EQ(h.rewriting.portNumber(), 1);
    EXPECT_TRUE(h.c().mnucom[0]->isChecked());
    EXPECT_FALSE(h.c().mnucom[3]->isChecked());
}

TEST(StartUp, SecondCopyShowsItsMessageAndTouchesNoPort)
{
    PanelHarness h;
    h.serial.addEmptyPort(1);
    h.anotherCopy = true;
    EXPECT_FALSE(h.createAndLoad());
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0], (ScriptedDialogs::Message{"This program is running now!", ""}));
    EXPECT_TRUE(h.serial.log().isEmpty());
    EXPECT_TRUE(h.gpib.log().isEmpty());
    EXPECT_FALSE(h.form->timer2().isActive());
}
