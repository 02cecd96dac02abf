#include "editor/form3_controls.h"

#include "ui/adjuster.h"
#include "ui/focus_on_hover.h"
#include "ui/option_group.h"
#include "ui/push_button.h"
#include "ui/text_field.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orx {
namespace {

// A comma in a field would be written into the file as a field separator of its own.
const QString kRefusedInFields = QStringLiteral(",");

constexpr int kFrameInset = 8;

QLabel* label(const QString& name, const QString& text)
{
    auto* l = new QLabel(text);
    l->setObjectName(name);
    return l;
}

// Every field is as wide as the widest (seven characters), so the fields and their adjusters line up.
// Units sit in a column as wide as the widest unit, so the fields of the rows and of the protection
// frames end at the same place.
QLabel* unitLabel(const QString& name, const QString& text)
{
    QLabel* unit = label(name, text);
    unit->setFixedWidth(unit->fontMetrics().horizontalAdvance(QStringLiteral("X100ms")) + 2);
    return unit;
}

TextField* field(const QString& name, int typingLimit, const QString& text)
{
    auto* f = new TextField(name, typingLimit, kRefusedInFields);
    f->setText(text);
    f->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    f->setFixedWidth(f->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12);
    return f;
}

Adjuster* adjusterFor(const QString& name, TextField* input)
{
    auto* adjuster = new Adjuster(name);
    adjuster->setFixedSize(16, input->sizeHint().height());
    return adjuster;
}

QPushButton* colouredButton(const QString& name, const QString& caption, const QColor& colour)
{
    QPushButton* b = namedButton(name, caption);
    // A style sheet keeps the colour exact whatever the desktop style; the focus frame shows which
    // button the pointer has given the focus.
    b->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: black; border: 1px solid #5a5a5a;"
                       " border-radius: 3px; padding: 6px 12px; }"
                       " QPushButton:focus { border: 2px solid black; }"
                       " QPushButton:pressed { background-color: %2; }")
            .arg(colour.name(), colour.darker(125).name()));
    b->setMinimumSize(96, 34);
    giveFocusOnHover(b);
    return b;
}

// The rows of record, voltage, current and delay: caption, adjuster and field, unit.
QGridLayout* entryRows(Form3Controls& c)
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    const struct
    {
        QLabel*& caption;
        const char* captionName;
        const char* captionText;
        Adjuster*& adjuster;
        const char* adjusterName;
        TextField*& input;
        const char* inputName;
        int limit;
        const char* initial;
        QLabel** unit;
        const char* unitName;
        const char* unitText;
    } rows[] = {
        {c.Label1, "Label1", "Record number : ", c.adjrecord, "adjrecord", c.record, "record", 2, "0",
         nullptr, "", ""},
        {c.Label27, "Label27", "Output voltage setting : ", c.adjvm, "adjvm", c.vm, "vm", 7, "0.000",
         &c.Label26, "Label26", "V"},
        {c.Label2, "Label2", "Output current setting : ", c.adjcm, "adjcm", c.cm, "cm", 7, "0.000",
         &c.Label24, "Label24", "A"},
        {c.Label18, "Label18", "Delay time : ", c.adjdelay, "adjdelay", c.delay, "delay", 5, "1", &c.Label19,
         "Label19", "X100ms"},
    };
    int r = 0;
    for (const auto& row : rows) {
        row.caption = label(QString::fromLatin1(row.captionName), QString::fromLatin1(row.captionText));
        row.caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.input = field(QString::fromLatin1(row.inputName), row.limit, QString::fromLatin1(row.initial));
        row.adjuster = adjusterFor(QString::fromLatin1(row.adjusterName), row.input);
        grid->addWidget(row.caption, r, 0);
        grid->addWidget(row.adjuster, r, 1);
        grid->addWidget(row.input, r, 2);
        if (row.unit) {
            *row.unit = unitLabel(QString::fromLatin1(row.unitName), QString::fromLatin1(row.unitText));
            grid->addWidget(*row.unit, r, 3);
        }
        ++r;
    }
    grid->setColumnStretch(0, 1);
    grid->setContentsMargins(0, 0, kFrameInset + 3, 0); // the frames' border and margin
    return grid;
}

// A protection frame: the OFF/ON pair, then the level's adjuster, field and unit.
QGroupBox* protectionFrame(QObject* owner, const QString& frameName, const QString& caption,
                           const QString& prefix, const QString& unitName, const QString& unitText,
                           OptionGroup*& pair, Adjuster*& adjuster, TextField*& input, QLabel*& unit,
                           const QString& initial)
{
    auto* frame = new QGroupBox(caption);
    frame->setObjectName(frameName);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(kFrameInset, 4, kFrameInset, 6);
    row->setSpacing(4);
    pair = addOptionButtons(owner, prefix + QStringLiteral("men"),
                            {QStringLiteral("OFF"), QStringLiteral("ON")}, 0, row);
    row->addStretch();
    input = field(prefix + QStringLiteral("m"), 7, initial);
    adjuster = adjusterFor(QStringLiteral("adj") + prefix + QStringLiteral("m"), input);
    row->addWidget(adjuster);
    row->addWidget(input);
    unit = unitLabel(unitName, unitText);
    row->addWidget(unit);
    return frame;
}

QVBoxLayout* buttonColumn(Form3Controls& c, QObject* owner)
{
    auto* column = new QVBoxLayout;
    c.cmd_change = colouredButton(QStringLiteral("cmd_change"), QStringLiteral("Change"), QColor(255, 0, 0));
    c.cmd_save = colouredButton(QStringLiteral("cmd_save"), QStringLiteral("Save"), QColor(0, 255, 0));
    c.cmd_saveas =
        colouredButton(QStringLiteral("cmd_saveas"), QStringLiteral("Save As"), QColor(255, 255, 0));
    c.cmd_exit = colouredButton(QStringLiteral("cmd_exit"), QStringLiteral("Exit"), QColor(255, 0, 255));
    c.cmd_check = colouredButton(QStringLiteral("cmd_check"), QStringLiteral("Check"), QColor(0, 255, 255));
    for (QPushButton* b : {c.cmd_change, c.cmd_save, c.cmd_saveas, c.cmd_check, c.cmd_exit})
        column->addWidget(b);
    column->addSpacing(6);
    c.Frame12 = new QGroupBox(QStringLiteral("Step"));
    c.Frame12->setObjectName(QStringLiteral("Frame12"));
    auto* steps = new QVBoxLayout(c.Frame12);
    c.optaction = addOptionButtons(
        owner, QStringLiteral("optaction"),
        {QStringLiteral("0.001"), QStringLiteral("0.01"), QStringLiteral("0.1"), QStringLiteral("1")}, 3,
        steps);
    column->addWidget(c.Frame12);
    column->addStretch();
    return column;
}

} // namespace

Form3Controls buildForm3(QWidget* window)
{
    Form3Controls c;
    QFont font = window->font();
    font.setFamily(QStringLiteral("Arial"));
    window->setFont(font);

    auto* left = new QVBoxLayout;
    left->addLayout(entryRows(c));
    left->addSpacing(4);
    c.Frame10 = protectionFrame(window, QStringLiteral("Frame10"), QStringLiteral("OVP"),
                                QStringLiteral("ovp"), QStringLiteral("Label6"), QStringLiteral("V"),
                                c.ovpmen, c.adjovpm, c.ovpm, c.Label6, QStringLiteral("1.000"));
    c.Frame11 = protectionFrame(window, QStringLiteral("Frame11"), QStringLiteral("OCP"),
                                QStringLiteral("ocp"), QStringLiteral("Label14"), QStringLiteral("A"),
                                c.ocpmen, c.adjocpm, c.ocpm, c.Label14, QStringLiteral("0.000"));
    left->addWidget(c.Frame10);
    left->addWidget(c.Frame11);
    left->addStretch();

    auto* all = new QHBoxLayout(window);
    all->setContentsMargins(12, 12, 12, 12);
    all->setSpacing(16);
    all->addLayout(left, 1);
    all->addLayout(buttonColumn(c, window));
    return c;
}

} // namespace orx
