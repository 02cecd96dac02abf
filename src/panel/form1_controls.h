#pragma once
// Every named control of the main window, as the procedures of the panel reach them. The window
// builds them (form1_layout.cpp); the procedure objects get this set instead of the window.

#include <QtGlobal>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace orx {

class NumericField;
class OptionGroup;
class StatusBar;

struct Form1Controls
{
    // "Connecting Interface"
    QGroupBox* Frame1 = nullptr;
    OptionGroup* con = nullptr; // kGpibIndex "GPIB", kRs232Index "RS232"
    static constexpr int kGpibIndex = 0;
    static constexpr int kRs232Index = 1;
    QComboBox* port = nullptr;
    QComboBox* baud = nullptr;
    QLineEdit* gpibaddr = nullptr;

    // "Channel 1" and its groups
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame13 = nullptr; // "Output Setting"
    NumericField* setv = nullptr;
    NumericField* setc = nullptr;
    NumericField* ovp = nullptr;
    NumericField* ocp = nullptr;
    QGroupBox* Frame7 = nullptr; // "Monitor"
    QLabel* disv = nullptr;
    QLabel* disc = nullptr;
    QGroupBox* Frame8 = nullptr; // "OVP"
    OptionGroup* ovpen = nullptr;
    QPushButton* clearovp = nullptr;
    QGroupBox* Frame9 = nullptr; // "OCP"
    OptionGroup* ocpen = nullptr;
    QPushButton* clearocp = nullptr;

    // "Memory"
    QGroupBox* Frame4 = nullptr;
    NumericField* record = nullptr;
    NumericField* delay = nullptr;
    NumericField* vm = nullptr;
    NumericField* cm = nullptr;
    QGroupBox* Frame10 = nullptr; // "OVP" of the memory
    OptionGroup* ovpmen = nullptr;
    NumericField* ovpm = nullptr;
    QGroupBox* Frame11 = nullptr; // "OCP" of the memory
    OptionGroup* ocpmen = nullptr;
    NumericField* ocpm = nullptr;
    QPushButton* recall = nullptr;
    QPushButton* save = nullptr;
    QPushButton* rallfile = nullptr;
    QPushButton* sallfile = nullptr;
    QPushButton* cmpfile = nullptr;    // "Compare with file"
    QCheckBox* verifyUpload = nullptr; // "Verify after upload", off at start

    // "Auto Mode", "Autorun", "Output", "Step"
    QGroupBox* Frame3 = nullptr;
    NumericField* stm = nullptr;
    NumericField* endm = nullptr;
    NumericField* cycle = nullptr;
    QGroupBox* Frame6 = nullptr;
    OptionGroup* autorun = nullptr;
    QGroupBox* Frame5 = nullptr;
    OptionGroup* output = nullptr;
    QGroupBox* Frame12 = nullptr;
    OptionGroup* optaction = nullptr; // "0.001", "0.01", "0.1", "1"

    // Outside the groups
    QPushButton* cmd_reconnect = nullptr;
    QPushButton* cmdexit = nullptr;
    QLabel* ovcpmsg = nullptr;
    StatusBar* SBar1 = nullptr;
    QLabel* linkhealth = nullptr;              // status bar: the link live, slow or gone
    QPushButton* cmd_reconnectoffer = nullptr; // status bar: shown when the instrument's port is back
    QLabel* remoteField = nullptr; // in SBar1: the remote server at a glance, hidden while it is off

    // Menus
    QMenu* mnufile = nullptr; // "&Edit"
    QAction* mnuopen = nullptr;
    QAction* mnunew = nullptr;
    QMenu* mnudevice = nullptr;
    QAction* mnuorxa100 = nullptr;
    QAction* mnuorxb200 = nullptr;
    QAction* mnuorxc300 = nullptr;
    QMenu* mnuinterface = nullptr;
    QMenu* mnurs232 = nullptr;
    QMenu* mnuport = nullptr;
    QAction* mnucom[4] = {}; // mnucom1..mnucom4
    QMenu* mnubaud = nullptr;
    QAction* mnubaudItem[4] = {}; // mnu9600, mnu4800, mnu2400, mnu1200
    QAction* mnugpib = nullptr;
    QMenu* mnuaction = nullptr;
    QAction* mnu_reconnect = nullptr;
    QAction* mnu_exit = nullptr;
    QMenu* mnuview = nullptr; // "&View", usable in every panel state
    QAction* mnuTraffic = nullptr;
    QAction* mnuTrend = nullptr;
    QAction* mnuRemote = nullptr;
    QMenu* mnuhelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpDiv1 = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QAction* mnuautoreconnect = nullptr; // Action menu: "Reconnect automatically" (checkable, kept)

    // The Device menu item of a model index (0..2), or null.
    QAction* deviceItem(int modelIndex) const;
};

} // namespace orx
