#include "app/form1_layout.h"

#include "app/form1_menus.h"

#include "ui/focus_on_hover.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"
#include "ui/push_button.h"
#include "ui/status_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orx {

namespace {

using Pattern = NumericField::Pattern;

QGroupBox* group(const QString& name, const QString& caption)
{
    auto* box = new QGroupBox(caption);
    box->setObjectName(name);
    return box;
}

OptionGroup* onOffPair(QObject* owner, const QString& name, QBoxLayout* into)
{
    return addOptionButtons(owner, name, {QStringLiteral("OFF"), QStringLiteral("ON")}, 0, into);
}

NumericField* field(const QString& name, Pattern pattern = Pattern::Fixed3)
{
    auto* f = new NumericField(name, pattern);
    f->setMinimumWidth(92);
    return f;
}

QPushButton* button(const QString& name, const QString& caption)
{
    QPushButton* b = namedButton(name, caption);
    giveFocusOnHover(b);
    return b;
}

QLabel* label(const QString& text)
{
    return new QLabel(text);
}

// One row of a grid: caption, field, unit.
void fieldRow(QGridLayout* grid, int row, const QString& caption, QWidget* input, const QString& unit)
{
    grid->addWidget(label(caption), row, 0);
    grid->addWidget(input, row, 1);
    if (!unit.isEmpty())
        grid->addWidget(label(unit), row, 2);
}

QLabel* monitorDisplay(const QString& name, const QString& text)
{
    auto* display = new QLabel(text);
    display->setObjectName(name);
    display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    display->setMinimumWidth(150);
    QFont font = display->font();
    font.setFamily(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(font.pointSize() + 10);
    font.setBold(true);
    display->setFont(font);
    display->setStyleSheet(
        QStringLiteral("QLabel { background: #10261a; color: #5dfc8d; border: 2px inset #444;"
                       " padding: 2px 8px; } QLabel:disabled { color: #2f7a47; }"));
    return display;
}

QGroupBox* buildInterface(Form1Controls& c, QObject* owner)
{
    c.Frame1 = group(QStringLiteral("Frame1"), QStringLiteral("Connecting Interface"));
    auto* grid = new QGridLayout(c.Frame1);
    auto* gpibRow = new QHBoxLayout;
    auto* serialRow = new QHBoxLayout;
    c.con = new OptionGroup(QStringLiteral("con"), owner);
    auto* gpib = new QRadioButton(QStringLiteral("GPIB"));
    gpib->setObjectName(QStringLiteral("con_0"));
    auto* rs232 = new QRadioButton(QStringLiteral("RS232"));
    rs232->setObjectName(QStringLiteral("con_1"));
    rs232->setChecked(true);
    c.con->addOption(gpib);
    c.con->addOption(rs232);
    c.port = new QComboBox;
    c.port->setObjectName(QStringLiteral("port"));
    c.port->setMinimumWidth(80);
    c.baud = new QComboBox;
    c.baud->setObjectName(QStringLiteral("baud"));
    c.baud->addItems(
        {QStringLiteral("9600"), QStringLiteral("4800"), QStringLiteral("2400"), QStringLiteral("1200")});
    c.gpibaddr = new QLineEdit;
    c.gpibaddr->setObjectName(QStringLiteral("gpibaddr"));
    c.gpibaddr->setMaxLength(6);
    c.gpibaddr->setFixedWidth(50);
    grid->addWidget(rs232, 0, 0);
    serialRow->addWidget(label(QStringLiteral("Port:")));
    serialRow->addWidget(c.port);
    serialRow->addSpacing(8);
    serialRow->addWidget(label(QStringLiteral("Baud:")));
    serialRow->addWidget(c.baud);
    serialRow->addStretch();
    grid->addLayout(serialRow, 0, 1);
    grid->addWidget(gpib, 1, 0);
    gpibRow->addWidget(label(QStringLiteral("Addr:")));
    gpibRow->addWidget(c.gpibaddr);
    gpibRow->addStretch();
    grid->addLayout(gpibRow, 1, 1);
    return c.Frame1;
}

QGroupBox* buildStep(Form1Controls& c, QObject* owner)
{
    c.Frame12 = group(QStringLiteral("Frame12"), QStringLiteral("Step"));
    auto* grid = new QGridLayout(c.Frame12);
    auto* row = new QHBoxLayout; // collects the buttons, then they are placed two by two
    c.optaction = addOptionButtons(
        owner, QStringLiteral("optaction"),
        {QStringLiteral("0.001"), QStringLiteral("0.01"), QStringLiteral("0.1"), QStringLiteral("1")}, 3,
        row);
    for (int i = 0; i < c.optaction->count(); ++i)
        grid->addWidget(c.optaction->option(i), i / 2, i % 2);
    delete row;
    return c.Frame12;
}

QGroupBox* buildOutputSetting(Form1Controls& c)
{
    c.Frame13 = group(QStringLiteral("Frame13"), QStringLiteral("Output Setting"));
    auto* grid = new QGridLayout(c.Frame13);
    c.setv = field(QStringLiteral("setv"));
    c.setc = field(QStringLiteral("setc"));
    c.ovp = field(QStringLiteral("ovp"));
    c.ocp = field(QStringLiteral("ocp"));
    fieldRow(grid, 0, QStringLiteral("Voltage"), c.setv, QStringLiteral("V"));
    fieldRow(grid, 1, QStringLiteral("Current"), c.setc, QStringLiteral("A"));
    fieldRow(grid, 2, QStringLiteral("OVP"), c.ovp, QStringLiteral("V"));
    fieldRow(grid, 3, QStringLiteral("OCP"), c.ocp, QStringLiteral("A"));
    return c.Frame13;
}

QGroupBox* buildMonitor(Form1Controls& c)
{
    c.Frame7 = group(QStringLiteral("Frame7"), QStringLiteral("Monitor"));
    auto* column = new QVBoxLayout(c.Frame7);
    c.disv = monitorDisplay(QStringLiteral("disv"), QStringLiteral("0.000V"));
    c.disc = monitorDisplay(QStringLiteral("disc"), QStringLiteral("0.000A"));
    column->addStretch();
    column->addWidget(c.disv);
    column->addWidget(c.disc);
    column->addStretch();
    return c.Frame7;
}

// "OVP" or "OCP" of the channel: an ON/OFF pair and a Clear button.
QGroupBox* buildProtection(QObject* owner, const QString& frame, const QString& caption, const QString& pair,
                           const QString& clear, OptionGroup*& options, QPushButton*& clearButton)
{
    QGroupBox* box = group(frame, caption);
    auto* row = new QHBoxLayout(box);
    options = onOffPair(owner, pair, row);
    clearButton = button(clear, QStringLiteral("Clear"));
    clearButton->setEnabled(false);
    row->addStretch();
    row->addWidget(clearButton);
    return box;
}

QGroupBox* buildChannel(Form1Controls& c, QObject* owner)
{
    c.Frame2 = group(QStringLiteral("Frame2"), QStringLiteral("Channel 1"));
    auto* row = new QHBoxLayout(c.Frame2);
    auto* protections = new QVBoxLayout;
    protections->addWidget(buildProtection(owner, QStringLiteral("Frame8"), QStringLiteral("OVP"),
                                           QStringLiteral("ovpen"), QStringLiteral("clearovp"), c.ovpen,
                                           c.clearovp));
    protections->addWidget(buildProtection(owner, QStringLiteral("Frame9"), QStringLiteral("OCP"),
                                           QStringLiteral("ocpen"), QStringLiteral("clearocp"), c.ocpen,
                                           c.clearocp));
    protections->addStretch();
    row->addWidget(buildOutputSetting(c));
    row->addWidget(buildMonitor(c), 1);
    row->addLayout(protections);
    return c.Frame2;
}

// "OVP" or "OCP" of the memory: an ON/OFF pair and the level.
QGroupBox* buildMemoryProtection(QObject* owner, const QString& frame, const QString& caption,
                                 const QString& pair, OptionGroup*& options, NumericField* level,
                                 const QString& unit)
{
    QGroupBox* box = group(frame, caption);
    auto* row = new QHBoxLayout(box);
    options = onOffPair(owner, pair, row);
    row->addWidget(level);
    row->addWidget(label(unit));
    box->setEnabled(false);
    return box;
}

QGroupBox* buildMemory(Form1Controls& c, QObject* owner)
{
    c.Frame4 = group(QStringLiteral("Frame4"), QStringLiteral("Memory"));
    auto* grid = new QGridLayout(c.Frame4);
    c.record = field(QStringLiteral("record"), Pattern::Whole);
    c.delay = field(QStringLiteral("delay"), Pattern::Whole);
    c.delay->setValue(1);
    c.vm = field(QStringLiteral("vm"));
    c.cm = field(QStringLiteral("cm"));
    c.ovpm = field(QStringLiteral("ovpm"));
    c.ocpm = field(QStringLiteral("ocpm"));
    auto* left = new QGridLayout;
    auto* right = new QGridLayout;
    fieldRow(left, 0, QStringLiteral("Record"), c.record, QString());
    fieldRow(left, 1, QStringLiteral("Voltage"), c.vm, QStringLiteral("V"));
    fieldRow(right, 0, QStringLiteral("Delay"), c.delay, QStringLiteral("X100ms"));
    fieldRow(right, 1, QStringLiteral("Current"), c.cm, QStringLiteral("A"));
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
    c.Frame10 = buildMemoryProtection(owner, QStringLiteral("Frame10"), QStringLiteral("OVP"),
                                      QStringLiteral("ovpmen"), c.ovpmen, c.ovpm, QStringLiteral("V"));
    c.Frame11 = buildMemoryProtection(owner, QStringLiteral("Frame11"), QStringLiteral("OCP"),
                                      QStringLiteral("ocpmen"), c.ocpmen, c.ocpm, QStringLiteral("A"));
    grid->addWidget(c.Frame10, 1, 0);
    grid->addWidget(c.Frame11, 1, 1);
    auto* buttons = new QHBoxLayout;
    c.recall = button(QStringLiteral("recall"), QStringLiteral("Recall"));
    c.save = button(QStringLiteral("save"), QStringLiteral("Save"));
    c.rallfile = button(QStringLiteral("rallfile"), QStringLiteral("Upload from file"));
    c.sallfile = button(QStringLiteral("sallfile"), QStringLiteral("Download to file"));
    c.recall->setEnabled(false);
    c.save->setEnabled(false);
    for (QPushButton* b : {c.recall, c.save, c.rallfile, c.sallfile})
        buttons->addWidget(b);
    grid->addLayout(buttons, 2, 0, 1, 2);
    auto* checks = new QHBoxLayout;
    c.verifyUpload = new QCheckBox(QStringLiteral("Verify after upload"));
    c.verifyUpload->setObjectName(QStringLiteral("verifyUpload"));
    c.cmpfile = button(QStringLiteral("cmpfile"), QStringLiteral("Compare with file"));
    checks->addStretch(); // the option sits under "Upload from file"
    checks->addWidget(c.verifyUpload);
    checks->addWidget(c.cmpfile);
    grid->addLayout(checks, 3, 0, 1, 2);
    return c.Frame4;
}

QWidget* buildAuto(Form1Controls& c, QObject* owner)
{
    c.Frame3 = group(QStringLiteral("Frame3"), QStringLiteral("Auto Mode"));
    auto* grid = new QGridLayout(c.Frame3);
    c.stm = field(QStringLiteral("stm"), Pattern::Whole);
    c.endm = field(QStringLiteral("endm"), Pattern::Whole);
    c.cycle = field(QStringLiteral("cycle"), Pattern::Whole);
    fieldRow(grid, 0, QStringLiteral("Start Memory"), c.stm, QString());
    fieldRow(grid, 1, QStringLiteral("Cease Memory"), c.endm, QString());
    fieldRow(grid, 2, QStringLiteral("Cycle"), c.cycle, QString());

    c.Frame6 = group(QStringLiteral("Frame6"), QStringLiteral("Autorun"));
    c.autorun = onOffPair(owner, QStringLiteral("autorun"), new QHBoxLayout(c.Frame6));
    c.Frame5 = group(QStringLiteral("Frame5"), QStringLiteral("Output "));
    c.output = onOffPair(owner, QStringLiteral("output"), new QHBoxLayout(c.Frame5));

    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* switches = new QHBoxLayout;
    switches->addWidget(c.Frame6);
    switches->addWidget(c.Frame5);
    layout->addWidget(c.Frame3);
    layout->addLayout(switches);
    return column;
}

QLayout* buildTopRow(Form1Controls& c, QObject* owner)
{
    auto* row = new QHBoxLayout;
    row->addWidget(buildInterface(c, owner), 1);
    row->addWidget(buildStep(c, owner));
    auto* commands = new QVBoxLayout;
    c.cmd_reconnect = button(QStringLiteral("cmd_reconnect"), QStringLiteral("Reconnect"));
    c.cmdexit = button(QStringLiteral("cmdexit"), QStringLiteral("EXIT"));
    for (QPushButton* b : {c.cmd_reconnect, c.cmdexit}) {
        b->setMinimumSize(110, 34);
        commands->addWidget(b);
    }
    commands->addStretch();
    row->addLayout(commands);
    return row;
}

} // namespace

Form1Controls buildForm1(QMainWindow* window)
{
    Form1Controls c;
    window->setObjectName(QStringLiteral("Form1"));
    window->setWindowTitle(QStringLiteral("ORX Power Supply"));
    buildForm1Menus(c, window);

    auto* central = new QWidget(window);
    auto* page = new QVBoxLayout(central);
    page->addLayout(buildTopRow(c, window));
    page->addWidget(buildChannel(c, window));
    auto* lower = new QHBoxLayout;
    lower->addWidget(buildMemory(c, window), 1);
    lower->addWidget(buildAuto(c, window));
    page->addLayout(lower);
    c.ovcpmsg = new QLabel;
    c.ovcpmsg->setObjectName(QStringLiteral("ovcpmsg"));
    c.ovcpmsg->setStyleSheet(QStringLiteral("QLabel { color: #c00000; font-weight: bold; }"));
    c.ovcpmsg->setMinimumHeight(c.ovcpmsg->fontMetrics().height() + 4);
    page->addWidget(c.ovcpmsg);
    window->setCentralWidget(central);

    c.SBar1 = new StatusBar(window);
    window->setStatusBar(c.SBar1);
    c.cmd_reconnectoffer = namedButton(QStringLiteral("cmd_reconnectoffer"), QStringLiteral("Reconnect"));
    c.SBar1->insertPermanentWidget(1, c.cmd_reconnectoffer); // beside the status text that explains it
    c.cmd_reconnectoffer->hide();
    c.linkhealth = c.SBar1->addField(QStringLiteral("linkhealth"), 90);
    c.remoteField = c.SBar1->addField(QStringLiteral("remoteField"), 0);
    c.remoteField->hide(); // shown while the server is on
    return c;
}

} // namespace orx
