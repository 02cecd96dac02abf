#pragma once
// Every named control of the editor window, as its procedures reach them.

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace orx {

class Adjuster;
class OptionGroup;
class TextField;

struct Form3Controls
{
    QLabel* Label1 = nullptr; // "Record number : "
    TextField* record = nullptr;
    Adjuster* adjrecord = nullptr;
    QLabel* Label27 = nullptr; // "Output voltage setting : "
    QLabel* Label26 = nullptr; // "V"
    TextField* vm = nullptr;
    Adjuster* adjvm = nullptr;
    QLabel* Label2 = nullptr;  // "Output current setting : "
    QLabel* Label24 = nullptr; // "A"
    TextField* cm = nullptr;
    Adjuster* adjcm = nullptr;
    QLabel* Label18 = nullptr; // "Delay time : "
    QLabel* Label19 = nullptr; // "X100ms"
    TextField* delay = nullptr;
    Adjuster* adjdelay = nullptr;

    QGroupBox* Frame10 = nullptr; // "OVP"
    OptionGroup* ovpmen = nullptr;
    TextField* ovpm = nullptr;
    Adjuster* adjovpm = nullptr;
    QLabel* Label6 = nullptr;     // "V"
    QGroupBox* Frame11 = nullptr; // "OCP"
    OptionGroup* ocpmen = nullptr;
    TextField* ocpm = nullptr;
    Adjuster* adjocpm = nullptr;
    QLabel* Label14 = nullptr; // "A"

    QGroupBox* Frame12 = nullptr;     // "Step"
    OptionGroup* optaction = nullptr; // "0.001", "0.01", "0.1", "1"

    QPushButton* cmd_change = nullptr;
    QPushButton* cmd_save = nullptr;
    QPushButton* cmd_saveas = nullptr;
    QPushButton* cmd_exit = nullptr;
    QPushButton* cmd_check = nullptr; // "Check": the list of what the model would not take
};

// Builds the controls into `window` and lays them out.
Form3Controls buildForm3(QWidget* window);

} // namespace orx
