#include "editor/form3.h"

#include "base/dialogs.h"
#include "base/program_state.h"
#include "editor/field_checks.h"
#include "memory/memory_check.h"
#include "panel/step_choice.h"
#include "ui/adjuster.h"
#include "ui/option_group.h"
#include "ui/pending_events.h"
#include "ui/text_field.h"

#include <QPushButton>

namespace orx {
namespace {

const QString kWarning = QStringLiteral("Warning");

} // namespace

Form3::Form3(QWidget* owner, ProgramState& state, Dialogs& dialogs)
    : QWidget(owner, Qt::Window), m_state(state), m_dialogs(dialogs), m_owner(owner), m_c(buildForm3(this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Edit Memory"));
    setAttribute(Qt::WA_DeleteOnClose);
    connectFields();
    connectAdjusters();
    connectButtons();
}

void Form3::connectFields()
{
    // Every change of a field's text runs its rule, whoever changed it.
    const auto limits = [this] {
        return limitsOf(m_state);
    };
    connect(m_c.vm, &QLineEdit::textChanged, this, [this, limits] {
        if (const auto write = LimitRecordVoltage(m_c.vm->text(), m_c.cm->text(), limits()))
            writeLevel(write->field, write->text);
    });
    connect(m_c.cm, &QLineEdit::textChanged, this, [this, limits] {
        if (const auto write = LimitRecordCurrent(m_c.cm->text(), m_c.vm->text(), limits()))
            writeLevel(write->field, write->text);
    });
    connect(m_c.ovpm, &QLineEdit::textChanged, this, [this, limits] {
        if (const auto text = checkOvpLevel(m_c.ovpm->text(), limits()))
            m_c.ovpm->setText(*text);
    });
    connect(m_c.ocpm, &QLineEdit::textChanged, this, [this, limits] {
        if (const auto text = checkOcpLevel(m_c.ocpm->text(), limits()))
            m_c.ocpm->setText(*text);
    });
    connect(m_c.delay, &QLineEdit::textChanged, this, [this] {
        if (const auto text = checkDelay(m_c.delay->text()))
            m_c.delay->setText(*text);
    });
    connect(m_c.record, &QLineEdit::textChanged, this, [this] { record_Change(); });
    for (TextField* level : {m_c.vm, m_c.cm, m_c.ovpm, m_c.ocpm})
        connect(level, &TextField::focusLost, this,
                [level] { level->setText(levelTextOnLeaving(level->text())); });
}

void Form3::connectAdjusters()
{
    const std::pair<Adjuster*, TextField*> levels[] = {
        {m_c.adjvm, m_c.vm}, {m_c.adjcm, m_c.cm}, {m_c.adjovpm, m_c.ovpm}, {m_c.adjocpm, m_c.ocpm}};
    for (const auto& [adjuster, input] : levels)
        connect(adjuster, &Adjuster::valueChanged, this,
                [this, adjuster, input] { stepLevel(adjuster, input); });
    const std::tuple<Adjuster*, TextField*, std::optional<QString> (*)(QStringView, int)> counters[] = {
        {m_c.adjdelay, m_c.delay, &steppedDelay}, {m_c.adjrecord, m_c.record, &steppedRecord}};
    for (const auto& [adjuster, input, step] : counters) {
        connect(adjuster, &Adjuster::valueChanged, this, [adjuster, input, step](int value) {
            if (value == 0)
                return;
            if (const auto text = step(input->text(), value))
                input->setText(*text);
            adjuster->setValue(0);
        });
    }
    connect(m_c.optaction, &OptionGroup::clicked, this,
            [this](int index) { m_fieldStep = stepOfOption(index); });
}

void Form3::connectButtons()
{
    connect(m_c.cmd_change, &QPushButton::clicked, this, [this] { cmd_change_Click(); });
    connect(m_c.cmd_save, &QPushButton::clicked, this, [this] { cmd_save_Click(); });
    connect(m_c.cmd_saveas, &QPushButton::clicked, this, [this] { cmd_saveas_Click(); });
    connect(m_c.cmd_exit, &QPushButton::clicked, this, [this] { cmd_exit_Click(); });
    connect(m_c.cmd_check, &QPushButton::clicked, this, [this] { cmd_check_Click(); });
}

void Form3::writeLevel(LevelField field, const QString& text)
{
    (field == LevelField::Voltage ? m_c.vm : m_c.cm)->setText(text);
}

// StepRecordField: the adjuster's value steps the field by FieldStep, then the adjuster rests again.
void Form3::stepLevel(Adjuster* adjuster, TextField* input)
{
    const std::optional<QString> text = steppedLevel(input->text(), adjuster->value(), m_fieldStep);
    if (!text)
        return;
    input->setText(*text);
    adjuster->setValue(0);
}

void Form3::record_Change()
{
    const QString bounded = boundedRecordText(m_c.record->text());
    if (bounded != m_c.record->text()) {
        m_c.record->setText(bounded); // runs this again with the bounded text
        return;
    }
    m_currentRecord = recordNumberOf(bounded);
    ShowRecord(m_currentRecord);
}

void Form3::load()
{
    m_fieldStep = 1.0f;
    m_filePath = m_state.DataFilePath;
    if (m_filePath.isEmpty()) {
        setWindowTitle(QStringLiteral("New file"));
        return;
    }
    loadFile(m_filePath);
}

void Form3::loadFile(const QString& path)
{
    QString why;
    const std::optional<QStringList> lines = readMemoryFile(path, &why);
    if (!lines) {
        // Opened as a new file, so a later "Save" asks for a name instead of writing over this one.
        m_dialogs.messageBox(
            QStringLiteral("Can not open this file:\n%1\n(%2)\nThe window starts with a new file.")
                .arg(path, why),
            kWarning);
        m_filePath.clear();
        setWindowTitle(QStringLiteral("New file"));
        return;
    }
    setWindowTitle(path);
    if (lines->size() < 2)
        return; // no record line: nothing is shown
    loadRecordLines(m_records, lines->mid(1), [] { letPendingEventsRun(); });
    ShowRecord(0);
}

void Form3::ShowRecord(int n)
{
    const MemoryRecordTexts& r = m_records[static_cast<size_t>(qBound(0, n, kMemoryCount - 1))];
    m_c.vm->setText(r.voltage);
    m_c.cm->setText(r.current);
    m_c.ovpm->setText(r.ovpLevel);
    m_c.ocpm->setText(r.ocpLevel);
    m_c.delay->setText(r.delay);
    // Only "ON" is set or cleared: a status of off after one of on leaves neither option selected.
    m_c.ovpmen->setOptionSelected(1, statusIsOn(r.ovpStatus));
    m_c.ocpmen->setOptionSelected(1, statusIsOn(r.ocpStatus));
}

void Form3::cmd_change_Click()
{
    m_records[static_cast<size_t>(m_currentRecord)] = {m_c.vm->text(),
                                                       m_c.cm->text(),
                                                       m_c.delay->text(),
                                                       m_c.ovpm->text(),
                                                       m_c.ocpm->text(),
                                                       statusText(m_c.ovpmen->isSelected(1)),
                                                       statusText(m_c.ocpmen->isSelected(1))};
}

void Form3::cmd_save_Click()
{
    if (m_filePath.isEmpty())
        SaveRecordsAs();
    else
        SaveRecords(m_filePath);
}

void Form3::SaveRecordsAs()
{
    const QString path = m_dialogs.saveFileName(kMemoryFileFilter);
    if (path.isEmpty())
        return;
    if (SaveRecords(path))
        m_state.DataFilePath = path;
}

bool Form3::SaveRecords(const QString& path)
{
    const RecordTable completed = withDefaultsFilled(m_records);
    QString why;
    if (!writeFileAtomically(path, memoryFileBytes(m_state.CsvHeader, completed), &why)) {
        m_dialogs.messageBox(
            QStringLiteral("Can not save this file:\n%1\n(%2)\nNothing was changed on disk.").arg(path, why),
            kWarning);
        return false;
    }
    m_records = completed;
    m_filePath = path;
    setWindowTitle(path);
    return true;
}

void Form3::cmd_exit_Click()
{
    close();
    if (m_owner) {
        m_owner->show();
        m_owner->raise();
        m_owner->activateWindow();
    }
}

void Form3::cmd_check_Click()
{
    const int model = heldModelIndex(m_state.ModelIndex);
    const QList<FileProblem> problems = checkMemoryLines(savedFileLines(m_records, m_state.CsvHeader), model);
    QList<QStringList> rows;
    m_checkedRecords.clear();
    for (const FileProblem& p : problems) {
        m_checkedRecords.append(p.line - 2); // line 2 holds record 00
        rows.append(
            {formatTwoDigit(p.line - 2), p.field, p.found, p.instead, p.message});
    }
    const QString modelName = kModelNames[static_cast<size_t>(model)];
    if (!m_checkList) {
        m_checkList =
            new ListWindow(this, QStringLiteral("CheckList"), QString(),
                           {QStringLiteral("Record"), QStringLiteral("Field"), QStringLiteral("Found"),
                            QStringLiteral("Panel uses"), QStringLiteral("Problem")});
        connect(m_checkList, &ListWindow::rowChosen, this,
                [this](int row) { m_c.record->setText(QString::number(m_checkedRecords.value(row))); });
    }
    m_checkList->setWindowTitle(QStringLiteral("Check: ") + windowTitle());
    m_checkList->setContents(
        problems.isEmpty()
            ? QStringLiteral("No problem: the %1 takes every record as it stands.").arg(modelName)
            : QStringLiteral(
                  "%1 problems for the %2 in what Save writes; \"Panel uses\" is what an upload "
                  "sends. Choose a row to show its record as the editor's checks hold it; \"Change\" "
                  "stores that.")
                  .arg(problems.size())
                  .arg(modelName),
        rows);
    m_checkList->present();
}

} // namespace orx
